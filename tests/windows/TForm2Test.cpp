#include "windows/TForm2.h"

#include "QStringPrinter.h"
#include "imaging/bmp/TBitmap.h"
#include "platform/FakeSettingsStore.h"
#include "platform/desktop/FakeScreenSize.h"
#include "settings/Settings.h"
#include "ui/TImage.h"

#include <QBitmap>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class Viewer : public ::testing::Test {
protected:
    Viewer() { store_.values = {{"Language", "English"}, {"Path", "/opt/trevano/"}}; }

    void givePicture(int width, int height) {
        TBitmap bitmap;
        bitmap.setPixelFormat(TPixelFormat::Bits24);
        bitmap.setSize(width, height);
        form_.Image4->resize(width, height);
        form_.Image4->setGraphic(&bitmap);
    }

    FakeSettingsStore store_;
    Settings settings_{store_, "/opt/trevano/"};
    FakeScreenSize screen_{{1024, 768}};
    TForm2 form_{settings_, screen_};
};

// Centred by its outer size, frame included.
QPoint centredPosition(const QWidget& window) {
    const QSize outer = window.frameGeometry().size();
    return {(1024 - outer.width()) / 2, (768 - outer.height()) / 2};
}

} // namespace

TEST_F(Viewer, BeforeAnyPictureItIsAnEmptyToolWindowOfTheDesignSize) {
    EXPECT_FALSE(form_.isVisible());
    EXPECT_EQ(form_.windowTitle(), "Real size");
    EXPECT_EQ(form_.size(), QSize(793, 565));
    EXPECT_TRUE(form_.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(form_.windowType(), Qt::Tool);
    EXPECT_EQ(form_.Image4->picture().graphic(), nullptr);
    EXPECT_TRUE(form_.Image4->autoSize());
}

TEST_F(Viewer, EveryShowingCentresTheWindowPutsThePictureBackAndSetsTheHint) {
    givePicture(300, 200);
    form_.show();
    EXPECT_EQ(form_.frameGeometry().topLeft(), centredPosition(form_));
    EXPECT_EQ(form_.Image4->toolTip(), "Double click to close this window");
    form_.Image4->move(-40, 25);
    settings_.Language = QString::fromUtf8("Français");
    EXPECT_EQ(form_.Image4->toolTip(), "Double click to close this window"); // not yet
    QTest::mouseDClick(form_.Image4, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(form_.isVisible());
    form_.move(0, 0);
    form_.show();
    EXPECT_EQ(form_.frameGeometry().topLeft(), centredPosition(form_));
    EXPECT_EQ(form_.Image4->pos(), QPoint(0, 0));
    EXPECT_EQ(form_.Image4->toolTip(),
              QString::fromUtf8("Double-cliquez pour fermer cette fenêtre"));
    EXPECT_NE(form_.Image4->picture().graphic(), nullptr); // hiding keeps the picture
    form_.close();
    EXPECT_FALSE(form_.isVisible());
}

TEST_F(Viewer, FitToPictureAddsTheFrameAndStaysOnTheScreen) {
    givePicture(300, 200);
    form_.fitToPicture();
    EXPECT_EQ(form_.size(), QSize(309, 227));
    givePicture(1200, 900);
    form_.move(-30, -10);
    form_.fitToPicture();
    EXPECT_EQ(form_.size(), QSize(1024, 768));
    EXPECT_EQ(form_.pos(), QPoint(0, -10)); // only the left edge is corrected
    givePicture(2000, 100);
    form_.fitToPicture();
    EXPECT_EQ(form_.size(), QSize(1024, 127));
}

TEST_F(Viewer, AnyButtonDragsThePictureWhichLagsBehindThePointer) {
    givePicture(2000, 1500);
    form_.show();
    QTest::mouseMove(form_.Image4, QPoint(100, 100));
    form_.Image4MouseMove(QPoint(100, 100));
    form_.Image4MouseDown();
    EXPECT_TRUE(form_.dragging());
    form_.Image4MouseMove(QPoint(90, 120));
    EXPECT_EQ(form_.Image4->pos(), QPoint(-10, 20));
    // The pointer is taken relative to the moved picture: the same screen point now reads
    // (100, 100) again, and the picture moves once more by the difference to (90, 120).
    form_.Image4MouseMove(QPoint(100, 100));
    EXPECT_EQ(form_.Image4->pos(), QPoint(0, 0));
    form_.Image4MouseUp();
    form_.Image4MouseMove(QPoint(300, 300));
    EXPECT_EQ(form_.Image4->pos(), QPoint(0, 0));

    QTest::mousePress(form_.Image4, Qt::RightButton, {}, QPoint(50, 50));
    EXPECT_TRUE(form_.dragging());
    QTest::mouseRelease(form_.Image4, Qt::RightButton, {}, QPoint(50, 50));
    EXPECT_FALSE(form_.dragging());
}

TEST_F(Viewer, AMoveHandledWhileTheMovedPictureIsPaintedSeesThePreviousPosition) {
    givePicture(500, 500);
    form_.show();
    form_.Image4MouseMove(QPoint(10, 10));
    form_.Image4MouseDown();
    // Arrives while the first step lets messages run: its step is measured from (10, 10).
    QTimer::singleShot(0, [this] { form_.Image4MouseMove(QPoint(15, 10)); });
    form_.Image4MouseMove(QPoint(20, 10));
    EXPECT_EQ(form_.Image4->pos(), QPoint(15, 0));
}

TEST_F(Viewer, TheCursorIsTheBuiltInOpenHandWithItsHotSpotTopLeft) {
    const QCursor cursor = form_.Image4->cursor();
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.hotSpot(), QPoint(0, 0));
    const QImage hand = cursor.pixmap().toImage();
    ASSERT_EQ(hand.size(), QSize(32, 32));
    int black = 0, white = 0, clear = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QRgb pixel = hand.pixel(x, y);
            if (qAlpha(pixel) == 0) {
                ++clear;
            } else if ((pixel & 0xFFFFFF) == 0) {
                ++black;
            } else if ((pixel & 0xFFFFFF) == 0xFFFFFF) {
                ++white;
            }
        }
    }
    EXPECT_EQ(black + white + clear, 32 * 32); // two colours and see-through
    EXPECT_GT(black, 50);
    EXPECT_GT(white, 150);
}

// Only the program sizes the viewer: a size asked by anyone else (a frame dragged by the user
// comes as one) is refused, before and after each fit to the picture.
TEST_F(Viewer, OnlyFittingToThePictureChangesItsSize) {
    const auto expectFixedAt = [this](QSize size) {
        EXPECT_EQ(form_.size(), size);
        EXPECT_EQ(form_.minimumSize(), size);
        EXPECT_EQ(form_.maximumSize(), size);
        form_.resize(size + QSize(40, 30));
        EXPECT_EQ(form_.size(), size);
    };
    expectFixedAt({793, 565});
    givePicture(300, 200);
    form_.fitToPicture();
    expectFixedAt({309, 227});
    givePicture(1200, 900);
    form_.fitToPicture();
    expectFixedAt({1024, 768});
}

// Run at scale 1 with the others, and again on a screen scaled by 2 (QT_SCALE_FACTOR=2).
TEST(ViewerOnAnyScreen, ShowsThePicturePixelForPixelAndFitsItsWindowToIt) {
    FakeSettingsStore store;
    store.values = {{"Language", "English"}, {"Path", "/opt/trevano/"}};
    Settings settings(store, "/opt/trevano/");
    FakeScreenSize screen({1024, 768});
    TForm2 form(settings, screen);
    const qreal scale = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                            ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                            : 1.0;
    ASSERT_EQ(form.devicePixelRatioF(), scale);
    TBitmap bitmap;
    bitmap.setPixelFormat(TPixelFormat::Bits24);
    bitmap.setSize(300, 200);
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 300; ++x) {
            bitmap.setPixel(x, y, (x % 256) | (y % 256) << 8 | 0x800000);
        }
    }
    form.Image4->setGraphic(&bitmap);
    form.fitToPicture();
    const QSize shown = QSize(300, 200) / scale;
    EXPECT_EQ(form.Image4->size(), shown);
    EXPECT_EQ(form.size(), shown + QSize(9, 27));

    const QImage drawn = form.Image4->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(drawn.size(), QSize(300, 200));
    int wrong = 0;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 300; ++x) {
            wrong += drawn.pixel(x, y) != qRgb(x % 256, y % 256, 128);
        }
    }
    EXPECT_EQ(wrong, 0);
}
