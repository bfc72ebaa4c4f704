#include "common/Parallel.h"

#include <algorithm>
#include <atomic>
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

void RunInParallel(size_t count, const std::function<void(size_t)>& work) {
    std::atomic<size_t> next{0};
    auto worker = [&] {
        for (size_t i = next++; i < count; i = next++)
            work(i);
    };
    std::vector<std::thread> helpers;
    const size_t threads = ThreadCount(count);
    for (size_t t = 1; t < threads; ++t) {
        try {
            helpers.emplace_back(worker);
        } catch (const std::system_error&) {
            break;  // the threads already started and this one share the rest
        }
    }
    worker();
    for (std::thread& helper : helpers)
        helper.join();
}
