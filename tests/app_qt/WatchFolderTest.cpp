// The window's watched folder ("Watch folder:" in General Settings): new
// complete recordings there are analysed as announced acquisitions are.
#include "tests/app_qt/AppTestSupport.h"

#include "app/qt/PageGeneralSettings.h"
#include "export/WorkbookFiles.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr auto kSettle = 200ms;

class WatchFolderTest : public MainSheetTest {
protected:
    WatchFolderTest() : folder(data.file("rig 2 \xc3\xa9")) {
        fs::create_directories(folder);
        UseModelCellRamps();
        // The announced acquisitions stay off: the folder is its own switch.
        profile->WriteInt("settings", "AutoAnalyseAcquisitions", 0);
        profile->WriteInt("settings", "AutoPrint", 0);
        profile->WriteInt("settings", "AutoSave", 1);
    }
    CMainSheet* OpenWatching(const std::string& watched) {
        profile->WriteString("settings", "WatchFolder", watched);
        CMainSheet* sheet = OpenSheet();
        sheet->SetWatchSettlingPeriod(kSettle);
        return sheet;
    }
    // The bytes of a complete model-cell recording of `cells` traces.
    std::string RecordingBytes(int cells) {
        const std::string scratch = data.file("scratch.abf");
        WriteCellRecording(scratch, cells);
        std::ifstream in(scratch, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), {});
        fs::remove(scratch);
        return bytes;
    }
    // Waits (on the event loop) until `sheet` has exported `count` times, or
    // for at most 20 settling periods; then as long again to see no more.
    void ExpectExports(CMainSheet* sheet, int count) {
        for (int i = 0; i < 20 && sheet->ExportCount() < count; ++i)
            QTest::qWait(static_cast<int>(kSettle.count()));
        QTest::qWait(static_cast<int>(3 * kSettle.count()));
        EXPECT_EQ(sheet->ExportCount(), count);
    }

    std::string folder;
};

// A recording written in pieces, each of which settles before the next, is
// analysed once, after its last piece, without an error shown for the pieces
// that fell short of the data; after a restart it is left alone, while a
// recording that arrived meanwhile is analysed.
TEST_F(WatchFolderTest, ARecordingWrittenInPiecesIsAnalysedOnceAndNotAgainAfterARestart) {
    const std::string path = folder + "/cell 1.abf";
    const std::string bytes = RecordingBytes(3);
    CMainSheet* sheet = OpenWatching(folder);
    EXPECT_EQ(sheet->WatchedFolder(), folder);
    const size_t pieceEnds[] = {0, 600, bytes.size() / 2, bytes.size() - 1, bytes.size()};
    size_t written = 0;
    for (size_t end : pieceEnds) {
        std::ofstream(path, std::ios::binary | std::ios::app)
            << bytes.substr(written, end - written);
        written = end;
        if (end == bytes.size())
            break;
        QTest::qWait(static_cast<int>(3 * kSettle.count()));
        ASSERT_EQ(sheet->ExportCount(), 0) << "after " << end << " bytes";
    }
    ExpectExports(sheet, 1);
    EXPECT_EQ(sheet->FileName(), path);
    EXPECT_EQ(sheet->Store().traces.size(), 3u);
    EXPECT_TRUE(fs::exists(WorkbookPathFor(path)));
    EXPECT_TRUE(messages.messages.empty());

    ExitSheet(sheet);
    std::ofstream(folder + "/cell 2.abf", std::ios::binary) << RecordingBytes(2);
    fs::create_directory(folder + "/subfolder.abf");
    sheet = OpenWatching(folder);
    ExpectExports(sheet, 1);
    EXPECT_EQ(sheet->FileName(), folder + "/cell 2.abf");
    EXPECT_EQ(sheet->Store().traces.size(), 2u);
    EXPECT_TRUE(messages.messages.empty());
}

// The chooser's folder is watched at once; an edited
// field takes effect when the page is left; an emptied one stops watching; a
// folder that cannot be watched is told.
TEST_F(WatchFolderTest, TheFolderSettingIsWatchedAtOnceAndRoundTrips) {
    CMainSheet* sheet = OpenWatching("");
    EXPECT_EQ(sheet->WatchedFolder(), "");
    const auto previous = CPageGeneralSettings::SetFolderDialogFunction(
        [&](QWidget*, const QString&, const QString&) -> std::optional<QString> {
            return QString::fromStdString(folder);
        });
    ASSERT_TRUE(sheet->SetActivePage(5));
    CPageGeneralSettings* page = sheet->GeneralSettingsPage();
    auto* field = qobject_cast<QLineEdit*>(page->Control(CPageGeneralSettings::kWatchFolderId));
    auto* chooser =
        qobject_cast<QPushButton*>(page->Control(CPageGeneralSettings::kWatchFolderChooserId));
    ASSERT_TRUE(field && chooser);
    QTest::mouseClick(chooser, Qt::LeftButton);
    CPageGeneralSettings::SetFolderDialogFunction(previous);
    EXPECT_EQ(field->text().toStdString(), folder);
    EXPECT_EQ(sheet->WatchedFolder(), folder) << "before the page is left";

    field->setText(QString::fromStdString(data.file("missing")));
    ASSERT_TRUE(sheet->SetActivePage(0));
    EXPECT_EQ(sheet->WatchedFolder(), "");
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_NE(messages.messages[0].text.find("missing' is not a folder"), std::string::npos);
    ASSERT_TRUE(sheet->SetActivePage(5));
    field->clear();
    ASSERT_TRUE(sheet->SetActivePage(0));
    EXPECT_EQ(sheet->WatchedFolder(), "");
    EXPECT_EQ(messages.messages.size(), 1u) << "empty is off, not an error";
    ExitSheet(sheet);
    EXPECT_EQ(profile->ReadString("settings", "WatchFolder", "?"), "");
}

// A recording that settles while a file dialog is open is analysed when the
// dialog has been answered.
TEST_F(WatchFolderTest, ARecordingArrivingDuringAnImportWaitsForIt) {
    WriteCellRecording(data.file("picked.abf"), 2);
    CMainSheet* sheet = OpenWatching(folder);
    const std::string path = folder + "/late.abf";
    whileDialogOpen = [&] {
        std::ofstream(path, std::ios::binary) << RecordingBytes(3);
        QTest::qWait(static_cast<int>(4 * kSettle.count()));
        EXPECT_EQ(sheet->ExportCount(), 0);
    };
    Answer(data.file("picked.abf"));
    sheet->OnImportData();
    whileDialogOpen = nullptr;
    ExpectExports(sheet, 1);
    EXPECT_EQ(sheet->FileName(), path);
    EXPECT_EQ(sheet->Store().traces.size(), 3u);
}

} // namespace
