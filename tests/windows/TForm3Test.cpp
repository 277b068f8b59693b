#include "windows/TForm3.h"

#include "QStringPrinter.h"
#include "imaging/bmp/TBitmap.h"
#include "platform/FakeSettingsStore.h"
#include "platform/desktop/FakeScreenSize.h"
#include "settings/Settings.h"
#include "settings/Texts.h"
#include "ui/ScriptedDialogService.h"
#include "ui/TImage.h"

#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextList>
#include <gtest/gtest.h>

namespace {

// Colours as red + 256 * green + 65536 * blue.
constexpr std::uint32_t Outer = 0x000001; // RGB(1,0,0), the built-in picture's outside
constexpr std::uint32_t Green = 0x00FF00;
constexpr std::uint32_t Blue = 0xFF0000;
constexpr std::uint32_t White = 0xFFFFFF;

const QString French = QString::fromUtf8("Français");

// One paragraph of the help text as the user sees it.
struct Paragraph {
    QString text;
    bool bulleted;
    bool centred;

    bool operator==(const Paragraph&) const = default;
};

void PrintTo(const Paragraph& paragraph, std::ostream* stream) {
    *stream << (paragraph.bulleted ? "* " : "") << (paragraph.centred ? "(centred) " : "") << '"'
            << paragraph.text.toStdString() << '"';
}

std::vector<Paragraph> expectedText(bool french) {
    std::vector<Paragraph> text{{"", false, false}};
    for (const LanguageText& point : Texts::HelpParagraphs) {
        text.push_back({QString::fromUtf8(french ? point.french : point.english), true, false});
    }
    text.insert(text.end(), french ? 1 : 2, Paragraph{"", false, true});
    text.push_back(
        {QString::fromUtf8(french ? Texts::HelpClosingLine.french : Texts::HelpClosingLine.english),
         false, true});
    return text;
}

class HelpWindow : public ::testing::Test {
protected:
    HelpWindow() {
        settings_.Language = "English";
        settings_.Path = folder_.path() + "/";
    }

    // A background of the window's size: a white inside with a black border, on `outer`.
    void writeBackground(std::uint32_t outer, const std::function<void(TBitmap&)>& extra = {}) {
        TBitmap picture;
        picture.setPixelFormat(TPixelFormat::Bits24);
        picture.setSize(640, 480);
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) {
                const bool inside = x >= 5 && x < 635 && y >= 5 && y < 475;
                const bool border = inside && (x < 8 || x >= 632 || y < 8 || y >= 472);
                picture.setPixel(x, y, !inside ? outer : border ? 0 : White);
            }
        }
        if (extra) {
            extra(picture);
        }
        picture.WriteToFile(backgroundFile().toStdString());
    }

    QString backgroundFile() const { return folder_.filePath("Fond_aide.bmp"); }

    std::uint32_t shownPixel(int x, int y) {
        return static_cast<TBitmap*>(form_.Image1->picture().graphic())->pixel(x, y);
    }

    std::vector<Paragraph> shownText() const {
        std::vector<Paragraph> text;
        for (QTextBlock block = form_.RichEdit1->document()->begin(); block.isValid();
             block = block.next()) {
            const QTextList* list = block.textList();
            text.push_back({block.text(),
                            list && list->format().style() == QTextListFormat::ListDisc,
                            block.blockFormat().alignment() == Qt::AlignHCenter});
        }
        return text;
    }

    void showAgain() {
        form_.hide();
        form_.show();
    }

    QStringList shownBoxes() const {
        QStringList texts;
        for (const ScriptedDialogService::ShownBox& box : dialogs_.boxes) {
            EXPECT_EQ(box.kind, MessageBoxKind::StandardError);
            texts << box.text;
        }
        return texts;
    }

    QTemporaryDir folder_;
    FakeSettingsStore store_;
    Settings settings_{store_, "/opt/trevano/"};
    FakeScreenSize screen_{{1280, 800}};
    ScriptedDialogService dialogs_;
    TForm3 form_{settings_, screen_, dialogs_};
};

} // namespace

TEST_F(HelpWindow, ABorderlessPanelAboveTheOtherWindowsWithAnEditableTextArea) {
    EXPECT_FALSE(form_.isVisible());
    EXPECT_TRUE(form_.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(form_.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(form_.size(), QSize(640, 480));
    EXPECT_EQ(form_.palette().color(QPalette::Window), QColor(1, 1, 1));
    EXPECT_EQ(form_.Image1->geometry(), QRect(0, 0, 640, 480));
    EXPECT_TRUE(form_.Image1->transparent());
    QTextEdit& text = *form_.RichEdit1;
    EXPECT_EQ(text.geometry(), QRect(48, 123, 544, 235));
    EXPECT_EQ(text.frameShape(), QFrame::NoFrame);
    EXPECT_EQ(text.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(text.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(text.lineWrapMode(), QTextEdit::WidgetWidth);
    EXPECT_FALSE(text.isReadOnly());
    EXPECT_EQ(text.font().pixelSize(), 11);
    EXPECT_EQ(text.toPlainText(), "RichEdit1");
}

TEST_F(HelpWindow, TheBuiltInPictureIsAnOvalOnTheOuterColour) {
    const TBitmap& picture = *static_cast<TBitmap*>(form_.Image1->picture().graphic());
    ASSERT_EQ(picture.width(), 640);
    ASSERT_EQ(picture.height(), 480);
    EXPECT_EQ(picture.pixelFormat(), TPixelFormat::Bits8);
    EXPECT_EQ(picture.pixel(0, 479), Outer);
    EXPECT_EQ(picture.pixel(320, 240), White);
    // A margin of 4 to 6 pixels around the oval on every side.
    const auto outerRun = [&picture](int x, int y, int dx, int dy) {
        int run = 0;
        while (picture.pixel(x, y) == Outer) {
            ++run;
            x += dx;
            y += dy;
        }
        return run;
    };
    for (int run : {outerRun(0, 240, 1, 0), outerRun(639, 240, -1, 0), outerRun(320, 0, 0, 1),
                    outerRun(320, 479, 0, -1)}) {
        EXPECT_GE(run, 4);
        EXPECT_LE(run, 6);
    }
}

TEST_F(HelpWindow, EveryShowingCentresTheWindowAndReadsTheBackgroundAgain) {
    writeBackground(Green);
    form_.show();
    EXPECT_TRUE(form_.isVisible());
    EXPECT_EQ(form_.pos(), QPoint(320, 160));
    EXPECT_EQ(shownPixel(0, 479), Green);
    writeBackground(Blue);
    form_.move(0, 0);
    showAgain();
    EXPECT_EQ(form_.pos(), QPoint(320, 160));
    EXPECT_EQ(shownPixel(0, 479), Blue);
    EXPECT_TRUE(dialogs_.boxes.empty());
}

TEST_F(HelpWindow, TheTextIsBuiltAnewInTheLanguageOfEachShowing) {
    writeBackground(Green);
    form_.show();
    EXPECT_EQ(shownText(), expectedText(false));
    QTest::keyClicks(form_.RichEdit1, "typed by the user");
    settings_.Language = French;
    EXPECT_EQ(shownText().front().text, ""); // an open window keeps its text...
    showAgain();
    EXPECT_EQ(shownText(), expectedText(true)); // ...which each showing replaces whole
    showAgain();
    EXPECT_EQ(shownText(), expectedText(true));
    EXPECT_FALSE(shownText().back().text.endsWith('.'));
}

TEST_F(HelpWindow, AMissingBackgroundIsReportedAndTheWindowShowsWhatItShowedBefore) {
    form_.show();
    EXPECT_EQ(shownBoxes(), QStringList{"Impossible d'ouvrir le fichier " + backgroundFile()});
    EXPECT_TRUE(form_.isVisible());
    EXPECT_EQ(shownPixel(0, 479), Outer); // the built-in picture
    EXPECT_EQ(form_.RichEdit1->toPlainText(), "RichEdit1");

    writeBackground(Green);
    showAgain();
    QFile::remove(backgroundFile());
    settings_.Language = French;
    showAgain();
    EXPECT_EQ(dialogs_.boxes.size(), 2u);
    EXPECT_TRUE(form_.isVisible());
    EXPECT_EQ(shownPixel(0, 479), Green);
    EXPECT_EQ(shownText(), expectedText(false));
}

TEST_F(HelpWindow, AnEmptyPathLooksInTheCurrentFolderAndADamagedFileIsReported) {
    const QString before = QDir::currentPath();
    QDir::setCurrent(folder_.path());
    settings_.Path = "";
    form_.show();
    QDir::setCurrent(before);
    EXPECT_EQ(shownBoxes(), QStringList{"Impossible d'ouvrir le fichier Fond_aide.bmp"});
    EXPECT_TRUE(form_.isVisible());

    settings_.Path = folder_.path(); // no trailing "/": the names run together
    showAgain();
    EXPECT_EQ(shownBoxes().last(),
              "Impossible d'ouvrir le fichier " + folder_.path() + "Fond_aide.bmp");

    settings_.Path = folder_.path() + "/";
    writeBackground(Green);
    QFile damaged(backgroundFile());
    ASSERT_TRUE(damaged.open(QIODevice::ReadWrite));
    damaged.seek(28); // bits per pixel
    damaged.write("\x07");
    damaged.close();
    showAgain();
    EXPECT_EQ(shownBoxes().last(), "Image bitmap incorrecte");
    EXPECT_TRUE(form_.isVisible());
    EXPECT_EQ(shownPixel(0, 479), Outer);
}

TEST_F(HelpWindow, SeeThroughWhereverTheBackgroundsOwnOuterColourOrTheWindowColourShows) {
    form_.show(); // no file: the built-in picture
    EXPECT_FALSE(form_.mask().contains(QPoint(0, 0)));
    EXPECT_FALSE(form_.mask().contains(QPoint(639, 479)));
    EXPECT_TRUE(form_.mask().contains(QPoint(320, 240)));
    EXPECT_TRUE(form_.mask().contains(QPoint(320, 40))); // the lettering

    writeBackground(Green, [](TBitmap& picture) {
        picture.setPixel(100, 100, Blue);     // inside: drawn, as blue is not the outer colour
        picture.setPixel(200, 100, 0x010101); // the window colour itself: see-through
    });
    showAgain();
    EXPECT_FALSE(form_.mask().contains(QPoint(2, 2)));
    EXPECT_TRUE(form_.mask().contains(QPoint(100, 100)));
    EXPECT_FALSE(form_.mask().contains(QPoint(200, 100)));
    EXPECT_TRUE(form_.mask().contains(QPoint(6, 6)));

    writeBackground(Blue, [](TBitmap& picture) { picture.setPixel(100, 100, Green); });
    showAgain();
    EXPECT_FALSE(form_.mask().contains(QPoint(2, 2)));
    EXPECT_TRUE(form_.mask().contains(QPoint(100, 100)));
    EXPECT_TRUE(form_.mask().contains(QPoint(200, 100)));
}

TEST_F(HelpWindow, AClickOnThePictureHidesTheWindowAClickInTheTextDoesNot) {
    writeBackground(Green);
    form_.show();
    QTest::mouseClick(form_.RichEdit1->viewport(), Qt::LeftButton, {}, QPoint(200, 100));
    EXPECT_TRUE(form_.isVisible());
    QTest::mouseClick(form_.Image1, Qt::LeftButton, {}, QPoint(320, 60));
    EXPECT_FALSE(form_.isVisible());
}
