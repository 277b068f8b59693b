// The slider's context menu: the highest quality whose file fits a size.
#include "PipelineFixture.h"
#include "QStringPrinter.h"
#include "main_window/Readouts.h"
#include "support/ReferenceTool.h"
#include "ui/TBitBtn.h"
#include "ui/TLabel.h"
#include "ui/TProgressBar.h"
#include "ui/TTrackBar.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QTest>
#include <QTimer>

namespace {

class SizeSearch : public PipelineFixture {
protected:
    // The file the reference encoder makes at each quality, as the recompression does.
    std::vector<qint64> referenceSizes(const QString& bmp) {
        std::vector<qint64> sizes;
        for (int quality = 0; quality <= 100; ++quality) {
            const QString jpeg = path(QString("reference%1.jpg").arg(quality));
            EXPECT_EQ(runReferenceTool({"cjpeg", "-dct", "float", "-baseline", "-quality",
                                        std::to_string(quality), "-outfile", jpeg.toStdString(),
                                        bmp.toStdString()}),
                      0);
            sizes.push_back(QFileInfo(jpeg).size());
        }
        return sizes;
    }

    // Types `kibibytes` into the box of the menu's item and waits for the answer.
    void searchUnder(int kibibytes) {
        TForm1& form = program_->form1;
        program_->dialogs.numberAnswers.push_back(kibibytes);
        form.guard().run([&form] { form.SizeSearchClick(); });
        QTRY_VERIFY_WITH_TIMEOUT(!form.State.Busy, 10000);
    }

    QMenu* openMenu() {
        TForm1& form = program_->form1;
        emit form.TrackBar1->customContextMenuRequested(QPoint(200, 14));
        return form.findChild<QMenu*>("TrackBar1Menu");
    }
};

} // namespace

TEST_F(SizeSearch, FindsTheHighestQualityThatFitsAndMovesTheSliderThere) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    const QString bmp = writeBmp("photo.bmp", 240, 180);
    const std::vector<qint64> sizes = referenceSizes(bmp);
    load(bmp);
    for (const int target : {60, 93, 17}) {
        SCOPED_TRACE(target);
        const int kibibytes = static_cast<int>(sizes[std::size_t(target)] / 1024);
        int expected = -1;
        for (int quality = 0; quality <= 100; ++quality) {
            if (sizes[std::size_t(quality)] <= kibibytes * 1024) {
                expected = quality; // fits when the bytes are at most the kibibytes typed
            }
        }
        ASSERT_GE(expected, 0);
        program.dialogs.numberAnswers.push_back(kibibytes);
        form.guard().run([&form] { form.SizeSearchClick(); });
        EXPECT_TRUE(form.State.Busy); // other operations wait for the answer
        EXPECT_TRUE(form.ProgressBar1->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!form.State.Busy, 10000);
        EXPECT_FALSE(form.ProgressBar1->isVisible());
        EXPECT_EQ(form.TrackBar1->value(), expected);
        EXPECT_EQ(form.State.CurrentQuality, expected);
        EXPECT_TRUE(form.Timer1->isActive()); // the move starts the usual recompression
        form.guard().run([&form] { form.Timer1Timer(); });
        EXPECT_EQ(form.State.CompressedQuality, expected);
        EXPECT_EQ(form.Label8->caption(), Readouts::size(sizes[std::size_t(expected)], "English"));
    }
    EXPECT_EQ(errorTexts(), QStringList());
    EXPECT_EQ(program.dialogs.numberRequests.back(), "Largest file size, in Kb:");
}

TEST_F(SizeSearch, WhenNotEvenQualityZeroFitsItSaysSoAndMovesNothing) {
    MainWindowProgram& program = start({1280, 800}, QString::fromUtf8("Français"));
    TForm1& form = program.form1;
    const QString bmp = writeBmp("photo.bmp", 400, 300);
    ASSERT_GT(referenceSizes(bmp)[0], 2 * 1024);
    load(bmp);
    recompressAt(40);
    searchUnder(1);
    EXPECT_EQ(form.TrackBar1->value(), 40);
    EXPECT_FALSE(form.Timer1->isActive());
    ASSERT_EQ(program.dialogs.boxes.size(), 1u);
    EXPECT_EQ(program.dialogs.boxes[0].kind, MessageBoxKind::Plain);
    EXPECT_EQ(program.dialogs.boxes[0].title, "Trevano");
    EXPECT_EQ(program.dialogs.boxes[0].text,
              QString::fromUtf8("Même à la qualité 0 %, le fichier dépasse 1 Ko."));
    EXPECT_EQ(program.dialogs.numberRequests.back(),
              QString::fromUtf8("Taille maximale du fichier, en Ko :"));
}

TEST_F(SizeSearch, TheSlidersMenuOffersItInTheLanguageOfTheMoment) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    load(writeBmp("photo.bmp", 64, 48));
    QMenu* menu = openMenu();
    ASSERT_NE(menu, nullptr);
    const auto texts = [](QMenu* shown) {
        QStringList items;
        for (const QAction* item : shown->actions()) {
            items << item->text();
        }
        return items;
    };
    EXPECT_EQ(texts(menu),
              QString::fromUtf8("Highest quality under a size…|Smallest file above a "
                                "similarity…|Keep the photo's details (date, camera, "
                                "place)|Smaller file, same picture "
                                "(progressive)|Smallest file for the look|Longest side")
                  .split('|'));
    menu->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    form.BitBtn6Click();
    menu = openMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(texts(menu),
              QString::fromUtf8(
                  "Meilleure qualité sous une taille…|Plus petit fichier au-dessus "
                  "d'une similarité…|Garder les détails de la photo (date, appareil, "
                  "lieu)|Fichier plus petit, même image (progressif)|Fichier le plus petit pour le "
                  "rendu|Plus grand côté")
                  .split('|'));
    // The item asks for the size; cancelling the box leaves everything as it was.
    menu->actions()[0]->trigger();
    EXPECT_EQ(program.dialogs.numberRequests.size(), 1u);
    EXPECT_FALSE(form.State.Busy);
    EXPECT_FALSE(form.ProgressBar1->isVisible());
    EXPECT_EQ(form.TrackBar1->value(), 100);
}

TEST_F(SizeSearch, OtherOperationsWaitAndAGoneSourceIsReported) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    const QString bmp = writeBmp("photo.bmp", 800, 600);
    load(bmp);
    program.dialogs.numberAnswers.push_back(20);
    form.guard().run([&form] { form.SizeSearchClick(); });
    ASSERT_TRUE(form.State.Busy);
    // A load asked for meanwhile is ignored, as during any other operation.
    program.dialogs.openAnswers.push_back(writeBmp("other.bmp", 30, 20));
    form.BitBtn1->click();
    EXPECT_EQ(program.dialogs.openRequests.size(), 1u);
    QTRY_VERIFY_WITH_TIMEOUT(!form.State.Busy, 10000);

    QFile::remove(bmp);
    searchUnder(20);
    ASSERT_EQ(errorTexts().size(), 1);
    EXPECT_TRUE(errorTexts()[0].contains("photo.bmp")) << errorTexts()[0].toStdString();
    EXPECT_FALSE(form.State.Busy);
    EXPECT_FALSE(form.ProgressBar1->isVisible());
}

TEST_F(SizeSearch, ClosingTheWindowsDuringASearchStopsIt) {
    MainWindowProgram& program = start();
    load(writeBmp("large.bmp", 2000, 1500));
    program.dialogs.numberAnswers.push_back(50);
    program.form1.guard().run([&program] { program.form1.SizeSearchClick(); });
    ASSERT_TRUE(program.form1.State.Busy);
    QElapsedTimer clock;
    clock.start();
    program_.reset();
    EXPECT_LT(clock.elapsed(), 3000);
}
