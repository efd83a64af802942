// Loading a recording on a worker thread while the window goes on painting
// and answering: a progress window (after a moment) shows that the load runs
// and offers Cancel. The caller waits in a local event loop, so for it the
// load looks like a plain call of TraceStore::LoadInto.
#pragma once

#include "recording/TraceStore.h"

#include <QString>

#include <optional>
#include <string>

class QWidget;

class CBackgroundLoad {
public:
    // Loads channel `channelRequest` (kAutoChannel or a number, as
    // TraceStore::LoadInto takes it) of `path` into `target` (left as it is
    // unless the load succeeds), with `parent` as the progress window's
    // parent: the loader's result, or nothing when the user cancelled.
    static std::optional<LoadResult> LoadInto(TraceStore& target, const std::string& path,
                                              QWidget* parent, int channelRequest = kAutoChannel);
    // Cancels the load that is waiting, if any (e.g. the window is closing).
    static void CancelRunning();
    // Whether a load is waiting now.
    static bool IsRunning();
};
