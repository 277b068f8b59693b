#include "PipelineFixture.h"
#include "QStringPrinter.h"
#include "ui/TBitBtn.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"

#include <QImage>
#include <QTest>

namespace {

using DisplayModes = PipelineFixture;

// Where the pane shows something other than its background, as a rectangle.
QRect paintedArea(TImage& pane) {
    const QImage image = pane.grab().toImage();
    const QRgb background = pane.palette().color(QPalette::Window).rgb();
    QRect area;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != background) {
                area |= QRect(x, y, 1, 1);
            }
        }
    }
    return area;
}

bool sameGlyph(const TBitBtn* button, const QPixmap& glyph) {
    return button->glyph().toImage() == glyph.toImage();
}

} // namespace

TEST_F(DisplayModes, FitModeScalesBothPanesKeepingTheAspectRatio) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    struct Row {
        int width, height;
        QRect drawn;
    };
    const Row rows[] = {
        {200, 100, {0, 140, 376, 188}}, // fills the width, centred 140 below the top
        {100, 400, {129, 0, 117, 469}}, // 469 x 0.25 truncated
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.width);
        load(writeBmp(QString("p%1.bmp").arg(row.width), row.width, row.height));
        form.BitBtn3->click();
        EXPECT_EQ(paintedArea(*form.Image1), row.drawn);
        EXPECT_EQ(paintedArea(*form.Image2), row.drawn);
        form.BitBtn3->click();
        EXPECT_EQ(paintedArea(*form.Image1).size(), QSize(row.width, row.height));
    }
}

TEST_F(DisplayModes, EnteringAndLeavingFitModeMovesAndColoursTheLabels) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    load(writeBmp("photo.bmp", 200, 100));
    recompressAt(40); // a shorter quality text: the fit mode centres it by its new width
    form.BitBtn3->click();
    EXPECT_TRUE(form.Image1->proportional() && form.Image1->stretch());
    EXPECT_TRUE(form.Image2->proportional() && form.Image2->stretch());
    EXPECT_FALSE(form.BitBtn2->isEnabled());
    EXPECT_EQ(form.Label1->pos(), QPoint(405 + 188 - form.Label1->width() / 2, 59));
    EXPECT_EQ(form.Label5->pos(), QPoint(9 + 188 - form.Label5->width() / 2, 59));
    EXPECT_EQ(form.Label1->color(), QColor(Qt::red));
    EXPECT_EQ(form.Label5->color(), QColor(Qt::red));
    EXPECT_EQ(form.Label1->fontColor(), QColor(Qt::yellow));
    EXPECT_EQ(form.BitBtn3->toolTip(), "Real size");
    EXPECT_TRUE(sameGlyph(form.BitBtn3, form.ImageList1[5]));

    form.BitBtn3->click();
    EXPECT_FALSE(form.Image1->proportional() || form.Image1->stretch());
    EXPECT_EQ(form.Label1->pos(), QPoint(405 + 188 - 100, 309 - 50 - 16));
    EXPECT_EQ(form.Label5->pos(), QPoint(9 + 188 - 100, 309 - 50 - 16));
    EXPECT_EQ(form.Label1->color(), QColor(Qt::black));
    EXPECT_EQ(form.BitBtn3->toolTip(), "Fit to screen");
    EXPECT_TRUE(sameGlyph(form.BitBtn3, form.ImageList1[4]));
    EXPECT_FALSE(form.BitBtn2->isEnabled()); // the picture fits the pane
}

TEST_F(DisplayModes, TopLeftThenFitThenBackKeepsTheTopLeftAlignment) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    load(writeBmp("large.bmp", 500, 600));
    ASSERT_TRUE(form.BitBtn2->isEnabled());
    form.BitBtn2->click();
    EXPECT_FALSE(form.Image1->center());
    EXPECT_FALSE(form.Image2->center());
    EXPECT_EQ(form.BitBtn2->toolTip(), "Center image");
    EXPECT_TRUE(sameGlyph(form.BitBtn2, form.ImageList1[3]));
    EXPECT_EQ(paintedArea(*form.Image1), QRect(0, 0, 376, 469));
    form.BitBtn3->click();
    form.BitBtn3->click();
    EXPECT_FALSE(form.Image1->center());
    EXPECT_TRUE(form.BitBtn2->isEnabled());
    EXPECT_EQ(form.Label1->pos(), QPoint(405, 59));
    EXPECT_EQ(form.Label5->pos(), QPoint(9, 59));
    EXPECT_EQ(form.State.QualityLabelLeft, 405);

    form.BitBtn2->click(); // back to centred
    EXPECT_TRUE(form.Image1->center());
    EXPECT_EQ(form.BitBtn2->toolTip(), "Top left corner");
    EXPECT_TRUE(sameGlyph(form.BitBtn2, form.ImageList1[2]));
    EXPECT_EQ(form.Label1->pos(), QPoint(405, 59));
}

TEST_F(DisplayModes, TopLeftAlignmentOfASmallerPictureAfterFitModeOfALargerOne) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    load(writeBmp("tall.bmp", 300, 600)); // wider than nothing, taller than the pane
    form.BitBtn2->click();
    EXPECT_EQ(form.Label1->pos(), QPoint(405, 59));
    form.BitBtn2->click();
    // Centred again: the labels go back over the picture's left edge.
    EXPECT_EQ(form.Label1->pos(), QPoint(405 + 188 - 150, 59));
    EXPECT_EQ(form.Label5->pos(), QPoint(9 + 188 - 150, 59));
    EXPECT_EQ(form.State.SourceLabelLeft, 9 + 188 - 150);
}

TEST_F(DisplayModes, ALanguageSwitchInFitModeResetsTheHintsButNotTheGlyphs) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    load(writeBmp("large.bmp", 500, 600));
    form.BitBtn2->click();
    form.BitBtn3->click();
    form.BitBtn6->click();
    EXPECT_EQ(form.BitBtn3->toolTip(), QString::fromUtf8("Adaptation à la taille écran"));
    EXPECT_EQ(form.BitBtn2->toolTip(), QString::fromUtf8("Coin supérieur gauche"));
    EXPECT_TRUE(sameGlyph(form.BitBtn3, form.ImageList1[5]));
    EXPECT_TRUE(sameGlyph(form.BitBtn2, form.ImageList1[3]));
    form.BitBtn3->click();
    EXPECT_EQ(form.BitBtn3->toolTip(), QString::fromUtf8("Adaptation à la taille écran"));
    form.BitBtn3->click();
    EXPECT_EQ(form.BitBtn3->toolTip(), QString::fromUtf8("Taille réelle"));
}

TEST_F(DisplayModes, DoubleClickingThePreviewOpensTheViewerOnIt) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    load(writeBmp("photo.bmp", 120, 80));
    recompressAt(60);
    QTest::mouseDClick(form.Image2, Qt::LeftButton, {}, QPoint(180, 230));
    EXPECT_TRUE(program.form2.isVisible());
    EXPECT_EQ(program.form2.size(), QSize(129, 107));
    EXPECT_EQ(rgbPixels(*program.form2.Image4), rgbPixels(*form.Image2));
}
