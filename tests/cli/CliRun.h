// Runs the built tessaran-cli as a program, without a stored profile and with
// no print server, so that --print can only write a PDF.
#pragma once

#include "tests/support/TempDir.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <gtest/gtest.h>

#include <string>

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
