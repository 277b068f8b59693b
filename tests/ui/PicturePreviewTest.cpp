#include "ui/PicturePreview.h"

#include "QStringPrinter.h"
#include "imaging/bmp/TBitmap.h"
#include "recompress/PictureFileKind.h"
#include "support/ReferenceTool.h"
#include "ui/QtDialogService.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

TEST(PictureFileKind, TheExtensionIsTheNamesLastDotOnAndOnlyJpgInAnyCaseIsJpeg) {
    EXPECT_EQ(PictureFileKind::extension("/p/photo.Jpg"), ".Jpg");
    EXPECT_EQ(PictureFileKind::extension("/p/archive.tar.bmp"), ".bmp");
    EXPECT_EQ(PictureFileKind::extension("/p.d/noextension"), "");
    EXPECT_EQ(PictureFileKind::extension("/p/trailing."), ".");
    for (const char* jpeg : {".JPG", ".jpg", ".jPg"}) {
        EXPECT_TRUE(PictureFileKind::isJpeg(jpeg)) << jpeg;
    }
    for (const char* other : {".jpeg", ".bmp", "", ".jpg "}) {
        EXPECT_FALSE(PictureFileKind::isJpeg(other)) << other;
    }
}

TEST(PicturePreview, ShowsPicturesScaledIntoItsAreaAndNothingForOtherFiles) {
    QTemporaryDir folder;
    TBitmap bitmap;
    bitmap.setPixelFormat(TPixelFormat::Bits24);
    bitmap.setSize(600, 300);
    const QString bmp = folder.filePath("wide.bmp");
    bitmap.WriteToFile(bmp.toStdString());
    const QString jpeg = folder.filePath("IMG_0001.JPG");
    ASSERT_EQ(runReferenceTool({"cjpeg", "-outfile", jpeg.toStdString(), bmp.toStdString()}), 0);
    const QString misnamed = folder.filePath("photo.jpeg"); // the program reads it as BMP
    QFile::copy(jpeg, misnamed);

    PicturePreview preview;
    preview.showFile(bmp);
    EXPECT_EQ(preview.picture().size(), QSize(216, 108));
    EXPECT_EQ(preview.sizeText(), "600 x 300");
    preview.showFile(jpeg);
    EXPECT_EQ(preview.picture().size(), QSize(216, 108));
    EXPECT_EQ(preview.sizeText(), "600 x 300");
    const QString fifo = folder.filePath("f.jpg");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    for (const QString& nothing : {misnamed, folder.filePath("missing.bmp"), folder.path(), fifo}) {
        ::alarm(10); // waiting on the FIFO ends the test instead of hanging it
        preview.showFile(nothing);
        ::alarm(0);
        EXPECT_TRUE(preview.picture().isNull()) << nothing.toStdString();
        EXPECT_EQ(preview.sizeText(), "");
    }
}

TEST(QtDialogService, TheOpenDialogListsUpperCaseJpegNamesAndPreviewsTheSelection) {
    QTemporaryDir folder;
    TBitmap bitmap;
    bitmap.setPixelFormat(TPixelFormat::Bits24);
    bitmap.setSize(40, 30);
    const QString bmp = folder.filePath("small.bmp");
    bitmap.WriteToFile(bmp.toStdString());
    const QString jpeg = folder.filePath("IMG_0001.JPG");
    ASSERT_EQ(runReferenceTool({"cjpeg", "-outfile", jpeg.toStdString(), bmp.toStdString()}), 0);
    QFile(folder.filePath("notes.txt")).open(QIODevice::WriteOnly);

    QStringList listed;
    QString previewSize;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->setDirectory(folder.path());
        dialog->selectNameFilter("JPEG (*.jpg)");
        QTest::qWait(300); // the file list is filled in the background
        auto* list = dialog->findChild<QAbstractItemView*>("listView");
        ASSERT_NE(list, nullptr);
        const QModelIndex root = list->rootIndex();
        for (int row = 0; row < list->model()->rowCount(root); ++row) {
            listed << list->model()->index(row, 0, root).data().toString();
        }
        list->setCurrentIndex(list->model()->index(0, 0, root)); // a click on the name
        previewSize = dialog->findChild<PicturePreview*>()->sizeText();
        dialog->reject();
    });
    QtDialogService dialogs;
    FileDialogOptions options;
    options.title = "Choose the Jpg or Bmp file";
    options.filter = "JPEG + BMP|*.jpg;*.bmp|JPEG (*.jpg)|*.jpg|BMP (*.bmp)|*.bmp|*.*|*.*";
    EXPECT_EQ(dialogs.openPictureFile(options), std::nullopt);
    EXPECT_EQ(listed, QStringList{"IMG_0001.JPG"});
    EXPECT_EQ(previewSize, "40 x 30");
}
