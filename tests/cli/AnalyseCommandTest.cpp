// tessaran-cli analyse, run as a program: the model cell's numbers come out of
// the JSON, failures go to stderr without stopping the other files.
#include "tests/support/ModelCell.h"
#include "tests/support/TempDir.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <fstream>

namespace {

const std::vector<model::Cell> kCells = {{5.0, 20000.0}, {10.0, 20000.0}, {15.0, 30000.0}};

struct CliRun {
    int status = -1;
    QList<QJsonObject> documents; // one per stdout line
    std::string errors;
};

CliRun Analyse(const QStringList& arguments, const QString& configHome = {}) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!configHome.isEmpty())
        environment.insert("XDG_CONFIG_HOME", configHome);
    process.setProcessEnvironment(environment);
    process.start(TESSARAN_BINARY_DIR "/cli/tessaran-cli", QStringList{"analyse"} + arguments);
    CliRun run;
    if (!process.waitForFinished(60000))
        return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
        if (line.isEmpty())
            continue;
        QJsonParseError error;
        QJsonDocument document = QJsonDocument::fromJson(line, &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << line.left(200).toStdString();
        run.documents.push_back(document.object());
    }
    run.errors = process.readAllStandardError().toStdString();
    return run;
}

// A profile whose ramps are the model protocol's, plus `extra` lines.
std::string WriteModelSettings(const TempDir& dir, const std::string& extra = {},
                               const std::string& name = "settings.ini") {
    std::string path = dir.file(name);
    std::ofstream ini(path);
    for (const char* section : {"Slope conductance", "Cl Current Time course", "IV", "Capacitance"})
        ini << "[" << section << "]\nRamp1 Start=" << model::kRamp1First + 1
            << "\nRamp1 End=" << model::kRamp1Last + 1 << "\n";
    ini << "Ramp2 Start=" << model::kRamp2First + 1 << "\nRamp2 End=" << model::kRamp2Last + 1
        << "\n"
        << extra;
    return path;
}

QJsonObject Category(const QJsonObject& document, const QString& sheet) {
    for (const QJsonValue& category : document["categories"].toArray())
        if (category["sheet"].toString() == sheet)
            return category.toObject();
    return {};
}

TEST(AnalyseCommand, ModelCellInAllFiveCategories) {
    TempDir dir;
    std::string file = dir.file("cell.abf");
    model::WriteModelRecording(file, kCells);
    CliRun run = Analyse({QString::fromStdString(file), "--settings",
                          QString::fromStdString(WriteModelSettings(dir)), "--json"});
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.documents.size(), 1);
    const QJsonObject& document = run.documents[0];
    EXPECT_EQ(document["file"].toString().toStdString(), file);
    QStringList sheets;
    for (const QJsonValue& category : document["categories"].toArray())
        sheets << category["sheet"].toString();
    EXPECT_EQ(sheets,
              (QStringList{"Slope Conductance", "ICl Time Course", "IV", "Capacitance", "Traces"}));

    QJsonObject slope = Category(document, "Slope Conductance");
    EXPECT_EQ(slope["headers"].toArray(),
              (QJsonArray{"Trace Number", "Slope Conductance", "Normalized Slope Conductance",
                          "Normalized for control trace# 1"}));
    EXPECT_EQ(slope["rows"].toInt(), 3);
    QJsonArray columns = slope["columns"].toArray();
    ASSERT_EQ(columns.size(), 3);
    EXPECT_EQ(columns[0].toArray(), (QJsonArray{1, 2, 3}));
    QJsonArray capacitance = Category(document, "Capacitance")["columns"].toArray()[1].toArray();
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(columns[1].toArray()[k].toDouble(), kCells[k].conductance, 0.01);
        EXPECT_NEAR(capacitance[k].toDouble(), kCells[k].capacitance, 17.0);
    }
    EXPECT_EQ(Category(document, "ICl Time Course")["headers"].toArray()[1].toString(),
              "Cl Current at 0 mV");
    EXPECT_EQ(Category(document, "IV")["rows"].toInt(), 151);
    EXPECT_EQ(Category(document, "Traces")["rows"].toInt(), 14 * 3); // the default points
}

TEST(AnalyseCommand, AFileThatCannotBeReadDoesNotStopTheOthers) {
    TempDir dir;
    std::string good = dir.file("good.abf");
    model::WriteModelRecording(good, kCells);
    std::string missing = dir.file("missing.abf");
    CliRun run = Analyse({QString::fromStdString(missing), QString::fromStdString(good), "--json",
                          "--settings", QString::fromStdString(WriteModelSettings(dir))});
    EXPECT_EQ(run.status, 1);
    ASSERT_EQ(run.documents.size(), 1);
    EXPECT_EQ(run.documents[0]["file"].toString().toStdString(), good);
    EXPECT_NE(run.errors.find("Error Reading Axon Data"), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("The Axon data file could not be read.\r\n"), std::string::npos);
    EXPECT_NE(run.errors.find(missing), std::string::npos);
}

TEST(AnalyseCommand, ValueWithoutANumberIsNull) {
    // Both capacitance ramps the same: equal slopes, no capacitance.
    TempDir dir;
    std::string file = dir.file("quote\"and\\backslash.abf");
    model::WriteModelRecording(file, kCells);
    std::string settings =
        WriteModelSettings(dir, "Ramp2 Start=" + std::to_string(model::kRamp1First + 1) +
                                    "\nRamp2 End=" + std::to_string(model::kRamp1Last + 1) + "\n");
    CliRun run = Analyse(
        {"--json", "--settings", QString::fromStdString(settings), QString::fromStdString(file)});
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.documents.size(), 1);
    EXPECT_EQ(run.documents[0]["file"].toString().toStdString(), file);
    QJsonObject capacitance = Category(run.documents[0], "Capacitance");
    ASSERT_EQ(capacitance["rows"].toInt(), 3);
    for (const QJsonValue& value : capacitance["columns"].toArray()[1].toArray())
        EXPECT_TRUE(value.isNull());
}

TEST(AnalyseCommand, UsersProfileWhenNoSettingsFileIsGiven) {
    TempDir dir;
    std::string file = dir.file("cell.abf");
    model::WriteModelRecording(file, kCells);
    std::filesystem::create_directories(dir.path() / "Tessaran");
    WriteModelSettings(dir, "[settings]\nPlotTimeTraceNum=0\nSelectAllIV=0\nSelectAllSlopes=0\n",
                       "Tessaran/tessaran.ini");
    CliRun run =
        Analyse({QString::fromStdString(file), "--json"}, QString::fromStdString(dir.file("")));
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.documents.size(), 1);
    // Nothing selected on the slope and IV pages, times in seconds on the others.
    EXPECT_TRUE(Category(run.documents[0], "Slope Conductance").isEmpty());
    EXPECT_TRUE(Category(run.documents[0], "IV").isEmpty());
    QJsonObject current = Category(run.documents[0], "ICl Time Course");
    EXPECT_EQ(current["headers"].toArray()[0].toString(), "Time");
    QJsonArray times = current["columns"].toArray()[0].toArray();
    ASSERT_EQ(times.size(), 3);
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(times[k].toDouble(), 5.0 * k, 1e-5);
}

TEST(AnalyseCommand, RealRecordingsWithTheDefaultProfile) {
    TempDir dir; // an empty profile: every choice at its default
    const QString data = TESSARAN_TESTDATA_DIR;
    CliRun run =
        Analyse({data + "/19d22010.abf", data + "/20917000.abf", data + "/20917001.abf", "--json"},
                QString::fromStdString(dir.file("")));
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.documents.size(), 3);
    const int episodes[] = {10, 3, 9};
    for (int f = 0; f < 3; ++f) {
        SCOPED_TRACE(run.documents[f]["file"].toString().toStdString());
        // The fourteen default sample points all lie within these traces.
        EXPECT_EQ(Category(run.documents[f], "Traces")["rows"].toInt(), 14 * episodes[f]);
        for (const QJsonValue& category : run.documents[f]["categories"].toArray()) {
            int rows = category["rows"].toInt();
            EXPECT_GT(rows, 0);
            for (const QJsonValue& column : category["columns"].toArray())
                EXPECT_EQ(column.toArray().size(), rows);
        }
    }
}

TEST(AnalyseCommand, BadArguments) {
    TempDir dir;
    EXPECT_EQ(Analyse({"x.abf", "--output"}).status, 2); // --output without a path
    EXPECT_EQ(Analyse({"--json"}).status, 2);            // no recording
    EXPECT_EQ(Analyse({"x.abf", "--json", "--frob"}).status, 2);
    EXPECT_EQ(Analyse({"x.abf", "--json", "--settings"}).status, 2);
    CliRun run =
        Analyse({"x.abf", "--json", "--settings", QString::fromStdString(dir.file("no.ini"))});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("no.ini"), std::string::npos);
    EXPECT_TRUE(run.documents.isEmpty());
}

} // namespace
