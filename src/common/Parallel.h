// Work spread over a few threads, for scans that wait on the file system more than on the CPU.
#pragma once

#include <cstddef>
#include <functional>

// Runs produce(i) for every i below count on a few threads, and consume(i) on the calling thread
// in the order of i, each as soon as its produce(i) is done; returns when all are consumed. So
// results can be joined in order, and each one's memory given up, while later ones are still
// being made. Should no thread start, the calling thread does all the work itself, in order.
void RunInOrder(size_t count, const std::function<void(size_t)>& produce,
                const std::function<void(size_t)>& consume);
