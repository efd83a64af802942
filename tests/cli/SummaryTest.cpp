// tessaran-cli analyse --summary: one workbook over all recordings, read back.
#include "tests/cli/CliRun.h"
#include "tests/export/XlsxReadBack.h"

#include <QCryptographicHash>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

ReadBackCell Text(const std::string& text) {
    return {true, text, 0.0};
}
ReadBackCell Number(double value) {
    return {false, "", value};
}

std::vector<ReadBackCell> Row(const ReadBackSheet& sheet, int row, int columns) {
    std::vector<ReadBackCell> cells;
    for (int c = 0; c < columns; ++c) {
        const auto it = sheet.cells.find({row, c});
        cells.push_back(it == sheet.cells.end() ? Text("") : it->second);
    }
    return cells;
}

class Summary : public CliFolder {};

TEST_F(Summary, OneRowPerRecordingWithMeanDeviationAndCount) {
    const std::string two = dir.file("two.abf"), three = dir.file("three.abf");
    model::WriteModelRecording(two, {{4.0, 20000.0}, {6.0, 20000.0}});
    model::WriteModelRecording(three, {{5.0, 20000.0}, {10.0, 20000.0}, {15.0, 20000.0}});
    const std::string missing = dir.file("missing.abf");
    const std::string summary = dir.file("summary.xlsx");
    const QStringList arguments{Q(two), Q(missing), Q(three), "--summary", Q(dir.file("summary")),
                                "-j2"};
    CliRun run = Run(arguments, "[IV]\nRound To=10\nSample Frequency=10\n");
    EXPECT_EQ(run.status, 1) << run.err; // the missing recording
    EXPECT_NE(run.out.find("summary of 3 recordings written to " + summary), std::string::npos)
        << run.out;

    const ReadBackWorkbook workbook = ReadXlsx(summary);
    EXPECT_EQ(workbook.SheetNames(),
              (std::vector<std::string>{"Slope Conductance", "ICl Time Course", "IV", "Capacitance",
                                        "Files"}));
    const ReadBackSheet& slope = workbook.Sheet("Slope Conductance");
    EXPECT_EQ(Row(slope, 0, 7),
              (std::vector<ReadBackCell>{Text("File"), Text("Trace 1"), Text("Trace 2"),
                                         Text("Trace 3"), Text("Mean"), Text("SD"), Text("n")}));
    const std::vector<ReadBackCell> row = Row(slope, 3, 7);
    EXPECT_EQ(row[0], Text("three.abf"));
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(row[1 + k].number, 5.0 * (k + 1), 0.02);
    EXPECT_NEAR(row[4].number, 10.0, 0.02);
    EXPECT_NEAR(row[5].number, 5.0, 0.02);
    EXPECT_EQ(row[6], Number(3));
    EXPECT_EQ(Row(slope, 1, 7)[3], Text("")) << "two.abf has no third trace";
    EXPECT_EQ(Row(slope, 1, 7)[6], Number(2));
    EXPECT_EQ(Row(slope, 2, 7),
              (std::vector<ReadBackCell>{Text("missing.abf"), Text(""), Text(""), Text(""),
                                         Text(""), Text(""), Number(0)}));

    // The current-voltage relation: a row per recording and 10 mV bin, -100 to +50 mV.
    const ReadBackSheet& iv = workbook.Sheet("IV");
    for (const auto& [row, file] :
         {std::pair{1, "two.abf"}, {16, "two.abf"}, {17, "three.abf"}, {32, "three.abf"}, {33, ""}})
        EXPECT_EQ(Row(iv, row, 1)[0], Text(file)) << row;
    EXPECT_EQ(Row(iv, 1 + 16, 8)[7], Number(3)) << "the first row of three.abf has n = 3";

    const ReadBackSheet& files = workbook.Sheet("Files");
    const QByteArray sha256 = QCryptographicHash::hash(QByteArray::fromStdString(ReadFile(three)),
                                                       QCryptographicHash::Sha256);
    EXPECT_EQ(Row(files, 3, 10),
              (std::vector<ReadBackCell>{
                  Text("three.abf"), Text(three), Text(std::to_string(fs::file_size(three))),
                  Text(sha256.toHex().toStdString()), Number(1.65f), Number(1),
                  Number(model::kIntervalUs), Number(model::kSamples), Number(3), Text("")}));
    EXPECT_EQ(Row(files, 2, 10)[9].text.substr(0, 12), "The Axon dat");

    // Never replaced without --force.
    const auto written = fs::last_write_time(summary);
    run = Run(arguments);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("summary not written: " + summary + " exists (--force replaces it)"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(fs::last_write_time(summary), written);
}

} // namespace
