#include "common/Parallel.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace {
// Under Wine a file open, read or close waits on the server process, and a native cache miss on
// the disk: more threads than cores keep both busy. Beyond a handful they only queue.
size_t ThreadCount(size_t count) {
    const size_t cores = std::max(1u, std::thread::hardware_concurrency());
    return std::min(count, std::clamp<size_t>(2 * cores, 2, 8));
}
}  // namespace

void RunInOrder(size_t count, const std::function<void(size_t)>& produce,
                const std::function<void(size_t)>& consume) {
    std::atomic<size_t> next{0};
    std::unique_ptr<bool[]> done(new bool[count]());
    std::mutex lock;
    std::condition_variable finished;
    auto worker = [&] {
        for (size_t i = next++; i < count; i = next++) {
            produce(i);
            {
                std::lock_guard<std::mutex> hold(lock);
                done[i] = true;
            }
            finished.notify_one();
        }
    };
    std::vector<std::thread> workers;
    const size_t threads = ThreadCount(count);
    for (size_t t = 0; t < threads; ++t) {
        try {
            workers.emplace_back(worker);
        } catch (const std::system_error&) {
            break;  // the threads already started share the work
        }
    }
    for (size_t i = 0; i < count; ++i) {
        if (workers.empty()) {
            produce(i);
        } else {
            std::unique_lock<std::mutex> hold(lock);
            finished.wait(hold, [&] { return done[i]; });
        }
        consume(i);
    }
    for (std::thread& thread : workers)
        thread.join();
}
