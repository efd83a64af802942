// Shared pieces of the main-window tests: a private profile folder, the file
// dialog and modal dialogs answered without blocking, an export that neither
// prints nor opens anything, and recordings written to disk.
#pragma once

#include "app/DataFileNames.h"
#include "app/qt/MainSheet.h"
#include "controls/qt/ImageButton.h"
#include "export/ExcelExport.h"
#include "platform/Messages.h"
#include "platform/qt/IniProfileStore.h"
#include "tests/support/TempDir.h"

#include <QDialog>
#include <QPointer>
#include <QString>

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Points XDG_CONFIG_HOME at a fresh folder while it lives.
class ScopedConfigHome {
public:
    ScopedConfigHome();
    ~ScopedConfigHome();
    ScopedConfigHome(const ScopedConfigHome&) = delete;
    ScopedConfigHome& operator=(const ScopedConfigHome&) = delete;
    const TempDir& dir() const { return dir_; }

private:
    TempDir dir_;
    std::optional<std::string> saved_;
};

// Answers the main window's file dialog from a queue (an empty queue or a
// nullopt entry cancels) and records every title and starting folder.
class ScopedFileDialog {
public:
    ScopedFileDialog();
    ~ScopedFileDialog();
    ScopedFileDialog(const ScopedFileDialog&) = delete;
    ScopedFileDialog& operator=(const ScopedFileDialog&) = delete;

    // The next dialog returns `name` (as typed) and ends in `directory`.
    void Answer(const std::string& name, const std::string& directory = {});
    void Cancel();

    std::deque<std::optional<CMainSheet::FileChoice>> answers;
    std::vector<QString> titles;
    std::vector<QString> directories;

private:
    CMainSheet::FileDialogFunction previous_;
};

// Records the modal dialogs the main window opens instead of running them.
class ScopedModalRunner {
public:
    ScopedModalRunner();
    ~ScopedModalRunner();
    ScopedModalRunner(const ScopedModalRunner&) = delete;
    ScopedModalRunner& operator=(const ScopedModalRunner&) = delete;

    struct Shown {
        QString className;
        QString title;
        QStringList labels; // texts of the dialog's labels
    };
    std::vector<Shown> shown;

private:
    CMainSheet::ModalDialogRunner previous_;
};

class RecordingPrinter : public IChartPrinter {
public:
    PrintOutcome PrintChartSheets(const Workbook& workbook,
                                  const std::string& pdfFallbackPath) override;
    int calls = 0;
};

class RecordingOpener : public IWorkbookOpener {
public:
    bool OpenWorkbook(const std::string& path) override {
        paths.push_back(path);
        return true;
    }
    std::vector<std::string> paths;
};

// A model-cell recording of `cells` traces (4000 samples each, two ramps) at `path`.
void WriteCellRecording(const std::string& path, int cells);
// A recording of `traces` traces of `samples` samples each at `path`.
void WriteShortRecording(const std::string& path, uint32_t traces, uint32_t samples);

// The main-window test fixture: own profile folder, display values reset,
// message boxes recorded, export services that only record.
class MainSheetTest : public ::testing::Test {
protected:
    MainSheetTest();
    ~MainSheetTest() override;

    // A shown main window over `profile`.
    CMainSheet* OpenSheet();
    // The same, not yet shown.
    CMainSheet* NewSheet();
    // Presses "Exit" and waits until the window has gone.
    void ExitSheet(CMainSheet* sheet);
    // Deletes the window (as closing does) without the cancel step.
    void DestroySheet(CMainSheet* sheet);
    // Stores the model cell's ramp 1 in every page's section, so that every
    // analysis finds its sub-sections.
    void UseModelCellRamps();
    // The profile of the tests' application name, as a fresh store.
    std::unique_ptr<IniProfileStore> NewProfile();

    ScopedConfigHome config;
    TempDir data;
    RecordingMessageSink messages;
    ScopedFileDialog fileDialog;
    ScopedModalRunner modal;
    RecordingPrinter printer;
    RecordingOpener opener;
    std::unique_ptr<IniProfileStore> profile;
    QPointer<CMainSheet> window;
};
