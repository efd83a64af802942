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

// Runs "tessaran-cli analyse" with `arguments`, without a stored profile.
CliRun Analyse(const QStringList& arguments) {
    TempDir config;
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(config.path().string()));
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
std::string WriteModelSettings(const TempDir& dir, const std::string& extra = {}) {
    std::string path = dir.file("settings.ini");
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
    std::string file = dir.file("quote\"and\\backslash.abf"); // escaped in the JSON
    model::WriteModelRecording(file, kCells);
    CliRun run = Analyse({QString::fromStdString(file), "--settings",
                          QString::fromStdString(WriteModelSettings(dir)), "--json"});
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.documents.size(), 1);
    const QJsonObject& document = run.documents[0];
    EXPECT_EQ(document["file"].toString().toStdString(), file);
    ASSERT_EQ(document["categories"].toArray().size(), 5);

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
    // Both capacitance ramps the same: equal slopes, no capacitance. Nothing
    // selected on the IV page; times in seconds.
    std::string settings =
        WriteModelSettings(dir, "Ramp2 Start=" + std::to_string(model::kRamp1First + 1) +
                                    "\nRamp2 End=" + std::to_string(model::kRamp1Last + 1) +
                                    "\n[settings]\nPlotTimeTraceNum=0\nSelectAllIV=0\n");
    CliRun run = Analyse({QString::fromStdString(missing), QString::fromStdString(good), "--json",
                          "--settings", QString::fromStdString(settings)});
    EXPECT_EQ(run.status, 1);
    ASSERT_EQ(run.documents.size(), 1);
    EXPECT_EQ(run.documents[0]["file"].toString().toStdString(), good);
    EXPECT_NE(run.errors.find("Error Reading Axon Data"), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("The Axon data file could not be read.\r\n"), std::string::npos);
    EXPECT_NE(run.errors.find(missing), std::string::npos);
    QJsonObject capacitance = Category(run.documents[0], "Capacitance");
    ASSERT_EQ(capacitance["rows"].toInt(), 3);
    for (const QJsonValue& value : capacitance["columns"].toArray()[1].toArray())
        EXPECT_TRUE(value.isNull());
    EXPECT_TRUE(Category(run.documents[0], "IV").isEmpty());
    EXPECT_EQ(capacitance["headers"].toArray()[0].toString(), "Time");
    EXPECT_EQ(capacitance["columns"].toArray()[0].toArray(), (QJsonArray{0, 5, 10}));
}

TEST(AnalyseCommand, RealRecordingsWithTheDefaultProfile) {
    const QString data = TESSARAN_TESTDATA_DIR; // every choice at its default
    CliRun run =
        Analyse({data + "/19d22010.abf", data + "/20917000.abf", data + "/20917001.abf", "--json"});
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

TEST(AnalyseCommand, AMissingSettingsFileIsNamed) {
    TempDir dir;
    CliRun run =
        Analyse({"x.abf", "--json", "--settings", QString::fromStdString(dir.file("no.ini"))});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("no.ini"), std::string::npos);
    EXPECT_TRUE(run.documents.isEmpty());
}

} // namespace
