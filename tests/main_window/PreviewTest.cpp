#include "PipelineFixture.h"
#include "QStringPrinter.h"
#include "main_window/Readouts.h"
#include "support/ReferenceTool.h"
#include "ui/TBitBtn.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "ui/TTrackBar.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QTimer>

namespace {

using Preview = PipelineFixture;

} // namespace

TEST_F(Preview, ARecompressionShowsWhatTheReferenceEncoderMakesAndDecodes) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    const QString bmp = writeBmp("photo.bmp", 123, 77);
    load(bmp);
    for (const int quality : {75, 0, 33}) {
        SCOPED_TRACE(quality);
        recompressAt(quality);
        const QString reference = path(QString("reference%1.jpg").arg(quality));
        ASSERT_EQ(runReferenceTool({"cjpeg", "-dct", "float", "-baseline", "-quality",
                                    std::to_string(quality), "-outfile", reference.toStdString(),
                                    bmp.toStdString()}),
                  0);
        EXPECT_EQ(form.Label8->caption(), Readouts::size(QFileInfo(reference).size(), "English"));
        const QString decoded = reference + ".ppm";
        ASSERT_EQ(runReferenceTool({"djpeg", "-dct", "float", "-outfile", decoded.toStdString(),
                                    reference.toStdString()}),
                  0);
        EXPECT_EQ(rgbPixels(*form.Image2), ppmPixels(decoded));
        EXPECT_EQ(rgbPixels(*program.form2.Image4), ppmPixels(decoded));
        EXPECT_EQ(form.Label1->caption(), QString("  Jpeg Quality = %1 % ").arg(quality));
        EXPECT_EQ(form.TrackBar1->selEnd(), quality);
        EXPECT_EQ(form.State.CompressedQuality, quality);
        EXPECT_TRUE(form.BitBtn4->isEnabled());
        EXPECT_FALSE(form.BitBtn9->isEnabled());
    }
    EXPECT_EQ(errorTexts(), QStringList());
}

TEST_F(Preview, AJpegSourceIsReadAgainFromItsFile) {
    MainWindowProgram& program = start();
    const QString jpeg = writeJpeg("photo.JPG", 90, 60);
    load(jpeg);
    // Replaced on disk after the load: the next recompression uses the new contents.
    QFile::remove(jpeg);
    writeJpeg("photo.JPG", 45, 30);
    recompressAt(50);
    EXPECT_EQ(program.form1.Image2->picture().width(), 45);
    EXPECT_EQ(program.form1.Image1->picture().width(), 90); // never touched here
    EXPECT_EQ(program.form1.State.PictureWidth, 90);        // nor the load's measures
}

TEST_F(Preview, TheSliderArmsOneTickASecondAfterItsFirstMove) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    load(writeBmp("photo.bmp", 64, 48));
    QElapsedTimer clock;
    clock.start();
    form.TrackBar1->setValue(80);
    QTest::qWait(300);
    form.TrackBar1->setValue(60); // does not postpone the tick
    EXPECT_EQ(form.State.CurrentQuality, 60);
    QTRY_COMPARE_WITH_TIMEOUT(form.State.CompressedQuality, 60, 3000);
    EXPECT_GE(clock.elapsed(), 950);
    EXPECT_LT(clock.elapsed(), 1500);
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_EQ(form.Label1->caption(), "  Jpeg Quality = 60 % ");
}

TEST_F(Preview, BackToTheSameQualityWithinASecondDoesNothing) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    load(writeBmp("photo.bmp", 64, 48));
    const QString size = form.Label8->caption();
    form.TrackBar1->setValue(50);
    form.TrackBar1->setValue(100);
    EXPECT_TRUE(form.Timer1->isActive());
    form.guard().run([&form] { form.Timer1Timer(); });
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_FALSE(form.BitBtn4->isEnabled());
    EXPECT_TRUE(form.BitBtn9->isEnabled());
    EXPECT_EQ(form.Label8->caption(), size);
    EXPECT_EQ(form.Label1->caption(), "  Jpeg Quality = 100 % ");
}

TEST_F(Preview, AnOversizedPictureGetsAViewerAsLargeAsTheScreen) {
    MainWindowProgram& program = start({1024, 768});
    load(writeBmp("large.bmp", 1200, 900));
    program.form2.move(-50, 20);
    recompressAt(70);
    EXPECT_EQ(program.form2.frameGeometry().size(), QSize(1024, 768));
    EXPECT_EQ(program.form2.x(), 0);
    EXPECT_EQ(program.form2.y(), 20); // the top edge is not corrected
    load(writeBmp("small.bmp", 200, 100));
    recompressAt(70);
    EXPECT_EQ(program.form2.size(), QSize(209, 127));
    EXPECT_EQ(program.form2.windowTitle(), path("small.bmp") + "     [Real size]");
}

TEST_F(Preview, ADeletedSourceReportsTheFileErrorAndKeepsThePreview) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    const QString bmp = writeBmp("photo.bmp", 64, 48);
    load(bmp);
    recompressAt(60);
    const QByteArray preview = rgbPixels(*form.Image2);
    QFile::remove(bmp);
    recompressAt(30);
    EXPECT_EQ(errorTexts(), QStringList{"Impossible d'ouvrir le fichier " + bmp});
    EXPECT_EQ(form.Label1->caption(), "  Jpeg Quality = 30 % "); // already written
    EXPECT_EQ(rgbPixels(*form.Image2), preview);
    EXPECT_EQ(form.State.CompressedQuality, 60);
    EXPECT_TRUE(form.BitBtn4->isEnabled());
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_FALSE(form.State.Busy);
}

TEST_F(Preview, ASliderMoveDuringARecompressionArmsTheNextOne) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    load(writeBmp("photo.bmp", 64, 48));
    bool loadIgnored = false;
    // Runs inside the recompression's first message pump.
    QTimer::singleShot(0, [&] {
        form.TrackBar1->setValue(20);
        program.dialogs.openAnswers.push_back(path("photo.bmp"));
        form.BitBtn1->click();
        loadIgnored = program.dialogs.openRequests.size() == 1;
    });
    recompressAt(70);
    EXPECT_TRUE(loadIgnored);
    EXPECT_EQ(form.State.CompressedQuality, 70); // names the preview on screen
    EXPECT_EQ(form.Label1->caption(), "  Jpeg Quality = 70 % ");
    EXPECT_EQ(form.State.CurrentQuality, 20);
    EXPECT_TRUE(form.Timer1->isActive());
    form.guard().run([&form] { form.Timer1Timer(); });
    EXPECT_EQ(form.State.CompressedQuality, 20);
}

TEST_F(Preview, ALanguageSwitchWaitsForTheNextRecompression) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    load(writeBmp("photo.bmp", 64, 48));
    recompressAt(50);
    const QString size = form.Label7->caption();
    form.BitBtn6->click();
    EXPECT_EQ(form.Label1->caption(), "  Jpeg Quality = 50 % ");
    EXPECT_EQ(form.Label7->caption(), size);
    EXPECT_TRUE(program.form2.windowTitle().endsWith("[Real size]"));
    recompressAt(40);
    EXPECT_EQ(form.Label1->caption(), QString::fromUtf8("  Qualité jpeg = 40 % "));
    EXPECT_TRUE(form.Label8->caption().endsWith("  Ko"));
    EXPECT_EQ(form.Label7->caption(), size);
    EXPECT_TRUE(program.form2.windowTitle().endsWith(QString::fromUtf8("[Taille réelle]")));
}

TEST_F(Preview, TheFirstRecompressionStartsFromTheLoadsPixelsAndGivesWhatTheFileGives) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    const QString baseline = writeJpeg("baseline.jpg", 120, 90);
    const QString progressive = path("progressive.jpg");
    ASSERT_EQ(runReferenceTool({"jpegtran", "-progressive", "-outfile", progressive.toStdString(),
                                baseline.toStdString()}),
              0);
    for (const QString& file : {baseline, progressive, writeBmp("photo.bmp", 120, 90)}) {
        SCOPED_TRACE(file.toStdString());
        load(file);
        recompressAt(55);
        const QString kept = form.Label8->caption();
        const QByteArray keptPixels = rgbPixels(*form.Image2);
        // A touched file is read again: the same preview must come out.
        QFile touched(file);
        ASSERT_TRUE(touched.open(QIODevice::ReadWrite));
        touched.setFileTime(QDateTime::currentDateTime().addDays(1),
                            QFileDevice::FileModificationTime);
        touched.close();
        recompressAt(54);
        recompressAt(55);
        EXPECT_EQ(form.Label8->caption(), kept);
        EXPECT_EQ(rgbPixels(*form.Image2), keptPixels);
    }
    EXPECT_EQ(errorTexts(), QStringList());
}
