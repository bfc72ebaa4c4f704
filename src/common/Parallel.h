// Work spread over a few threads, for scans that wait on the file system more than on the CPU.
#pragma once

#include <cstddef>
#include <functional>

// Runs work(i) for every i below count, on the calling thread and a few others, and returns when
// all are done. Each i runs once; no order between them is promised. Should no thread start, the
// calling thread does all the work itself.
void RunInParallel(size_t count, const std::function<void(size_t)>& work);
