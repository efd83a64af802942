// Shared pieces of the main-window tests: the fixture and recordings written to disk.
#pragma once

#include "app/qt/MainSheet.h"
#include "export/ExcelExport.h"
#include "platform/Messages.h"
#include "platform/qt/IniProfileStore.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/TempDir.h"

#include <QPointer>
#include <QString>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class RecordingPrinter : public IChartPrinter {
public:
    PrintOutcome PrintChartSheets(const Workbook&, const std::string&,
                                  const std::function<bool()>&) override {
        ++calls;
        PrintOutcome outcome;
        outcome.printed = true;
        return outcome;
    }
    int calls = 0;
};

class RecordingOpener : public IWorkbookOpener {
public:
    std::optional<Notice> OpenWorkbook(const std::string& path) override {
        paths.push_back(path);
        return std::nullopt;
    }
    std::vector<std::string> paths;
};

// A model-cell recording of `cells` traces (4000 samples each, two ramps) at `path`.
void WriteCellRecording(const std::string& path, int cells);
// A recording of `traces` traces of `samples` samples each at `path`; returns `path`.
std::string WriteShortRecording(const std::string& path, uint32_t traces, uint32_t samples);
// `path` with links and dots resolved, as the window names an opened file.
std::string Canonical(const std::string& path);

// The main-window test fixture: own profile folder (XDG_CONFIG_HOME), display
// values reset, message boxes recorded, the file dialog answered from a queue,
// export services that only record.
class MainSheetTest : public ::testing::Test {
protected:
    MainSheetTest();
    ~MainSheetTest() override;

    // A window over `profile`, not yet shown.
    CMainSheet* NewSheet();
    // The same, shown.
    CMainSheet* OpenSheet();
    // Presses "Exit" (or closes from the title bar), waits until the window
    // has gone, and reads `profile` anew from the file the window wrote.
    void ExitSheet(CMainSheet* sheet, bool fromTitleBar = false);
    // Stores the model cell's ramp 1 in every page's section, so that every
    // analysis finds its sub-sections.
    void UseModelCellRamps();
    // The profile of the tests' application name, as a fresh store.
    static std::unique_ptr<IniProfileStore> NewProfile();
    // The next file dialog returns `name` (as typed) and ends in `directory`;
    // a dialog with nothing queued is cancelled.
    void Answer(const std::string& name, const std::string& directory = {});

    TempDir config;
    TempDir data;
    RecordingMessageSink messages;
    std::deque<CMainSheet::FileChoice> answers;
    std::vector<QString> dialogTitles;
    std::function<void()> whileDialogOpen;
    RecordingPrinter printer;
    RecordingOpener opener;
    std::unique_ptr<IniProfileStore> profile;
    QPointer<CMainSheet> window;

private:
    std::optional<std::string> m_savedConfigHome;
    CMainSheet::FileDialogFunction m_savedDialog;
};
