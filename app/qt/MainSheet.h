// The program's one window: the five analysis pages and the General Settings
// page as tabs above the button row "&Open File", "Exit", "&Analyse", "Help",
// with a File menu and a Help menu. It owns the loaded recording, its file's
// path, the pages' records and the display model that every page and view
// shares, and turns the user's commands (import, add, close, analyse,
// credits, about, exit), the acquisition program's broadcast and the new
// recordings of the watched folder into calls on the trace store, the pages
// and the export.
//
// The profile is read in the constructor and written in the destructor; the
// window deletes itself when it is closed.
#pragma once

#include "analysis/ExportChoicesFromRecords.h"
#include "analysis/qt/AnalysisSheet.h"
#include "app/AcquisitionWatcher.h"
#include "app/WindowSettings.h"
#include "app/qt/PropertySheetWithLogoDlg.h"
#include "export/ExcelExport.h"
#include "recording/TraceStore.h"

#include <QString>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CPageAnalyseBase;
class CPageGeneralSettings;
class CWatchedFolder;
class IProfileStore;
class CZoomScrollView;
class QAction;
class QMenu;
class QDialog;
class QMenuBar;
class TraceDisplayModel;

class CMainSheet : public CPropertySheetWithLogoDlg, public IAnalysisSheet {
    Q_OBJECT
public:
    // Command ids of the menus (each action's "commandId" property).
    enum : int {
        kAboutCommand = 16,
        kImportCommand = 32773,
        kCloseCommand = 32774,
        kAddCommand = 32784,
        kCreditsCommand = 32785,
        kExitCommand = 57665,
    };
    // Size of a window that has never been resized (pixels).
    static constexpr int kDefaultWidth = 1120;
    static constexpr int kDefaultHeight = 720;
    // The General Settings page's tab, after the five analyses' tabs.
    static constexpr char kGeneralSettingsTitle[] = "General Settings";

    // Builds the window over `profile` (which must outlive it) and reads every
    // setting: the pages' records, the general settings, the view position.
    explicit CMainSheet(IProfileStore& profile, QWidget* parent = nullptr);
    // Writes every setting back to the profile.
    ~CMainSheet() override;

    // --- Commands -----------------------------------------------------------
    // "&Import Axon Data" and "&Open File": choose a recording and load it.
    void OnImportData();
    // "&Add Axon File to Current Data": append a recording of the same
    // protocol (a plain import while nothing is loaded).
    void OnAddData();
    // "&Close": unloads the recording; the pages and the views empty.
    void OnCloseData();
    // "&Credits..." and "&About Tessaran...".
    void OnCredits();
    void OnAbout();
    // Loads `path` as the Import command would, without a dialog; false (after
    // the load error message) when it cannot be read.
    bool OpenRecording(const std::string& path);
    // Appends `path` as "&Add Axon File to Current Data" would, without a
    // dialog (a plain open while nothing is loaded); false when it is not added.
    bool AddRecording(const std::string& path);
    // At exit: the visible analysis page's fields that hold valid numbers go
    // into its record; the others keep the stored values, which the user is told.
    void TakeVisiblePageValues();
    // The export of all analyses, for the pages' apply step and the watcher.
    // Does nothing but tell the user while no recording is loaded. It runs on
    // a worker thread while the window answers (only Exit and closing are
    // taken, and they cancel it) and returns once it has finished.
    void ExportAllAnalyses() override;

    // The acquisition program's broadcast: 20 analyses the newly acquired file
    // when automatic analysis is on; 4, 5 and anything else do nothing.
    // Always returns 0.
    int OnClampexBroadcast(int parameter, int unused = 0);
    // Loads the file named by the last-acquired-file value and exports its
    // results. False when automatic analysis is off, the value is missing or
    // the file cannot be read (its load error is shown).
    bool AnalyseNewAcquisition();
    // The value file the watcher reads (default LastAcquiredFileValuePath()).
    void SetLastAcquiredFileValuePath(const std::string& path) { m_valuePath = path; }
    // Loads the acquired recording at `path` and exports its results, as for
    // an announced acquisition (an unchanged file analysed a moment ago is
    // not analysed again). False when it cannot be read (its error is shown).
    bool AnalyseAcquiredFile(const std::string& path);
    // A complete recording in the watched folder: analysed as an announced
    // acquisition, at once or when the window's present work has finished.
    void AnalyseWatchedRecording(const std::string& path);
    // The folder watched for new recordings ("Watch folder:"; empty: none).
    const std::string& WatchedFolder() const;
    // How long a watched recording's size must stay the same (default 2 s);
    // the folder is watched anew.
    void SetWatchSettlingPeriod(std::chrono::milliseconds period);

    // --- File dialog ----------------------------------------------------------
    struct FileChoice {
        QString fileName;  // as typed or picked, possibly in double quotes
        QString directory; // the folder the dialog ended in
    };
    // The open-file dialog: title, starting folder, parent -> the choice, or
    // nothing when cancelled. Process-wide so tests answer without a modal
    // dialog; an empty function restores the real dialog. Returns the previous one.
    using FileDialogFunction = std::function<std::optional<FileChoice>(
        QWidget* parent, const QString& title, const QString& directory)>;
    static FileDialogFunction SetFileDialogFunction(FileDialogFunction function);

    // Shows the dialog titled `title` in `directory`; on acceptance stores the
    // cleaned-up absolute name into `fileName` and the dialog's final folder
    // into `directory`. True when the user accepted.
    bool PromptForDataFile(std::string& fileName, std::string& directory, const QString& title);
    // The dialog, then loading the chosen file into `target`; `path` and
    // `title` (name without folder and extension) are set only on success.
    bool ChooseAndLoadFile(std::string& path, std::string& title, TraceStore& target,
                           const QString& dialogTitle);

    // How modal dialogs (About, Credits) are run; default QDialog::exec.
    using ModalDialogRunner = std::function<void(QDialog& dialog)>;
    static ModalDialogRunner SetModalDialogRunner(ModalDialogRunner runner);

    // Printing and hand-over of the export (null: the desktop's printer and
    // spreadsheet program). Not owned.
    void SetExportServices(IChartPrinter* printer, IWorkbookOpener* opener);

    // --- State ------------------------------------------------------------------
    const TraceStore& Store() const { return m_traceStore; }
    const std::string& FileName() const { return m_fileName; }
    const std::shared_ptr<TraceDisplayModel>& DisplayModel() const { return m_displayModel; }
    const std::vector<CPageAnalyseBase*>& AnalysisPages() const { return m_pages; }
    CPageGeneralSettings* GeneralSettingsPage() const { return m_generalSettings; }
    const AnalysisPageRecords& Records() const { return m_records; }
    QMenuBar* MenuBar() const { return m_menuBar; }
    // The menu action of a command id (null for unknown ids).
    QAction* Action(int commandId) const;
    int ExportCount() const { return m_exportCount; }
    // The recordings opened last, newest first ("Recent Files").
    const RecentFiles& Recent() const { return m_recent; }
    // The view of the visible analysis page (null on General Settings).
    CZoomScrollView* VisibleView() const;
    const ExportOutcome& LastExportOutcome() const { return m_lastExport; }
    bool LastExportShowedProgress() const { return m_lastExportShowedProgress; }

    // Enables the menu items by the state: Add only while a recording is loaded.
    void UpdateCommandUI();

signals:
    // A recording was loaded, appended to or closed.
    void recordingChanged();
    // An export finished.
    void analysesExported();

protected:
    void OnInitDialog() override;
    bool OnCommand(int id) override;
    void OnHelpNotGiven() override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The five analysis pages over the records, in page order, with their
    // stored choices; then the General Settings page with its settings.
    void AddAnalysisPages();
    void AddGeneralSettingsPage();
    void BuildMenus();
    void BuildViewShortcuts();
    void FillRecentMenu();
    void RestorePlacement();
    void SavePlacement();
    // A recording was opened from `path`: listed first under Recent Files,
    // and the next file dialog starts in its folder.
    void NoteOpened(const std::string& path);
    void AttachMenu();
    void DressFrame();
    void InstallRecording(TraceStore&& store, const std::string& path, const std::string& title);
    // Hands the store as it now is to the display model, lets `tellPage`
    // tell each page (with its index) and redraws.
    void ShowStore(const std::function<void(size_t, CPageAnalyseBase*)>& tellPage);
    void RedrawViews();
    // The channel the general settings ask for (kAutoChannel or a number).
    int ChannelRequest() const;
    // "Current channel:" changed: the open recording's files are read again
    // on that channel (a file that cannot be is told, and the recording stays).
    void ReloadOnChannel();
    // Loads `path` on a worker (the window goes on) and appends it to `store`;
    // false, with the error shown, when it cannot, and quietly on a Cancel.
    bool AppendInBackground(TraceStore& store, const std::string& path);
    // The window title names the file and the analysed channel ("channel 0:
    // IN 0 (pA)"); General Settings lists the open file's channels.
    void ShowChannel();
    void RunModal(QDialog& dialog);
    // Work that must not be interrupted by an automatic analysis.
    void BeginBusy() { ++m_busy; }
    void EndBusy();
    // Watches the folder the general settings name (a folder that cannot be
    // watched is told to the user).
    void WatchFolderFromSettings();
    void AnalyseNextWatchedRecording();

    IProfileStore& m_profile;
    AnalysisPageRecords m_records;
    std::vector<CPageAnalyseBase*> m_pages;
    CPageGeneralSettings* m_generalSettings = nullptr;
    std::string m_fileName;
    std::shared_ptr<TraceDisplayModel> m_displayModel;
    TraceStore m_traceStore;
    QMenuBar* m_menuBar = nullptr;
    QMenu* m_recentMenu = nullptr;
    RecentFiles m_recent;
    bool m_menuAttached = false;
    std::vector<QAction*> m_actions;
    IChartPrinter* m_printer = nullptr;
    IWorkbookOpener* m_opener = nullptr;
    std::string m_valuePath;
    AnnouncementFilter m_announcements;
    int m_exportCount = 0;
    ExportOutcome m_lastExport;
    bool m_lastExportShowedProgress = false;
    bool m_exporting = false;
    bool m_closeAfterExport = false;
    int m_busy = 0;
    bool m_broadcastPending = false;
    std::unique_ptr<CWatchedFolder> m_watchedFolder;
    std::chrono::milliseconds m_watchSettlingPeriod{std::chrono::seconds(2)};
    // Watched recordings that arrived while the window was busy, oldest first.
    std::deque<std::string> m_watchedPending;
    bool m_closing = false;
};
