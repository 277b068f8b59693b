#include "ui/TImage.h"

#include "core/TMemoryStream.h"
#include "imaging/bmp/TBitmap.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "ui/BitmapImage.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

namespace {

// A picture with a red left half and a blue right half, in the given format.
void makeTwoColourBitmap(TBitmap& bitmap, int width, int height, TPixelFormat format) {
    bitmap.setPixelFormat(format);
    bitmap.setSize(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bitmap.setPixel(x, y, x < width / 2 ? 0x0000FF : 0xFF0000);
        }
    }
}

QImage paneImage(TImage& pane) {
    return pane.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A colour of its own for every pixel of a picture up to 64 x 64.
QRgb ownColour(int x, int y) {
    return qRgb(x * 4, y * 4, 128);
}

void makeOwnColourBitmap(TBitmap& bitmap, int width, int height) {
    bitmap.setPixelFormat(TPixelFormat::Bits24);
    bitmap.setSize(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QRgb colour = ownColour(x, y);
            bitmap.setPixel(x, y, qRed(colour) | qGreen(colour) << 8 | qBlue(colour) << 16);
        }
    }
}

// Within the blur of a smooth enlargement.
bool near(QRgb shown, QRgb expected) {
    return std::abs(qRed(shown) - qRed(expected)) < 12 &&
           std::abs(qGreen(shown) - qGreen(expected)) < 12 &&
           std::abs(qBlue(shown) - qBlue(expected)) < 12;
}

// The scale the suite was started at (QT_SCALE_FACTOR), which the panes must have taken.
qreal screenScale() {
    return qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
               ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
               : 1.0;
}

} // namespace

TEST(TImage, ReportsClicksAndDoubleClicksAndKeepsItsFlags) {
    QWidget window;
    TImage pane("Image2", &window);
    pane.setGeometry(405, 75, 376, 469);
    QSignalSpy clicks(&pane, &TImage::clicked);
    QSignalSpy doubleClicks(&pane, &TImage::doubleClicked);
    QTest::mouseClick(&pane, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseDClick(&pane, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_GE(clicks.count(), 1);
    EXPECT_EQ(doubleClicks.count(), 1);

    pane.setCenter(true);
    pane.setProportional(true);
    EXPECT_TRUE(pane.center());
    EXPECT_TRUE(pane.proportional());
    EXPECT_FALSE(pane.stretch());
    EXPECT_FALSE(pane.autoSize());
    EXPECT_FALSE(pane.transparent());
}

TEST(TImage, DestinationFollowsTheFourDisplayModes) {
    struct Row {
        QSize picture;
        bool stretch, proportional, center;
        QRect expected;
    };
    const QSize pane(376, 469);
    const Row rows[] = {
        {{100, 51}, false, false, true, {138, 209, 100, 51}}, // offsets truncated
        {{100, 51}, false, false, false, {0, 0, 100, 51}},
        {{1000, 1000}, false, false, true, {-312, -265, 1000, 1000}}, // shows its middle
        {{200, 100}, true, true, true, {0, 140, 376, 188}},           // wide: full width
        {{100, 300}, true, true, false, {0, 0, 156, 469}},            // tall: full height
        {{300, 400}, true, true, true, {12, 0, 351, 469}},            // 469 * 0.75 truncated
        {{10, 5}, true, false, false, {0, 0, 376, 469}},              // plain stretch
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.picture.width() * 10000 + row.picture.height());
        EXPECT_EQ(
            TImage::destinationRect(row.picture, pane, row.stretch, row.proportional, row.center),
            row.expected);
    }
}

TEST(TImage, DrawsItsOwnCopyOfABitmapOrAJpegPicture) {
    TImage pane("Image1", nullptr);
    pane.resize(40, 30);
    pane.setCenter(true);
    {
        TBitmap bitmap;
        makeTwoColourBitmap(bitmap, 20, 10, TPixelFormat::Bits8);
        pane.setGraphic(&bitmap);
    } // the original goes; the pane keeps its copy
    QImage shown = paneImage(pane);
    EXPECT_EQ(shown.pixel(10 + 2, 10 + 5), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(10 + 17, 10 + 5), qRgb(0, 0, 255));

    TBitmap source;
    makeTwoColourBitmap(source, 20, 10, TPixelFormat::Bits24);
    TJPEGImage jpeg;
    jpeg.CopyFrom(&source);
    jpeg.setQuality(100);
    jpeg.Encode();
    TMemoryStream bytes;
    jpeg.WriteToStream(bytes);
    bytes.setPosition(0);
    TJPEGImage read; // bytes only: the pane's copy decodes when it is drawn
    read.ReadFromStream(bytes);
    pane.setCenter(false);
    pane.setGraphic(&read);
    shown = paneImage(pane);
    EXPECT_LT(qBlue(shown.pixel(2, 5)), 40);
    EXPECT_GT(qRed(shown.pixel(2, 5)), 215);
    EXPECT_GT(qBlue(shown.pixel(17, 5)), 215);

    pane.setGraphic(nullptr);
    EXPECT_EQ(pane.picture().graphic(), nullptr);
}

// 24-bit pictures are drawn from their own rows, which a BMP file stores bottom row first and
// a decode top row first: either way the top stays on top, in every display mode.
TEST(TImage, DrawsTwentyFourBitRowsInPlaceTheRightWayUp) {
    TBitmap bottomUp; // red top half, blue bottom half
    bottomUp.setPixelFormat(TPixelFormat::Bits24);
    bottomUp.setSize(20, 10);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 20; ++x) {
            bottomUp.setPixel(x, y, y < 5 ? 0x0000FF : 0xFF0000);
        }
    }
    ASSERT_LT(bottomUp.rowStep(), 0);
    TBitmap topDown;
    topDown.setPixelFormat(TPixelFormat::Bits24);
    topDown.setSizeToOverwrite(20, 10, true);
    for (int y = 0; y < 10; ++y) {
        std::memcpy(topDown.scanLine(y), bottomUp.scanLine(y), 60);
    }
    ASSERT_GT(topDown.rowStep(), 0);
    for (TBitmap* bitmap : {&bottomUp, &topDown}) {
        TImage pane("Image1", nullptr);
        pane.resize(40, 30);
        pane.setGraphic(bitmap);
        QImage shown = paneImage(pane); // top-left corner
        EXPECT_EQ(shown.pixel(10, 1), qRgb(255, 0, 0));
        EXPECT_EQ(shown.pixel(10, 8), qRgb(0, 0, 255));
        pane.setCenter(true);
        shown = paneImage(pane);
        EXPECT_EQ(shown.pixel(20, 10 + 1), qRgb(255, 0, 0));
        EXPECT_EQ(shown.pixel(20, 10 + 8), qRgb(0, 0, 255));
        pane.setStretch(true);
        shown = paneImage(pane);
        EXPECT_EQ(shown.pixel(20, 2), qRgb(255, 0, 0));
        EXPECT_EQ(shown.pixel(20, 27), qRgb(0, 0, 255));
        pane.setProportional(true); // 40 x 20, centred
        shown = paneImage(pane);
        EXPECT_EQ(shown.pixel(20, 5 + 2), qRgb(255, 0, 0));
        EXPECT_EQ(shown.pixel(20, 5 + 17), qRgb(0, 0, 255));
    }
}

TEST(TImage, ATransparentPaneLeavesOutTheColourOfTheBottomLeftPixel) {
    QWidget window;
    QPalette colours = window.palette();
    colours.setColor(QPalette::Window, QColor(1, 1, 1));
    window.setPalette(colours);
    window.setAutoFillBackground(true);
    window.resize(20, 10);
    TImage pane("Image1", &window);
    pane.resize(20, 10);
    TBitmap bitmap;
    makeTwoColourBitmap(bitmap, 20, 10, TPixelFormat::Bits8); // blue on the right
    bitmap.setPixel(15, 4, 0x0000FF);                         // red in the blue half
    pane.setGraphic(&bitmap);
    pane.setTransparent(true);
    const auto shown = [&window] {
        return window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    QImage image = shown();
    EXPECT_EQ(image.pixel(2, 5), qRgb(1, 1, 1)); // red, as the bottom-left pixel
    EXPECT_EQ(image.pixel(15, 4), qRgb(1, 1, 1));
    EXPECT_EQ(image.pixel(17, 5), qRgb(0, 0, 255));

    bitmap.setPixel(0, 9, 0xFF0000); // now blue is the left-out colour
    pane.setGraphic(&bitmap);
    image = shown();
    EXPECT_EQ(image.pixel(2, 5), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(17, 5), qRgb(1, 1, 1));

    pane.setTransparent(false);
    EXPECT_EQ(shown().pixel(17, 5), qRgb(0, 0, 255));
}

TEST(TImage, DamagedJpegDataLeavesThePaneEmptyWithoutAnError) {
    TMemoryStream nothing;
    TJPEGImage empty; // zero bytes: decoding fails with the library's code
    empty.ReadFromStream(nothing);
    TImage pane("Image2", nullptr);
    pane.resize(20, 20);
    pane.setGraphic(&empty);
    EXPECT_NO_THROW(paneImage(pane));
}

TEST(BitmapImage, EveryFormatComesOutAsTheSameColours) {
    for (TPixelFormat format : {TPixelFormat::Bits4, TPixelFormat::Bits8, TPixelFormat::Bits24,
                                TPixelFormat::Bits32, TPixelFormat::Device}) {
        TBitmap bitmap;
        makeTwoColourBitmap(bitmap, 6, 3, format);
        const QImage image = bitmapImage(bitmap);
        ASSERT_EQ(image.size(), QSize(6, 3));
        EXPECT_EQ(image.pixel(0, 2), qRgb(255, 0, 0));
        EXPECT_EQ(image.pixel(5, 0), qRgb(0, 0, 255));
    }
    EXPECT_TRUE(bitmapImage(TBitmap()).isNull());
}

// Run at scale 1 with the others, and again on a screen scaled by 2 (QT_SCALE_FACTOR=2), where
// the grabbed pane has two screen pixels for each of its units.
TEST(TImageOnAnyScreen, RealSizeShowsOnePicturePixelPerScreenPixel) {
    TBitmap bottomUp;
    makeOwnColourBitmap(bottomUp, 61, 41); // odd sizes: no halving comes out even
    TBitmap topDown;
    topDown.setPixelFormat(TPixelFormat::Bits24);
    topDown.setSizeToOverwrite(61, 41, true);
    for (int y = 0; y < 41; ++y) {
        std::memcpy(topDown.scanLine(y), bottomUp.scanLine(y), 61 * 3);
    }
    for (TBitmap* bitmap : {&bottomUp, &topDown}) {
        for (bool centred : {true, false}) {
            SCOPED_TRACE(testing::Message() << "bottom row first " << (bitmap == &bottomUp)
                                            << ", centred " << centred);
            TImage pane("Image1", nullptr);
            pane.resize(100, 80);
            pane.setCenter(centred);
            pane.setScreenPixels(true);
            pane.setGraphic(bitmap);
            ASSERT_EQ(pane.devicePixelRatioF(), screenScale());
            const int scale = static_cast<int>(screenScale());
            EXPECT_EQ(pane.shownSize({61, 41}),
                      QSize((61 + scale - 1) / scale, (41 + scale - 1) / scale));
            const QImage shown = paneImage(pane);
            ASSERT_EQ(shown.size(), QSize(100, 80) * scale);
            const QPoint corner =
                centred ? QPoint((100 * scale - 61) / 2, (80 * scale - 41) / 2) : QPoint(0, 0);
            int wrong = 0;
            for (int y = 0; y < 41; ++y) {
                for (int x = 0; x < 61; ++x) {
                    wrong += shown.pixel(corner + QPoint(x, y)) != ownColour(x, y);
                }
            }
            EXPECT_EQ(wrong, 0);
        }
    }
}

TEST(TImageOnAnyScreen, FitModeFillsThePaneAndAnAutoSizedPaneTakesThePicturesScreenSize) {
    TBitmap bitmap;
    makeOwnColourBitmap(bitmap, 40, 20);
    TImage pane("Image1", nullptr);
    pane.resize(100, 80);
    pane.setStretch(true);
    pane.setProportional(true);
    pane.setScreenPixels(true);
    pane.setGraphic(&bitmap);
    const int scale = static_cast<int>(screenScale());
    QImage shown = paneImage(pane); // 100 x 50 at the top
    EXPECT_TRUE(near(shown.pixel(0, 0), ownColour(0, 0)));
    EXPECT_TRUE(near(shown.pixel(100 * scale - 1, 50 * scale - 1), ownColour(39, 19)));
    EXPECT_FALSE(near(shown.pixel(0, 50 * scale + 1), ownColour(0, 19))); // below the picture

    TImage sized("Image4", nullptr);
    sized.setAutoSize(true);
    sized.setScreenPixels(true);
    sized.setGraphic(&bitmap);
    EXPECT_EQ(sized.size(), QSize(40, 20) / scale);
    shown = paneImage(sized);
    EXPECT_EQ(shown.size(), QSize(40, 20));
    EXPECT_EQ(shown.pixel(39, 19), ownColour(39, 19));

    // A picture of the window's design (the help window's background) grows with the window.
    TImage design("Image1", nullptr);
    design.setAutoSize(true);
    design.setGraphic(&bitmap);
    EXPECT_EQ(design.size(), QSize(40, 20));
    shown = paneImage(design);
    EXPECT_EQ(shown.size(), QSize(40, 20) * scale);
    EXPECT_EQ(shown.pixel(39 * scale, 19 * scale), ownColour(39, 19));
}
