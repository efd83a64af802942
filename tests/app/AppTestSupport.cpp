#include "tests/app/AppTestSupport.h"

#include "app/DataFileNames.h"
#include "display/DisplayValues.h"
#include "platform/qt/IniProfileStore.h"
#include "tests/support/AbfTestWriter.h"
#include "tests/support/ModelCell.h"

#include <QApplication>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

ScopedConfigHome::ScopedConfigHome() {
    if (const char* value = std::getenv("XDG_CONFIG_HOME"))
        saved_ = value;
    setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1);
}

ScopedConfigHome::~ScopedConfigHome() {
    if (saved_)
        setenv("XDG_CONFIG_HOME", saved_->c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

ScopedFileDialog::ScopedFileDialog() {
    previous_ = CMainSheet::SetFileDialogFunction(
        [this](QWidget*, const QString& title,
               const QString& directory) -> std::optional<CMainSheet::FileChoice> {
            titles.push_back(title);
            directories.push_back(directory);
            if (answers.empty())
                return std::nullopt;
            auto answer = answers.front();
            answers.pop_front();
            return answer;
        });
}

ScopedFileDialog::~ScopedFileDialog() {
    CMainSheet::SetFileDialogFunction(std::move(previous_));
}

void ScopedFileDialog::Answer(const std::string& name, const std::string& directory) {
    answers.push_back(
        CMainSheet::FileChoice{QString::fromStdString(name), QString::fromStdString(directory)});
}

void ScopedFileDialog::Cancel() {
    answers.push_back(std::nullopt);
}

ScopedModalRunner::ScopedModalRunner() {
    previous_ = CMainSheet::SetModalDialogRunner([this](QDialog& dialog) {
        Shown entry{
            QString::fromLatin1(dialog.metaObject()->className()), dialog.windowTitle(), {}};
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            entry.labels << label->text();
        shown.push_back(entry);
    });
}

ScopedModalRunner::~ScopedModalRunner() {
    CMainSheet::SetModalDialogRunner(std::move(previous_));
}

PrintOutcome RecordingPrinter::PrintChartSheets(const Workbook&, const std::string&) {
    ++calls;
    PrintOutcome outcome;
    outcome.printed = true;
    outcome.printer = "test printer";
    return outcome;
}

void WriteCellRecording(const std::string& path, int cells) {
    std::vector<model::Cell> list;
    for (int i = 0; i < cells; ++i)
        list.push_back({1.0 + 0.5 * i, 20.0});
    model::WriteModelRecording(path, list);
}

void WriteShortRecording(const std::string& path, uint32_t traces, uint32_t samples) {
    AbfTestWriter()
        .SetEpisodes(traces)
        .SetSamplesPerChannel(samples)
        .SetSignal([](uint32_t episode, int, uint32_t sample) {
            return static_cast<double>(episode) * 10.0 + sample % 7;
        })
        .Write(path);
}

MainSheetTest::MainSheetTest() {
    ResetDisplayValues();
    g_strDataDirectory.clear();
    profile = NewProfile();
}

MainSheetTest::~MainSheetTest() {
    if (window)
        DestroySheet(window);
    profile.reset();
    ResetDisplayValues();
    g_strDataDirectory.clear();
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

void MainSheetTest::ExitSheet(CMainSheet* sheet) {
    QPointer<CMainSheet> guard(sheet);
    QTest::mouseClick(sheet->Button(CPropertySheetWithLogoDlg::kCancelButton), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull()) << "the window is still there after Exit";
}

void MainSheetTest::DestroySheet(CMainSheet* sheet) {
    delete sheet;
}
