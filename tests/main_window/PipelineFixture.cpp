#include "PipelineFixture.h"

#include "imaging/bmp/TBitmap.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "support/ReferenceTool.h"
#include "ui/TBitBtn.h"
#include "ui/TImage.h"
#include "ui/TTrackBar.h"

#include <QFile>

MainWindowProgram& PipelineFixture::start(QSize screen, const QString& language) {
    // As the program's start-up does, before any window.
    registerBitmapFormat();
    registerJpegFormat();
    store_.values = {{"Language", language}, {"Path", "/opt/trevano/"}};
    program_ = std::make_unique<MainWindowProgram>(store_, screen);
    program_->form1.show();
    return *program_;
}

QString PipelineFixture::writeBmp(const QString& name, int width, int height) {
    TBitmap bitmap;
    bitmap.setPixelFormat(TPixelFormat::Bits24);
    bitmap.setSize(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = bitmap.scanLine(y);
        for (int x = 0; x < width; ++x) {
            // Blue, green, red: gradients with a fine ripple, like a photograph's texture.
            row[3 * x] = static_cast<std::uint8_t>(255 * y / height);
            row[3 * x + 1] = static_cast<std::uint8_t>((x * 7 + y * 3) % 64 + 96);
            row[3 * x + 2] = static_cast<std::uint8_t>(255 * x / width);
        }
    }
    const QString file = path(name);
    bitmap.WriteToFile(file.toStdString());
    return file;
}

QString PipelineFixture::writeJpeg(const QString& name, int width, int height, int quality) {
    const QString bmp = writeBmp(name + ".source.bmp", width, height);
    const QString file = path(name);
    EXPECT_EQ(runReferenceTool({"cjpeg", "-quality", std::to_string(quality), "-outfile",
                                file.toStdString(), bmp.toStdString()}),
              0);
    return file;
}

void PipelineFixture::load(const QString& file) {
    program_->dialogs.openAnswers.push_back(file);
    program_->form1.BitBtn1->click();
}

void PipelineFixture::recompressAt(int quality) {
    TForm1& form = program_->form1;
    form.TrackBar1->setValue(quality);
    form.guard().run([&form] { form.Timer1Timer(); });
}

QStringList PipelineFixture::errorTexts() const {
    QStringList texts;
    for (const auto& box : program_->dialogs.boxes) {
        texts << box.text;
    }
    return texts;
}

QByteArray rgbPixels(TImage& pane) {
    const TBitmap* bitmap = pane.picture().graphic()->drawingBitmap();
    QByteArray rgb;
    for (int y = 0; y < bitmap->height(); ++y) {
        for (int x = 0; x < bitmap->width(); ++x) {
            const std::uint32_t colour = bitmap->pixel(x, y);
            rgb.append(static_cast<char>(colour & 0xFF));
            rgb.append(static_cast<char>((colour >> 8) & 0xFF));
            rgb.append(static_cast<char>((colour >> 16) & 0xFF));
        }
    }
    return rgb;
}

QByteArray ppmPixels(const QString& file) {
    QFile ppm(file);
    if (!ppm.open(QIODevice::ReadOnly)) {
        return {};
    }
    // The reference decoder writes "P6", the size and the maximum on three lines.
    for (int line = 0; line < 3; ++line) {
        ppm.readLine();
    }
    return ppm.readAll();
}
