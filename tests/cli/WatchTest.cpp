// tessaran-cli watch: a recording written slowly in pieces is analysed once,
// after its last piece; a restart does not analyse it again; SIGTERM stops it;
// --channel and --ramps stand in for the profile.
#include "tests/cli/CliRun.h"
#include "tests/export/XlsxReadBack.h"

#include <chrono>
#include <csignal>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// A running `tessaran-cli watch`, its stdout read as it comes.
class Watcher {
public:
    Watcher(const TempDir& config, const QStringList& arguments) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", QString::fromStdString(config.path().string()));
        m_process.setProcessEnvironment(environment);
        m_process.start(TESSARAN_BINARY_DIR "/cli/tessaran-cli", QStringList{"watch"} + arguments);
        m_process.waitForStarted();
        Read(10000, "watching", &err);
    }
    // Reads stdout and stderr for `ms` milliseconds or until `text` shows in
    // `stream` (stdout when none); whether it showed.
    bool Read(int ms, const std::string& text = {}, const std::string* stream = nullptr) {
        const std::string& seen = stream ? *stream : out;
        const auto shown = [&] { return !text.empty() && seen.find(text) != std::string::npos; };
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (!shown() && std::chrono::steady_clock::now() < end) {
            m_process.waitForReadyRead(20);
            out += m_process.readAllStandardOutput().toStdString();
            err += m_process.readAllStandardError().toStdString();
        }
        return shown();
    }
    bool WaitFor(const std::string& text) { return Read(10000, text); }
    // Sends SIGTERM; the exit status, -1 when it did not stop cleanly.
    int Terminate() {
        kill(static_cast<pid_t>(m_process.processId()), SIGTERM);
        if (!m_process.waitForFinished(5000) || m_process.exitStatus() != QProcess::NormalExit)
            return -1;
        out += m_process.readAllStandardOutput().toStdString();
        return m_process.exitCode();
    }

    std::string out;
    std::string err;

private:
    QProcess m_process;
};

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

TEST(Watch, RecordingWrittenInPiecesIsAnalysedOnceAfterItsLastPiece) {
    TempDir config, dir, source;
    const std::string built = source.file("cell.abf");
    model::WriteModelRecording(built, std::vector<model::Cell>(3, {5.0, 20000.0}));
    const std::string bytes = ReadFile(built);
    const std::string recording = dir.file("cell.abf"), workbook = recording + ".xlsx";
    const QStringList arguments{QString::fromStdString(dir.path().string()), "--settle", "0.4"};
    {
        Watcher watcher(config, arguments);
        // Pieces closer together than the settling time: nothing happens in between.
        const size_t pieces = 6;
        for (size_t k = 0; k < pieces; ++k) {
            std::ofstream out(recording, std::ios::binary | std::ios::app);
            const size_t from = bytes.size() * k / pieces, to = bytes.size() * (k + 1) / pieces;
            out.write(bytes.data() + from, static_cast<std::streamsize>(to - from));
            out.close();
            watcher.Read(150);
            EXPECT_FALSE(fs::exists(workbook)) << "analysed before piece " << k + 1;
        }
        ASSERT_TRUE(watcher.WaitFor("workbook written")) << watcher.out << watcher.err;
        watcher.Read(800);
        EXPECT_EQ(watcher.out.rfind(recording + ": workbook written to " + workbook, 0), 0u)
            << watcher.out;
        EXPECT_EQ(Count(watcher.out, "\n"), 1u) << watcher.out;

        // A truncated recording left alone stays unanalysed, and says why once.
        const std::string partial = dir.file("partial.abf");
        std::ofstream(partial, std::ios::binary).write(bytes.data(), 4096);
        ASSERT_TRUE(watcher.WaitFor("partial.abf: not complete yet"));
        watcher.Read(800);
        EXPECT_EQ(Count(watcher.out, "partial.abf: not complete yet"), 1u) << watcher.out;
        // Its writer only paused: the rest of it makes it complete, and it is analysed.
        std::ofstream(partial, std::ios::binary | std::ios::app)
            .write(bytes.data() + 4096, static_cast<std::streamsize>(bytes.size() - 4096));
        ASSERT_TRUE(watcher.WaitFor("partial.abf: workbook written")) << watcher.out;
        EXPECT_EQ(watcher.Terminate(), 0);
    }
    const auto written = fs::last_write_time(workbook);
    Watcher restarted(config, arguments);
    ASSERT_TRUE(restarted.WaitFor(recording + ": skipped: its workbook " + workbook + " exists"));
    EXPECT_EQ(Count(restarted.out, "workbook written"), 0u);
    EXPECT_EQ(fs::last_write_time(workbook), written);
    EXPECT_EQ(restarted.Terminate(), 0);
}

TEST(Watch, ChannelAndRampsOptionsOverTheProfile) {
    TempDir config, dir, source;
    // Ramps that move from episode to episode, the current on channel 0; the
    // profile asks for channel 1 and the ramps' sample numbers.
    const std::vector<model::Cell> cells = {{5.0, 20000.0}, {10.0, 25000.0}, {15.0, 30000.0}};
    const std::string settings = source.file("settings.ini");
    WriteModelSettings(settings, MovingRampSettings(0, "Current Channel=1\n"));
    model::WriteMovingRampRecording(source.file("moving.abf"), cells, 200);
    Watcher watcher(config, {Q(dir.path().string()), "--settings", Q(settings), "--settle", "0.3",
                             "--channel", "0", "--ramps", "protocol"});
    const std::string recording = dir.file("moving.abf"), workbook = recording + ".xlsx";
    fs::copy_file(source.file("moving.abf"), recording);
    ASSERT_TRUE(watcher.WaitFor("workbook written")) << watcher.out << watcher.err;
    EXPECT_EQ(watcher.Terminate(), 0);

    const ReadBackWorkbook book = ReadXlsx(workbook);
    const ReadBackSheet& slope = book.Sheet("Slope Conductance Data");
    const ReadBackSheet& capacitance = book.Sheet("Capacitance Data");
    // Channel 1 holds the membrane potential (a slope of 1, not G); the sample
    // numbers miss the third trace's ramps. A missing cell throws.
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(slope.cells.at({k + 1, 1}).number, cells[k].conductance, 0.01) << k;
        EXPECT_NEAR(capacitance.cells.at({k + 1, 1}).number, cells[k].capacitance, 17.0) << k;
    }
}

} // namespace
