#pragma once

#include "MainWindowProgram.h"
#include "platform/FakeSettingsStore.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

class TGraphic;
class TImage;

// The program's windows over a settings store of their own, with picture files made on the
// spot in a temporary folder, and the steps a user takes: load, move the slider, wait.
class PipelineFixture : public ::testing::Test {
protected:
    MainWindowProgram& start(QSize screen = {1280, 800}, const QString& language = "English");

    // A 24-bit BMP file of a smooth picture with some detail, and a JPEG made of it by the
    // reference encoder.
    QString writeBmp(const QString& name, int width, int height);
    QString writeJpeg(const QString& name, int width, int height, int quality = 90);
    QString path(const QString& name) const { return folder_.filePath(name); }

    // Chooses `file` in the open dialog of a click on the load button.
    void load(const QString& file);
    // Moves the slider and lets the tick it armed run.
    void recompressAt(int quality);

    // The error boxes shown so far, by text.
    QStringList errorTexts() const;

    QTemporaryDir folder_;
    FakeSettingsStore store_;
    std::unique_ptr<MainWindowProgram> program_;
};

// The pixels a pane's copy of a picture decodes to, as red, green, blue bytes, top row first.
QByteArray rgbPixels(TImage& pane);
// The pixels of a binary PPM file.
QByteArray ppmPixels(const QString& file);
