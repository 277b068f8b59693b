#include "PipelineFixture.h"
#include "QStringPrinter.h"
#include "imaging/bmp/TBitmap.h"
#include "support/ReferenceTool.h"
#include "ui/TBitBtn.h"
#include "ui/TImage.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <unistd.h>

namespace {

using Save = PipelineFixture;
using RotateOriginal = PipelineFixture;

QByteArray contents(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// The start-of-frame marker of a JPEG file: 0xC0 baseline, 0xC2 progressive.
int frameKind(const QByteArray& jpeg) {
    for (qsizetype at = 2; at + 4 <= jpeg.size();) {
        const auto marker = static_cast<unsigned char>(jpeg[at + 1]);
        if (marker >= 0xC0 && marker <= 0xC2) {
            return marker;
        }
        at += 2 + (static_cast<unsigned char>(jpeg[at + 2]) << 8) +
              static_cast<unsigned char>(jpeg[at + 3]);
    }
    return 0;
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

TEST_F(Save, TheSavedFileIsThePreviewsJpegDataAndOpensTheRotateWindow) {
    MainWindowProgram& program = start();
    const QString bmp = writeBmp("photo.bmp", 90, 70);
    load(bmp);
    recompressAt(45);
    ASSERT_TRUE(program.form1.BitBtn4->isEnabled());
    const QString target = path("saved.jpeg"); // typed with another extension: JPEG all the same
    program.dialogs.saveAnswers.push_back(target);
    program.form1.BitBtn4->click();
    const FileDialogOptions& asked = program.dialogs.saveRequests.at(0);
    EXPECT_EQ(asked.title, "Save the Jpg file as...");
    EXPECT_EQ(asked.filter, "*.jpg");
    EXPECT_EQ(asked.defaultExtension, "jpg");
    EXPECT_EQ(asked.fileName, "");
    EXPECT_TRUE(asked.overwritePrompt);
    const QString reference = path("reference.jpg");
    ASSERT_EQ(runReferenceTool({"cjpeg", "-dct", "float", "-baseline", "-quality", "45", "-outfile",
                                reference.toStdString(), bmp.toStdString()}),
              0);
    EXPECT_EQ(contents(target), contents(reference));
    EXPECT_EQ(frameKind(contents(target)), 0xC0);
    EXPECT_TRUE(program.form4.isVisible());
    EXPECT_EQ(program.form4.windowTitle(), target);
    // The window reads a ".jpeg" name as a bitmap, and says so.
    EXPECT_EQ(errorTexts(), QStringList{"Image bitmap incorrecte"});
    EXPECT_TRUE(program.form1.BitBtn4->isEnabled()); // saving again is allowed
    EXPECT_EQ(QFileInfo(target).permissions() & QFile::ReadOther, QFile::ReadOther);
}

TEST_F(Save, AProgressiveSourceGivesAProgressiveFileABaselineOneABaselineFile) {
    MainWindowProgram& program = start();
    const QString baseline = writeJpeg("baseline.jpg", 80, 60);
    const QString progressive = path("progressive.JPG");
    ASSERT_EQ(runReferenceTool({"jpegtran", "-progressive", "-outfile", progressive.toStdString(),
                                baseline.toStdString()}),
              0);
    for (const auto& [source, kind] : {std::pair{progressive, 0xC2}, std::pair{baseline, 0xC0}}) {
        load(source);
        recompressAt(60);
        const QString target = source + ".saved.jpg";
        program.dialogs.saveAnswers.push_back(target);
        program.form1.BitBtn4->click();
        EXPECT_EQ(frameKind(contents(target)), kind) << source.toStdString();
    }
    EXPECT_EQ(errorTexts(), QStringList());
}

TEST_F(Save, TheLoadedFileIsRefusedUnderEveryNameAndLeftUntouched) {
    MainWindowProgram& program = start();
    const QString bmp = writeBmp("photo.bmp", 40, 30);
    load(bmp);
    recompressAt(50);
    const QByteArray before = contents(bmp);
    QFile::link(bmp, path("link.bmp"));
    ASSERT_EQ(::link(bmp.toLocal8Bit().constData(), path("hard.bmp").toLocal8Bit().constData()), 0);
    QDir().mkpath(path("sub"));
    for (const QString& name :
         {bmp, path("link.bmp"), path("hard.bmp"), path("sub/../photo.bmp")}) {
        SCOPED_TRACE(name.toStdString());
        program.dialogs.boxes.clear();
        program.dialogs.saveAnswers.push_back(name);
        program.form1.BitBtn4->click();
        ASSERT_EQ(program.dialogs.boxes.size(), 1u);
        EXPECT_EQ(program.dialogs.boxes[0].kind, MessageBoxKind::Error);
        EXPECT_EQ(program.dialogs.boxes[0].text,
                  "Sorry, wisdom ask not to overwrite your original file.");
        EXPECT_EQ(contents(bmp), before);
        EXPECT_FALSE(program.form4.isVisible());
    }
    program.settings.Language = "F";
    program.dialogs.boxes.clear();
    program.dialogs.saveAnswers.push_back(bmp);
    program.form1.BitBtn4->click();
    EXPECT_EQ(errorTexts(),
              QStringList{QString::fromUtf8(
                  "Désolé, la sagesse impose de ne pas écraser son fichier original.")});
    EXPECT_EQ(program.dialogs.saveRequests.back().title, "Sauvegarder le fichier Jpg en...");
}

TEST_F(Save, CancelAndAnEmptyNameDoNothing) {
    MainWindowProgram& program = start();
    load(writeBmp("photo.bmp", 40, 30));
    recompressAt(50);
    const QStringList before = entries(folder_.path());
    program.form1.BitBtn4->click(); // no answer: cancelled
    program.dialogs.saveAnswers.push_back(QString());
    program.form1.BitBtn4->click();
    EXPECT_EQ(entries(folder_.path()), before);
    EXPECT_TRUE(program.dialogs.boxes.empty());
    EXPECT_FALSE(program.form4.isVisible());
}

TEST_F(Save, AFolderThatTakesNoFileShowsTheFileErrorAndLeavesNothing) {
    MainWindowProgram& program = start();
    load(writeBmp("photo.bmp", 40, 30));
    recompressAt(50);
    const QString target = path("no such folder/saved.jpg");
    program.dialogs.saveAnswers.push_back(target);
    program.form1.BitBtn4->click();
    EXPECT_EQ(errorTexts(),
              QStringList{QString::fromUtf8("Impossible de créer le fichier ") + target});
    EXPECT_FALSE(program.form4.isVisible());
    EXPECT_FALSE(program.form1.State.Busy);
}

TEST_F(Save, AnExistingFileIsReplacedWholeAndOkDisablesSavingUntilTheNextPreview) {
    MainWindowProgram& program = start();
    load(writeBmp("photo.bmp", 40, 30));
    recompressAt(50);
    const QString target = writeBmp("older.jpg", 10, 10);
    program.dialogs.saveAnswers.push_back(target);
    program.form1.BitBtn4->click();
    EXPECT_EQ(contents(target).left(2), QByteArray("\xFF\xD8"));
    EXPECT_EQ(entries(folder_.path()), QStringList({"older.jpg", "photo.bmp"}));
    program.form4.BitBtn2->click();
    EXPECT_FALSE(program.form4.isVisible());
    EXPECT_FALSE(program.form1.BitBtn4->isEnabled());
    recompressAt(30);
    EXPECT_TRUE(program.form1.BitBtn4->isEnabled());
}

TEST_F(RotateOriginal, ABitmapIsCopiedByteForByteUnderABitmapFilter) {
    MainWindowProgram& program = start();
    const QString bmp = writeBmp("photo.bmp", 40, 30);
    load(bmp);
    const QString target = path("copy.bmp");
    program.dialogs.saveAnswers.push_back(target);
    program.form1.BitBtn9->click();
    const FileDialogOptions& asked = program.dialogs.saveRequests.at(0);
    EXPECT_EQ(asked.title, "Save the new Bmp file as...");
    EXPECT_EQ(asked.filter, "Bitmaps (*.bmp)|*.bmp");
    EXPECT_EQ(asked.defaultExtension, "bmp");
    EXPECT_EQ(contents(target), contents(bmp));
    EXPECT_EQ(program.form4.windowTitle(), target);
    EXPECT_TRUE(program.form4.isVisible());
    EXPECT_EQ(program.form4.Image3->picture().width(), 40);
    EXPECT_TRUE(program.dialogs.boxes.empty());
}

TEST_F(RotateOriginal, AJpegCopiedUnderABitmapNameFailsInTheRotateWindow) {
    MainWindowProgram& program = start({1280, 800}, QString::fromUtf8("Français"));
    const QString jpeg = writeJpeg("photo.jpg", 40, 30);
    load(jpeg);
    const QString target = path("copy.bmp");
    program.dialogs.saveAnswers.push_back(target);
    program.form1.BitBtn9->click();
    EXPECT_EQ(program.dialogs.saveRequests.at(0).title, "Sauvegarder le nouveau fichier Jpg en...");
    EXPECT_EQ(program.dialogs.saveRequests.at(0).filter, "*.jpg");
    EXPECT_EQ(contents(target), contents(jpeg));
    EXPECT_EQ(errorTexts(), QStringList{"Image bitmap incorrecte"});
}

TEST_F(RotateOriginal, RefusalAndCopyErrorsHaveTheirOwnWords) {
    MainWindowProgram& program = start();
    const QString bmp = writeBmp("photo.bmp", 40, 30);
    load(bmp);
    program.dialogs.saveAnswers.push_back(bmp);
    program.form1.BitBtn9->click();
    EXPECT_EQ(errorTexts(), QStringList{"Sorry, wisdom asks not to overwrite your original file."});
    EXPECT_FALSE(program.form4.isVisible());

    program.dialogs.boxes.clear();
    const QString target = path("no such folder/copy.bmp");
    program.dialogs.saveAnswers.push_back(target);
    program.form1.BitBtn9->click();
    // The window opens on the name all the same, and cannot show what is not there.
    EXPECT_EQ(errorTexts(),
              QStringList({"Copy error", "Impossible d'ouvrir le fichier " + target}));
    EXPECT_EQ(program.dialogs.boxes[0].kind, MessageBoxKind::Plain);
    EXPECT_TRUE(program.form4.isVisible());
    program.settings.Language = "F";
    program.dialogs.boxes.clear();
    program.dialogs.saveAnswers.push_back(target);
    program.form1.BitBtn9->click();
    EXPECT_EQ(errorTexts().value(0), "Erreur de recopie");
}
