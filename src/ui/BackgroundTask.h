#pragma once

#include "core/Exception.h"

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>

// One kind of work that the windows hand to a worker thread. The work gets its own copies
// of what it needs and a stop token; starting again stops the work started before, and
// only the latest work's result comes back, as a queued call on the thread that owns this
// object. Once this object is gone, nothing comes back at all.
class BackgroundTask : public QObject {
public:
    explicit BackgroundTask(QThreadPool& pool);
    ~BackgroundTask() override;

    // The work's reports of its progress, in percent.
    using Progress = std::function<void(int percent)>;
    // Gives nothing when it stopped because it was asked to.
    template <class Result>
    using Work = std::function<std::optional<Result>(std::stop_token, const Progress&)>;

    template <class Result> struct Handlers {
        std::function<void(const Result&)> done;
        // The error's text; the work has failed and gives nothing else.
        std::function<void(const QString&)> failed;
        Progress progress; // may be empty
    };

    template <class Result> void start(Work<Result> work, Handlers<Result> handlers);

    // Stops the latest work and drops whatever it would give.
    void cancel();
    // Between a start and the arrival of its result.
    bool running() const { return running_; }

private:
    // What the worker may reach once this object is gone: nothing, under the lock.
    struct Return {
        std::mutex lock;
        BackgroundTask* task = nullptr;
    };

    std::uint64_t next();
    bool isLatest(std::uint64_t id) const { return id == latest_ && running_; }
    void finish() { running_ = false; }
    static QString errorText();

    template <class Call> static void deliver(const std::shared_ptr<Return>& to, Call call) {
        const std::lock_guard held(to->lock);
        if (to->task != nullptr) {
            QMetaObject::invokeMethod(to->task, std::move(call), Qt::QueuedConnection);
        }
    }

    QThreadPool& pool_;
    std::shared_ptr<Return> return_;
    std::stop_source stop_;
    std::uint64_t latest_ = 0;
    bool running_ = false;
};

template <class Result> void BackgroundTask::start(Work<Result> work, Handlers<Result> handlers) {
    const std::uint64_t id = next();
    pool_.start([this, id, work = std::move(work), handlers = std::move(handlers), to = return_,
                 token = stop_.get_token()] {
        // Runs on the worker: `this` is touched only by the queued calls, on its own thread.
        const Progress report = [this, id, to, progress = handlers.progress](int percent) {
            if (progress) {
                deliver(to, [this, id, progress, percent] {
                    if (isLatest(id)) {
                        progress(percent);
                    }
                });
            }
        };
        try {
            std::optional<Result> result = work(token, report);
            if (result) {
                deliver(to, [this, id, done = handlers.done, result = std::move(*result)] {
                    if (isLatest(id)) {
                        finish();
                        done(result);
                    }
                });
            }
        } catch (...) {
            deliver(to, [this, id, failed = handlers.failed, text = errorText()] {
                if (isLatest(id)) {
                    finish();
                    failed(text);
                }
            });
        }
    });
}
