#pragma once

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

// Splits the rows of a picture into bands of a fixed height and works them on several
// threads, the caller's among them. A band's rows are the same whatever the number of
// threads, and each row's result lands in its own place, so what is made of them does not
// depend on which thread worked which band.
class RowBands {
public:
    // Tall enough that the rows a band reads beyond its own (the window's overlap) cost
    // little, short enough that two cores share a picture evenly.
    static constexpr int Height = 128;

    static int count(int rows) { return (rows + Height - 1) / Height; }
    // 0 asks for one thread a core.
    static unsigned threadsFor(int rows, unsigned threads) {
        const unsigned cores = threads > 0 ? threads : std::thread::hardware_concurrency();
        return std::clamp<unsigned>(cores, 1, static_cast<unsigned>(std::max(1, count(rows))));
    }

    // Calls `makeWorker()` once a thread, then the worker with the first and end row of
    // each band that thread takes. The first exception a worker raises is raised here
    // once every thread has stopped.
    template <class MakeWorker> static void run(int rows, unsigned threads, MakeWorker makeWorker) {
        std::atomic<int> next{0};
        std::exception_ptr failure;
        std::mutex failureLock;
        auto work = [&] {
            try {
                auto worker = makeWorker();
                for (int band = next++; band < count(rows); band = next++) {
                    worker(band * Height, std::min(rows, (band + 1) * Height));
                }
            } catch (...) {
                next = count(rows); // the others stop at their next band
                const std::lock_guard lock(failureLock);
                failure = failure ? failure : std::current_exception();
            }
        };
        {
            std::vector<std::jthread> helpers;
            for (unsigned i = 1; i < threadsFor(rows, threads); ++i) {
                helpers.emplace_back(work);
            }
            work();
        }
        if (failure) {
            std::rethrow_exception(failure);
        }
    }
};
