#include "ui/DecodedSource.h"

#include "core/Exception.h"
#include "core/TMemoryStream.h"
#include "imaging/TJPEGData.h"
#include "imaging/TJPEGImage.h"
#include "platform/LocalFileOperations.h"
#include "support/ReferenceTool.h"

#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class KeptSource : public ::testing::Test {
protected:
    KeptSource() {
        TBitmap bitmap;
        bitmap.setPixelFormat(TPixelFormat::Bits24);
        bitmap.setSize(48, 32);
        for (int x = 0; x < 48; ++x) {
            bitmap.setPixel(x, x % 32, 0x3366CC);
        }
        bitmap.WriteToFile(bmp_.toStdString());
        EXPECT_EQ(runReferenceTool({"cjpeg", "-progressive", "-outfile", jpeg_.toStdString(),
                                    bmp_.toStdString()}),
                  0);
    }

    // Other bytes of the same length, with the file's inode and last change kept or moved.
    void overwriteKeepingIdentity(const QString& file, long nanosecondsLater) {
        struct stat before {};
        ::stat(file.toLocal8Bit().constData(), &before);
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::ReadWrite));
        out.write(QByteArray(static_cast<int>(out.size()), 'x'));
        out.close();
        timespec times[2] = {before.st_atim, before.st_mtim};
        times[1].tv_nsec = (times[1].tv_nsec + nanosecondsLater) % 1000000000;
        ::utimensat(AT_FDCWD, file.toLocal8Bit().constData(), times, 0);
    }

    std::vector<std::uint8_t> encoded(DecodedSource& source, const QString& file,
                                      const QString& extension) {
        TJPEGImage jpeg;
        source.decodeInto(files_, file, extension, jpeg);
        jpeg.setQuality(60);
        jpeg.Encode();
        TMemoryStream& bytes = *jpeg.data().Bytes;
        return {bytes.memory(), bytes.memory() + bytes.size()};
    }

    QTemporaryDir folder_;
    const QString bmp_ = folder_.filePath("photo.bmp");
    const QString jpeg_ = folder_.filePath("photo.jpg");
    LocalFileOperations files_;
};

} // namespace

TEST_F(KeptSource, AnUnchangedFileIsNotReadAgainAndEncodesAsTheFileWould) {
    for (const QString& file : {bmp_, jpeg_}) {
        SCOPED_TRACE(file.toStdString());
        const QString extension = file.right(4);
        DecodedSource fresh;
        DecodedSource kept;
        const auto first = encoded(kept, file, extension);
        EXPECT_EQ(first, encoded(fresh, file, extension));
        overwriteKeepingIdentity(file, 0); // the same file, size and time: taken as unchanged
        EXPECT_EQ(encoded(kept, file, extension), first);
    }
}

TEST_F(KeptSource, AnyChangeOfTheFileReadsItAgain) {
    DecodedSource kept;
    encoded(kept, jpeg_, ".jpg");
    overwriteKeepingIdentity(jpeg_, 1); // a nanosecond later
    EXPECT_THROW(encoded(kept, jpeg_, ".jpg"), Exception);
    QFile::remove(bmp_);
    DecodedSource gone;
    EXPECT_THROW(encoded(gone, bmp_, ".bmp"), Exception);
}
