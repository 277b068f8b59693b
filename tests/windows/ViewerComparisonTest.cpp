#include "windows/ViewerComparison.h"

#include "QStringPrinter.h"
#include "imaging/bmp/TBitmap.h"
#include "platform/FakeSettingsStore.h"
#include "platform/desktop/FakeScreenSize.h"
#include "settings/Settings.h"
#include "ui/TImage.h"
#include "windows/PictureOverlay.h"
#include "windows/TForm2.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr int Width = 120;
constexpr int Height = 60;

// The loaded picture: red follows x, green follows y, blue is 50.
QRgb loadedColour(int x, int y) {
    return qRgb(x, y, 50);
}

// The recompressed one: one level of red and three of blue off on the left half, twenty
// of green on the right half.
QRgb recompressedColour(int x, int y) {
    return x < Width / 2 ? qRgb(x + 1, y, 53) : qRgb(x, y + 20, 50);
}

QRgb differenceColour(int x, int) {
    return x < Width / 2 ? qRgb(8, 0, 24) : qRgb(0, 160, 0);
}

void paint(TBitmap& bitmap, QRgb (*colour)(int, int)) {
    bitmap.setPixelFormat(TPixelFormat::Bits24);
    bitmap.setSize(Width, Height);
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            const QRgb c = colour(x, y);
            bitmap.setPixel(x, y, qRed(c) | qGreen(c) << 8 | qBlue(c) << 16);
        }
    }
}

class Comparison : public ::testing::Test {
protected:
    Comparison() {
        store_.values = {{"Language", "English"}, {"Path", "/opt/trevano/"}};
        TBitmap recompressed;
        paint(recompressed, recompressedColour);
        form_.Image4->resize(Width, Height);
        form_.Image4->setGraphic(&recompressed);
        TBitmap loaded;
        paint(loaded, loadedColour);
        form_.Comparison->setOriginal(&loaded);
        form_.show();
    }

    // The number of pixels below the corner label that differ from `expected`, drawn
    // where the picture control stands.
    int wrongPixels(QRgb (*expected)(int, int)) {
        const QImage shown = form_.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QPoint at = form_.Image4->pos();
        int wrong = 0;
        for (int y = 30; y < Height; ++y) {
            for (int x = 0; x < Width; ++x) {
                const QPoint p = at + QPoint(x, y);
                if (shown.rect().contains(p) && shown.pixel(p) != expected(x, y)) {
                    ++wrong;
                }
            }
        }
        return wrong;
    }

    void press(Qt::Key key) { QTest::keyPress(&form_, key); }
    void release(Qt::Key key) { QTest::keyRelease(&form_, key); }
    QLabel& label() { return *form_.Comparison->label(); }

    FakeSettingsStore store_;
    Settings settings_{store_, "/opt/trevano/"};
    FakeScreenSize screen_{{1024, 768}};
    TForm2 form_{settings_, screen_};
};

using View = ViewerComparison::View;

} // namespace

TEST_F(Comparison, SpaceHeldShowsTheLoadedPictureInPlaceOfTheRecompressedOne) {
    EXPECT_EQ(wrongPixels(recompressedColour), 0);
    EXPECT_FALSE(label().isVisible());
    press(Qt::Key_Space);
    EXPECT_EQ(form_.Comparison->shown(), View::Original);
    EXPECT_EQ(wrongPixels(loadedColour), 0);
    EXPECT_TRUE(label().isVisible());
    EXPECT_EQ(label().text(), "Original");
    EXPECT_EQ(label().pos(), QPoint(4, 4));
    // The key's repeats while it is held change nothing.
    QTest::sendKeyEvent(QTest::Press, &form_, Qt::Key_Space, ' ', {}, 0);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, {}, " ", true);
    QApplication::sendEvent(&form_, &repeat);
    EXPECT_EQ(form_.Comparison->shown(), View::Original);
    release(Qt::Key_Space);
    EXPECT_EQ(form_.Comparison->shown(), View::Recompressed);
    EXPECT_EQ(wrongPixels(recompressedColour), 0);
    EXPECT_FALSE(label().isVisible());
}

TEST_F(Comparison, DTogglesTheDifferenceTimesEightAndSpaceStillFlickersToTheOriginal) {
    press(Qt::Key_D);
    release(Qt::Key_D);
    EXPECT_EQ(form_.Comparison->shown(), View::Difference);
    EXPECT_EQ(wrongPixels(differenceColour), 0);
    EXPECT_EQ(label().text(), QString::fromUtf8("Difference × 8"));
    press(Qt::Key_Space);
    EXPECT_EQ(wrongPixels(loadedColour), 0);
    EXPECT_EQ(label().text(), "Original");
    release(Qt::Key_Space);
    EXPECT_EQ(wrongPixels(differenceColour), 0);
    press(Qt::Key_D);
    EXPECT_EQ(form_.Comparison->shown(), View::Recompressed);
    EXPECT_EQ(wrongPixels(recompressedColour), 0);
    EXPECT_FALSE(label().isVisible());
}

TEST_F(Comparison, TheLabelSpeaksTheLanguageOfTheMomentItIsShown) {
    settings_.Language = QString::fromUtf8("Français");
    press(Qt::Key_Space);
    EXPECT_EQ(label().text(), "Originale");
    release(Qt::Key_Space);
    press(Qt::Key_D);
    EXPECT_EQ(label().text(), QString::fromUtf8("Différence × 8"));
}

TEST_F(Comparison, ANewRecompressedPictureIsComparedAfresh) {
    press(Qt::Key_D);
    TBitmap same;
    paint(same, loadedColour);
    form_.Image4->setGraphic(&same);
    form_.Comparison->pictureReplaced();
    EXPECT_EQ(wrongPixels([](int, int) { return qRgb(0, 0, 0); }), 0);
    // A load clears the viewer first; until one succeeds there is nothing to compare.
    form_.Image4->setGraphic(nullptr);
    form_.Comparison->pictureReplaced();
    EXPECT_EQ(form_.Comparison->shown(), View::Recompressed);
    EXPECT_FALSE(form_.Comparison->overlay()->isVisible());
    press(Qt::Key_Space);
    EXPECT_EQ(form_.Comparison->shown(), View::Recompressed);
    EXPECT_FALSE(label().isVisible());
}

TEST_F(Comparison, LosingTheFocusLetsGoOfTheSpaceAndEachShowingStartsRecompressed) {
    press(Qt::Key_Space);
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(&form_, &deactivate);
    EXPECT_EQ(form_.Comparison->shown(), View::Recompressed);
    press(Qt::Key_D);
    EXPECT_EQ(form_.Comparison->shown(), View::Difference);
    form_.hide();
    form_.show();
    EXPECT_EQ(form_.Comparison->shown(), View::Recompressed);
    EXPECT_FALSE(label().isVisible());
}

TEST_F(Comparison, DraggingAndTheDoubleClickReachThePictureThroughTheViews) {
    press(Qt::Key_D);
    ASSERT_TRUE(form_.Comparison->overlay()->isVisible());
    // The window hands the mouse to the control under the pointer, the views let it by.
    const QPoint inside(60, 40);
    QWidget* under = form_.childAt(inside);
    ASSERT_EQ(under, form_.Image4);
    QTest::mouseMove(under, inside);
    QTest::mousePress(under, Qt::LeftButton, {}, inside);
    EXPECT_TRUE(form_.dragging());
    QTest::mouseMove(under, inside + QPoint(-10, 5));
    QTest::mouseRelease(under, Qt::LeftButton, {}, inside);
    EXPECT_FALSE(form_.dragging());
    EXPECT_EQ(form_.Image4->pos(), QPoint(-10, 5));
    // The difference moved with the picture.
    EXPECT_EQ(form_.Comparison->overlay()->mapTo(&form_, QPoint(0, 0)), QPoint(-10, 5));
    EXPECT_EQ(wrongPixels(differenceColour), 0);
    EXPECT_NE(form_.childAt(QPoint(4, 4)), form_.Image4); // the label takes its corner
    QTest::mouseDClick(form_.childAt(inside), Qt::LeftButton, {}, inside);
    EXPECT_FALSE(form_.isVisible());
}

namespace {

// Run with the others, and again on a screen scaled by 2 (QT_SCALE_FACTOR=2).
class ViewerOnAnyScreenComparison : public Comparison {
protected:
    // The pixels that differ from `expected` where the overlay draws, in screen pixels.
    int wrongOverlayPixels(QRgb (*expected)(int, int)) {
        auto* overlay = form_.Image4->findChild<PictureOverlay*>();
        const QImage shown = overlay->grab().toImage().convertToFormat(QImage::Format_RGB32);
        if (shown.size() != QSize(Width, Height)) {
            return Width * Height;
        }
        int wrong = 0;
        for (int y = 0; y < Height; ++y) {
            for (int x = 0; x < Width; ++x) {
                wrong += shown.pixel(x, y) != expected(x, y);
            }
        }
        return wrong;
    }
};

} // namespace

TEST_F(ViewerOnAnyScreenComparison, TheLoadedPictureAndTheDifferenceArePixelForPixel) {
    press(Qt::Key_Space);
    EXPECT_EQ(wrongOverlayPixels(loadedColour), 0);
    release(Qt::Key_Space);
    press(Qt::Key_D);
    release(Qt::Key_D);
    EXPECT_EQ(wrongOverlayPixels(differenceColour), 0);
}
