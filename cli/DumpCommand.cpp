// tessaran-cli dump FILE [--channel C] [--episode K]: one channel of one
// episode as CSV, beside the command waveform of that episode.
#include "abf/AbfErrors.h"
#include "cli/Command.h"
#include "recording/CAbfRecording.h"

#include <QFile>

#include <QCommandLineParser>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

bool ParseNumber(const QString& text, long long low, long long high, long long* value) {
    bool ok = false;
    *value = text.toLongLong(&ok);
    return ok && *value >= low && *value <= high;
}

// A value that is not finite has no number: its field stays empty.
void PrintField(float value) {
    if (std::isfinite(value))
        std::printf("%.9g", double(value));
}

constexpr char kHelp[] =
    "usage: tessaran-cli dump FILE [--channel C] [--episode K]\n\n"
    "Prints one channel of one episode of FILE as CSV: sample (from 1), the\n"
    "command waveform in mV, the value in the channel's unit.\n"
    "  --channel C  physical analog-input channel (default 1 when sampled, else 0)\n"
    "  --episode K  episode, from 1 (default 1)\n"
    "Exit status: 0 written; 1 the file cannot be read; 2 bad usage.\n";

// The rows "sample,command_mV,value"; without a command its fields stay empty.
void PrintCsv(const std::vector<float>& values, const std::vector<float>* command) {
    std::printf("sample,command_mV,value\n");
    for (uint32_t i = 0; i < values.size(); ++i) {
        std::printf("%u,", i + 1);
        if (command && i < command->size())
            PrintField((*command)[i]);
        std::putchar(',');
        PrintField(values[i]);
        std::putchar('\n');
    }
}

int Dump(const QStringList& arguments) {
    if (arguments.contains("--help") || arguments.contains("-h")) {
        std::printf("%s", kHelp);
        return 0;
    }
    QCommandLineParser parser;
    QCommandLineOption channelOption("channel", "Physical channel (default 1, else 0).", "C");
    QCommandLineOption episodeOption("episode", "Episode, from 1 (default 1).", "K");
    parser.addOption(channelOption);
    parser.addOption(episodeOption);
    parser.addPositionalArgument("FILE", "Recording to read.");
    if (!parser.parse(QStringList{"tessaran-cli dump"} + arguments) ||
        parser.positionalArguments().size() != 1) {
        std::fprintf(stderr, "%s\nusage: tessaran-cli dump FILE [--channel C] [--episode K]\n",
                     parser.errorText().toLocal8Bit().constData());
        return 2;
    }
    CAbfRecording file;
    const std::string path = QFile::encodeName(parser.positionalArguments().at(0)).toStdString();
    if (LoadResult opened = file.Open(path); !opened) {
        std::fprintf(stderr, "%s\n", opened.ReaderText().c_str());
        return 1;
    }

    // Channels and episodes the file does not have are the caller's mistake,
    // told as such with what the file offers, never as a reader failure.
    long long channel = file.AnalysedChannel(), episode = 1;
    if (parser.isSet(channelOption) &&
        (!ParseNumber(parser.value(channelOption), 0, 15, &channel) ||
         !file.IsSampled(int(channel)))) {
        std::fprintf(stderr, "invalid channel: %s (not a channel this file sampled)\n",
                     parser.value(channelOption).toLocal8Bit().constData());
        return 2;
    }
    if (parser.isSet(episodeOption) &&
        !ParseNumber(parser.value(episodeOption), 1, file.EpisodeCount(), &episode)) {
        std::fprintf(stderr, "invalid episode: %s (the file has episodes 1 to %u)\n",
                     parser.value(episodeOption).toLocal8Bit().constData(), file.EpisodeCount());
        return 2;
    }

    std::vector<float> values, command;
    if (LoadResult read = file.ReadTrace(int(channel), uint32_t(episode), values); !read) {
        std::fprintf(stderr, "%s\n", read.ReaderText().c_str());
        return 1;
    }
    const LoadResult commandRead =
        file.ReadCommandWaveform(command, int(channel), uint32_t(episode));
    const bool haveCommand = static_cast<bool>(commandRead);
    if (!haveCommand && commandRead.readerError != ABF_ENOWAVEFORM)
        std::fprintf(stderr, "no command waveform: %s\n", commandRead.ReaderText().c_str());

    PrintCsv(values, haveCommand ? &command : nullptr);
    return 0;
}

const CommandRegistration kRegistration("dump", "dump FILE [--channel C] [--episode K]", Dump);

} // namespace
