#include "main_window/Readouts.h"

#include "QStringPrinter.h"

#include <gtest/gtest.h>

TEST(Readouts, SizesAreWholeKibibytesWithZeroShownAsOne) {
    const QString french = QString::fromUtf8("Français");
    struct Row {
        qint64 bytes;
        const char* english;
        const char* french;
    };
    const Row rows[] = {
        {0, "1  Kb", "1  Ko"},
        {500, "1  Kb", "1  Ko"},
        {2047, "1  Kb", "1  Ko"},
        {2048, "2  Kb", "2  Ko"},
        {2345678, "2290  Kb", "2290  Ko"},
        {3LL << 31, "6291456  Kb", "6291456  Ko"}, // past 2 GiB: no wrapping
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Readouts::size(row.bytes, "English"), row.english);
        EXPECT_EQ(Readouts::size(row.bytes, french), row.french);
    }
}

TEST(Readouts, QualityNameAndViewerCaption) {
    EXPECT_EQ(Readouts::quality(75, "English"), "  Jpeg Quality = 75 % ");
    EXPECT_EQ(Readouts::quality(0, "F"), QString::fromUtf8("  Qualité jpeg = 0 % "));
    EXPECT_EQ(Readouts::name("/home/me/pictures/holiday.jpg", 1600, 1200),
              " holiday.jpg  [1600 x 1200]");
    EXPECT_EQ(Readouts::name("/a b/with blanks.v2.bmp", 7, 3), " with blanks.v2.bmp  [7 x 3]");
    EXPECT_EQ(Readouts::viewerCaption("/tmp/x.jpg", "English"), "/tmp/x.jpg     [Real size]");
    EXPECT_EQ(Readouts::viewerCaption("/tmp/x.jpg", "Fr"),
              QString::fromUtf8("/tmp/x.jpg     [Taille réelle]"));
}
