#include "ui/BackgroundTask.h"

#include "core/EAbort.h"
#include "core/Exception.h"

#include <QCoreApplication>
#include <QTest>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>

namespace {

class Worker : public ::testing::Test {
protected:
    Worker() { pool_.setMaxThreadCount(1); }
    ~Worker() override { pool_.waitForDone(); }

    // Work that waits for the test to let it go, then gives `value`.
    BackgroundTask::Work<int> heldWork(int value) {
        return [this, value](std::stop_token stop, const BackgroundTask::Progress& progress) {
            progress(value);
            while (!release_ && !stop.stop_requested()) {
                QThread::msleep(1);
            }
            return std::optional<int>(value);
        };
    }

    BackgroundTask::Handlers<int> recording() {
        return {[this](const int& value) {
                    results_.push_back(value);
                    deliveredOnWindowThread_ = QThread::currentThread() == qApp->thread();
                },
                [this](const QString& text) { failures_ << text; },
                [this](int percent) { progress_.push_back(percent); }};
    }

    QThreadPool pool_;
    std::atomic<bool> release_ = false;
    std::vector<int> results_;
    std::vector<int> progress_;
    QStringList failures_;
    bool deliveredOnWindowThread_ = false;
};

} // namespace

TEST_F(Worker, TheResultComesBackQueuedOnTheWindowThread) {
    BackgroundTask task(pool_);
    task.start(heldWork(7), recording());
    EXPECT_TRUE(task.running());
    release_ = true;
    pool_.waitForDone();
    EXPECT_TRUE(results_.empty()); // not before the window thread takes its messages
    QCoreApplication::processEvents();
    EXPECT_EQ(results_, std::vector<int>{7});
    EXPECT_EQ(progress_, std::vector<int>{7});
    EXPECT_TRUE(deliveredOnWindowThread_);
    EXPECT_FALSE(task.running());
}

TEST_F(Worker, ANewerStartStopsTheOlderWorkAndDropsWhatItGives) {
    BackgroundTask task(pool_);
    task.start(heldWork(1), recording());
    QThread::msleep(20); // the first work runs and reports, its report waits in the queue
    task.start(heldWork(2), recording());
    release_ = true;
    QTRY_COMPARE(results_, std::vector<int>{2});
    QTest::qWait(20);
    EXPECT_EQ(results_, std::vector<int>{2});
    // Its progress was reported before the newer start but arrives after it: dropped too.
    EXPECT_EQ(progress_, std::vector<int>{2});

    task.start(heldWork(3), recording());
    task.cancel();
    pool_.waitForDone();
    QCoreApplication::processEvents();
    EXPECT_EQ(results_, std::vector<int>{2});
    EXPECT_FALSE(task.running());
}

TEST_F(Worker, AnErrorComesBackAsItsText) {
    BackgroundTask task(pool_);
    task.start<int>(
        [](std::stop_token, const BackgroundTask::Progress&) -> std::optional<int> {
            throw Exception("Erreur JPEG #42");
        },
        recording());
    QTRY_COMPARE(failures_, QStringList{"Erreur JPEG #42"});
    EXPECT_TRUE(results_.empty());
    task.start<int>(
        [](std::stop_token, const BackgroundTask::Progress&) -> std::optional<int> {
            throw std::bad_alloc();
        },
        recording());
    QTRY_COMPARE(failures_.size(), 2);
    EXPECT_FALSE(failures_[1].isEmpty());
}

TEST_F(Worker, GoingAwayStopsTheWorkAndNothingComesBackAfterwards) {
    {
        BackgroundTask task(pool_);
        task.start(heldWork(5), recording());
        QTest::qWait(20);
    } // never released: only the stop ends the work
    EXPECT_TRUE(pool_.waitForDone(5000));
    QCoreApplication::processEvents();
    EXPECT_TRUE(results_.empty());
}
