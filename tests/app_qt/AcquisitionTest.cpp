// Automatic analysis of a new acquisition: the broadcast, the value file with
// the new file's path, and the listener on the session bus.
#include "tests/app_qt/AppTestSupport.h"

#include "analysis/qt/PageAnalyseBase.h"
#include "app/AcquisitionWatcher.h"
#include "app/DataFileNames.h"
#include "app/qt/ClampexBroadcastListener.h"
#include "export/WorkbookFiles.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <set>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

class AcquisitionTest : public MainSheetTest {
protected:
    // Writes the value file of the acquisition program, as it would.
    void Announce(const std::string& bytes) {
        const std::string file = LastAcquiredFileValuePath();
        fs::create_directories(fs::path(file).parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
    }
    CMainSheet* OpenSheetWithAutoAnalysis(bool on) {
        profile->WriteInt("settings", "AutoAnalyseAcquisitions", on ? 1 : 0);
        profile->WriteInt("settings", "AutoPrint", 0);
        return OpenSheet();
    }
};

TEST_F(AcquisitionTest, NewFileIsLoadedShownAndExportedOnce) {
    const std::string path = data.file("acquired 7.abf");
    WriteCellRecording(path, 3);
    Announce(path + "\n");
    profile->WriteInt("settings", "SelectAllCapacitance", 0);
    UseModelCellRamps();
    CMainSheet* sheet = OpenSheetWithAutoAnalysis(true);
    EXPECT_EQ(sheet->OnClampexBroadcast(kClampexNewAcquisitionFile), 0);

    EXPECT_EQ(sheet->FileName(), path);
    EXPECT_EQ(sheet->Store().traces.size(), 3u);
    EXPECT_EQ(sheet->AnalysisPages()[4]->TraceCount(), 3u);
    EXPECT_EQ(sheet->ExportCount(), 1);
    EXPECT_TRUE(fs::exists(WorkbookPathFor(path)));
    // Every category but the capacitance (no traces selected there) has
    // results; one message says which has none and why.
    EXPECT_EQ(sheet->LastExportOutcome().pairs, 4);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text,
              "These analyses have no results:\nCapacitance: no traces selected");
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Information);
    EXPECT_TRUE(dialogTitles.empty()) << "no dialog";
    // The dialogs start where the program started, and the acquisition leaves that alone.
    EXPECT_EQ(g_dataDirectory, fs::current_path().string());
}

// Without the flag, without the parameter 20 or without a usable value file
// nothing is loaded, exported or shown.
TEST_F(AcquisitionTest, FlagOffOtherParametersOrUnusableValueFilesDoNothing) {
    const std::string path = data.file("acquired.abf");
    WriteCellRecording(path, 2);
    Announce(path);
    CMainSheet* off = OpenSheetWithAutoAnalysis(false);
    off->OnClampexBroadcast(20);
    EXPECT_TRUE(off->FileName().empty());
    EXPECT_EQ(off->ExportCount(), 0);
    delete off;

    CMainSheet* on = OpenSheetWithAutoAnalysis(true);
    for (int parameter : {4, 19, 21})
        on->OnClampexBroadcast(parameter);
    fs::remove(LastAcquiredFileValuePath());
    EXPECT_FALSE(on->AnalyseNewAcquisition()) << "no value file";
    Announce(std::string("/tmp/\xFF\xFE.abf"));
    EXPECT_FALSE(on->AnalyseNewAcquisition());
    EXPECT_TRUE(on->FileName().empty());
    EXPECT_EQ(on->ExportCount(), 0);
    EXPECT_TRUE(messages.messages.empty());
}

// Announcements of one file coalesce: a file still being written shows the
// load error and a later announcement loads it; repeats of an unchanged file
// right after its analysis are dropped; a changed file is analysed again. An
// announced FIFO is an error at once, never a hang.
TEST_F(AcquisitionTest, RepeatedAnnouncementsOfAnUnchangedFileAreAnalysedOnce) {
    const std::string path = data.file("acquired.abf");
    WriteCellRecording(path, 2);
    std::ifstream complete(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(complete)), {});
    std::ofstream(path, std::ios::binary) << bytes.substr(0, 1000);
    Announce(path);
    profile->WriteInt("settings", "AutoSave", 0); // shown only: nothing to ask about
    CMainSheet* sheet = OpenSheetWithAutoAnalysis(true);
    sheet->OnClampexBroadcast(20);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, "Error Reading Axon Data");
    EXPECT_TRUE(sheet->FileName().empty());
    messages.messages.clear();

    std::ofstream(path, std::ios::binary) << bytes;
    for (int i = 0; i < 50; ++i)
        sheet->OnClampexBroadcast(20);
    EXPECT_EQ(sheet->FileName(), path);
    EXPECT_EQ(sheet->ExportCount(), 1);

    WriteCellRecording(path, 3); // a new acquisition under the same name
    sheet->OnClampexBroadcast(20);
    EXPECT_EQ(sheet->ExportCount(), 2);
    EXPECT_EQ(sheet->Store().traces.size(), 3u);
    // Only the message after each export that names the analyses without results.
    EXPECT_EQ(messages.messages.size(), 2u);
    for (const RecordingMessageSink::Message& message : messages.messages)
        EXPECT_EQ(message.icon, MessageIcon::Information) << message.text;
    messages.messages.clear();

    const std::string fifo = data.file("pipe.abf");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    Announce(fifo);
    EXPECT_FALSE(sheet->AnalyseNewAcquisition());
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, "Error Reading Axon Data");
    EXPECT_EQ(sheet->ExportCount(), 2);
}

TEST_F(AcquisitionTest, ABroadcastDuringAnImportWaitsForIt) {
    WriteCellRecording(data.file("picked.abf"), 2);
    WriteCellRecording(data.file("acquired.abf"), 3);
    Announce(data.file("acquired.abf"));
    CMainSheet* sheet = OpenSheetWithAutoAnalysis(true);
    // The broadcast arrives while the file dialog is open.
    whileDialogOpen = [&] {
        sheet->OnClampexBroadcast(20);
        EXPECT_EQ(sheet->ExportCount(), 0);
    };
    Answer(data.file("picked.abf"));
    sheet->OnImportData();
    whileDialogOpen = nullptr;
    EXPECT_EQ(sheet->Store().traces.size(), 2u);
    QTest::qWait(50);
    EXPECT_EQ(sheet->FileName(), data.file("acquired.abf"));
    EXPECT_EQ(sheet->Store().traces.size(), 3u);
    EXPECT_EQ(sheet->ExportCount(), 1);
}

TEST(ClampexListenerTest, HearsTheSignalFromAnyPathAndInterface) {
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "no session bus (run under dbus-run-session)";
    ClampexBroadcastListener listener;
    ASSERT_TRUE(listener.IsActive());
    QSignalSpy spy(&listener, &ClampexBroadcastListener::broadcast);
    QDBusConnection bus = QDBusConnection::sessionBus();
    auto send = [&](const QString& path, const QString& interface, const QString& member,
                    const QVariant& argument) {
        QDBusMessage signal = QDBusMessage::createSignal(path, interface, member);
        signal << argument;
        ASSERT_TRUE(bus.send(signal));
    };
    send("/", "com.axon.Clampex", "ClampexBroadcastMsg", 20);
    send("/some/other/path", "org.example.Else", "ClampexBroadcastMsg", 4);
    // Not ours: another member, or another argument type.
    send("/", "com.axon.Clampex", "SomethingElse", 20);
    send("/", "com.axon.Clampex", "ClampexBroadcastMsg", QStringLiteral("20"));
    send("/", "com.axon.Clampex", "ClampexBroadcastMsg", 5);
    for (int i = 0; i < 50 && spy.size() < 3; ++i)
        spy.wait(100);
    QTest::qWait(100);
    // Qt may hand signals that arrive together to the slot in any order.
    std::multiset<int> heard;
    for (const QList<QVariant>& arguments : spy)
        heard.insert(arguments[0].toInt());
    EXPECT_EQ(heard, (std::multiset<int>{4, 5, 20}));
}

TEST(ProgramWithoutBusTest, StartsAndKeepsRunning) {
    const QString program = QStringLiteral(TESSARAN_BINARY_DIR "/app/tessaran");
    if (!QFile::exists(program))
        GTEST_SKIP() << "the tessaran program is not built";
    TempDir config;
    TempDir data;
    WriteCellRecording(data.file("cell.abf"), 2);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DBUS_SESSION_BUS_ADDRESS");
    environment.remove("DISPLAY");
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(config.path().string()));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, {QString::fromStdString(data.file("cell.abf"))});
    ASSERT_TRUE(process.waitForStarted(10000));
    EXPECT_FALSE(process.waitForFinished(3000))
        << "the program ended by itself: " << process.readAllStandardError().toStdString();
    EXPECT_EQ(process.state(), QProcess::Running);
    process.terminate();
    process.waitForFinished(10000);
}

} // namespace
