#include "ui/BackgroundTask.h"

BackgroundTask::BackgroundTask(QThreadPool& pool)
    : pool_(pool), return_(std::make_shared<Return>()) {
    return_->task = this;
}

BackgroundTask::~BackgroundTask() {
    {
        const std::lock_guard held(return_->lock);
        return_->task = nullptr;
    }
    stop_.request_stop();
}

std::uint64_t BackgroundTask::next() {
    cancel();
    stop_ = std::stop_source();
    running_ = true;
    return ++latest_;
}

void BackgroundTask::cancel() {
    stop_.request_stop();
    ++latest_;
    running_ = false;
}

QString BackgroundTask::errorText() {
    // Called inside a catch block, on the worker: the text is all that crosses back.
    try {
        throw;
    } catch (const Exception& error) {
        return QString::fromStdString(error.message());
    } catch (const std::exception& error) {
        return QString::fromLocal8Bit(error.what());
    } catch (...) {
        return QString();
    }
}
