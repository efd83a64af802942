// The loaded recording: traces of one analog-input channel in physical units,
// the time of each sample, the command voltage of each sample and the interval
// between the starts of the first two episodes, and the traces' unit. The file
// is not kept open.
#pragma once

#include "recording/ChannelChoice.h"
#include "recording/LoadResult.h"
#include "recording/SharedFloatArray.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One episode's command: the waveform the stimulus drove and where the
// protocol's ramp epochs lie in it.
struct EpisodeCommand {
    struct Ramp {
        uint32_t first = 0; // 0-based samples, both included
        uint32_t last = 0;
        friend bool operator==(const Ramp&, const Ramp&) = default;
    };
    std::vector<float> waveform; // one value per sample, in the command's unit (mV)
    std::vector<Ramp> ramps;     // the ramp epochs in protocol order (none: a stimulus file)
};
using SharedCommand = std::shared_ptr<const EpisodeCommand>;

// One file whose traces the store holds (the loaded one, then each appended one).
struct RecordingSource {
    std::string path;
    uint64_t size = 0;        // bytes
    std::string sha256;       // of the file's bytes, hexadecimal; empty when unreadable
    std::string format;       // "ABF 1.83", or the old data file kind
    ChannelInfo channel;      // the analysed channel
    float sampleInterval = 0; // microseconds between samples of one channel
    uint32_t samplesPerTrace = 0;
    uint32_t traces = 0;
    std::vector<ChannelInfo> channels; // every sampled channel, in scan order
};

struct TraceStore {
    std::vector<SharedFloatArray> traces; // element k-1 is trace number k
    std::vector<float> timeAxis;          // microseconds from the episode start
    std::vector<float> commandWaveform;   // mV, episode 1 (empty: the recording has none)
    float episodeInterval = 0.0f;         // seconds, episode 1 start to episode 2 start
    std::string unit; // the traces' unit ("pA"), channel.unit; empty when the file gives none
    // Each trace's own command, element k for trace k; episodes with equal
    // commands share one. Empty: commandWaveform holds for every trace.
    std::vector<SharedCommand> commands;
    ChannelInfo channel;                  // the analysed channel
    std::string commandUnit = "mV";       // unit of the command waveforms
    std::vector<RecordingSource> sources; // the files of `traces`, in order

    // Samples in every trace, the time axis and the command waveform.
    uint32_t SamplesPerTrace() const { return static_cast<uint32_t>(timeAxis.size()); }

    // The command waveform of trace `k` (commandWaveform when the store keeps
    // no command per trace); the same object for traces that share one.
    const std::vector<float>& CommandOf(size_t k) const {
        return k < commands.size() && commands[k] ? commands[k]->waveform : commandWaveform;
    }
    // True when the recording has a command waveform at all.
    bool HasCommand() const { return !commandWaveform.empty(); }

    // The one loader of the program: loads `path` into `store` (cleared
    // first): every episode of the channel `channelRequest` names
    // (kAutoChannel: the first sampled channel with a current unit, else 1
    // when sampled, else 0; ChooseChannel) and its unit, each episode's
    // command waveform and ramp epochs (shared where episodes are equal; none
    // when the recording has no waveform), the sample times, the interval
    // between the starts of episodes 1 and 2 (0 with one episode) and what the
    // file is (sources). On failure leaves the store empty and returns the
    // reader's error (ABF_HECHANNELNOTSAMPLED for a channel number the
    // recording did not sample). Nothing is allocated for the traces before the reader
    // has opened the file and given its sizes.
    static LoadResult LoadInto(TraceStore& store, const std::string& path,
                               int channelRequest = kAutoChannel);

    // Appends the traces of a further file of the same protocol (equal samples
    // per trace) to `store`, sharing their arrays, each with its own command,
    // and takes the further file's episode interval; the time axis and unit
    // stay. On failure returns the reader's error or Failure::OtherProtocol
    // and leaves the store unchanged. An empty store just loads.
    static LoadResult AppendFrom(TraceStore& store, const std::string& path,
                                 int channelRequest = kAutoChannel);
    // The same for a recording already loaded into `further` (which this
    // empties): the window loads it on a worker and appends it here. Fails
    // with Failure::OtherProtocol, leaving `store` unchanged, when the
    // traces' lengths differ; an empty store just takes `further`.
    static LoadResult Append(TraceStore& store, TraceStore&& further);
};
