// Runs one piece of work per item on several threads and hands the results
// back on the calling thread in the items' order, each as soon as it and all
// before it are done (so output streams while later items still run).
#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// The default number of workers: the machine's cores (at least 1).
inline unsigned DefaultJobCount() {
    return std::max(1u, std::thread::hardware_concurrency());
}

// Calls `work(i)` for every i below `count` on up to `jobs` threads (1: on the
// calling thread) and `deliver(i, result)` on the calling thread in order of i.
// `progress(done)` is called on the calling thread whenever the number of
// finished items has grown. `work` must not throw.
template <typename Result>
void RunInOrder(size_t count, unsigned jobs, const std::function<Result(size_t)>& work,
                const std::function<void(size_t, Result&)>& deliver,
                const std::function<void(size_t done)>& progress = {}) {
    jobs = static_cast<unsigned>(std::clamp<size_t>(jobs, 1, std::max<size_t>(count, 1)));
    if (jobs == 1) {
        for (size_t i = 0; i < count; ++i) {
            Result result = work(i);
            if (progress)
                progress(i + 1);
            deliver(i, result);
        }
        return;
    }
    std::vector<std::optional<Result>> results(count);
    std::mutex mutex;
    std::condition_variable finished;
    std::atomic<size_t> next{0};
    size_t done = 0;
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < jobs; ++t) {
        workers.emplace_back([&] {
            for (size_t i = next++; i < count; i = next++) {
                Result result = work(i);
                std::lock_guard<std::mutex> lock(mutex);
                results[i] = std::move(result);
                ++done;
                finished.notify_one();
            }
        });
    }
    size_t reported = 0;
    for (size_t i = 0; i < count; ++i) {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            if (progress && done != reported) {
                reported = done;
                lock.unlock();
                progress(reported);
                lock.lock();
            }
            if (results[i])
                break;
            finished.wait(lock);
        }
        Result result = std::move(*results[i]);
        results[i].reset();
        lock.unlock();
        deliver(i, result);
    }
    for (std::thread& worker : workers)
        worker.join();
}
