// Judging the preview: the similarity score in the tooltip of the compressed-size readout,
// the loaded picture handed to the viewer's comparison, and the worker thread they share
// with the size search.
#include "imaging/jpeg/TJPEGData.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "imaging/metadata/SavedMarkers.h"
#include "main_window/PreviewJudge.h"
#include "main_window/TForm1.h"
#include "platform/FileOperations.h"
#include "settings/Settings.h"
#include "settings/Texts.h"
#include "ui/BackgroundTask.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "ui/TTrackBar.h"
#include "windows/TForm2.h"
#include "windows/ViewerComparison.h"

#include <QLineEdit>
#include <QThreadPool>

TForm1::~TForm1() {
    // The work is stopped first; the worker thread, going last, waits for it to end.
    search_.reset();
    judge_.reset();
    worker_.reset();
}

void TForm1::createJudging() {
    worker_ = std::make_unique<QThreadPool>();
    worker_->setMaxThreadCount(1);
    judge_ = std::make_unique<PreviewJudge>(*worker_, *Label8, settings_);
    search_ = std::make_unique<BackgroundTask>(*worker_);
    TrackBar1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(TrackBar1, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { guard_.run([this, at] { TrackBar1ContextPopup(at); }); });
    setAcceptDrops(true);
}

void TForm1::pictureLoaded() {
    comparedSize_.reset();
    judgePreview();
}

void TForm1::compareWithLoaded() {
    // The loaded picture, or the loaded picture shrunk as the preview is: the scores and the
    // viewer's comparisons need the preview's pixels beside the same places of the picture.
    const TBitmap* shrunk = prepared_.shrunk() ? &prepared_.pixels() : nullptr;
    const QSize size = shrunk ? QSize(shrunk->width(), shrunk->height()) : QSize();
    if (comparedSize_ == size) {
        return;
    }
    comparedSize_ = size;
    TGraphic* loaded = Image1->picture().graphic();
    comparedPixels_.releaseImage();
    if (shrunk) {
        comparedPixels_.CopyFrom(shrunk); // shares the pixels
        loaded = &comparedPixels_;
    }
    judge_->setLoaded(loaded, services_.files.fileSize(Edit1->text()), shrunk != nullptr);
    if (form2_) {
        form2_->Comparison->setOriginal(loaded);
    }
}

void TForm1::showNewPixelSize() {
    const TBitmap* shrunk = prepared_.shrunk() ? &prepared_.pixels() : nullptr;
    NewSizeLabel->setVisible(shrunk && Image2->picture().graphic() && Label8->isVisible());
    if (shrunk) {
        NewSizeLabel->setCaption(
            Texts::NewPixelSize.in(language()).arg(shrunk->width()).arg(shrunk->height()));
    }
}

void TForm1::judgePreview() {
    showNewPixelSize();
    compareWithLoaded();
    if (form2_) {
        form2_->Comparison->pictureReplaced();
    }
    judge_->judge(Image2->picture().graphic(), previewBytes());
}

qint64 TForm1::previewBytes() const {
    const auto* preview = dynamic_cast<const TJPEGImage*>(Image2->picture().graphic());
    if (!preview || !preview->data().Bytes) {
        return 0;
    }
    // The markers the save writes now, in place of those the preview was encoded with.
    const TJPEGData& data = preview->data();
    const JpegMarkers saved = SavedMarkers::choose(
        previewSource_, {settings_.KeepDetails, data.IsGray, data.HeaderWidth, data.HeaderHeight});
    return data.Bytes->size() - previewMarkersLength_ + saved.length();
}
