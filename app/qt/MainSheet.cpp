#include "app/qt/MainSheet.h"

#include "analysis/qt/PageCapacitance.h"
#include "analysis/qt/PageContinuousRecord.h"
#include "analysis/qt/PageIV.h"
#include "analysis/qt/PageSlopeConductance.h"
#include "app/AcquisitionWatcher.h"
#include "app/AnalysisSettings.h"
#include "app/DataFileNames.h"
#include "app/qt/AboutDlg.h"
#include "app/qt/AppImages.h"
#include "app/qt/BackgroundExport.h"
#include "app/qt/BackgroundLoad.h"
#include "app/qt/PageGeneralSettings.h"
#include "app/qt/WatchedFolder.h"
#include "controls/qt/CreditsDlg.h"
#include "controls/qt/ImageButton.h"
#include "display/TraceDisplayModel.h"
#include "display/qt/CZoomScrollView.h"
#include "export/WorkbookFiles.h"
#include "export/qt/ChartPrinter.h"
#include "export/qt/DesktopExport.h"
#include "platform/Messages.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QShortcut>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

namespace {

constexpr ColourRef kMaskColour = MakeColourRef(192, 192, 192);
constexpr int kButtonWidening = 20;

// The sheet's four requests to a page: `setActive` when it is shown, then
// leaving it, apply and cancel.
template <class Page>
CPropertySheetWithLogoDlg::PageHandlers HandlersOf(Page* page, void (Page::*setActive)()) {
    CPropertySheetWithLogoDlg::PageHandlers handlers;
    handlers.setActive = [page, setActive] { (page->*setActive)(); };
    handlers.killActive = [page] { return page->OnKillActive(); };
    handlers.apply = [page] { return page->OnApply(); };
    handlers.cancel = [page] { page->OnCancel(); };
    return handlers;
}

CMainSheet::FileDialogFunction& FileDialog() {
    static CMainSheet::FileDialogFunction function;
    return function;
}

CMainSheet::ModalDialogRunner& ModalRunner() {
    static CMainSheet::ModalDialogRunner runner;
    return runner;
}

std::optional<CMainSheet::FileChoice> RunFileDialog(QWidget* parent, const QString& title,
                                                    const QString& directory) {
    QFileDialog dialog(parent, title, directory);
    dialog.setObjectName(QStringLiteral("dataFileDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // Qt's own dialog shows the filter names exactly as written; the patterns
    // in the second pair of brackets are the ones used.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setNameFilters({QStringLiteral("Axon Binary Files (*.abf, *.dat) (*.abf *.dat)"),
                           QStringLiteral("All Files (*.*) (*)")});
    dialog.setDefaultSuffix(QString::fromLatin1(kDataFileDefaultExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return CMainSheet::FileChoice{dialog.selectedFiles().front(),
                                  dialog.directory().absolutePath()};
}

// While the export runs the cursor shows that the program is at work; a message
// shown meanwhile gets the normal cursor back while it is up.
class BusyCursorMessages : public IMessageSink {
public:
    BusyCursorMessages() : m_previous(SetMessageSink(this)) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
    }
    ~BusyCursorMessages() override {
        QApplication::restoreOverrideCursor();
        SetMessageSink(m_previous);
    }
    BusyCursorMessages(const BusyCursorMessages&) = delete;
    BusyCursorMessages& operator=(const BusyCursorMessages&) = delete;

    MessageAnswer Show(const std::string& text, const std::string& caption, MessageIcon icon,
                       MessageButtons buttons) override {
        QApplication::restoreOverrideCursor();
        SetMessageSink(m_previous);
        const MessageAnswer answer = ShowMessage(text, caption, icon, buttons);
        SetMessageSink(this);
        QApplication::setOverrideCursor(Qt::BusyCursor);
        return answer;
    }

private:
    IMessageSink* m_previous;
};

const char kHelpText[] =
    "To analyse a recording:\r\n"
    "1. Press \"Open File\" and choose an Axon recording (.abf or .dat).\r\n"
    "2. On each analysis page choose the traces to analyse, the control trace and the first "
    "and last sample of each ramp (or drag across the traces; Shift: the second ramp). With "
    "\"Ramps from protocol\" ticked, each trace's ramps are the ramp epochs of its own protocol "
    "(the number beside each ramp says which, counted from 1): the ramp fields then show the "
    "current trace's ramps, and say so when its protocol lacks one.\r\n"
    "3. Press \"Analyse\" (Ctrl+Shift+A). The results of all five analyses go into one "
    "workbook with a data sheet and a chart sheet for each; with \"Save automatically\" it is "
    "saved beside the recording under the recording's name with \".xlsx\" appended.\r\n\r\n"
    "\"Add Axon File to Current Data\" in the File menu appends the traces of a further "
    "recording made with the same protocol; \"Close\" unloads the recording; \"Recent Files\" "
    "reopens one of the last eight. A recording dropped on the window opens (with Ctrl held it "
    "is added). Ctrl+O opens, Ctrl+W closes, Ctrl+Q exits.\r\n"
    "In the view Ctrl+wheel zooms about the mouse, Ctrl+drag zooms to a rectangle, + and - "
    "zoom, and a double-click or Home shows everything.\r\n"
    "The General Settings page chooses which pages select every trace after a file is opened, "
    "printing and saving, the display colours and the automatic analysis of new acquisitions. "
    "\"Current channel:\" there picks the channel analysed (auto: the first that records a "
    "current); choosing another reads the open recording again on it. The window's title names "
    "the analysed channel.\r\n"
    "A folder chosen under \"Watch folder:\" there is watched while the window is open: each "
    "recording that appears in it is analysed as a new acquisition once it is complete (its "
    "size unchanged for 2 seconds). A recording whose workbook exists beside it is left alone, "
    "so with \"Save automatically\" nothing is analysed twice.";

// Tells the user why a load failed; true when it did not.
bool ShownIfFailed(const LoadResult& result) {
    if (!result)
        ShowNotice(result.ToNotice());
    return static_cast<bool>(result);
}

// A background load's outcome: false when it was cancelled or failed (shown).
bool Loaded(const std::optional<LoadResult>& result) {
    return result && ShownIfFailed(*result);
}

} // namespace

CMainSheet::FileDialogFunction CMainSheet::SetFileDialogFunction(FileDialogFunction function) {
    return std::exchange(FileDialog(), std::move(function));
}

CMainSheet::ModalDialogRunner CMainSheet::SetModalDialogRunner(ModalDialogRunner runner) {
    return std::exchange(ModalRunner(), std::move(runner));
}

CMainSheet::CMainSheet(IProfileStore& profile, QWidget* parent)
    : CPropertySheetWithLogoDlg(tr("Tessaran"), parent, 0), m_profile(profile),
      m_displayModel(std::make_shared<TraceDisplayModel>()) {
    InitAppResources();
    setObjectName(QStringLiteral("mainSheet"));
    setAttribute(Qt::WA_DeleteOnClose);
    // A window that grows: the trace views take the room.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setAcceptDrops(true);
    SetLogoText(QStringLiteral("Tessaran"));

    AddAnalysisPages();
    AddGeneralSettingsPage();

    auto* analyse = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A), this);
    analyse->setObjectName(QStringLiteral("analyseShortcut"));
    connect(analyse, &QShortcut::activated, this, [this] { OnCommand(kApplyButton); });

    SetPageTitle(static_cast<int>(IndexOf(Analysis::CurrentAtTestPotential)),
                 tr(RowOf(Analysis::CurrentAtTestPotential).tabCaption));

    ViewPositionSettings position;
    position.Load(m_profile);
    m_displayModel->zoomX = static_cast<uint32_t>(std::max(0, position.xZoom));
    m_displayModel->zoomY = static_cast<uint32_t>(std::max(0, position.yZoom));
    m_displayModel->scrollX = std::max(0, position.scrollPosX);
    m_displayModel->scrollY = std::max(0, position.scrollPosY);

    m_recent.Load(m_profile);
    if (g_dataDirectory.empty() && !m_recent.Files().empty())
        g_dataDirectory = std::filesystem::path(m_recent.Files().front()).parent_path().string();

    setWindowIcon(TessaranWindowIcon());
    BuildMenus();
    BuildViewShortcuts();
    RestorePlacement();
    UpdateCommandUI();
}

void CMainSheet::AddAnalysisPages() {
    m_pages = {new CPageSlopeConductance(m_records.slopeConductance, this),
               new CPageSlopeConductance(m_records.currentAtTestPotential, this),
               new CPageIV(m_records.currentVoltage, this),
               new CPageCapacitance(m_records.capacitance, this),
               new CPageContinuousRecord(m_records.continuousRecord, this)};
    for (size_t i = 0; i < m_pages.size(); ++i) {
        CPageAnalyseBase* page = m_pages[i];
        page->SetDisplayModel(m_displayModel);
        page->SetTraceStore(&m_traceStore);
        // The current-at-test-potential page shows the slope conductance
        // page's title until the sheet gives it its own.
        const Analysis titleOf = kAnalysisRows[i].analysis == Analysis::CurrentAtTestPotential
                                     ? Analysis::SlopeConductance
                                     : kAnalysisRows[i].analysis;
        AddPage(page, tr(RowOf(titleOf).tabCaption),
                HandlersOf(page, &CPageAnalyseBase::OnSetActive));
        page->SetSettingsSection(kAnalysisRows[i].profileSection);
        page->LoadPageSettings(m_profile);
        page->SetSheet(this);
    }
    if (const std::string& problem = m_records.continuousRecord.loadProblem; !problem.empty())
        ShowMessage("The settings file holds " + problem + "; the other sample points are used.",
                    "Settings", MessageIcon::Exclamation);
}

void CMainSheet::AddGeneralSettingsPage() {
    m_generalSettings = new CPageGeneralSettings(this);
    AddPage(m_generalSettings, tr(kGeneralSettingsTitle),
            HandlersOf(m_generalSettings, &CPageGeneralSettings::OnInitDialog));
    m_generalSettings->SetDisplayModel(m_displayModel);
    m_generalSettings->LoadSettings(m_profile);
    m_generalSettings->SetSheet(this);
    m_generalSettings->Settings().ApplyZeroCurrentLine();
    connect(m_generalSettings, &CPageGeneralSettings::displayValuesChanged, this,
            &CMainSheet::RedrawViews);
    connect(m_generalSettings, &CPageGeneralSettings::currentChannelChanged, this,
            &CMainSheet::ReloadOnChannel);
    connect(m_generalSettings, &CPageGeneralSettings::watchFolderChanged, this,
            &CMainSheet::WatchFolderFromSettings);
    WatchFolderFromSettings();
}

CMainSheet::~CMainSheet() {
    m_watchedFolder.reset();
    for (CPageAnalyseBase* page : m_pages)
        page->SavePageSettings(m_profile);
    m_generalSettings->SaveSettings(m_profile);
    ViewPositionSettings position;
    position.xZoom = static_cast<int32_t>(m_displayModel->zoomX);
    position.yZoom = static_cast<int32_t>(m_displayModel->zoomY);
    position.scrollPosX = m_displayModel->scrollX;
    position.scrollPosY = m_displayModel->scrollY;
    position.Save(m_profile);
    SavePlacement();
    m_recent.Save(m_profile);
    // The pages refer to the records, which go before the base class would
    // delete its child widgets.
    ForgetPages();
    for (CPageAnalyseBase* page : m_pages)
        delete page;
    m_pages.clear();
}

void CMainSheet::BuildMenus() {
    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("menuBar"));
    auto addAction = [this](QMenu* menu, const QString& text, int id) {
        QAction* action = menu->addAction(text);
        action->setProperty("commandId", id);
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        m_actions.push_back(action);
    };
    QMenu* file = m_menuBar->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("fileMenu"));
    addAction(file, tr("&Import Axon Data"), kImportCommand);
    addAction(file, tr("&Add Axon File to Current Data"), kAddCommand);
    addAction(file, tr("&Close"), kCloseCommand);
    m_recentMenu = file->addMenu(tr("Recent &Files"));
    m_recentMenu->setObjectName(QStringLiteral("recentFilesMenu"));
    file->addSeparator();
    addAction(file, tr("&Credits..."), kCreditsCommand);
    file->addSeparator();
    addAction(file, tr("E&xit"), kExitCommand);
    Action(kImportCommand)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    Action(kCloseCommand)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    Action(kExitCommand)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    for (QAction* action : m_actions)
        action->setShortcutContext(Qt::WindowShortcut);
    connect(file, &QMenu::aboutToShow, this, &CMainSheet::FillRecentMenu);
    connect(file, &QMenu::aboutToShow, this, &CMainSheet::UpdateCommandUI);
    // A Linux window has no system menu to carry the About item.
    QMenu* help = m_menuBar->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("helpMenu"));
    addAction(help, tr("&About Tessaran..."), kAboutCommand);
    AttachMenu();
}

void CMainSheet::AttachMenu() {
    if (m_menuAttached)
        return;
    m_menuAttached = true;
    MainLayout()->setMenuBar(m_menuBar);
}

QAction* CMainSheet::Action(int commandId) const {
    for (QAction* action : m_actions) {
        if (action->property("commandId").toInt() == commandId)
            return action;
    }
    return nullptr;
}

void CMainSheet::UpdateCommandUI() {
    if (QAction* add = Action(kAddCommand))
        add->setEnabled(!m_traceStore.timeAxis.empty());
}

void CMainSheet::OnInitDialog() {
    CPropertySheetWithLogoDlg::OnInitDialog();
    DressFrame();
    if (g_dataDirectory.empty()) {
        std::error_code error;
        g_dataDirectory = std::filesystem::current_path(error).string();
    }
    // Every page is shown once, the first tab last.
    for (int i = PageCount() - 1; i >= 0; --i)
        SetActivePage(i);
}

void CMainSheet::DressFrame() {
    const QIcon icon = TessaranWindowIcon();
    setWindowIcon(icon);

    const QList<QPixmap> tabImages = TabImagesFromStrip(kTabStripBitmap, 16);
    TabControl()->setIconSize(QSize(16, 16));
    for (int i = 0; i < PageCount() && i < tabImages.size(); ++i)
        TabControl()->setTabIcon(i, QIcon(tabImages[i]));

    Button(kOkButton)->setText(tr("&Open File"));
    Button(kCancelButton)->setText(tr("Exit"));
    Button(kApplyButton)->setText(tr("&Analyse"));
    const std::pair<int, int> images[] = {{kHelpButton, kHelpBitmap},
                                          {kApplyButton, kAnalyseBitmap},
                                          {kCancelButton, kExitBitmap},
                                          {kOkButton, kOpenFileBitmap}};
    for (const auto& [id, bitmap] : images)
        Button(id)->SetBitmap(bitmap, 16, 16, kMaskColour);
    // The labels and images need room: all four as wide as the widest, and
    // then each 20 pixels wider, in the same order.
    MakeButtonsUniform();
    for (int id : {kHelpButton, kApplyButton, kCancelButton, kOkButton})
        Button(id)->setFixedWidth(StandardButtonWidth() + kButtonWidening);
}

bool CMainSheet::OnCommand(int id) {
    // While a recording loads or the export runs, only leaving the program is taken.
    if ((CBackgroundLoad::IsRunning() || m_exporting) && id != kCancelButton && id != kExitCommand)
        return true;
    switch (id) {
    case kOkButton:
    case kImportCommand:
        OnImportData();
        return true;
    case kCancelButton:
    case kExitCommand:
        if (CBackgroundLoad::IsRunning() || m_exporting) {
            close();
            return true;
        }
        // The visible page keeps what was typed into it; the pages hear the
        // cancel (General Settings takes its values), then the window goes.
        m_closing = true;
        TakeVisiblePageValues();
        CancelAll();
        close();
        return true;
    case kHelpButton:
    case kApplyButton:
        PressButton(id);
        return true;
    case kAddCommand:
        OnAddData();
        return true;
    case kCloseCommand:
        OnCloseData();
        return true;
    case kCreditsCommand:
        OnCredits();
        return true;
    case kAboutCommand:
        OnAbout();
        return true;
    default:
        return CPropertySheetWithLogoDlg::OnCommand(id);
    }
}

void CMainSheet::closeEvent(QCloseEvent* event) {
    // A load in the background is given up, and the window closes after it.
    if (CBackgroundLoad::IsRunning()) {
        CBackgroundLoad::CancelRunning();
        event->ignore();
        QTimer::singleShot(0, this, [this] { close(); });
        return;
    }
    // An export is cancelled (its files stay as they were), and the window
    // closes once it has stopped.
    if (m_exporting) {
        m_closeAfterExport = true;
        CBackgroundExport::CancelRunning();
        event->ignore();
        return;
    }
    // Not while a dialog is under way on this window.
    if (m_busy > 0) {
        m_closing = false;
        event->ignore();
        return;
    }
    // Closing from the title bar keeps the settings the user changed, as Exit does.
    if (!m_closing) {
        m_closing = true;
        TakeVisiblePageValues();
        CancelAll();
    }
    event->accept();
}

void CMainSheet::OnHelpNotGiven() {
    ShowMessage(kHelpText, "Tessaran Help", MessageIcon::Information);
}

void CMainSheet::EndBusy() {
    if (--m_busy > 0)
        return;
    if (m_broadcastPending) {
        m_broadcastPending = false;
        QTimer::singleShot(0, this, [this] { OnClampexBroadcast(kClampexNewAcquisitionFile); });
    }
    if (!m_watchedPending.empty())
        QTimer::singleShot(0, this, &CMainSheet::AnalyseNextWatchedRecording);
}

bool CMainSheet::PromptForDataFile(std::string& fileName, std::string& directory,
                                   const QString& title) {
    const FileDialogFunction& dialog = FileDialog();
    const QString start = QString::fromStdString(directory);
    const std::optional<FileChoice> choice =
        dialog ? dialog(this, title, start) : RunFileDialog(this, title, start);
    if (!choice)
        return false;
    if (!choice->directory.isEmpty())
        directory = choice->directory.toStdString();
    fileName = NormaliseChosenFileName(choice->fileName.toStdString(), directory);
    return true;
}

bool CMainSheet::ChooseAndLoadFile(std::string& path, std::string& title, TraceStore& target,
                                   const QString& dialogTitle) {
    std::string chosen;
    if (!PromptForDataFile(chosen, g_dataDirectory, dialogTitle))
        return false;
    if (!Loaded(CBackgroundLoad::LoadInto(target, chosen, this, ChannelRequest())))
        return false;
    path = chosen;
    title = FileTitle(chosen);
    return true;
}

void CMainSheet::InstallRecording(TraceStore&& store, const std::string& path,
                                  const std::string& title) {
    m_traceStore = std::move(store);
    m_fileName = path;
    // A new recording starts with all of it in view, in its own unit.
    m_displayModel->Fit();
    m_displayModel->unit = m_traceStore.unit;
    const auto traceCount = static_cast<uint32_t>(m_traceStore.traces.size());
    const auto samples = m_traceStore.SamplesPerTrace();
    const PerAnalysis<bool> selectAll = m_generalSettings->SelectAllFlags();
    ShowStore([&](size_t i, CPageAnalyseBase* page) {
        page->OnNewRecording(title, traceCount, samples, selectAll[i]);
    });
}

int CMainSheet::ChannelRequest() const {
    return m_generalSettings->Settings().currentChannel.request;
}

void CMainSheet::ReloadOnChannel() {
    if (m_fileName.empty() || m_traceStore.sources.empty())
        return;
    BeginBusy();
    // Every file of the store again, the first one loaded and the others
    // appended, aside: a file that cannot be read on that channel leaves the
    // recording as it was.
    std::vector<std::string> paths;
    for (const RecordingSource& source : m_traceStore.sources)
        paths.push_back(source.path);
    TraceStore loaded;
    bool loadedOk = true;
    for (size_t i = 0; loadedOk && i < paths.size(); ++i)
        loadedOk = AppendInBackground(loaded, paths[i]);
    if (loadedOk)
        InstallRecording(std::move(loaded), m_fileName, FileTitle(m_fileName));
    EndBusy();
}

void CMainSheet::ShowChannel() {
    // The title says which channel the analyses read, as the loader chose it.
    QString title = tr("Tessaran");
    if (!m_fileName.empty() && m_traceStore.channel.index >= 0)
        title += QStringLiteral(" - ") + QString::fromStdString(FileTitle(m_fileName)) +
                 QStringLiteral(" - channel ") +
                 QString::fromStdString(ChannelLabel(m_traceStore.channel));
    setWindowTitle(title);
    m_generalSettings->SetChannels(m_traceStore.sources.empty()
                                       ? std::vector<ChannelInfo>{}
                                       : m_traceStore.sources.front().channels);
}

void CMainSheet::ShowStore(const std::function<void(size_t, CPageAnalyseBase*)>& tellPage) {
    // Each trace with its own command: the view, its command strip and the
    // pages' sub-section search follow the current trace's protocol.
    m_displayModel->SetData(m_traceStore.timeAxis, m_traceStore.commandWaveform,
                            m_traceStore.traces, m_traceStore.SamplesPerTrace(),
                            m_traceStore.commands);
    for (size_t i = 0; i < m_pages.size(); ++i)
        tellPage(i, m_pages[i]);
    ShowChannel();
    UpdateCommandUI();
    RedrawViews();
    emit recordingChanged();
}

void CMainSheet::OnImportData() {
    BeginBusy();
    // Loaded aside, so that a file that cannot be read leaves the present
    // recording, its name and the pages as they were.
    TraceStore loaded;
    std::string path;
    std::string title;
    if (ChooseAndLoadFile(path, title, loaded, tr("Load Data File"))) {
        InstallRecording(std::move(loaded), path, title);
        NoteOpened(path);
    }
    EndBusy();
}

bool CMainSheet::OpenRecording(const std::string& path) {
    BeginBusy();
    std::error_code error;
    const std::string absolute =
        NormaliseChosenFileName(path, std::filesystem::current_path(error).string());
    TraceStore loaded;
    const bool loadedOk =
        Loaded(CBackgroundLoad::LoadInto(loaded, absolute, this, ChannelRequest()));
    if (loadedOk) {
        InstallRecording(std::move(loaded), absolute, FileTitle(absolute));
        NoteOpened(absolute);
    }
    EndBusy();
    return loadedOk;
}

void CMainSheet::OnAddData() {
    if (m_fileName.empty() || m_traceStore.traces.empty()) {
        OnImportData();
        return;
    }
    BeginBusy();
    std::string chosen;
    if (PromptForDataFile(chosen, g_dataDirectory, tr("Add abf Data")))
        AddRecording(chosen);
    EndBusy();
}

bool CMainSheet::AddRecording(const std::string& path) {
    if (m_fileName.empty() || m_traceStore.traces.empty())
        return OpenRecording(path);
    BeginBusy();
    // The file loads aside on a worker and is appended only when it has the
    // same protocol; otherwise the user is told and the loaded traces stay.
    const bool added = AppendInBackground(m_traceStore, path);
    if (added) {
        const auto traceCount = static_cast<uint32_t>(m_traceStore.traces.size());
        const std::string title = FileTitle(path);
        NoteOpened(path);
        ShowStore(
            [&](size_t, CPageAnalyseBase* page) { page->OnTracesAppended(title, traceCount); });
    }
    EndBusy();
    return added;
}

bool CMainSheet::AppendInBackground(TraceStore& store, const std::string& path) {
    TraceStore further;
    return Loaded(CBackgroundLoad::LoadInto(further, path, this, ChannelRequest())) &&
           ShownIfFailed(TraceStore::Append(store, std::move(further)));
}

void CMainSheet::OnCloseData() {
    m_traceStore = TraceStore{};
    m_fileName.clear();
    ShowStore([](size_t, CPageAnalyseBase* page) { page->OnRecordingClosed(); });
}

void CMainSheet::RunModal(QDialog& dialog) {
    if (const ModalDialogRunner& runner = ModalRunner())
        runner(dialog);
    else
        dialog.exec();
}

void CMainSheet::OnCredits() {
    CCreditsDlg credits(this);
    credits.AddTessaranCredits();
    RunModal(credits);
}

void CMainSheet::OnAbout() {
    CAboutDlg about(this);
    RunModal(about);
}

void CMainSheet::SetExportServices(IChartPrinter* printer, IWorkbookOpener* opener) {
    m_printer = printer;
    m_opener = opener;
}

void CMainSheet::ExportAllAnalyses() {
    if (m_exporting)
        return;
    if (m_fileName.empty() || m_traceStore.traces.empty()) {
        ShowMessage("No recording is loaded. Open a recording with \"Open File\" first, then "
                    "analyse it.",
                    "Tessaran", MessageIcon::Information);
        return;
    }
    m_exporting = true;
    BeginBusy();
    const AnalysisSettings& settings = m_generalSettings->Settings();
    {
        BusyCursorMessages busy;
        ExportOptions options;
        options.autoSave = settings.autoSave != 0;
        options.autoPrint = settings.autoPrint != 0;
        options.existing = ExistingWorkbook::Ask;
        options.askReplace = AskYesNo;
        const ExportChoices choices =
            ExportChoicesFromRecords(m_records, settings.plotTraceNumber, m_traceStore);
        QtChartPrinter defaultPrinter;
        DesktopWorkbookOpener defaultOpener;
        m_lastExport = CBackgroundExport::Run(m_traceStore, choices, m_fileName, std::move(options),
                                              m_printer ? m_printer : &defaultPrinter,
                                              m_opener ? m_opener : &defaultOpener, this,
                                              &m_lastExportShowedProgress);
        ShowNotices(m_lastExport.notices);
    }
    // Nothing left out silently: the analyses without results, and why, in one message.
    if (!m_lastExport.skipped.empty()) {
        std::string text = "These analyses have no results:";
        for (const std::string& line : m_lastExport.skipped)
            text += "\n" + line;
        ShowMessage(text, "Analysis", MessageIcon::Information);
    }
    ++m_exportCount;
    m_exporting = false;
    update();
    RedrawViews();
    emit analysesExported();
    EndBusy();
    // Closing was asked for meanwhile: the export was cancelled for it.
    if (m_closeAfterExport)
        QTimer::singleShot(0, this, [this] { close(); });
}

int CMainSheet::OnClampexBroadcast(int parameter, int) {
    if (ClassifyClampexBroadcast(parameter) != ClampexBroadcast::NewAcquisitionFile)
        return 0;
    // A dialog, load or export of this window is under way: the new file is
    // analysed as soon as it has finished.
    if (m_busy > 0 || m_exporting) {
        m_broadcastPending = true;
        return 0;
    }
    AnalyseNewAcquisition();
    return 0;
}

bool CMainSheet::AnalyseNewAcquisition() {
    if (m_generalSettings->Settings().autoAnalyseAcquisitions == 0)
        return false;
    std::string path;
    if (!ReadLastAcquiredFile(m_valuePath.empty() ? LastAcquiredFileValuePath() : m_valuePath,
                              path))
        return false;
    return AnalyseAcquiredFile(path);
}

bool CMainSheet::AnalyseAcquiredFile(const std::string& path) {
    // The same file announced again, unchanged, within a few seconds of its
    // analysis (repeats that queued up meanwhile among them) is not analysed again.
    const std::optional<FileStamp> stamp = StampOf(path);
    if (stamp && m_announcements.IsRepeat(*stamp, AnnouncementFilter::Clock::now()))
        return false;
    const std::string title = FileTitle(path);
    BeginBusy();
    TraceStore loaded;
    const bool loadedOk = Loaded(CBackgroundLoad::LoadInto(loaded, path, this, ChannelRequest()));
    if (loadedOk) {
        InstallRecording(std::move(loaded), path, title);
        ExportAllAnalyses();
    }
    if (stamp)
        m_announcements.Analysed(*stamp, AnnouncementFilter::Clock::now());
    EndBusy();
    return loadedOk;
}

void CMainSheet::AnalyseWatchedRecording(const std::string& path) {
    if (m_closing)
        return;
    if (m_busy > 0 || m_exporting) {
        if (std::find(m_watchedPending.begin(), m_watchedPending.end(), path) ==
            m_watchedPending.end())
            m_watchedPending.push_back(path);
        return;
    }
    AnalyseAcquiredFile(path);
}

void CMainSheet::AnalyseNextWatchedRecording() {
    if (m_busy > 0 || m_exporting || m_watchedPending.empty())
        return;
    const std::string path = m_watchedPending.front();
    m_watchedPending.pop_front();
    // Its workbook may have been written meanwhile (by an announcement of it).
    if (!std::filesystem::exists(WorkbookPathFor(path)))
        AnalyseWatchedRecording(path);
    else if (!m_watchedPending.empty())
        QTimer::singleShot(0, this, &CMainSheet::AnalyseNextWatchedRecording);
}

const std::string& CMainSheet::WatchedFolder() const {
    static const std::string none;
    return m_watchedFolder ? m_watchedFolder->Folder() : none;
}

void CMainSheet::SetWatchSettlingPeriod(std::chrono::milliseconds period) {
    m_watchSettlingPeriod = period;
    m_watchedFolder.reset();
    WatchFolderFromSettings();
}

void CMainSheet::WatchFolderFromSettings() {
    if (!m_watchedFolder)
        m_watchedFolder = std::make_unique<CWatchedFolder>(
            [this](const std::string& path) { AnalyseWatchedRecording(path); },
            m_watchSettlingPeriod);
    const std::string& folder = m_generalSettings->Settings().watchFolder;
    std::string error;
    if (!m_watchedFolder->Watch(folder, error))
        ShowMessage("New recordings in the watch folder are not analysed: " + error + ".",
                    "Tessaran", MessageIcon::Exclamation);
}

void CMainSheet::RedrawViews() {
    for (CZoomScrollView* view : findChildren<CZoomScrollView*>())
        view->viewport()->update();
}

// Files the acquisition program announces are not noted: the dialogs stay
// where the user left them.
void CMainSheet::NoteOpened(const std::string& path) {
    m_recent.Add(path);
    const std::string folder = std::filesystem::path(path).parent_path().string();
    if (!folder.empty())
        g_dataDirectory = folder;
}

void CMainSheet::FillRecentMenu() {
    UpdateCommandUI();
    m_recentMenu->clear();
    int number = 1;
    for (const std::string& path : m_recent.Files()) {
        const QString file = QString::fromStdString(path);
        QAction* action = m_recentMenu->addAction(
            QStringLiteral("&%1 %2").arg(number++).arg(QString(file).replace('&', "&&")));
        action->setData(file);
        connect(action, &QAction::triggered, this, [this, path] {
            QTimer::singleShot(0, this, [this, path] {
                if (!m_exporting && !CBackgroundLoad::IsRunning())
                    OpenRecording(path);
            });
        });
    }
    m_recentMenu->setEnabled(!m_recent.Files().empty());
}

CZoomScrollView* CMainSheet::VisibleView() const {
    const auto it = std::find(m_pages.begin(), m_pages.end(), ActivePage());
    return it != m_pages.end() ? (*it)->View() : nullptr;
}

void CMainSheet::BuildViewShortcuts() {
    // Keys an entry field uses itself (digits, signs, Home) stay with the field.
    const std::pair<QKeySequence, std::function<void(CZoomScrollView*)>> keys[] = {
        {QKeySequence(Qt::Key_Plus), [](CZoomScrollView* view) { view->ZoomBoth(+1); }},
        {QKeySequence(Qt::Key_Equal), [](CZoomScrollView* view) { view->ZoomBoth(+1); }},
        {QKeySequence(Qt::Key_Minus), [](CZoomScrollView* view) { view->ZoomBoth(-1); }},
        {QKeySequence(Qt::Key_Home), [](CZoomScrollView* view) { view->Fit(); }},
    };
    for (const auto& [sequence, action] : keys) {
        auto* shortcut = new QShortcut(sequence, this);
        connect(shortcut, &QShortcut::activated, this, [this, action = action] {
            if (CZoomScrollView* view = VisibleView())
                action(view);
        });
    }
}

void CMainSheet::TakeVisiblePageValues() {
    const auto it = std::find(m_pages.begin(), m_pages.end(), ActivePage());
    if (it == m_pages.end())
        return;
    const std::vector<std::string> kept = (*it)->TakeValidValues();
    if (kept.empty())
        return;
    std::string names;
    for (const std::string& name : kept)
        names += (names.empty() ? "" : ", ") + ("\"" + name + "\"");
    ShowMessage("Not a valid entry, so the stored value is kept: " + names + ".", "Tessaran",
                MessageIcon::Exclamation);
}

void CMainSheet::RestorePlacement() {
    WindowPlacement placement;
    placement.Load(m_profile);
    if (!placement.IsStored()) {
        resize(kDefaultWidth, kDefaultHeight);
        return;
    }
    resize(placement.width, placement.height);
    // Only where a screen still shows it (the screens may have changed).
    const QPoint corner(placement.x, placement.y);
    if (QGuiApplication::screenAt(corner + QPoint(40, 20)) != nullptr)
        move(corner);
    if (placement.maximised != 0)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void CMainSheet::SavePlacement() {
    WindowPlacement placement;
    const bool maximised = isMaximized();
    const QRect frame = maximised ? normalGeometry() : QRect(pos(), size());
    placement.x = frame.x();
    placement.y = frame.y();
    placement.width = frame.width();
    placement.height = frame.height();
    placement.maximised = maximised ? 1 : 0;
    placement.Save(m_profile);
}

namespace {

// The first local file among the dropped URLs, or empty.
QString DroppedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls())
        return QString();
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return QString();
}

} // namespace

void CMainSheet::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CMainSheet::dropEvent(QDropEvent* event) {
    const QString file = DroppedFile(event->mimeData());
    if (file.isEmpty() || m_busy > 0 || m_exporting || CBackgroundLoad::IsRunning())
        return;
    event->acceptProposedAction();
    // With Ctrl held the recording is added to the loaded one. Loaded after
    // the drop has ended, so the program the file came from is not kept waiting.
    const bool add = (event->modifiers() & Qt::ControlModifier) != 0;
    const std::string path = file.toStdString();
    QTimer::singleShot(0, this, [this, add, path] {
        if (add)
            AddRecording(path);
        else
            OpenRecording(path);
    });
}
