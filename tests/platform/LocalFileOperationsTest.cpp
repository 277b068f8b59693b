#include "platform/LocalFileOperations.h"

#include "QStringPrinter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class Files : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes) {
        QFile file(folder_.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    static QByteArray read(const QString& name) {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }

    QStringList entries() const {
        return QDir(folder_.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    QTemporaryDir folder_;
    LocalFileOperations files_;
};

} // namespace

TEST_F(Files, SizesAreSixtyFourBitAndAFileThatDoesNotOpenHasNone) {
    QFile big(folder_.filePath("big.bmp"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(3LL << 30)); // sparse: takes no room on disk
    big.close();
    EXPECT_EQ(files_.fileSize(big.fileName()), 3LL << 30);
    EXPECT_EQ(files_.fileSize(folder_.filePath("missing.bmp")), std::nullopt);
    EXPECT_EQ(files_.fileSize(folder_.path()), std::nullopt); // a folder is no file
}

TEST_F(Files, TheSameFileUnderAnyNameButNotAnotherOne) {
    const QString original = write("photo.bmp", "original");
    const QString other = write("other.bmp", "original");
    QFile::link(original, folder_.filePath("link.bmp"));
    QDir().mkpath(folder_.filePath("sub"));
    EXPECT_TRUE(files_.sameFile(original, original));
    EXPECT_TRUE(files_.sameFile(folder_.filePath("link.bmp"), original));
    EXPECT_TRUE(files_.sameFile(folder_.filePath("sub/../photo.bmp"), original));
    EXPECT_FALSE(files_.sameFile(other, original));
    EXPECT_FALSE(files_.sameFile(folder_.filePath("new.bmp"), original));
    QFile::remove(original); // gone, but still named twice
    EXPECT_TRUE(files_.sameFile(folder_.filePath("sub/../photo.bmp"), original));
}

TEST_F(Files, ReplacementsAreUnseenUntilCommittedAndKeepTheTargetsPermissions) {
    const QString target = write("photo.jpg", "old");
    ::chmod(target.toLocal8Bit().constData(), 0640);
    {
        const std::unique_ptr<ReplacementFile> replacement = files_.createReplacement(target);
        ASSERT_TRUE(replacement);
        QFile file(replacement->writableName());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("new");
        file.close();
        EXPECT_EQ(entries(), QStringList{"photo.jpg"}); // written without a name
        EXPECT_EQ(read(target), "old");
        EXPECT_TRUE(replacement->commit());
    }
    EXPECT_EQ(read(target), "new");
    struct stat mode {};
    ASSERT_EQ(::stat(target.toLocal8Bit().constData(), &mode), 0);
    EXPECT_EQ(mode.st_mode & 0777, 0640u);
    EXPECT_EQ(entries(), QStringList{"photo.jpg"});

    // One given up goes without a trace; a new file gets the usual permissions.
    files_.createReplacement(target)->writableName();
    const QString fresh = folder_.filePath(QString(300, QChar(0xE9)).left(120) + ".jpg");
    const std::unique_ptr<ReplacementFile> named = files_.createReplacement(fresh);
    ASSERT_TRUE(named);
    EXPECT_TRUE(named->commit()); // a long name leaves room for the hidden one
    ASSERT_EQ(::stat(fresh.toLocal8Bit().constData(), &mode), 0);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(mode.st_mode & 0777, 0666u & ~mask);
    EXPECT_EQ(entries().size(), 2);
    EXPECT_FALSE(files_.createReplacement(folder_.filePath("no folder/x.jpg")));
}

TEST_F(Files, WorkFoldersBesideATargetAreHiddenAndNeverShared) {
    const QString target = write("photo.jpg", "picture");
    const std::optional<QString> first = files_.createFolderBeside(target);
    const std::optional<QString> second = files_.createFolderBeside(target);
    ASSERT_TRUE(first && second);
    EXPECT_NE(*first, *second);
    EXPECT_EQ(QFileInfo(*first).absolutePath(), QFileInfo(target).absolutePath());
    EXPECT_TRUE(QFileInfo(*first).fileName().startsWith('.'));
    EXPECT_TRUE(files_.removeFolder(*first));
    EXPECT_TRUE(files_.removeFolder(*second));
    EXPECT_EQ(
        QDir(folder_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList{"photo.jpg"});
    EXPECT_FALSE(files_.createFolderBeside(folder_.filePath("no folder/x.jpg")));
}

TEST_F(Files, OnlyRegularFilesAreMeasuredOrCopiedAndNothingWaitsOnAFifo) {
    const QString fifo = folder_.filePath("f.jpg");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    ::alarm(10); // waiting on the FIFO ends the test instead of hanging it
    EXPECT_EQ(files_.fileSize(fifo), std::nullopt);
    EXPECT_FALSE(files_.copy(fifo, folder_.filePath("copy.jpg")));
    ::alarm(0);
    EXPECT_FALSE(files_.exists(folder_.filePath("copy.jpg")));
}

TEST_F(Files, RenamingNewNeverReplacesAndCopiesAreWhole) {
    const QString first = write("tempo2_jpg.jpg", "rotated");
    const QString second = write("tempo3_jpg.jpg", "left over");
    EXPECT_FALSE(files_.renameNew(first, second));
    EXPECT_EQ(read(second), "left over");
    EXPECT_TRUE(files_.remove(second));
    EXPECT_FALSE(files_.remove(second));
    EXPECT_TRUE(files_.renameNew(first, second));
    EXPECT_FALSE(files_.exists(first));

    const QString copy = write("copy.jpg", "older");
    EXPECT_TRUE(files_.copy(second, copy));
    EXPECT_EQ(read(copy), "rotated");
    EXPECT_FALSE(files_.copy(folder_.filePath("missing.jpg"), copy));
    EXPECT_FALSE(files_.copy(second, folder_.filePath("no folder/copy.jpg")));
    EXPECT_EQ(read(copy), "rotated");
    EXPECT_EQ(entries(), QStringList({"copy.jpg", "tempo3_jpg.jpg"}));
}
