#include "app/qt/BackgroundLoad.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>

#include <atomic>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <memory>
#include <mutex>
#include <thread>

namespace {

// A load shorter than this finishes without a progress window flashing up.
constexpr int kProgressDelayMs = 400;

// What the worker and the waiting window share; the worker keeps it alive
// after a Cancel until it has finished.
struct LoadJob {
    TraceStore store;
    LoadResult result;
    std::atomic<bool> done{false};
};

QPointer<QEventLoop> g_waiting;
// A cancelled load may still be reading when the next one starts: one reads at a time.
std::mutex g_readerMutex;
bool g_cancelled = false;

// The recording the target held before is freed now; the allocator keeps
// freed memory for later unless asked, and a window that has opened a few long
// recordings would go on holding several recordings' worth.
void ReturnFreedMemory() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

} // namespace

bool CBackgroundLoad::IsRunning() {
    return !g_waiting.isNull();
}

void CBackgroundLoad::CancelRunning() {
    if (g_waiting) {
        g_cancelled = true;
        g_waiting->quit();
    }
}

std::optional<LoadResult> CBackgroundLoad::LoadInto(TraceStore& target, const std::string& path,
                                                    QWidget* parent, int channelRequest) {
    auto job = std::make_shared<LoadJob>();
    std::thread([job, path, channelRequest] {
        {
            const std::lock_guard<std::mutex> reader(g_readerMutex);
            job->result = TraceStore::LoadInto(job->store, path, channelRequest);
        }
        job->done = true;
    }).detach();

    QEventLoop loop;
    QProgressDialog progress(
        QObject::tr("Loading %1 ...").arg(QFileInfo(QString::fromStdString(path)).fileName()),
        QObject::tr("Cancel"), 0, 0, parent);
    progress.setObjectName(QStringLiteral("loadProgress"));
    progress.setWindowTitle(QObject::tr("Tessaran"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(kProgressDelayMs);
    QObject::connect(&progress, &QProgressDialog::canceled, &loop, [] { CancelRunning(); });
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (job->done)
            loop.quit();
        else
            progress.setValue(0); // keeps the busy indicator moving
    });
    g_cancelled = false;
    g_waiting = &loop;
    if (!job->done) {
        poll.start();
        loop.exec(QEventLoop::ExcludeSocketNotifiers);
    }
    g_waiting = nullptr;
    progress.reset();
    if (g_cancelled && !job->done)
        return std::nullopt;
    // Finished (perhaps just as Cancel came): the result counts.
    if (job->result) {
        target = std::move(job->store);
        ReturnFreedMemory();
    }
    return job->result;
}
