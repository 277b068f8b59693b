// Judging the preview: the similarity score in the tooltip of the compressed-size readout.
#include "PipelineFixture.h"
#include "QStringPrinter.h"
#include "imaging/bmp/TBitmap.h"
#include "imaging/similarity/LumaPlane.h"
#include "imaging/similarity/StructuralSimilarity.h"
#include "main_window/SimilarityReadout.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "windows/ViewerComparison.h"

#include <QFileInfo>
#include <QTest>

namespace {

using Judging = PipelineFixture;

double similarityOfThePanes(TForm1& form) {
    return StructuralSimilarity::mean(
               LumaPlane::of(*form.Image1->picture().graphic()->drawingBitmap()),
               LumaPlane::of(*form.Image2->picture().graphic()->drawingBitmap()))
        .value();
}

QString score(double similarity) {
    return QString::number(similarity, 'f', 4);
}

} // namespace

TEST(SimilarityReadout, GivesTheScoreAndTheShareOfTheOriginalInEitherLanguage) {
    const QString french = QString::fromUtf8("Français");
    EXPECT_EQ(SimilarityReadout::text(0.98712, 38'400, 100'000, "English"),
              QString::fromUtf8("SSIM 0.9871 · 38 % of the original file"));
    EXPECT_EQ(SimilarityReadout::text(0.98712, 38'600, 100'000, french),
              QString::fromUtf8("SSIM 0,9871 · 39 % du fichier original"));
    EXPECT_EQ(SimilarityReadout::text(1.0, 100'000, 100'000, "English"),
              QString::fromUtf8("SSIM 1.0000 · 100 % of the original file"));
    EXPECT_EQ(SimilarityReadout::text(0.5, 150'000, 100'000, "English"),
              QString::fromUtf8("Larger than the original file\n"
                                "SSIM 0.5000 · 150 % of the original file"));
    EXPECT_EQ(SimilarityReadout::text(0.5, 100'001, 100'000, french),
              QString::fromUtf8("Plus gros que le fichier original\n"
                                "SSIM 0,5000 · 100 % du fichier original"));
    EXPECT_EQ(SimilarityReadout::text(0.25, 10, std::nullopt, "English"), "SSIM 0.2500");
    EXPECT_EQ(SimilarityReadout::text(0.25, 10, 0, "English"), "SSIM 0.2500");
}

TEST_F(Judging, AfterTheLoadAndEachRecompressionTheReadoutsTooltipScoresThePreview) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    const QString bmp = writeBmp("photo.bmp", 200, 150);
    const qint64 original = QFileInfo(bmp).size();
    load(bmp);
    QTRY_VERIFY(!form.Label8->toolTip().isEmpty());
    const auto expected = [&](int quality) {
        const QString jpeg = path(QString("q%1.jpg").arg(quality));
        program.form1.Image2->picture().graphic()->WriteToFile(jpeg.toStdString());
        const qint64 bytes = QFileInfo(jpeg).size();
        return QString::fromUtf8("SSIM %1 · %2 % of the original file")
            .arg(score(similarityOfThePanes(form)))
            .arg(qRound64(100.0 * bytes / original));
    };
    EXPECT_EQ(form.Label8->toolTip(), expected(100));
    EXPECT_GT(similarityOfThePanes(form), 0.99);

    recompressAt(10);
    EXPECT_EQ(form.Label8->toolTip(), ""); // until the new score arrives
    QTRY_VERIFY(!form.Label8->toolTip().isEmpty());
    EXPECT_EQ(form.Label8->toolTip(), expected(10));
    EXPECT_LT(similarityOfThePanes(form), 0.95);

    // Two recompressions before the first score is in: only the latest is shown.
    recompressAt(30);
    recompressAt(70);
    QTRY_VERIFY(!form.Label8->toolTip().isEmpty());
    QTest::qWait(50);
    EXPECT_EQ(form.Label8->toolTip(), expected(70));
    EXPECT_EQ(errorTexts(), QStringList());
}

TEST_F(Judging, InFrenchWithADecimalCommaAndALargerFileSaidFirst) {
    MainWindowProgram& program = start({1280, 800}, QString::fromUtf8("Français"));
    TForm1& form = program.form1;
    // A file made at quality 50 grows when the program makes it again at 100.
    const QString jpeg = writeJpeg("photo.jpg", 120, 90, 50);
    load(jpeg);
    QTRY_VERIFY(!form.Label8->toolTip().isEmpty());
    const QStringList lines = form.Label8->toolTip().split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], "Plus gros que le fichier original");
    EXPECT_TRUE(lines[1].startsWith("SSIM " + score(similarityOfThePanes(form)).replace('.', ',')))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith(" % du fichier original"));
}

TEST_F(Judging, TheViewerGetsTheLoadedPictureToCompareWith) {
    MainWindowProgram& program = start();
    load(writeBmp("photo.bmp", 64, 48));
    recompressAt(5);
    program.form2.show();
    QTest::keyPress(&program.form2, Qt::Key_Space);
    EXPECT_EQ(program.form2.Comparison->shown(), ViewerComparison::View::Original);
    QTest::keyRelease(&program.form2, Qt::Key_Space);
    QTest::keyClick(&program.form2, Qt::Key_D);
    EXPECT_EQ(program.form2.Comparison->shown(), ViewerComparison::View::Difference);
}

TEST_F(Judging, ClosingTheWindowsWhileAScoreIsComputedNeitherHangsNorReports) {
    MainWindowProgram& program = start();
    load(writeBmp("large.bmp", 1600, 1200));
    EXPECT_TRUE(program.form1.Label8->toolTip().isEmpty()); // still being computed
    program_.reset();
}
