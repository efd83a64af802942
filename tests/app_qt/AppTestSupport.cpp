#include "tests/app_qt/AppTestSupport.h"

#include "app/DataFileNames.h"
#include "controls/qt/ImageButton.h"
#include "display/DisplayValues.h"
#include "tests/support/AbfTestWriter.h"
#include "tests/support/ModelCell.h"

#include <QCoreApplication>
#include <QTest>

#include <cstdlib>
#include <filesystem>

void WriteCellRecording(const std::string& path, int cells) {
    std::vector<model::Cell> list;
    list.reserve(static_cast<size_t>(cells));
    for (int i = 0; i < cells; ++i)
        list.push_back({1.0 + 0.5 * i, 20.0});
    model::WriteModelRecording(path, list);
}

std::string WriteShortRecording(const std::string& path, uint32_t traces, uint32_t samples) {
    AbfTestWriter()
        .SetEpisodes(traces)
        .SetSamplesPerChannel(samples)
        .SetSignal([](uint32_t episode, int, uint32_t sample) {
            return static_cast<double>(episode) * 10.0 + sample % 7;
        })
        .Write(path);
    return path;
}

std::string Canonical(const std::string& path) {
    return std::filesystem::canonical(path).string();
}

MainSheetTest::MainSheetTest() {
    if (const char* value = std::getenv("XDG_CONFIG_HOME"))
        m_savedConfigHome = value;
    setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    m_savedDialog = CMainSheet::SetFileDialogFunction(
        [this](QWidget*, const QString& title,
               const QString&) -> std::optional<CMainSheet::FileChoice> {
            dialogTitles.push_back(title);
            if (whileDialogOpen)
                whileDialogOpen();
            if (answers.empty())
                return std::nullopt;
            CMainSheet::FileChoice answer = answers.front();
            answers.pop_front();
            return answer;
        });
    ResetDisplayValues();
    g_dataDirectory.clear();
    profile = NewProfile();
}

MainSheetTest::~MainSheetTest() {
    delete window;
    profile.reset();
    ResetDisplayValues();
    g_dataDirectory.clear();
    CMainSheet::SetFileDialogFunction(std::move(m_savedDialog));
    if (m_savedConfigHome)
        setenv("XDG_CONFIG_HOME", m_savedConfigHome->c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

void MainSheetTest::Answer(const std::string& name, const std::string& directory) {
    answers.push_back({QString::fromStdString(name), QString::fromStdString(directory)});
}

void MainSheetTest::UseModelCellRamps() {
    for (const char* section :
         {"Slope conductance", "Cl Current Time course", "IV", "Capacitance"}) {
        profile->WriteInt(section, "Ramp1 Start", static_cast<int>(model::kRamp1First) + 1);
        profile->WriteInt(section, "Ramp1 End", static_cast<int>(model::kRamp1Last) + 1);
    }
}

std::unique_ptr<IniProfileStore> MainSheetTest::NewProfile() {
    return std::make_unique<IniProfileStore>("test_app");
}

CMainSheet* MainSheetTest::NewSheet() {
    window = new CMainSheet(*profile);
    window->SetExportServices(&printer, &opener);
    return window;
}

CMainSheet* MainSheetTest::OpenSheet() {
    NewSheet();
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
    return window;
}

void MainSheetTest::ExitSheet(CMainSheet* sheet, bool fromTitleBar) {
    QPointer<CMainSheet> guard(sheet);
    if (fromTitleBar)
        sheet->close();
    else
        QTest::mouseClick(sheet->Button(CPropertySheetWithLogoDlg::kCancelButton), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(guard.isNull()) << "the window is still there after Exit";
    profile.reset();
    profile = NewProfile();
}
