#include "windows/FreeMemoryGauge.h"

#include "QStringPrinter.h"
#include "platform/FakeSettingsStore.h"
#include "platform/desktop/FakeMemoryStatus.h"
#include "settings/Settings.h"
#include "ui/TLabel.h"
#include "ui/TProgressBar.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint64_t MiB = std::uint64_t{1} << 20;
constexpr std::uint64_t GiB = std::uint64_t{1} << 30;

const QColor Green(0, 128, 0);
const QColor Cyan(0, 255, 255);
const QColor Red(255, 0, 0);

class Gauge : public ::testing::Test {
protected:
    Gauge() {
        label_.setAutoSize(false);
        label_.setCaption("Free Memory");
    }

    void tick(std::uint64_t totalBytes, std::uint64_t availableBytes) {
        memory_.figures = {totalBytes, availableBytes};
        FreeMemoryGauge(label_, bar_, memory_, settings_).tick();
    }

    FakeSettingsStore store_;
    Settings settings_{store_, "/opt/trevano/"};
    FakeMemoryStatus memory_;
    QWidget window_;
    TLabel label_{"Label9", &window_};
    TProgressBar bar_{"ProgressBar2", &window_};
};

} // namespace

TEST_F(Gauge, ShowsWholeMegabytesAndATruncatedPercentage) {
    tick(512 * MiB, 100 * MiB);
    EXPECT_EQ(label_.caption(), "Free Memory = 100 Mb");
    EXPECT_EQ(bar_.value(), 19);
    EXPECT_EQ(bar_.barColor(), Cyan);

    tick(512 * MiB, MiB - 1);
    EXPECT_EQ(label_.caption(), "Free Memory = 0 Mb");

    // More than 32 bits can count: no wrap in the megabytes nor in the percentage.
    tick(24 * GiB, 20 * GiB);
    EXPECT_EQ(label_.caption(), "Free Memory = 20480 Mb");
    EXPECT_EQ(bar_.value(), 83);
    EXPECT_EQ(bar_.barColor(), Green);
}

TEST_F(Gauge, ColourTurnsFromGreenToCyanToRedAndIsSetAtEveryTick) {
    struct Row {
        std::uint64_t availableKibibytes;
        int percentage;
        QColor colour;
    };
    const std::uint64_t total = 1000 * 1024; // bytes, 1000 KiB: tenths of a percent are whole
    const Row rows[] = {
        {300, 30, Green}, {1000, 100, Green}, {299, 29, Cyan},
        {150, 15, Cyan},  {149, 14, Red},     {0, 0, Red},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.availableKibibytes);
        bar_.setBarColor(0x00FF00FF); // the same colour again still gets sent
        tick(total, row.availableKibibytes * 1024);
        EXPECT_EQ(bar_.value(), row.percentage);
        EXPECT_EQ(bar_.barColor(), row.colour);
    }
}

TEST_F(Gauge, FollowsTheLanguageAtTheNextTick) {
    tick(512 * MiB, 100 * MiB);
    settings_.Language = QString::fromUtf8("Français");
    EXPECT_EQ(label_.caption(), "Free Memory = 100 Mb");
    tick(512 * MiB, 300 * MiB);
    EXPECT_EQ(label_.caption(), QString::fromUtf8("Mémoire libre = 300 Mo"));
}

TEST_F(Gauge, AFailedReadingChangesNothingAndTheNextTickWorks) {
    tick(512 * MiB, 100 * MiB);
    memory_.failing = true;
    FreeMemoryGauge(label_, bar_, memory_, settings_).tick();
    EXPECT_EQ(label_.caption(), "Free Memory = 100 Mb");
    EXPECT_EQ(bar_.value(), 19);
    memory_.failing = false;
    tick(512 * MiB, 200 * MiB);
    EXPECT_EQ(label_.caption(), "Free Memory = 200 Mb");
    EXPECT_EQ(bar_.value(), 39);
}

TEST_F(Gauge, OddFiguresNeitherDivideByZeroNorOverfillTheBar) {
    tick(512 * MiB, 100 * MiB);
    tick(1023, 5 * MiB); // under one kibibyte of total memory: the bar keeps its place
    EXPECT_EQ(label_.caption(), "Free Memory = 5 Mb");
    EXPECT_EQ(bar_.value(), 19);
    tick(100 * MiB, 300 * MiB);
    EXPECT_EQ(bar_.value(), 100);
    EXPECT_EQ(bar_.barColor(), Green);
}
