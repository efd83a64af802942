// Runs the built tessaran-cli as a program, without a stored profile and with
// no print server, so that --print can only write a PDF.
#pragma once

#include "tests/support/ModelCell.h"
#include "tests/support/TempDir.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

inline QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A settings file whose ramps are the model protocol's (tests/support/ModelCell.h),
// followed by `extra`.
inline void WriteModelSettings(const std::string& path, const std::string& extra = {}) {
    std::ofstream ini(path, std::ios::trunc);
    for (const char* section : {"Slope conductance", "Cl Current Time course", "IV", "Capacitance"})
        ini << "[" << section << "]\nRamp1 Start=" << model::kRamp1First + 1
            << "\nRamp1 End=" << model::kRamp1Last + 1 << "\n";
    ini << "Ramp2 Start=" << model::kRamp2First + 1 << "\nRamp2 End=" << model::kRamp2Last + 1
        << "\n"
        << extra;
}

// Lines for WriteModelSettings that fit model::WriteMovingRampRecording:
// the rising ramp (the protocol's second ramp epoch) is ramp 1 on every page,
// "Ramps From Protocol" is `fromProtocol`; the current is taken at -20 mV, the
// model's reversal potential, where it is the capacitive current alone;
// `general` goes into [settings].
inline std::string MovingRampSettings(int fromProtocol, const std::string& general = {}) {
    std::string text;
    for (const char* section : {"Slope conductance", "Cl Current Time course", "IV", "Capacitance"})
        text += std::string("[") + section +
                "]\nRamps From Protocol=" + std::to_string(fromProtocol) +
                "\nRamp1 Protocol Ramp=2\nRamp2 Protocol Ramp=1\n";
    text += "[Cl Current Time course]\nReversal Potential=-20\n";
    return text + "[settings]\n" + general;
}

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;

    QStringList Lines() const {
        return QString::fromStdString(out).split('\n', Qt::SkipEmptyParts);
    }
    // One JSON document per line of stdout; a line that is not JSON fails the test.
    QList<QJsonObject> Documents() const {
        QList<QJsonObject> documents;
        for (const QString& line : Lines()) {
            QJsonParseError error;
            QJsonDocument document = QJsonDocument::fromJson(line.toUtf8(), &error);
            EXPECT_EQ(error.error, QJsonParseError::NoError) << line.left(200).toStdString();
            documents.push_back(document.object());
        }
        return documents;
    }
};

// The category of an analyse --json document whose sheet is `sheet`; empty when none.
inline QJsonObject Category(const QJsonObject& document, const QString& sheet) {
    for (const QJsonValue category : document["categories"].toArray())
        if (category["sheet"].toString() == sheet)
            return category.toObject();
    return {};
}

inline CliRun RunCli(const QStringList& arguments) {
    TempDir config;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(config.path().string()));
    environment.insert("CUPS_SERVER", QString::fromStdString(config.file("no-cups.sock")));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(TESSARAN_BINARY_DIR "/cli/tessaran-cli", arguments);
    CliRun run;
    if (!process.waitForFinished(60000))
        return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

// A folder with a profile whose ramps are the model protocol's, model
// recordings written into it, and tessaran-cli analyse run with that profile.
class CliFolder : public ::testing::Test {
protected:
    void SetUp() override { WriteModelSettings(settings); }
    // Writes `cells` model cells of 5 nS and 20 pF to `name` in the folder; its path.
    std::string Record(const std::string& name, size_t cells = 2) const {
        std::string path = dir.file(name);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        model::WriteModelRecording(path, std::vector<model::Cell>(cells, {5.0, 20000.0}));
        return path;
    }
    // Runs analyse with the profile, first rewritten with `extraSettings` when given.
    CliRun Run(const QStringList& arguments, const std::string& extraSettings = {}) const {
        if (!extraSettings.empty())
            WriteModelSettings(settings, extraSettings);
        return RunCli(QStringList{"analyse", "--settings", Q(settings)} + arguments);
    }

    TempDir dir;
    std::string settings = dir.file("settings.ini");
};
