// The slider's menu choices for every new file (its coding and its longest side) and the
// search for a similarity: the readout, the tooltip, the search and the save all follow them.
#include "PipelineFixture.h"
#include "QStringPrinter.h"
#include "main_window/Readouts.h"
#include "recompress/SimilarityTrial.h"
#include "recompress/SourceFile.h"
#include "support/PhotoSamples.h"
#include "ui/TBitBtn.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "ui/TTrackBar.h"

#include <QAction>
#include <QMenu>
#include <QTest>

namespace {

using namespace PhotoSamples;

class NewFileChoices : public PipelineFixture {
protected:
    QAction* menuItem(const char* name) {
        TForm1& form = program_->form1;
        delete form.findChild<QMenu*>("TrackBar1Menu");
        emit form.TrackBar1->customContextMenuRequested(QPoint(200, 14));
        auto* menu = form.findChild<QMenu*>("TrackBar1Menu");
        return menu ? menu->findChild<QAction*>(name) : nullptr;
    }

    Bytes saveAs(const QString& name) {
        program_->dialogs.saveAnswers.push_back(path(name));
        program_->form1.BitBtn4->click();
        return readFile(path(name).toStdString());
    }

    static bool progressive(const Bytes& jpeg) {
        const Bytes frame{0xFF, 0xC2};
        return std::search(jpeg.begin(), jpeg.end(), frame.begin(), frame.end()) != jpeg.end();
    }
};

} // namespace

TEST_F(NewFileChoices, TheSmallerCodingGivesTheSamePixelsInFewerBytesAndIsRemembered) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    load(writeBmp("photo.bmp", 160, 120));
    recompressAt(70);
    const Bytes baseline = saveAs("baseline.jpg");
    QAction* item = menuItem("SmallerFileItem");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QString::fromUtf8("Smaller file, same picture (progressive)"));
    EXPECT_FALSE(item->isChecked());
    item->trigger();
    QCoreApplication::processEvents(); // the choice is taken once the menu is done
    EXPECT_EQ(store_.values.value("SmallerFiles"), "true");
    EXPECT_EQ(form.TrackBar1->value(), 70);
    const Bytes smaller = saveAs("smaller.jpg");
    EXPECT_EQ(form.previewBytes(), qint64(smaller.size())); // the readout followed at once
    EXPECT_LT(smaller.size(), baseline.size());
    EXPECT_TRUE(progressive(smaller));
    EXPECT_FALSE(progressive(baseline));
    EXPECT_EQ(decodedPixels(path("smaller.jpg").toStdString(), path("").toStdString()),
              decodedPixels(path("baseline.jpg").toStdString(), path("").toStdString()));
    ASSERT_NE(item = menuItem("SmallerFileItem"), nullptr);
    EXPECT_TRUE(item->isChecked());
}

TEST_F(NewFileChoices, ALongestSideShrinksTheNewFileAndEverythingThatTellsOfIt) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    load(writeJpeg("photo.jpg", 1000, 750));
    recompressAt(80);
    QAction* side = menuItem("LongestSide800");
    ASSERT_NE(side, nullptr);
    EXPECT_EQ(side->text(), "800 pixels");
    // Clicked as a user clicks it: the work the choice starts lets messages run, which must
    // not delete the menus still handling the click.
    auto* sides = form.findChild<QMenu*>("LongestSideMenu");
    ASSERT_NE(sides, nullptr);
    sides->popup(QPoint(300, 200));
    QTest::mouseClick(sides, Qt::LeftButton, {}, sides->actionGeometry(side).center());
    QTRY_COMPARE(store_.values.value("LongestSide"), QString("800"));
    EXPECT_EQ(store_.values.value("LongestSide"), "800");
    EXPECT_EQ(form.Image2->picture().graphic()->width(), 800);
    EXPECT_EQ(form.Image1->picture().graphic()->width(), 1000); // the loaded picture stays
    EXPECT_TRUE(form.NewSizeLabel->isVisible());
    EXPECT_EQ(form.NewSizeLabel->caption(), QString::fromUtf8("Resized to 800 × 600"));
    QTRY_VERIFY(!form.Label8->toolTip().isEmpty());
    EXPECT_TRUE(form.Label8->toolTip().endsWith(
        "\nMeasured against the loaded picture resized the same way"));
    const Bytes saved = saveAs("small.jpg");
    EXPECT_EQ(form.previewBytes(), qint64(saved.size()));
    TJPEGImage written;
    written.ReadFromFile(path("small.jpg").toStdString());
    EXPECT_EQ(written.ImageWidth(), 800);
    EXPECT_EQ(written.ImageHeight(), 600);

    ASSERT_NE(side = menuItem("LongestSide0"), nullptr);
    EXPECT_EQ(side->text(), "Original size");
    side->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(form.Image2->picture().graphic()->width(), 1000);
    EXPECT_FALSE(form.NewSizeLabel->isVisible());
    EXPECT_FALSE(form.Label8->toolTip().contains("Measured"));
}

TEST_F(NewFileChoices, TheSimilaritySearchMovesTheSliderToTheLowestQualityReachingIt) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    const QString bmp = writeBmp("photo.bmp", 96, 72);
    load(bmp);
    TJPEGImage jpeg;
    TBitmap pixels;
    SourceFile::read(bmp, ".bmp", jpeg, pixels);
    SimilarityTrial trial(pixels, TJPEGDecodeDepth::Depth24);
    std::vector<double> similarities;
    for (int quality = 0; quality <= 100; ++quality) {
        similarities.push_back(*trial.at(quality));
    }
    for (const double aim : {0.9, 0.97}) {
        SCOPED_TRACE(aim);
        const auto reaching = std::find_if(similarities.begin(), similarities.end(),
                                           [aim](double similarity) { return similarity >= aim; });
        program.dialogs.decimalAnswers.push_back(aim);
        form.guard().run([&form] { form.SimilaritySearchClick(); });
        QTRY_VERIFY_WITH_TIMEOUT(!form.State.Busy, 10000);
        EXPECT_EQ(form.TrackBar1->value(), int(reaching - similarities.begin()));
    }
    program.dialogs.decimalAnswers.push_back(0.999);
    form.guard().run([&form] { form.SimilaritySearchClick(); });
    QTRY_VERIFY_WITH_TIMEOUT(!form.State.Busy, 10000);
    if (similarities[100] < 0.999) {
        ASSERT_FALSE(program.dialogs.boxes.empty());
        EXPECT_EQ(program.dialogs.boxes.back().text,
                  "Even at quality 100 %, the similarity stays below 0.999.");
    }
    EXPECT_EQ(program.dialogs.decimalRequests.back(),
              "Lowest similarity to the loaded picture (SSIM), from 0.80 to 0.999:");
}

TEST_F(NewFileChoices, TheSmallestCodingReplacesTheSmallerOneAndTheSimilaritySearchFollowsIt) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    const QString bmp = writeBmp("photo.bmp", 160, 120);
    load(bmp);
    recompressAt(70);
    menuItem("SmallerFileItem")->trigger();
    QCoreApplication::processEvents();
    QAction* item = menuItem("SmallestFileItem");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "Smallest file for the look");
    item->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(store_.values.value("SmallestFiles"), "true");
    EXPECT_EQ(store_.values.value("SmallerFiles"), "false"); // one coding at a time
    EXPECT_FALSE(menuItem("SmallerFileItem")->isChecked());
    EXPECT_TRUE(menuItem("SmallestFileItem")->isChecked());
    const Bytes smallest = saveAs("smallest.jpg");
    EXPECT_EQ(form.previewBytes(), qint64(smallest.size()));
    EXPECT_TRUE(progressive(smallest));

    // The search's tries are coded as the save codes its file.
    TJPEGImage jpeg;
    TBitmap pixels;
    SourceFile::read(bmp, ".bmp", jpeg, pixels);
    SimilarityTrial trial(pixels, TJPEGDecodeDepth::Depth24, {}, true);
    const double aim = 0.95;
    int reaching = 0;
    while (reaching < 100 && *trial.at(reaching) < aim) {
        ++reaching;
    }
    program.dialogs.decimalAnswers.push_back(aim);
    form.guard().run([&form] { form.SimilaritySearchClick(); });
    QTRY_VERIFY_WITH_TIMEOUT(!form.State.Busy, 10000);
    EXPECT_EQ(form.TrackBar1->value(), reaching);
}
