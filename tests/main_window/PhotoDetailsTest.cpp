// Camera photos saved from the main window: their colour profile and way up go along, their
// details (EXIF, XMP) only through the slider menu's item, and the size readout counts them.
#include "PipelineFixture.h"
#include "QStringPrinter.h"
#include "main_window/Readouts.h"
#include "support/PhotoSamples.h"
#include "support/ReferenceTool.h"
#include "ui/TBitBtn.h"
#include "ui/TLabel.h"
#include "ui/TTrackBar.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QTest>

namespace {

using namespace PhotoSamples;

class PhotoDetails : public PipelineFixture {
protected:
    // A JPEG from the reference encoder with `segments` spliced in after its JFIF segment.
    QString cameraJpeg(const QString& name, const std::vector<Segment>& segments, int width = 120,
                       int height = 90) {
        const QString plain = writeJpeg(name + ".plain.jpg", width, height);
        writeFile(path(name).toStdString(), withSegments(readFile(plain.toStdString()), segments));
        return path(name);
    }

    // The segments of a photo from a phone held upright: a profile, orientation 6, a place, a
    // thumbnail and an XMP packet.
    std::vector<Segment> phoneSegments(const Bytes& profile) {
        const Bytes thumbnail = readFile(writeJpeg("thumbnail.jpg", 16, 12).toStdString());
        std::vector<Segment> segments{
            exifSegment(exifBlock({false, 6, 4032, 3024, true, thumbnail})),
            xmpSegment(xmpPacket(6))};
        for (const Segment& chunk : iccSegments(profile)) {
            segments.push_back(chunk);
        }
        return segments;
    }

    Bytes saveAs(const QString& name) {
        program_->dialogs.saveAnswers.push_back(path(name));
        program_->form1.BitBtn4->click();
        return readFile(path(name).toStdString());
    }

    std::string tag(const QString& name, const std::string& tag) {
        return exifTag(path(name).toStdString(), tag);
    }

    QAction* detailsItem() {
        TForm1& form = program_->form1;
        if (QMenu* old = form.findChild<QMenu*>("TrackBar1Menu")) {
            delete old;
        }
        emit form.TrackBar1->customContextMenuRequested(QPoint(200, 14));
        auto* menu = form.findChild<QMenu*>("TrackBar1Menu");
        return menu ? menu->findChild<QAction*>("KeepDetailsItem") : nullptr;
    }

    // The readout shows the size of the file the save would write, to the byte.
    void expectReadoutOf(const Bytes& saved) {
        TForm1& form = program_->form1;
        EXPECT_EQ(form.previewBytes(), static_cast<qint64>(saved.size()));
        EXPECT_EQ(form.Label8->caption(), Readouts::size(qint64(saved.size()), "English"));
    }
};

} // namespace

TEST_F(PhotoDetails, ASavedPhotoKeepsItsProfileAndWayUpAndNothingElseOfItsDetails) {
    MainWindowProgram& program = start();
    const Bytes profile = iccProfile("RGB ", 70000); // two chunks
    load(cameraJpeg("phone.jpg", phoneSegments(profile)));
    EXPECT_FALSE(program.settings.KeepDetails);
    recompressAt(70);
    const Bytes saved = saveAs("saved.jpg");
    EXPECT_EQ(iccOf(saved), profile);
    EXPECT_EQ(tag("saved.jpg", "Orientation"), "6");
    for (const char* absent : {"Make", "DateTimeOriginal", "GPSLatitude", "PixelXDimension",
                               "thumbnail:JPEGInterchangeFormat"}) {
        EXPECT_EQ(tag("saved.jpg", absent), "") << absent;
    }
    EXPECT_TRUE(xmpOf(saved).empty());
    expectReadoutOf(saved);
    // The pixels are those of the same photo without any marker.
    load(path("phone.jpg.plain.jpg"));
    recompressAt(70);
    saveAs("plain-saved.jpg");
    EXPECT_EQ(decodedPixels(path("saved.jpg").toStdString(), folder_.path().toStdString()),
              decodedPixels(path("plain-saved.jpg").toStdString(), folder_.path().toStdString()));
}

TEST_F(PhotoDetails, TheMenuItemKeepsTheDetailsAndTheReadoutFollowsIt) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    const Bytes profile = iccProfile("RGB ", 3000);
    load(cameraJpeg("phone.jpg", phoneSegments(profile)));
    recompressAt(60);
    const qint64 without = form.previewBytes();
    QAction* item = detailsItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QString::fromUtf8("Keep the photo's details (date, camera, place)"));
    EXPECT_TRUE(item->isCheckable());
    EXPECT_FALSE(item->isChecked());
    EXPECT_TRUE(item->toolTip().contains("where the photo was taken"));
    item->trigger();
    EXPECT_TRUE(program.settings.KeepDetails);
    EXPECT_EQ(store_.values.value("KeepDetails"), "true");
    EXPECT_EQ(store_.values.value("Language"), "English");
    EXPECT_EQ(store_.values.value("Path"), "/opt/trevano/");
    EXPECT_GT(form.previewBytes(), without); // the readout counts the details at once

    const Bytes saved = saveAs("detailed.jpg");
    expectReadoutOf(saved);
    EXPECT_EQ(iccOf(saved), profile);
    EXPECT_EQ(tag("detailed.jpg", "Orientation"), "6");
    EXPECT_EQ(tag("detailed.jpg", "Make"), "Trevano Test Camera");
    EXPECT_EQ(tag("detailed.jpg", "DateTimeOriginal"), "2026:05:17 10:42:07");
    EXPECT_NE(tag("detailed.jpg", "GPSLatitude"), "");
    // The new file's own size, not the camera's; and no thumbnail of the old picture.
    EXPECT_EQ(tag("detailed.jpg", "PixelXDimension"), "120");
    EXPECT_EQ(tag("detailed.jpg", "PixelYDimension"), "90");
    EXPECT_EQ(tag("detailed.jpg", "thumbnail:JPEGInterchangeFormat"), "");
    ASSERT_EQ(xmpOf(saved).size(), 1u);
    EXPECT_EQ(xmpOf(saved)[0], xmpPacket(6));

    recompressAt(35); // a new preview encodes the details too
    expectReadoutOf(saveAs("detailed35.jpg"));

    // Remembered for the next start; unchecking takes them out again.
    Settings next(store_, "/opt/trevano/");
    next.load();
    EXPECT_TRUE(next.KeepDetails);
    item = detailsItem();
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isChecked());
    item->trigger();
    EXPECT_EQ(store_.values.value("KeepDetails"), "false");
    EXPECT_EQ(form.previewBytes(), static_cast<qint64>(saveAs("plain35.jpg").size()));
    EXPECT_EQ(tag("plain35.jpg", "Make"), "");
}

TEST_F(PhotoDetails, TheMenuItemAndTheNameLabelSpeakTheLanguageOfTheMoment) {
    MainWindowProgram& program = start({1280, 800}, "Français");
    TForm1& form = program.form1;
    const QString turned =
        cameraJpeg("turned.jpg", {exifSegment(exifBlock({.bigEndian = true, .orientation = 6}))});
    load(turned);
    EXPECT_EQ(form.Label5->toolTip(),
              QString::fromUtf8("Enregistrée tournée : les autres visionneuses montrent cette "
                                "photo tournée de 90° dans le sens horaire"));
    QAction* item = detailsItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(),
              QString::fromUtf8("Garder les détails de la photo (date, appareil, lieu)"));
    EXPECT_TRUE(item->toolTip().contains(QString::fromUtf8("où la photo a été prise")));
    form.BitBtn7Click(); // English
    load(turned);
    EXPECT_EQ(form.Label5->toolTip(),
              QString::fromUtf8("Stored turned: other viewers show this photo turned 90° "
                                "clockwise"));
    load(cameraJpeg("upside-down.jpg", {exifSegment(exifBlock({.orientation = 3}))}));
    EXPECT_EQ(form.Label5->toolTip(),
              QString::fromUtf8("Stored turned: other viewers show this photo turned 180°"));
    load(cameraJpeg("upright.jpg", {exifSegment(exifBlock({.orientation = 1}))}));
    EXPECT_EQ(form.Label5->toolTip(), "");
}

TEST_F(PhotoDetails, OnlyAProfileThatSuitsTheNewFilesColoursGoesAlong) {
    start();
    // A gray photo's file is saved in colour: its gray profile would not describe it.
    const QString grayPlain = path("gray.plain.jpg");
    ASSERT_EQ(runReferenceTool({"cjpeg", "-grayscale", "-outfile", grayPlain.toStdString(),
                                writeBmp("gray.bmp", 40, 30).toStdString()}),
              0);
    writeFile(path("gray.jpg").toStdString(), withSegments(readFile(grayPlain.toStdString()),
                                                           iccSegments(iccProfile("GRAY", 600))));
    // A CMYK photo becomes red, green and blue: its CMYK profile stays behind.
    const QString cmykPlain = path("cmyk.plain.jpg");
    ASSERT_EQ(runReferenceTool({"convert", writeBmp("cmyk.bmp", 40, 30).toStdString(),
                                "-colorspace", "CMYK", cmykPlain.toStdString()}),
              0);
    writeFile(path("cmyk.jpg").toStdString(), withSegments(readFile(cmykPlain.toStdString()),
                                                           iccSegments(iccProfile("CMYK", 900))));
    for (const char* name : {"gray.jpg", "cmyk.jpg"}) {
        SCOPED_TRACE(name);
        load(path(name));
        ASSERT_FALSE(iccOf(readFile(path(name).toStdString())).empty());
        recompressAt(80);
        const Bytes saved = saveAs(QString("saved-") + name);
        EXPECT_TRUE(iccOf(saved).empty());
        expectReadoutOf(saved);
    }
}

TEST_F(PhotoDetails, ABitmapsEmbeddedProfileGoesAlongAndItsPixelsAreTheReferenceEncoders) {
    start();
    constexpr int width = 32;
    constexpr int height = 24;
    const Bytes profile = iccProfile("RGB ", 1500);
    const std::uint32_t pixelBytes = width * 3 * height;
    Bytes bmp(14 + 124, 0);
    const auto put32 = [&bmp](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            bmp[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
        }
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, 14 + 124 + pixelBytes + std::uint32_t(profile.size()));
    put32(10, 14 + 124);
    put32(14, 124);
    put32(18, width);
    put32(22, height);
    put32(26, 1 | (24 << 16)); // planes, bits per pixel
    put32(34, pixelBytes);
    put32(14 + 56, 0x4D424544);        // "MBED": the profile is in the file
    put32(14 + 108, 4);                // rendering intent
    put32(14 + 112, 124 + pixelBytes); // from the header's start
    put32(14 + 116, std::uint32_t(profile.size()));
    for (std::uint32_t i = 0; i < pixelBytes; ++i) {
        bmp.push_back(std::uint8_t(i * 13 / 7));
    }
    bmp.insert(bmp.end(), profile.begin(), profile.end());
    writeFile(path("embedded.bmp").toStdString(), bmp);
    // The reference encoder reads the first header form only: the same pixels behind one.
    Bytes plain = bmp;
    plain.erase(plain.begin() + 14 + 40, plain.begin() + 14 + 124);
    plain.resize(14 + 40 + pixelBytes);
    plain[10] = 14 + 40;
    plain[14] = 40;
    writeFile(path("plain.bmp").toStdString(), plain);

    load(path("embedded.bmp"));
    recompressAt(75);
    const Bytes saved = saveAs("from-bitmap.jpg");
    EXPECT_EQ(iccOf(saved), profile);
    expectReadoutOf(saved);
    const QString reference = path("reference.jpg");
    ASSERT_EQ(runReferenceTool({"cjpeg", "-dct", "float", "-baseline", "-quality", "75", "-outfile",
                                reference.toStdString(), path("plain.bmp").toStdString()}),
              0);
    EXPECT_EQ(decodedPixels(path("from-bitmap.jpg").toStdString(), folder_.path().toStdString()),
              decodedPixels(reference.toStdString(), folder_.path().toStdString()));
}

TEST_F(PhotoDetails, TheSizeSearchCountsTheMarkersTheSaveWrites) {
    MainWindowProgram& program = start();
    TForm1& form = program.form1;
    // A large profile: a search that forgot it would pick a quality far too high.
    load(cameraJpeg("profiled.jpg", iccSegments(iccProfile("RGB ", 40000)), 200, 150));
    recompressAt(60);
    const int kibibytes = static_cast<int>(saveAs("q60.jpg").size() / 1024);
    program.dialogs.numberAnswers.push_back(kibibytes);
    form.guard().run([&form] { form.SizeSearchClick(); });
    QTRY_VERIFY_WITH_TIMEOUT(!form.State.Busy, 10000);
    const int found = form.TrackBar1->value();
    ASSERT_LT(found, 100);
    recompressAt(found);
    EXPECT_LE(saveAs("found.jpg").size(), std::size_t(kibibytes) * 1024);
    recompressAt(found + 1);
    EXPECT_GT(saveAs("above.jpg").size(), std::size_t(kibibytes) * 1024);
}
