#include "recompress/PreparedPicture.h"

#include "core/Exception.h"
#include "core/TMemoryStream.h"
#include "imaging/jpeg/TJPEGData.h"
#include "imaging/jpeg/TJPEGDefaults.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "platform/LocalFileOperations.h"
#include "recompress/PictureFileKind.h"
#include "support/ReferenceTool.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// The machine's files, with a file's identity frozen as first seen: a rewrite goes unseen.
class FrozenIdentities : public LocalFileOperations {
public:
    std::optional<FileIdentity> identity(const QString& path) override {
        if (!frozen_.contains(path)) {
            frozen_[path] = LocalFileOperations::identity(path);
        }
        return frozen_[path];
    }

private:
    QHash<QString, std::optional<FileIdentity>> frozen_;
};

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

    // Other bytes of the same length in the same file, its modification time put back as
    // it was, or moved on by some nanoseconds.
    static void overwriteKeepingTime(const QString& file, const QByteArray& bytes,
                                     long nanosecondsLater = 0) {
        struct stat before {};
        ::stat(file.toLocal8Bit().constData(), &before);
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::ReadWrite));
        ASSERT_EQ(bytes.size(), out.size());
        out.write(bytes);
        out.close();
        timespec times[2] = {before.st_atim, before.st_mtim};
        times[1].tv_nsec = (times[1].tv_nsec + nanosecondsLater) % 1000000000;
        ::utimensat(AT_FDCWD, file.toLocal8Bit().constData(), times, 0);
    }

    static QByteArray garbageAsLongAs(const QString& file) {
        return QByteArray(static_cast<int>(QFileInfo(file).size()), 'x');
    }

    std::vector<std::uint8_t> encoded(PreparedPicture& source, const QString& file,
                                      const QString& extension) {
        return encodedWith(files_, source, file, extension);
    }

    static std::vector<std::uint8_t> encodedWith(FileOperations& files, PreparedPicture& source,
                                                 const QString& file, const QString& extension) {
        TJPEGImage jpeg;
        source.prepare(files, file, PictureFileKind::windowKind(extension), {});
        source.readyToEncode(jpeg, {});
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
        PreparedPicture fresh;
        PreparedPicture kept;
        FrozenIdentities frozen;
        const auto first = encodedWith(frozen, kept, file, extension);
        EXPECT_EQ(first, encoded(fresh, file, extension));
        overwriteKeepingTime(file, garbageAsLongAs(file)); // unseen: taken as unchanged
        EXPECT_EQ(encodedWith(frozen, kept, file, extension), first);
    }
}

TEST_F(KeptSource, AnyChangeOfTheFileReadsItAgain) {
    PreparedPicture kept;
    encoded(kept, jpeg_, ".jpg");
    overwriteKeepingTime(jpeg_, garbageAsLongAs(jpeg_), 1); // a nanosecond later
    EXPECT_THROW(encoded(kept, jpeg_, ".jpg"), Exception);

    // Another picture of the same size, its modification time put back as copy tools do:
    // the change time, which cannot be put back, tells.
    const auto before = encoded(kept, bmp_, ".bmp");
    TBitmap other;
    other.setPixelFormat(TPixelFormat::Bits24);
    other.setSize(48, 32);
    const QString otherFile = folder_.filePath("other.bmp");
    other.WriteToFile(otherFile.toStdString());
    QFile otherBytes(otherFile);
    ASSERT_TRUE(otherBytes.open(QIODevice::ReadOnly));
    overwriteKeepingTime(bmp_, otherBytes.readAll());
    PreparedPicture fresh;
    const auto after = encoded(kept, bmp_, ".bmp");
    EXPECT_EQ(after, encoded(fresh, otherFile, ".bmp"));
    EXPECT_NE(after, before);
    QFile::remove(bmp_);
    PreparedPicture gone;
    EXPECT_THROW(encoded(gone, bmp_, ".bmp"), Exception);
}

TEST_F(KeptSource, TheProgramsDecodeDefaultsChangeNoNewFile) {
    // What a window's start-up sets for a palette screen, and more, must reach no new file.
    TJPEGDefaults& defaults = TJPEGDefaults::current();
    const TJPEGDefaults kept = defaults;
    for (const QString& file : {jpeg_, bmp_}) {
        SCOPED_TRACE(file.toStdString());
        for (const int side : {0, 20}) {
            PreparedPicture before;
            before.read(file, PictureFileKind::windowKind(file.right(4)),
                        {false, false, false, side});
            TJPEGImage first;
            before.readyToEncode(first, {});
            first.setQuality(60);
            first.Encode();
            defaults.DecodeDepth = TJPEGDecodeDepth::Depth8;
            defaults.GrayMode = true;
            defaults.DecodeScale = TJPEGDecodeScale::Half;
            defaults.DecodeSpeed = TJPEGDecodeSpeed::Fast;
            PreparedPicture after;
            after.read(file, PictureFileKind::windowKind(file.right(4)),
                       {false, false, false, side});
            TJPEGImage second;
            after.readyToEncode(second, {});
            second.setQuality(60);
            second.Encode();
            defaults = kept;
            EXPECT_EQ(after.pixels().width(), side ? 20 : 48);
            EXPECT_EQ(first.data().Bytes->size(), second.data().Bytes->size());
            EXPECT_EQ(0, std::memcmp(first.data().Bytes->memory(), second.data().Bytes->memory(),
                                     static_cast<std::size_t>(first.data().Bytes->size())));
        }
    }
}
