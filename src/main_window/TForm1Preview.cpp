// The quality slider and the recompression preview it leads to.
#include "core/TMemoryStream.h"
#include "imaging/jpeg/TJPEGDefaults.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "main_window/PreviewJudge.h"
#include "main_window/Readouts.h"
#include "main_window/TForm1.h"
#include "recompress/JpegEncoding.h"
#include "recompress/PictureFileKind.h"
#include "settings/Settings.h"
#include "ui/BusyScope.h"
#include "ui/MessagePump.h"
#include "ui/TBitBtn.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "ui/TTrackBar.h"
#include "windows/TForm2.h"

#include <QLineEdit>
#include <QTimer>

void TForm1::TrackBar1Change() {
    State.CurrentQuality = TrackBar1->value();
    // Arming an armed timer neither postpones nor repeats its tick.
    if (!Timer1->isActive()) {
        Timer1->start();
    }
}

void TForm1::Timer1Timer() {
    if (State.Busy) {
        return; // another operation is letting messages run: the tick stays pending
    }
    Timer1->stop();
    if (State.CurrentQuality == State.CompressedQuality) {
        return;
    }
    // Bound to the quality of this moment: a slider move during the work arms the next tick,
    // so CompressedQuality always names the preview on screen.
    const int quality = State.CurrentQuality;
    const BusyScope busy(State.Busy);
    judge_->stop();
    recompress(quality);
    State.CompressedQuality = quality;
    BitBtn4->setEnabled(true);
    BitBtn9->setEnabled(false);
    judgePreview();
}

void TForm1::recompress(int quality) {
    TMemoryStream previewStream;
    Label1->setCaption(Readouts::quality(quality, language()));
    TJPEGImage workJpeg;
    TrackBar1->setSelection(TrackBar1->selStart(), quality);
    MessagePump::processMessages();
    preparePicture();
    readyToEncode(workJpeg);
    JpegEncoding::encode(workJpeg, quality);
    showCompressedResult(workJpeg, previewStream);
    updateViewer(workJpeg);
    MessagePump::processMessages();
}

void TForm1::preparePicture() {
    prepared_.prepare(services_.files, Edit1->text(),
                      PictureFileKind::windowKind(State.SourceExtension), recompressOptions());
}

void TForm1::readyToEncode(TJPEGImage& encoder) {
    prepared_.readyToEncode(encoder, recompressOptions());
    previewSource_ = prepared_.metadata();
}

RecompressOptions TForm1::recompressOptions() const {
    // New files are shown at the depth the screen was found to take at start-up.
    return {settings_.KeepDetails, settings_.SmallerFiles, settings_.SmallestFiles,
            settings_.LongestSide, TJPEGDefaults::current().DecodeDepth};
}

void TForm1::updateViewer(TJPEGImage& picture) {
    if (!form2_) {
        return;
    }
    form2_->Image4->setGraphic(&picture);
    form2_->fitToPicture();
    form2_->setWindowTitle(Readouts::viewerCaption(windowTitle(), language()));
}
