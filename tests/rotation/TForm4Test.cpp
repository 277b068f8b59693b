#include "rotation/TForm4.h"

#include "QStringPrinter.h"
#include "imaging/bmp/TBitmap.h"
#include "platform/FakeSettingsStore.h"
#include "platform/LocalFileOperations.h"
#include "platform/PosixProcessLauncher.h"
#include "platform/desktop/FakeScreenSize.h"
#include "recompress/PictureSaver.h"
#include "settings/Settings.h"
#include "support/ReferenceTool.h"
#include "ui/ScriptedDialogService.h"
#include "ui/TBitBtn.h"
#include "ui/TImage.h"
#include "ui/TProgressBar.h"

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The machine's files, with a folder that can be made to take no new file nor folder.
class LocalFilesThatCanRefuse : public LocalFileOperations {
public:
    bool refuseNewFiles = false;

    std::unique_ptr<ReplacementFile> createReplacement(const QString& target) override {
        return refuseNewFiles ? nullptr : LocalFileOperations::createReplacement(target);
    }
    std::optional<QString> createFolderBeside(const QString& target) override {
        return refuseNewFiles ? std::nullopt : LocalFileOperations::createFolderBeside(target);
    }
};

// What a process ended by: the signal that killed it, or -1 when it ended by itself. `work`
// runs in a child process whose files stop growing past `bytes`: the kernel then kills it
// in the middle of its write, as a crash or a kill would.
int runKilledMidWrite(qint64 bytes, const std::function<void()>& work) {
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        const rlimit size{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
        ::setrlimit(RLIMIT_FSIZE, &size);
        try {
            work();
        } catch (...) {
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFSIGNALED(status) ? WTERMSIG(status) : -1;
}

QByteArray contents(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

class RotateWindow : public ::testing::Test {
protected:
    RotateWindow() {
        store_.values = {{"Language", "English"}, {"Path", path_}};
        settings_.load();
        QDir().mkpath(path_);
        QDir().mkpath(pictures_);
        QFile::link(COMPANION_JPEGTRAN, path_ + "jpegtran");
    }

    // A JPEG file from the reference encoder, of a picture with detail everywhere.
    QString writeJpeg(const QString& name, int width, int height) {
        const QString bmp = writeBmp(name + ".bmp", width, height);
        const QString jpeg = pictures_ + name;
        EXPECT_EQ(runReferenceTool({"cjpeg", "-outfile", jpeg.toStdString(), bmp.toStdString()}),
                  0);
        QFile::remove(bmp);
        return jpeg;
    }

    QString writeBmp(const QString& name, int width, int height) {
        TBitmap bitmap;
        bitmap.setPixelFormat(TPixelFormat::Bits24);
        bitmap.setSize(width, height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                bitmap.setPixel(x, y,
                                static_cast<std::uint32_t>(x * 5 + y * 7 * 256 + (x ^ y) * 65536));
            }
        }
        const QString file = pictures_ + name;
        bitmap.WriteToFile(file.toStdString());
        return file;
    }

    // What the system tool makes of `file` with these options.
    QByteArray reference(const QString& file, bool trim = false) {
        const QString out = folder_.filePath("reference.jpg");
        std::vector<std::string> command{"/usr/bin/jpegtran", "-rotate", "90"};
        if (trim) {
            command.push_back("-trim");
        }
        command.insert(command.end(), {"-outfile", out.toStdString(), file.toStdString()});
        EXPECT_EQ(runReferenceTool(command), 0);
        return contents(out);
    }

    QByteArray decoded(const QString& jpeg) {
        const QString out = folder_.filePath("decoded.ppm");
        EXPECT_EQ(runReferenceTool({"djpeg", "-outfile", out.toStdString(), jpeg.toStdString()}),
                  0);
        return contents(out);
    }

    QStringList boxTexts() const {
        QStringList texts;
        for (const auto& box : dialogs_.boxes) {
            texts << box.text;
        }
        return texts;
    }

    // Anything hidden beside the pictures, or left in the installation folder.
    bool workFilesLeft() const {
        const auto filter = QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot;
        const QStringList beside = QDir(pictures_).entryList(filter);
        return std::any_of(beside.begin(), beside.end(),
                           [](const QString& name) { return name.startsWith('.'); }) ||
               QDir(path_).entryList(filter) != QStringList{"jpegtran"};
    }

    // A stand-in for the rotation tool.
    void replaceToolWith(const QByteArray& script) {
        QFile::remove(path_ + "jpegtran");
        QFile tool(path_ + "jpegtran");
        ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
        tool.write("#!/bin/sh\n" + script + "\n");
        tool.close();
        tool.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QTemporaryDir folder_;
    const QString path_ = folder_.filePath("install dir") + "/";
    const QString pictures_ = folder_.filePath("my pictures") + "/";
    FakeSettingsStore store_;
    Settings settings_{store_, "/unused/"};
    ScriptedDialogService dialogs_;
    FakeScreenSize screen_{{1280, 800}};
    PosixProcessLauncher processes_;
    LocalFilesThatCanRefuse files_;
    TForm4 form_{settings_, {dialogs_, screen_, processes_, files_}};
};

} // namespace

TEST_F(RotateWindow, LaidOutAsDesignedAndHiddenAtStart) {
    EXPECT_FALSE(form_.isVisible());
    EXPECT_EQ(form_.size(), QSize(765, 547));
    EXPECT_EQ(form_.windowTitle(), "Trevano");
    EXPECT_TRUE(form_.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(form_.Image3->geometry(), QRect(6, 6, 658, 535));
    EXPECT_TRUE(form_.Image3->stretch() && form_.Image3->proportional());
    EXPECT_EQ(form_.Bevel1->geometry(), QRect(672, 6, 2, 535));
    EXPECT_EQ(form_.ProgressBar1->geometry(), QRect(684, 6, 67, 451));
    EXPECT_EQ(form_.ProgressBar1->orientation(), Qt::Vertical);
    EXPECT_EQ(form_.CheckBox1->geometry(), QRect(684, 463, 70, 17));
    EXPECT_EQ(form_.CheckBox1->text(), "Trim jpeg");
    EXPECT_EQ(form_.BitBtn1->geometry(), QRect(684, 486, 70, 25));
    EXPECT_EQ(form_.BitBtn1->text(), "0");
    EXPECT_EQ(form_.BitBtn2->geometry(), QRect(684, 516, 73, 25));
    EXPECT_EQ(form_.BitBtn2->text(), "OK");
}

TEST_F(RotateWindow, ShowingCentresSetsTheHintsAndShowsTheFile) {
    const QString jpeg = writeJpeg("photo.jpg", 64, 48);
    form_.open(jpeg);
    EXPECT_EQ(form_.windowTitle(), jpeg);
    const QSize outer = form_.frameGeometry().size();
    EXPECT_EQ(form_.frameGeometry().topLeft(),
              QPoint((1280 - outer.width()) / 2, (800 - outer.height()) / 2));
    EXPECT_EQ(form_.CheckBox1->toolTip(), "Crop image if needed (not lossless)");
    EXPECT_EQ(form_.BitBtn1->toolTip(), QString::fromUtf8("Rotate current image by steps of 90°"));
    EXPECT_EQ(form_.BitBtn2->toolTip(), "Save current image");
    EXPECT_TRUE(form_.CheckBox1->isVisible());
    EXPECT_EQ(form_.Image3->picture().width(), 64);

    form_.CheckBox1->setChecked(true);
    form_.BitBtn2->click();
    settings_.Language = QString::fromUtf8("Français");
    form_.open(writeBmp("picture.bmp", 30, 20));
    EXPECT_FALSE(form_.CheckBox1->isVisible());
    EXPECT_FALSE(form_.CheckBox1->isChecked());
    EXPECT_EQ(form_.CheckBox1->toolTip(), "Retailler l'image si necessaire");
    EXPECT_EQ(form_.BitBtn1->toolTip(),
              QString::fromUtf8("Faire tourner l'image actuelle par pas de 90°"));
    EXPECT_EQ(form_.BitBtn2->toolTip(), "Sauvegarder l'image actuelle");
    EXPECT_EQ(form_.Image3->picture().width(), 30);
    EXPECT_TRUE(dialogs_.boxes.empty());
}

TEST_F(RotateWindow, OneTurnGivesTheSystemToolsBytesAndFourGiveThePictureBack) {
    const QString jpeg = writeJpeg("a photo.jpg", 64, 48);
    const QByteArray first = decoded(jpeg);
    const QByteArray expected = reference(jpeg);
    form_.open(jpeg);
    form_.BitBtn1->click();
    EXPECT_EQ(form_.BitBtn1->text(), "90");
    EXPECT_EQ(contents(jpeg), expected);
    EXPECT_EQ(form_.Image3->picture().width(), 48);
    EXPECT_EQ(form_.ProgressBar1->barColor(), QColor(255, 0, 0));
    EXPECT_FALSE(form_.ProgressBar1->isVisible());
    for (const char* caption : {"180", "270", "0"}) {
        form_.BitBtn1->click();
        EXPECT_EQ(form_.BitBtn1->text(), caption);
    }
    EXPECT_EQ(decoded(jpeg), first);
    EXPECT_FALSE(workFilesLeft());
    EXPECT_TRUE(dialogs_.boxes.empty());
}

TEST_F(RotateWindow, TrimDropsTheEdgeBlocksAsTheSystemToolDoes) {
    const QString jpeg = writeJpeg("odd.JPG", 100, 75);
    const QByteArray expected = reference(jpeg, true);
    form_.open(jpeg);
    form_.CheckBox1->setChecked(true);
    form_.BitBtn1->click();
    EXPECT_EQ(contents(jpeg), expected);
    EXPECT_EQ(form_.Image3->picture().width(), 64); // 75 trimmed to whole 16-pixel blocks
}

TEST_F(RotateWindow, AMissingToolIsError1017AndTheFileStaysAsItWas) {
    const QString jpeg = writeJpeg("photo.jpg", 64, 48);
    const QByteArray before = contents(jpeg);
    QFile::remove(path_ + "jpegtran");
    form_.open(jpeg);
    form_.BitBtn1->click();
    ASSERT_EQ(dialogs_.boxes.size(), 1u);
    EXPECT_EQ(dialogs_.boxes[0].kind, MessageBoxKind::Error);
    EXPECT_EQ(dialogs_.boxes[0].text, QString::fromUtf8("Error n° 1017"));
    EXPECT_EQ(form_.BitBtn1->text(), "90"); // the angle has moved all the same
    EXPECT_EQ(contents(jpeg), before);
}

TEST_F(RotateWindow, AToolThatFailsIsReportedAtOnceAndTheFileStaysAsItWas) {
    const QString jpeg = writeJpeg("photo.jpg", 64, 48);
    const QByteArray before = contents(jpeg);
    for (const QByteArray& script : {QByteArray("exit 1"),
                                     // a result that is no JPEG picture never replaces one
                                     QByteArray("echo broken > \"$4\"")}) {
        SCOPED_TRACE(script.toStdString());
        replaceToolWith(script);
        dialogs_.boxes.clear();
        form_.open(jpeg);
        QElapsedTimer clock;
        clock.start();
        form_.BitBtn1->click();
        EXPECT_LT(clock.elapsed(), 2000);
        ASSERT_EQ(dialogs_.boxes.size(), 1u);
        EXPECT_EQ(dialogs_.boxes[0].kind, MessageBoxKind::Plain);
        EXPECT_EQ(dialogs_.boxes[0].text, "Rotation fail");
        EXPECT_EQ(contents(jpeg), before);
        EXPECT_FALSE(workFilesLeft());
        EXPECT_FALSE(form_.rotating());
    }
    settings_.Language = "F";
    dialogs_.boxes.clear();
    form_.BitBtn1->click();
    EXPECT_EQ(boxTexts(), QStringList{"Erreur durant la rotation"});
}

TEST_F(RotateWindow, ASlowToolStillCompletesAndLeftoversDoNotBlockIt) {
    const QString jpeg = writeJpeg("photo.jpg", 64, 48);
    const QByteArray expected = reference(jpeg);
    replaceToolWith("sleep 1.2; exec '" COMPANION_JPEGTRAN "' \"$@\"");
    // Files of the work files' names, in the installation folder and beside the picture, are
    // someone else's: the turn neither stops at them nor touches them.
    for (const QString& folder : {path_, pictures_}) {
        QFile leftover(folder + "tempo3_jpg.jpg");
        ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
        leftover.write("someone's");
    }
    form_.open(jpeg);
    int ignored = 0;
    // Clicks while the tool works are ignored: one turn at a time, and OK waits for it.
    QTimer::singleShot(300, [&] {
        form_.BitBtn1->click();
        form_.BitBtn2->click();
        ignored = form_.isVisible() && form_.BitBtn1->text() == "90" ? 2 : 0;
    });
    form_.BitBtn1->click();
    EXPECT_EQ(ignored, 2);
    EXPECT_EQ(contents(jpeg), expected);
    EXPECT_EQ(boxTexts(), QStringList());
    EXPECT_EQ(contents(pictures_ + "tempo3_jpg.jpg"), "someone's");
    EXPECT_EQ(contents(path_ + "tempo3_jpg.jpg"), "someone's");
}

TEST_F(RotateWindow, NamesWithQuotesBlanksAndAccentsReachTheToolWhole) {
    const QString folder = pictures_ + "dir \"q\" été/";
    QDir().mkpath(folder);
    const QString jpeg = folder + QString::fromUtf8("photo \"x\" ça.jpg");
    QFile::rename(writeJpeg("plain.jpg", 64, 48), jpeg);
    const QByteArray expected = reference(jpeg);
    form_.open(jpeg);
    form_.BitBtn1->click();
    EXPECT_EQ(boxTexts(), QStringList());
    EXPECT_EQ(contents(jpeg), expected);
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QFileInfo(jpeg).fileName()});
    EXPECT_EQ(QDir(pictures_).entryList(QDir::Files | QDir::Hidden), QStringList());
}

TEST_F(RotateWindow, AFolderThatTakesNoWorkFilesOrAFifoFailsAtOnceAndNothingChanges) {
    const QString jpeg = writeJpeg("photo.jpg", 64, 48);
    const QByteArray before = contents(jpeg);
    form_.open(jpeg);
    files_.refuseNewFiles = true;
    form_.BitBtn1->click();
    EXPECT_EQ(boxTexts(), QStringList{"Rotation fail"});
    EXPECT_EQ(contents(jpeg), before);

    files_.refuseNewFiles = false;
    dialogs_.boxes.clear();
    const QString fifo = pictures_ + "f.jpg";
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    ::alarm(10); // waiting on the FIFO ends the test instead of hanging it
    form_.open(fifo);
    QElapsedTimer clock;
    clock.start();
    form_.BitBtn1->click();
    ::alarm(0);
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_EQ(boxTexts(), QStringList{"Rotation fail"});
    EXPECT_FALSE(workFilesLeft());
}

TEST_F(RotateWindow, ABitmapTurnsPixelByPixelIntoA32BitFile) {
    const QString bmp = writeBmp("wide picture.bmp", 7, 3);
    TBitmap before;
    before.ReadFromFile(bmp.toStdString());
    form_.open(bmp);
    form_.BitBtn1->click();
    EXPECT_EQ(form_.ProgressBar1->barColor(), QColor(0, 255, 0));
    EXPECT_FALSE(form_.ProgressBar1->isVisible());
    EXPECT_EQ(QFileInfo(bmp).size(), 54 + 4 * 7 * 3);
    TBitmap after;
    after.ReadFromFile(bmp.toStdString());
    ASSERT_EQ(after.width(), 3);
    ASSERT_EQ(after.height(), 7);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 7; ++x) {
            EXPECT_EQ(after.pixel(2 - y, x), before.pixel(x, y)) << x << "," << y;
        }
    }
    EXPECT_EQ(after.pixel(2, 0), before.pixel(0, 0)); // top-left ends top-right
    EXPECT_EQ(form_.Image3->picture().width(), 3);
    EXPECT_TRUE(dialogs_.boxes.empty());
    EXPECT_EQ(QDir(pictures_).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(RotateWindow, ASaveOrABitmapTurnKilledMidWriteLeavesTheOldFileAndNothingElse) {
    const QString bmp = writeBmp("photo.bmp", 300, 200);
    const QByteArray picture = contents(bmp);
    const QString saved = writeJpeg("saved.jpg", 64, 48);
    const QByteArray older = contents(saved);
    form_.open(bmp);
    EXPECT_EQ(runKilledMidWrite(picture.size() / 2, [this] { form_.BitBtn1->click(); }), SIGXFSZ);
    EXPECT_EQ(runKilledMidWrite(older.size() / 2,
                                [&] { PictureSaver::save(files_, bmp, ".bmp", 90, saved); }),
              SIGXFSZ);
    EXPECT_EQ(contents(bmp), picture);
    EXPECT_EQ(contents(saved), older);
    EXPECT_EQ(QDir(pictures_).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList({"photo.bmp", "saved.jpg"}));
}

TEST_F(RotateWindow, ABitmapThatCannotBeWrittenStaysInPlaceAndTheErrorIsShown) {
    const QString bmp = writeBmp("photo.bmp", 7, 3);
    const QByteArray before = contents(bmp);
    form_.open(bmp);
    files_.refuseNewFiles = true;
    form_.BitBtn1->click();
    EXPECT_EQ(boxTexts(), QStringList{QString::fromUtf8("Impossible de créer le fichier ") + bmp});
    EXPECT_EQ(contents(bmp), before);
    EXPECT_FALSE(form_.ProgressBar1->isVisible());
    EXPECT_EQ(QDir(pictures_).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(RotateWindow, AJpegUnderAnotherExtensionIsReadAsABitmapAndFails) {
    const QString jpeg = writeJpeg("photo.jpg", 64, 48);
    const QString renamed = pictures_ + "photo.jpeg";
    QFile::rename(jpeg, renamed);
    form_.open(renamed);
    EXPECT_TRUE(form_.isVisible()); // shown all the same
    EXPECT_EQ(boxTexts(), QStringList{"Image bitmap incorrecte"});
    form_.BitBtn1->click();
    EXPECT_EQ(boxTexts(), QStringList({"Image bitmap incorrecte", "Image bitmap incorrecte"}));
}

TEST_F(RotateWindow, OkTellsTheMainWindowAndHidesAndANewFileWhileShownOnlyChangesTheCaption) {
    const QString first = writeJpeg("first.jpg", 64, 48);
    form_.open(first);
    form_.BitBtn1->click();
    form_.open(writeJpeg("second.jpg", 32, 16));
    EXPECT_EQ(form_.BitBtn1->text(), "90");         // no new showing
    EXPECT_EQ(form_.Image3->picture().width(), 48); // still the first, turned
    int told = 0;
    QObject::connect(&form_, &TForm4::okClicked, [&told] { ++told; });
    form_.close();
    EXPECT_EQ(told, 0);
    form_.show();
    form_.BitBtn2->click();
    EXPECT_EQ(told, 1);
    EXPECT_FALSE(form_.isVisible());
}
