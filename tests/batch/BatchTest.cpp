#include "BatchProgram.h"
#include "QStringPrinter.h"
#include "batch/BatchPlan.h"
#include "batch/BatchRunner.h"
#include "core/TMemoryStream.h"
#include "imaging/bmp/TBitmap.h"
#include "platform/LocalFileOperations.h"
#include "recompress/PictureFileKind.h"
#include "recompress/PictureSaver.h"
#include "recompress/PreparedPicture.h"
#include "recompress/SaveEncoder.h"
#include "support/PhotoSamples.h"
#include "support/ReferenceTool.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace {

class Batch : public ::testing::Test {
protected:
    // A BMP of a smooth picture with detail, of `width` x `height` pixels.
    QString writeBmp(const QString& name, int width, int height) {
        TBitmap bitmap;
        bitmap.setPixelFormat(TPixelFormat::Bits24);
        bitmap.setSize(width, height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const int wave = (x * 7 + y * 3) % 64 + ((x / 5) ^ (y / 7)) % 32;
                bitmap.setPixel(x, y,
                                static_cast<std::uint32_t>((x * 255 / width) | wave << 8 |
                                                           (y * 255 / height) << 16));
            }
        }
        const QString file = path(name);
        QDir().mkpath(QFileInfo(file).path());
        bitmap.WriteToFile(file.toStdString());
        return file;
    }

    QString writeJpeg(const QString& name, int width, int height) {
        const QString bmp = writeBmp(name + ".source.bmp", width, height);
        const QString jpeg = path(name);
        EXPECT_EQ(runReferenceTool({"cjpeg", "-quality", "95", "-outfile", jpeg.toStdString(),
                                    bmp.toStdString()}),
                  0);
        QFile::remove(bmp);
        return jpeg;
    }

    QString path(const QString& name) const { return pictures_.filePath(name); }

    static QByteArray bytes(const QString& name) {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }

    QStringList everything() const {
        QStringList names;
        QDir root(pictures_.path());
        for (const QFileInfo& info : root.entryInfoList(
                 QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name)) {
            names << info.fileName();
        }
        return names;
    }

    BatchProgram trevano(QStringList arguments) const {
        arguments.prepend("--batch");
        return BatchProgram::run(arguments, streams_.path());
    }

    // In this process, as the program runs it, with the streams kept.
    int runHere(const BatchOptions& options, QString* out = nullptr, QString* err = nullptr,
                FileOperations* files = nullptr) {
        std::FILE* outFile = std::tmpfile();
        std::FILE* errFile = std::tmpfile();
        const int status = BatchRunner::run(options, files ? *files : files_, outFile, errFile);
        readBack(outFile, out);
        readBack(errFile, err);
        return status;
    }

    static void readBack(std::FILE* stream, QString* text) {
        if (text) {
            std::rewind(stream);
            QByteArray bytes(1 << 16, '\0');
            bytes.resize(static_cast<qsizetype>(std::fread(bytes.data(), 1, bytes.size(), stream)));
            *text = QString::fromUtf8(bytes);
        }
        std::fclose(stream);
    }

    BatchOptions optionsFor(const QStringList& inputs) const {
        BatchOptions options;
        options.inputs = inputs;
        options.jobs = 2;
        return options;
    }

    QTemporaryDir pictures_;
    QTemporaryDir streams_;
    LocalFileOperations files_;
};

// The machine's files, but a new file named "full..." is written to a full disk and one
// named "closed..." goes to a folder that takes no new file, as the system says them.
class StrainedDisk : public LocalFileOperations {
public:
    std::unique_ptr<ReplacementFile> createReplacement(const QString& target) override {
        if (QFileInfo(target).fileName().startsWith("full")) {
            return std::make_unique<FullDisk>();
        }
        if (QFileInfo(target).fileName().startsWith("closed")) {
            errno = EACCES;
            return nullptr;
        }
        return LocalFileOperations::createReplacement(target);
    }

private:
    struct FullDisk : ReplacementFile {
        QString writableName() const override { return "/dev/full"; }
        bool commit() override { return false; }
    };
};

} // namespace

TEST_F(Batch, UsageMistakesSayWhatIsWrongAndEndWithStatusTwo) {
    const QString picture = writeBmp("a.bmp", 16, 16);
    struct Row {
        QStringList arguments;
        QString message;
    };
    const Row rows[] = {
        {{"--quality", "101", picture}, "--quality takes a whole number from 0 to 100, not '101'."},
        {{"--quality", "high", picture},
         "--quality takes a whole number from 0 to 100, not 'high'."},
        {{"--max-size", "big", picture},
         "--max-size takes a size such as 200K or 1.5M, not 'big'."},
        {{"--min-ssim", "1.5", picture},
         "--min-ssim takes a similarity above 0 and at most 1, such as 0.95, not '1.5'."},
        {{"--quality", "50", "--max-size", "20K", picture},
         "Choose one of --quality, --max-size and --min-ssim."},
        {{"--jobs", "0", picture}, "--jobs takes a whole number from 1 to 256, not '0'."},
        {{"--max-side", "0", picture},
         "--max-side takes a whole number of pixels from 1 to 65535, such as 1920, not '0'."},
        {{"--max-side", "-800", picture},
         "--max-side takes a whole number of pixels from 1 to 65535, such as 1920, not '-800'."},
        {{"--max-side", "wide", picture},
         "--max-side takes a whole number of pixels from 1 to 65535, such as 1920, not 'wide'."},
        {{"--baseline", "--smallest", picture},
         "--baseline and --smallest are two codings: choose one."},
        {{"--frobnicate", picture}, "Unknown option 'frobnicate'."},
        {{}, "--batch needs at least one FILE or FOLDER."},
        {{pictures_.path()},
         "'" + pictures_.path() + "' is a folder: add --recursive to take the pictures in it."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        const BatchProgram program = trevano(row.arguments);
        EXPECT_EQ(program.status, 2);
        EXPECT_EQ(program.err,
                  "trevano: " + row.message + "\nTry 'trevano --help' for the options.\n");
        EXPECT_EQ(program.out, "");
    }
    const BatchProgram stray = BatchProgram::run({"--quality", "50", picture}, streams_.path());
    EXPECT_EQ(stray.status, 2);
    EXPECT_TRUE(stray.err.startsWith("trevano: --quality goes with --batch."))
        << stray.err.toStdString();
    EXPECT_EQ(everything(), QStringList{"a.bmp"});
}

TEST_F(Batch, TheSameQualityGivesTheBytesOfTheWindowsSave) {
    // A camera-like JPEG (colour profile, way up, details) and a BMP.
    const QString plain = writeJpeg("plain.jpg", 90, 70);
    const QString photo = path("photo.jpg");
    PhotoSamples::Exif exif;
    exif.orientation = 6;
    exif.gps = true;
    std::vector<PhotoSamples::Segment> segments{
        PhotoSamples::exifSegment(PhotoSamples::exifBlock(exif))};
    for (const auto& chunk : PhotoSamples::iccSegments(PhotoSamples::iccProfile("RGB ", 3000))) {
        segments.push_back(chunk);
    }
    const auto plainBytes = PhotoSamples::readFile(plain.toStdString());
    PhotoSamples::writeFile(photo.toStdString(), PhotoSamples::withSegments(plainBytes, segments));
    const QString bmp = writeBmp("drawing.bmp", 50, 30);
    // --baseline gives the window's default bytes, the batch's own coding those of the
    // window's "smaller file" choice, --smallest those of the smallest coding.
    for (const auto& [details, baseline, smallest] :
         {std::tuple(false, true, false), std::tuple(true, true, false),
          std::tuple(false, false, false), std::tuple(true, false, false),
          std::tuple(true, false, true)}) {
        SCOPED_TRACE(testing::Message() << "details " << details << ", baseline " << baseline
                                        << ", smallest " << smallest);
        BatchOptions options = optionsFor({photo, bmp});
        options.quality = 60;
        options.keepDetails = details;
        options.baseline = baseline;
        options.smallest = smallest;
        options.overwrite = true;
        ASSERT_EQ(runHere(options), BatchRunner::AllDone);
        for (const QString& input : {photo, bmp}) {
            // The window's save codes its scans straight from the pixels it keeps; the batch
            // lets them go first.
            const QString saved = path("saved.jpg");
            const RecompressOptions recompress{details, !baseline, smallest};
            PreparedPicture kept;
            kept.read(input, PictureFileKind::windowKind(input.right(4)), recompress, {});
            PictureSaver::save(files_, kept, 60, saved, recompress);
            const QString output = QFileInfo(input).path() + "/" +
                                   QFileInfo(input).completeBaseName() + "-recompressed.jpg";
            EXPECT_EQ(bytes(output), bytes(saved)) << output.toStdString();
        }
    }
}

TEST_F(Batch, SearchesGiveWhatTryingEveryQualityGives) {
    const QString picture = writeJpeg("search.jpg", 64, 48);
    std::vector<std::int64_t> sizes;
    {
        SaveEncoder encoder(picture, ".jpg", RecompressOptions{false, true});
        for (int quality = 0; quality <= 100; ++quality) {
            sizes.push_back(encoder.encode(quality).size());
        }
    }
    const std::int64_t limit = sizes[63];
    int expected = -1;
    for (int quality = 0; quality <= 100; ++quality) {
        if (sizes[quality] <= limit) {
            expected = quality;
        }
    }
    BatchOptions options = optionsFor({picture});
    options.aim = BatchOptions::Aim::MaxSize;
    options.maxBytes = limit;
    options.json = true;
    QString out;
    ASSERT_EQ(runHere(options, &out), BatchRunner::AllDone);
    QJsonObject result = QJsonDocument::fromJson(out.toUtf8()).object();
    EXPECT_EQ(result["quality"].toInt(), expected);
    EXPECT_EQ(result["bytes_after"].toInteger(), sizes[expected]);
    EXPECT_LE(result["encodes"].toInt(), 7);
    EXPECT_EQ(QFileInfo(path("search-recompressed.jpg")).size(), sizes[expected]);

    // The smallest quality whose similarity reaches the aim, checked on its neighbours.
    options.aim = BatchOptions::Aim::MinSimilarity;
    options.minSimilarity = 0.97;
    options.similarity = true;
    options.overwrite = true;
    ASSERT_EQ(runHere(options, &out), BatchRunner::AllDone);
    result = QJsonDocument::fromJson(out.toUtf8()).object();
    const int chosen = result["quality"].toInt();
    EXPECT_GE(result["ssim"].toDouble(), 0.97);
    EXPECT_LE(result["encodes"].toInt(), 7);
    for (const int neighbour : {chosen - 1, chosen}) {
        options.aim = BatchOptions::Aim::Quality;
        options.quality = neighbour;
        ASSERT_EQ(runHere(options, &out), BatchRunner::AllDone);
        const double similarity = QJsonDocument::fromJson(out.toUtf8()).object()["ssim"].toDouble();
        EXPECT_EQ(similarity >= 0.97, neighbour == chosen) << neighbour << " " << similarity;
    }
}

TEST_F(Batch, WhatCannotBeDoneIsReportedAndTheRestDone) {
    const QString good = writeBmp("good.bmp", 500, 400);
    QFile broken(path("broken.jpg"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture");
    broken.close();
    BatchProgram program = trevano({"--max-size", "1K", good});
    EXPECT_EQ(program.status, 1);
    EXPECT_TRUE(program.err.contains(good + ": failed: no quality fits in 1 KiB"))
        << program.err.toStdString();
    EXPECT_EQ(everything(), QStringList({"broken.jpg", "good.bmp"}));

    program = trevano({broken.fileName(), good, path("missing.bmp")});
    EXPECT_EQ(program.status, 1);
    EXPECT_TRUE(program.err.contains(broken.fileName() + ": failed: not a JPEG file"));
    EXPECT_TRUE(program.err.contains(path("missing.bmp") + ": failed: not found"));
    EXPECT_TRUE(program.out.contains(good + " -> " + path("good-recompressed.jpg") + ": "));
    EXPECT_TRUE(program.out.contains("3 of 3 pictures: 1 written, 2 failed"));
    EXPECT_EQ(everything(), QStringList({"broken.jpg", "good-recompressed.jpg", "good.bmp"}));
    // No size for a file that was never read nor made.
    program = trevano({"--json", broken.fileName()});
    EXPECT_EQ(QJsonDocument::fromJson(program.out.toUtf8()).object().keys(),
              QStringList({"encodes", "error", "input", "outcome", "output"}));
}

TEST_F(Batch, NoPictureGivenIsEverWrittenOverNorAnExistingFileWithoutOverwrite) {
    const QString a = writeJpeg("a.jpg", 32, 32);
    const QString b = writeJpeg("b.jpg", 32, 32);
    const QByteArray before = bytes(b);
    // Into the pictures' own folder, where a.jpg would become a.jpg; and a new file's name
    // that is a link to a picture given.
    QFile::link(b, path("a-recompressed.jpg"));
    BatchProgram program = trevano({"--overwrite", "--output", pictures_.path(), a});
    EXPECT_EQ(program.status, 1);
    EXPECT_TRUE(program.err.contains("is a picture given: it is never written over"));
    program = trevano({"--overwrite", a, b});
    EXPECT_EQ(program.status, 1);
    EXPECT_TRUE(program.err.contains(path("a-recompressed.jpg") + " is a picture given"));
    EXPECT_EQ(bytes(b), before);

    QFile::remove(path("a-recompressed.jpg"));
    ASSERT_EQ(trevano({a}).status, 0);
    const QByteArray first = bytes(path("a-recompressed.jpg"));
    program = trevano({"--quality", "20", a});
    EXPECT_EQ(program.status, 1);
    EXPECT_TRUE(program.err.contains("a-recompressed.jpg exists (--overwrite replaces it)"));
    EXPECT_EQ(bytes(path("a-recompressed.jpg")), first);
    EXPECT_EQ(trevano({"--quality", "20", "--overwrite", a}).status, 0);
    EXPECT_NE(bytes(path("a-recompressed.jpg")), first);
}

TEST_F(Batch, FoldersKeepTheirStructureUnderOutputAndOptionsChangeWhatIsWritten) {
    writeBmp("trip/day1/sea.bmp", 40, 30);
    writeJpeg("trip/day2/hill.JPEG", 40, 30);
    writeBmp("trip/.hidden/secret.bmp", 8, 8);
    QFile(path("trip/notes.txt")).open(QIODevice::WriteOnly);
    const QString out = path("out");
    BatchProgram program = trevano({"-r", "--dry-run", "--output", out, path("trip")});
    EXPECT_EQ(program.status, 0);
    EXPECT_TRUE(program.out.contains("2 of 2 pictures, nothing written (dry run)"));
    EXPECT_FALSE(QFileInfo::exists(out));

    program = trevano({"-r", "--json", "--output", out, path("trip")});
    EXPECT_EQ(program.status, 0);
    const QStringList lines = program.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    for (const QString& line : lines) {
        QJsonParseError error{};
        const QJsonObject object = QJsonDocument::fromJson(line.toUtf8(), &error).object();
        EXPECT_EQ(error.error, QJsonParseError::NoError);
        EXPECT_EQ(object["outcome"].toString(), "written");
        EXPECT_EQ(object["quality"].toInt(), 75);
    }
    EXPECT_TRUE(QFileInfo::exists(out + "/day1/sea.jpg"));
    EXPECT_TRUE(QFileInfo::exists(out + "/day2/hill.jpg"));

    // A picture already smaller than its new file is left alone.
    const QString small = writeJpeg("small.jpg", 16, 16);
    program = trevano({"--only-smaller", "--baseline", "--quality", "100", small});
    EXPECT_EQ(program.status, 0);
    EXPECT_TRUE(program.out.contains(small + ": not written, the new file would not be smaller"));
    EXPECT_FALSE(QFileInfo::exists(path("small-recompressed.jpg")));
}

TEST_F(Batch, AStopSignalEndsTheRunAtOnceAndLeavesNoPartialFile) {
    QStringList pictures;
    for (int i = 0; i < 6; ++i) {
        pictures << writeBmp(QString("big%1.bmp").arg(i), 2400, 1600);
    }
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        for (const QString& name : QDir(pictures_.path()).entryList({"*.jpg"})) {
            QFile::remove(path(name));
        }
        const pid_t pid = BatchProgram::start(
            QStringList{"--batch", "--jobs", "1", "--min-ssim", "0.999"} + pictures,
            streams_.path());
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        const auto asked = std::chrono::steady_clock::now();
        ::kill(pid, signal);
        const BatchProgram program = BatchProgram::finish(pid, streams_.path());
        EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::seconds(1));
        EXPECT_EQ(program.status, 128 + signal);
        EXPECT_TRUE(program.err.contains("; interrupted")) << program.err.toStdString();
        // Whatever was written is whole; nothing else is there.
        for (const QString& name : everything()) {
            EXPECT_FALSE(name.startsWith('.')) << name.toStdString();
            if (name.endsWith(".jpg")) {
                EXPECT_EQ(
                    runReferenceTool({"djpeg", "-outfile", "/dev/null", path(name).toStdString()}),
                    0);
            }
        }
    }
}

TEST_F(Batch, FoldersNamedRelativelyKeepTheStructureBelowThem) {
    writeBmp("trip/day1/sea.bmp", 8, 8);
    writeBmp("trip/top.bmp", 8, 8);
    const QString before = QDir::currentPath();
    QDir::setCurrent(pictures_.path());
    BatchOptions options = optionsFor({"trip", "trip/top.bmp"});
    options.recursive = true;
    options.outputFolder = "out";
    const auto plan = BatchPlan::make(options, files_);
    QDir::setCurrent(before);
    const auto& items = std::get<std::vector<BatchItem>>(plan);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].output, "out/day1/sea.jpg");
    EXPECT_EQ(items[1].output, "out/top.jpg");
    EXPECT_EQ(items[1].refusal, "");
    EXPECT_EQ(items[2].output, "out/top.jpg"); // named twice: one new file only
    EXPECT_EQ(items[2].refusal, "out/top.jpg is already the new file of trip/top.bmp");
}

TEST_F(Batch, ManyJobsUnderAPrivateUmaskLeaveNothingOpenToOthers) {
    for (int folder = 0; folder < 8; ++folder) {
        for (int picture = 0; picture < 6; ++picture) {
            writeBmp(QString("in/f%1/g%2/p%3.bmp").arg(folder).arg(picture % 2).arg(picture), 24,
                     16);
        }
    }
    BatchOptions options = optionsFor({path("in")});
    options.recursive = true;
    options.outputFolder = path("out");
    options.jobs = 16;
    const mode_t previous = ::umask(077);
    const int status = runHere(options);
    ::umask(previous);
    ASSERT_EQ(status, BatchRunner::AllDone);
    int files = 0;
    for (QDirIterator it(path("out"), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString name = it.next();
        struct stat status {};
        ASSERT_EQ(::stat(QFile::encodeName(name).constData(), &status), 0);
        const bool folder = S_ISDIR(status.st_mode);
        files += !folder;
        EXPECT_EQ(status.st_mode & 07777, folder ? 0700u : 0600u) << name.toStdString();
    }
    EXPECT_EQ(files, 48);
}

TEST_F(Batch, EachKindOfFailureIsSaidInPlainEnglishWithTheSystemsReason) {
    const auto write = [this](const QString& name, const QByteArray& bytes) {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    const QByteArray bmp = bytes(writeBmp("whole.bmp", 40, 30));
    struct Row {
        QString input;
        QString line;
    };
    const Row rows[] = {
        {write("notes.jpg", "This is a text file."),
         "failed: not a JPEG file (it starts like a text file)"},
        {write("drawing.jpg", "GIF89a" + QByteArray(10, char(1))),
         "failed: not a JPEG file (it starts like a GIF picture)"},
        {write("noise.jpg", QByteArray("\x01\x02\0\xff", 4)),
         "failed: not a JPEG file (its first bytes are 01 02, not FF D8)"},
        {write("empty.jpg", ""), "failed: empty input file"},
        {write("header.bmp", "GIF89a" + QByteArray(80, char(1))), "failed: not a valid BMP file"},
        {write("half.bmp", bmp.left(bmp.size() / 2)), "failed: unexpected end of file"},
        {write("full.bmp", bmp),
         "failed: cannot write " + path("full-recompressed.jpg") + ": No space left on device"},
        {write("closed.bmp", bmp),
         "failed: cannot write " + path("closed-recompressed.jpg") + ": Permission denied"},
    };
    StrainedDisk disk;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.input.toStdString());
        QString out;
        QString err;
        EXPECT_EQ(runHere(optionsFor({row.input}), &out, &err, &disk), BatchRunner::SomeFailed);
        EXPECT_EQ(err, row.input + ": " + row.line + "\n");
        EXPECT_TRUE(out.startsWith("1 of 1 pictures: 1 failed, nothing written in "))
            << out.toStdString();
    }
    EXPECT_EQ(everything().size(), 9); // the pictures alone

    // A file stands where the new file's folder would be made.
    write("blocked", "");
    BatchOptions options = optionsFor({path("whole.bmp")});
    options.outputFolder = path("blocked/deeper");
    QString err;
    EXPECT_EQ(runHere(options, nullptr, &err, &disk), BatchRunner::SomeFailed);
    EXPECT_EQ(err, path("whole.bmp") + ": failed: cannot make the folder " +
                       path("blocked/deeper") + ": Not a directory\n");
}

TEST_F(Batch, AMaxSideShrinksLargerPicturesOnlyAndTheirDetailsFollow) {
    const QString plain = writeJpeg("plain.jpg", 300, 200);
    PhotoSamples::Exif exif;
    exif.orientation = 6;
    exif.pixelWidth = 300;
    exif.pixelHeight = 200;
    exif.thumbnail = PhotoSamples::Bytes(200, 0xD7);
    const QString photo = path("photo.jpg");
    PhotoSamples::writeFile(
        photo.toStdString(),
        PhotoSamples::withSegments(PhotoSamples::readFile(plain.toStdString()),
                                   {PhotoSamples::exifSegment(PhotoSamples::exifBlock(exif))}));
    const QString small = writeBmp("small.bmp", 90, 60);
    const BatchProgram program =
        trevano({"--max-side", "150", "--keep-details", "--json", photo, small});
    ASSERT_EQ(program.status, 0) << program.err.toStdString();
    const QStringList lines = program.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    QHash<QString, QJsonObject> of;
    for (const QString& line : lines) {
        const QJsonObject object = QJsonDocument::fromJson(line.toUtf8()).object();
        of[object["input"].toString()] = object;
    }
    const QJsonObject shrunk = of[photo];
    EXPECT_EQ(shrunk["width"].toInt(), 150);
    EXPECT_EQ(shrunk["height"].toInt(), 100);
    EXPECT_TRUE(shrunk["shrunk"].toBool());
    const QJsonObject kept = of[small];
    EXPECT_EQ(kept["width"].toInt(), 90); // never enlarged
    EXPECT_FALSE(kept["shrunk"].toBool());
    const std::string output = path("photo-recompressed.jpg").toStdString();
    EXPECT_EQ(PhotoSamples::exifTag(output, "PixelXDimension"), "150");
    EXPECT_EQ(PhotoSamples::exifTag(output, "PixelYDimension"), "100");
    EXPECT_EQ(PhotoSamples::exifTag(output, "Orientation"), "6"); // of the stored pixels still
    EXPECT_EQ(PhotoSamples::exifTag(output, "thumbnail:JPEGInterchangeFormat"), "");

    const BatchProgram again = trevano({"--max-side", "150", "--overwrite", small});
    EXPECT_TRUE(again.out.contains(", 90 x 60 (already within --max-side, left at its size)"))
        << again.out.toStdString();
}
