#include "PipelineFixture.h"
#include "QStringPrinter.h"
#include "main_window/LoadSound.h"
#include "support/ReferenceTool.h"
#include "ui/TBitBtn.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "ui/TProgressBar.h"
#include "ui/TTrackBar.h"

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QTimer>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Load = PipelineFixture;

QList<QWidget*> pictureLabels(TForm1& form) {
    return {form.Label1, form.Label2, form.Label3, form.Label4,
            form.Label5, form.Label7, form.Label8, form.TrackBar1};
}

void expectPictureLabelsVisible(TForm1& form, bool visible) {
    for (QWidget* control : pictureLabels(form)) {
        EXPECT_EQ(control->isVisible(), visible) << control->objectName().toStdString();
    }
}

} // namespace

TEST_F(Load, ABmpFileFillsThePanesTheReadoutsAndTheViewerAndPlaysTheChime) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    const QString file = writeBmp("holiday.bmp", 300, 200);
    load(file);
    ASSERT_EQ(errorTexts(), QStringList());
    EXPECT_EQ(form.Edit1->text(), file);
    EXPECT_EQ(form.windowTitle(), file);
    EXPECT_EQ(form.State.SourceExtension, ".bmp");
    EXPECT_EQ(form.State.CurrentQuality, 100);
    EXPECT_EQ(form.State.CompressedQuality, 100);
    EXPECT_EQ(form.State.PictureWidth, 300);
    EXPECT_EQ(form.State.PictureHeight, 200);
    EXPECT_EQ(form.Label7->caption(), QString::number(QFile(file).size() / 1024) + "  Kb");
    EXPECT_TRUE(form.Label8->caption().endsWith("  Kb"));
    EXPECT_EQ(form.Label5->caption(), " holiday.bmp  [300 x 200]");
    EXPECT_EQ(form.Label1->caption(), "  Jpeg Quality = 100 % ");
    expectPictureLabelsVisible(form, true);
    EXPECT_FALSE(form.Label6->isVisible());
    EXPECT_FALSE(form.ProgressBar1->isVisible());
    EXPECT_FALSE(form.BitBtn2->isEnabled()); // fits the pane
    EXPECT_TRUE(form.BitBtn3->isEnabled());
    EXPECT_FALSE(form.BitBtn4->isEnabled());
    EXPECT_TRUE(form.BitBtn9->isEnabled());
    EXPECT_EQ(form.TrackBar1->value(), 100);
    EXPECT_EQ(form.TrackBar1->selEnd(), 100);
    EXPECT_EQ(form.Image1->picture().width(), 300);
    EXPECT_EQ(form.Image2->picture().width(), 300);
    EXPECT_EQ(program.form2.Image4->size(), QSize(300, 200));
    EXPECT_EQ(program.form2.windowTitle(), file + "     [Real size]");
    EXPECT_EQ(program.form2.size(), QSize(793, 565)); // only a recompression sizes it
    ASSERT_EQ(program.sound.played.size(), 1);
    EXPECT_EQ(program.sound.played[0], LoadSound::wave());
}

TEST_F(Load, TheBuiltInChimeIsMonoPcmOf48944BytesAt22050Hertz) {
    const QByteArray& wave = LoadSound::wave();
    ASSERT_GE(wave.size(), 44);
    EXPECT_EQ(wave.left(4), "RIFF");
    EXPECT_EQ(wave.mid(8, 8), "WAVEfmt ");
    const auto number = [&wave](int at, int bytes) {
        qint64 value = 0;
        for (int i = bytes - 1; i >= 0; --i) {
            value = value * 256 + static_cast<unsigned char>(wave[at + i]);
        }
        return value;
    };
    EXPECT_EQ(number(20, 2), 1);     // PCM
    EXPECT_EQ(number(22, 2), 1);     // one channel
    EXPECT_EQ(number(24, 4), 22050); // samples a second
    EXPECT_EQ(number(34, 2), 16);    // bits a sample
    EXPECT_EQ(wave.mid(36, 4), "data");
    EXPECT_EQ(number(40, 4), 48944);
}

TEST_F(Load, InFrenchTheReadoutsAndTheViewerCaptionAreFrench) {
    MainWindowProgram& program = start({1280, 800}, QString::fromUtf8("Français"));
    load(writeBmp("photo.bmp", 40, 30));
    EXPECT_EQ(program.dialogs.openRequests.at(0).title, "Choix du fichier Jpg ou Bmp");
    EXPECT_TRUE(program.form1.Label7->caption().endsWith("  Ko"));
    EXPECT_TRUE(program.form1.Label8->caption().endsWith("  Ko"));
    EXPECT_EQ(program.form1.Label1->caption(), QString::fromUtf8("  Qualité jpeg = 100 % "));
    EXPECT_EQ(program.form2.windowTitle(),
              path("photo.bmp") + QString::fromUtf8("     [Taille réelle]"));
}

TEST_F(Load, TheOpenDialogIsAskedWithAnEmptyNameTheTitleAndTheFourChoiceFilter) {
    MainWindowProgram& program = start();
    program.form1.OpenPictureDialog1.fileName = "left over";
    program.form1.BitBtn1->click();
    ASSERT_EQ(program.dialogs.openRequests.size(), 1u);
    const FileDialogOptions& asked = program.dialogs.openRequests[0];
    EXPECT_EQ(asked.title, "Choose the Jpg or Bmp file");
    EXPECT_EQ(asked.fileName, "");
    EXPECT_EQ(asked.filter, "JPEG + BMP|*.jpg;*.bmp|JPEG (*.jpg)|*.jpg|BMP (*.bmp)|*.bmp|*.*|*.*");
}

TEST_F(Load, JpegNamesInAnyLetterCaseAreReadAsJpegAndTheOthersAsBmp) {
    MainWindowProgram& program = start();
    for (const QString name : {"a.JPG", "b.jpg", "c.Jpg"}) {
        load(writeJpeg(name, 64, 48));
        EXPECT_EQ(errorTexts(), QStringList()) << name.toStdString();
        EXPECT_EQ(program.form1.State.PictureWidth, 64);
        EXPECT_TRUE(program.form1.Label1->isVisible());
    }
    EXPECT_EQ(program.sound.played.size(), 3);
    load(writeJpeg("d.jpeg", 64, 48));
    EXPECT_EQ(errorTexts(), QStringList{"Image bitmap incorrecte"});
    EXPECT_EQ(program.form1.State.SourceExtension, ".jpeg");
}

TEST_F(Load, AJpegSourceNeverShowsTheCompressingLabelABmpSourceDoes) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    bool compressingShown = false;
    // Runs in the messages the load lets through before it compresses.
    const auto watch = [&] {
        QTimer::singleShot(0, [&] {
            compressingShown = form.Label6->isVisible() && form.ProgressBar1->isVisible();
        });
    };
    watch();
    load(writeJpeg("a.jpg", 64, 48));
    QCoreApplication::processEvents();
    EXPECT_FALSE(compressingShown);
    watch();
    load(writeBmp("b.bmp", 64, 48));
    EXPECT_TRUE(compressingShown);
    EXPECT_FALSE(form.Label6->isVisible()); // hidden by the end of the encode
    EXPECT_FALSE(form.ProgressBar1->isVisible());
}

TEST_F(Load, LabelsSitAboveTheCentredPictureOrAtThePaneEdges) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    struct Row {
        int width, height;
        int pictureTop, labelTop, qualityLeft, sourceLeft;
        bool alignment;
    };
    const Row rows[] = {
        {100, 100, 259, 243, 405 + 188 - 50, 9 + 188 - 50, false},
        {200, 600, 9, 59, 405 + 188 - 100, 9 + 188 - 100, true}, // taller than the pane
        {500, 50, 284, 268, 405, 9, true},                       // wider than the pane
        {376, 469, 75, 59, 405, 9, false},                       // exactly the pane
        {377, 10, 304, 288, 405, 9, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.width * 10000 + row.height);
        load(writeBmp(QString("p%1x%2.bmp").arg(row.width).arg(row.height), row.width, row.height));
        EXPECT_EQ(form.State.PictureTop, row.pictureTop);
        EXPECT_EQ(form.Label1->pos(), QPoint(row.qualityLeft, row.labelTop));
        EXPECT_EQ(form.Label5->pos(), QPoint(row.sourceLeft, row.labelTop));
        EXPECT_EQ(form.State.QualityLabelLeft, row.qualityLeft);
        EXPECT_EQ(form.State.SourceLabelLeft, row.sourceLeft);
        EXPECT_EQ(form.BitBtn2->isEnabled(), row.alignment);
    }
}

TEST_F(Load, AFailedLoadShowsTheImagingErrorAndLeavesThePictureLessLayout) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    load(writeBmp("good.bmp", 64, 48));
    QFile corrupt(path("broken.jpg"));
    ASSERT_TRUE(corrupt.open(QIODevice::WriteOnly));
    corrupt.write(QByteArray("\xFF\xD8\xFF\xE0 not really a JPEG file"));
    corrupt.close();
    QFile invalid(path("broken.bmp"));
    ASSERT_TRUE(invalid.open(QIODevice::WriteOnly));
    invalid.write(QByteArray("BM") + QByteArray(62, '\0')); // a header of no known size
    invalid.close();
    const QString missing = path("gone.bmp");
    const QString empty = path("x.jpg");
    QFile(empty).open(QIODevice::WriteOnly);
    // Only a regular file is read: a FIFO is refused at once, not waited on.
    const QString fifo = path("f.jpg");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    struct Row {
        QString file;
        QString error;
    };
    const Row rows[] = {
        {invalid.fileName(), "Image bitmap incorrecte"},
        {missing, "Impossible d'ouvrir le fichier " + missing},
        {corrupt.fileName(), ""}, // the library's own number
        {empty, ""},
        {fifo, "Impossible d'ouvrir le fichier " + fifo},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file.toStdString());
        load(writeBmp("good.bmp", 64, 48));
        program.dialogs.boxes.clear();
        ::alarm(10); // a load that waits on the FIFO ends the test instead of hanging it
        load(row.file);
        ::alarm(0);
        ASSERT_EQ(program.dialogs.boxes.size(), 1u);
        if (row.error.isEmpty()) {
            EXPECT_TRUE(program.dialogs.boxes[0].text.startsWith("Erreur JPEG #"));
        } else {
            EXPECT_EQ(program.dialogs.boxes[0].text, row.error);
        }
        expectPictureLabelsVisible(form, false);
        EXPECT_EQ(form.Image2->picture().graphic(), nullptr);
        EXPECT_EQ(program.form2.Image4->picture().graphic(), nullptr);
        EXPECT_EQ(form.windowTitle(), row.file);
        EXPECT_EQ(form.Edit1->text(), row.file);
        EXPECT_FALSE(form.State.Busy);
        // Nothing offers to save, copy or turn the file that could not be read, nor the one
        // loaded before it.
        for (TBitBtn* button : {form.BitBtn2, form.BitBtn3, form.BitBtn4, form.BitBtn9}) {
            EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
        }
    }
    EXPECT_EQ(program.sound.played.size(), std::size(rows) + 1); // the good loads' only
    load(writeBmp("good.bmp", 64, 48));
    EXPECT_TRUE(form.BitBtn3->isEnabled());
    EXPECT_TRUE(form.BitBtn9->isEnabled());
}

TEST_F(Load, AMissingFileKeepsThePreviousSizeReadout) {
    MainWindowProgram& program = start();
    load(writeBmp("good.bmp", 64, 48));
    const QString before = program.form1.Label7->caption();
    load(path("gone.bmp"));
    EXPECT_EQ(program.form1.Label7->caption(), before);
}

TEST_F(Load, CancellingTheDialogOnlyResetsTheQualities) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    load(writeBmp("photo.bmp", 64, 48));
    recompressAt(40);
    ASSERT_EQ(form.State.CompressedQuality, 40);
    const QString label1 = form.Label1->caption();
    program.form1.BitBtn1->click(); // the script has no answer: cancelled
    EXPECT_EQ(form.State.CurrentQuality, 100);
    EXPECT_EQ(form.State.CompressedQuality, 100);
    EXPECT_EQ(form.TrackBar1->value(), 40);
    EXPECT_EQ(form.Label1->caption(), label1);
    EXPECT_TRUE(form.Label1->isVisible());
    EXPECT_NE(form.Image2->picture().graphic(), nullptr);
    EXPECT_TRUE(form.BitBtn4->isEnabled());
}

TEST_F(Load, ALoadInFitOrTopLeftModeReturnsToCentredRealSize) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    load(writeBmp("large.bmp", 600, 700));
    form.BitBtn2->click(); // top-left
    form.BitBtn3->click(); // fit
    load(writeBmp("large2.bmp", 600, 700));
    EXPECT_TRUE(form.Image1->center());
    EXPECT_TRUE(form.Image2->center());
    EXPECT_FALSE(form.Image1->proportional());
    EXPECT_FALSE(form.Image2->stretch());
    EXPECT_EQ(form.Label1->color(), QColor(Qt::black));
    EXPECT_EQ(form.Label5->color(), QColor(Qt::black));
    EXPECT_EQ(form.Label1->pos(), QPoint(405, 59));
    EXPECT_EQ(form.BitBtn3->glyph().toImage(), form.ImageList1[4].toImage());
    // The alignment button keeps its face and hint, and the fit button its hint.
    EXPECT_EQ(form.BitBtn2->glyph().toImage(), form.ImageList1[3].toImage());
    EXPECT_EQ(form.BitBtn2->toolTip(), "Center image");
    EXPECT_EQ(form.BitBtn3->toolTip(), "Real size");
    EXPECT_TRUE(form.BitBtn2->isEnabled());
}

// The way in for a file named on the command line: the load without the dialog.
TEST_F(Load, AFileGivenDirectlyLoadsAsIfChosenInTheDialog) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    load(writeBmp("first.bmp", 64, 48));
    recompressAt(40);
    const QString file = writeBmp("named.bmp", 120, 80);
    EXPECT_TRUE(form.guard().run([&] { form.loadFile(file); }));
    EXPECT_EQ(program.dialogs.openRequests.size(), 1u); // the first load's only
    EXPECT_EQ(errorTexts(), QStringList());
    EXPECT_EQ(form.windowTitle(), file);
    EXPECT_EQ(form.Edit1->text(), file);
    EXPECT_EQ(form.Label5->caption(), " named.bmp  [120 x 80]");
    EXPECT_EQ(form.State.CurrentQuality, 100);
    EXPECT_EQ(form.State.CompressedQuality, 100);
    EXPECT_EQ(form.TrackBar1->value(), 100);
    expectPictureLabelsVisible(form, true);
    EXPECT_EQ(program.sound.played.size(), 2);
}

TEST_F(Load, AFileGivenDirectlyThatCannotBeLoadedGetsTheDialogLoadsErrorBox) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    const QString missing = path("gone.bmp");
    const QString folder = path("");
    for (const QString& file : {missing, folder}) {
        SCOPED_TRACE(file.toStdString());
        program.dialogs.boxes.clear();
        load(file);
        const QStringList throughTheDialog = errorTexts();
        ASSERT_EQ(throughTheDialog.size(), 1);
        program.dialogs.boxes.clear();
        form.guard().run([&] { form.loadFile(file); });
        EXPECT_EQ(errorTexts(), throughTheDialog);
        EXPECT_EQ(program.dialogs.boxes[0].kind, MessageBoxKind::StandardError);
        EXPECT_EQ(form.windowTitle(), file);
        expectPictureLabelsVisible(form, false);
        EXPECT_FALSE(form.State.Busy);
    }
    EXPECT_EQ(errorTexts(), QStringList{"Impossible d'ouvrir le fichier " + folder});
    EXPECT_TRUE(program.sound.played.empty());
}
