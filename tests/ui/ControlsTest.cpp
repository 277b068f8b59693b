#include "QStringPrinter.h"
#include "ui/DesignFont.h"
#include "ui/TLabel.h"
#include "ui/TProgressBar.h"
#include "ui/TTrackBar.h"
#include "ui/WindowsColor.h"

#include <QImage>
#include <gtest/gtest.h>

TEST(TLabel, SizesItselfToItsTextBlanksIncludedAndKeepsItsCorner) {
    QWidget window;
    TLabel label("Label1", &window);
    label.setFont(designFont(13, true));
    label.move(555, 59);
    label.setCaption(" Jpeg Quality = 100 % ");
    const QFontMetrics metrics(label.font());
    // 16 pixels high at size 13 and 13 at size 11: the pane labels are placed by those.
    EXPECT_EQ(label.geometry(),
              QRect(555, 59, metrics.horizontalAdvance(" Jpeg Quality = 100 % "), 16));
    const int padded = label.width();
    label.setCaption(" Jpeg Quality = 100 %");
    EXPECT_LT(label.width(), padded); // the trailing blank counts
    EXPECT_EQ(label.pos(), QPoint(555, 59));

    label.setFont(designFont(11, true));
    EXPECT_EQ(label.height(), 13);
}

TEST(TLabel, AFixedSizeLabelKeepsItsSize) {
    QWidget window;
    TLabel label("Label9", &window);
    label.setAutoSize(false);
    label.resize(121, 13);
    label.setCaption("Free Memory = 123456789 Mb and much more than fits");
    EXPECT_EQ(label.size(), QSize(121, 13));
}

TEST(TLabel, ColouredTextOnAnOpaqueBackground) {
    QWidget window;
    window.resize(200, 50);
    TLabel label("Label6", &window);
    label.setFont(designFont(13, true));
    label.setCaption("Compressing");
    label.setFontColor(Qt::white);
    label.setColor(Qt::red);
    EXPECT_EQ(label.fontColor(), QColor(Qt::white));
    EXPECT_EQ(label.color(), QColor(Qt::red));
    const QImage shot = label.grab().toImage();
    EXPECT_EQ(shot.pixelColor(0, 0), QColor(Qt::red)); // the background is painted
}

TEST(TTrackBar, TheSelectionBandRunsBetweenItsEndsInTheHighlightColour) {
    QWidget window;
    TTrackBar slider("TrackBar1", &window);
    slider.setGeometry(3, 6, 409, 28);
    slider.setRange(0, 100);
    EXPECT_TRUE(slider.selectionBandRect().isEmpty());

    slider.setSelection(0, 100);
    slider.setValue(0); // the handle at the left end, out of the band's middle
    const QRect band = slider.selectionBandRect();
    ASSERT_FALSE(band.isEmpty());
    EXPECT_GT(band.width(), 409 * 9 / 10);
    EXPECT_EQ(slider.tickPosition(), QSlider::TicksBelow);
    EXPECT_EQ(slider.tickInterval(), 1);

    const QImage shot = slider.grab().toImage();
    EXPECT_EQ(shot.pixelColor(band.center()), slider.palette().color(QPalette::Highlight));

    slider.setSelection(25, 75);
    const QRect half = slider.selectionBandRect();
    EXPECT_NEAR(half.width(), band.width() / 2, 2);
    EXPECT_NEAR(half.center().x(), band.center().x(), 2);
}

TEST(TProgressBar, BarColourFromAWindowsColourValue) {
    EXPECT_EQ(fromWindowsColor(0x00008000), QColor(0, 128, 0));
    EXPECT_EQ(fromWindowsColor(0x00FFFF00), QColor(0, 255, 255)); // cyan, not yellow
    EXPECT_EQ(fromWindowsColor(0x000000FF), QColor(255, 0, 0));

    TProgressBar bar("ProgressBar2", nullptr);
    bar.resize(121, 10);
    bar.setBarColor(0x000000FF);
    bar.setValue(100);
    EXPECT_EQ(bar.barColor(), QColor(255, 0, 0));
    EXPECT_FALSE(bar.isTextVisible());
    const QColor middle = bar.grab().toImage().pixelColor(60, 5);
    EXPECT_GT(middle.red(), 150);
    EXPECT_LT(middle.green(), 100);
}
