#include "batch/BatchRunner.h"

#include "batch/BatchCommandLine.h"
#include "batch/BatchFailure.h"
#include "batch/BatchJob.h"
#include "batch/BatchPlan.h"
#include "batch/BatchReport.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

std::atomic<int> caughtSignal{0};
static_assert(std::atomic<int>::is_always_lock_free); // set from a signal handler

void noteSignal(int signal) {
    caughtSignal.store(signal);
}

// The two stop signals are noted while the run lasts, then handled as before.
class StopSignals {
public:
    StopSignals() {
        caughtSignal.store(0);
        struct sigaction action {};
        action.sa_handler = noteSignal;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGINT, &action, &previousInt_);
        ::sigaction(SIGTERM, &action, &previousTerm_);
    }
    ~StopSignals() {
        ::sigaction(SIGINT, &previousInt_, nullptr);
        ::sigaction(SIGTERM, &previousTerm_, nullptr);
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

private:
    struct sigaction previousInt_ {};
    struct sigaction previousTerm_ {};
};

// The job sees a picture through the library; a file that is not a JPEG one is then named by
// what its first bytes say it is.
BatchResult runOne(const BatchJob& job, const BatchItem& item) {
    BatchResult result = job.run(item);
    result.error = BatchFailure::withFileKind(result.error, item.input);
    return result;
}

// Each job takes the next picture not yet taken, until none is left or a stop is asked.
void runJobs(const std::vector<BatchItem>& items, const BatchJob& job, BatchReport& report,
             int jobs, std::stop_source& stop) {
    std::atomic<std::size_t> next{0};
    std::atomic<int> running{jobs};
    std::vector<std::jthread> workers;
    for (int i = 0; i < jobs; ++i) {
        workers.emplace_back([&] {
            for (std::size_t index = next++; index < items.size() && !stop.stop_requested();
                 index = next++) {
                report.done(items[index], runOne(job, items[index]));
            }
            --running;
        });
    }
    // A signal handler may only note the signal: the stop is asked from here.
    while (running > 0) {
        if (caughtSignal.load() != 0) {
            stop.request_stop();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

} // namespace

int BatchRunner::run(const BatchOptions& options, FileOperations& files, std::FILE* out,
                     std::FILE* err) {
    const auto plan = BatchPlan::make(options, files);
    if (const QString* mistake = std::get_if<QString>(&plan)) {
        std::fputs(BatchCommandLine::mistakeText(*mistake).toLocal8Bit().constData(), err);
        return UsageMistake;
    }
    const std::vector<BatchItem>& items = std::get<std::vector<BatchItem>>(plan);
    const StopSignals stopSignals;
    std::stop_source stop;
    const BatchJob job(options, files, stop.get_token());
    BatchReport report(options, static_cast<int>(items.size()), out, err, ::isatty(::fileno(err)));
    runJobs(items, job, report,
            std::max(1, std::min<int>(options.jobs, static_cast<int>(items.size()))), stop);
    const int signal = caughtSignal.load();
    report.finish(signal != 0);
    if (signal != 0) {
        return 128 + signal;
    }
    return report.failures() > 0 ? SomeFailed : AllDone;
}
