// Dropping files on the main window.
#include "PipelineFixture.h"
#include "QStringPrinter.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QUrl>

namespace {

class Drop : public PipelineFixture {
protected:
    // Drags `files` over the window and drops them; true when the window took the drag.
    bool drop(const QStringList& files) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& file : files) {
            urls << QUrl::fromLocalFile(file);
        }
        data.setUrls(urls);
        TForm1& form = program_->form1;
        const QPoint at(200, 300);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&form, &enter);
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&form, &dropped);
        // The load runs once the drop is over.
        QCoreApplication::processEvents();
        return enter.isAccepted();
    }

    QString textFile(const QString& name) {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a picture\n");
        return file.fileName();
    }
};

} // namespace

TEST_F(Drop, ABmpOrAJpegFileIsLoadedAsIfChosenInTheOpenDialog) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    const QString bmp = writeBmp("holiday.bmp", 90, 60);
    EXPECT_TRUE(drop({bmp}));
    EXPECT_EQ(form.Edit1->text(), bmp);
    EXPECT_EQ(form.windowTitle(), bmp);
    EXPECT_EQ(form.Label5->caption(), " holiday.bmp  [90 x 60]");
    EXPECT_EQ(program.sound.played.size(), 1);
    EXPECT_TRUE(program.dialogs.openRequests.empty()); // no dialog

    form.State.CompressedQuality = 40; // as after a recompression
    const QString jpeg = writeJpeg("photo.JPG", 70, 50);
    EXPECT_TRUE(drop({jpeg}));
    EXPECT_EQ(form.Edit1->text(), jpeg);
    EXPECT_EQ(form.Label5->caption(), " photo.JPG  [70 x 50]");
    EXPECT_NE(dynamic_cast<TJPEGImage*>(form.Image1->picture().graphic()), nullptr);
    EXPECT_EQ(form.State.CompressedQuality, 100);
    EXPECT_EQ(errorTexts(), QStringList());
}

TEST_F(Drop, OtherDropsAreIgnored) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    const QString bmp = writeBmp("holiday.bmp", 90, 60);
    load(bmp);
    EXPECT_FALSE(drop({textFile("notes.txt")}));
    EXPECT_FALSE(drop({bmp, writeBmp("second.bmp", 10, 10)})); // which one?
    EXPECT_FALSE(drop({path("")}));                            // a folder
    QMimeData text;
    text.setText(path("other.bmp"));
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, {});
    QApplication::sendEvent(&form, &enter);
    EXPECT_FALSE(enter.isAccepted());
    EXPECT_EQ(form.Edit1->text(), bmp);
    EXPECT_EQ(program.sound.played.size(), 1);
    EXPECT_EQ(errorTexts(), QStringList());
}

TEST_F(Drop, ABadFileGetsTheDialogsErrorsAndABusyWindowTakesNoDrop) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    EXPECT_TRUE(drop({textFile("fake.bmp")}));
    EXPECT_EQ(errorTexts(), QStringList{"Image bitmap incorrecte"});
    EXPECT_FALSE(form.Label5->isVisible());
    // Not a name the load dialog lists, which would read it as a bitmap: no drop at all.
    EXPECT_FALSE(drop({writeJpeg("photo.jpeg", 20, 20)}));
    EXPECT_EQ(errorTexts().size(), 1);

    form.State.Busy = true;
    EXPECT_FALSE(drop({writeBmp("later.bmp", 10, 10)}));
    form.State.Busy = false;
    EXPECT_TRUE(form.Edit1->text().endsWith("fake.bmp"));
}
