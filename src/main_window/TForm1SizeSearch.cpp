// The slider's context menu: the highest quality whose file fits a size typed by the user,
// found by bisection on the worker thread, then taken by moving the slider.
#include "imaging/bmp/TBitmap.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "main_window/Readouts.h"
#include "main_window/TForm1.h"
#include "recompress/EncodedSize.h"
#include "recompress/JpegEncoding.h"
#include "recompress/QualityBisection.h"
#include "recompress/SizeSearch.h"
#include "settings/Settings.h"
#include "settings/Texts.h"
#include "ui/BackgroundTask.h"
#include "ui/DialogService.h"
#include "ui/TImage.h"
#include "ui/TLabel.h"
#include "ui/TProgressBar.h"
#include "ui/TTrackBar.h"

#include <QLineEdit>
#include <QMenu>

namespace {

// The largest size the box takes, in kibibytes: 2 GiB.
constexpr int MostKibibytes = 2 * 1024 * 1024;

// A copy of `pixels` that shares nothing with them, for the worker to have to itself.
std::shared_ptr<TBitmap> ownCopy(const TBitmap& pixels) {
    auto copy = std::make_shared<TBitmap>();
    copy->CopyFrom(&pixels);
    if (!copy->empty()) {
        copy->scanLine(0); // the writable row makes the image the copy's own
    }
    return copy;
}

// Runs on the worker: one encode per try, each the one a recompression would make.
std::optional<int> highestQualityUnder(const TBitmap& pixels, bool progressive,
                                       const JpegMarkers& markers, qint64 maxBytes,
                                       std::stop_token stop,
                                       const BackgroundTask::Progress& progress) {
    int tries = 0;
    return SizeSearch::highestQualityUnder(maxBytes, [&](int quality) {
        const std::optional<std::int64_t> bytes =
            EncodedSize::at(pixels, progressive, quality, stop, markers);
        if (bytes) {
            progress(100 * ++tries / QualityBisection::MostTries);
        }
        return bytes;
    });
}

} // namespace

void TForm1::TrackBar1ContextPopup(QPoint at) {
    auto* menu = new QMenu(this);
    menu->setObjectName("TrackBar1Menu");
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* item = menu->addAction(Texts::SizeSearchItem.in(language()));
    item->setEnabled(!State.Busy);
    connect(item, &QAction::triggered, this, guard_.wrap([this] { SizeSearchClick(); }));
    QAction* details = menu->addAction(Texts::KeepDetailsItem.in(language()));
    details->setObjectName("KeepDetailsItem");
    details->setCheckable(true);
    details->setChecked(settings_.KeepDetails);
    details->setToolTip(Texts::KeepDetailsHint.in(language()));
    details->setEnabled(!State.Busy);
    menu->setToolTipsVisible(true);
    connect(details, &QAction::toggled, this,
            [this](bool keep) { guard_.run([this, keep] { KeepDetailsClick(keep); }); });
    menu->popup(TrackBar1->mapToGlobal(at));
}

void TForm1::KeepDetailsClick(bool keep) {
    settings_.storeKeepDetails(keep);
    // The preview on screen now stands for a file with other markers.
    if (!State.Busy && Image2->picture().graphic()) {
        Label8->setCaption(Readouts::size(previewBytes(), language()));
        judgePreview();
    }
}

void TForm1::SizeSearchClick() {
    if (State.Busy || !TrackBar1->isVisible()) {
        return; // another operation runs, or no picture is loaded
    }
    const qint64 shownKibibytes = std::clamp<qint64>(previewBytes() / 1024, 1, MostKibibytes);
    const std::optional<int> kibibytes = services_.dialogs.askNumber(
        Texts::SizeSearchPrompt.in(language()), static_cast<int>(shownKibibytes), 1, MostKibibytes);
    // The box let messages run: an operation may have started meanwhile.
    if (kibibytes && !State.Busy) {
        searchQualityUnder(*kibibytes);
    }
}

void TForm1::searchQualityUnder(qint64 kibibytes) {
    // The source as a recompression reads it, so each try is the encode it would make.
    TJPEGImage source;
    const PictureMetadata& metadata =
        decodedSource_.decodeInto(services_.files, Edit1->text(), State.SourceExtension, source);
    const std::shared_ptr<TBitmap> pixels = ownCopy(source.Decode());
    const bool progressive = source.ProgressiveWrite();
    // Each try counts the markers the save will write.
    JpegEncoding::prepare(source, metadata, recompressOptions());
    auto markers = std::make_shared<const JpegMarkers>(source.Markers());
    const qint64 maxBytes = kibibytes * 1024; // the readouts count kibibytes
    sizeSearch_->start<int>(
        [pixels, progressive, markers, maxBytes](std::stop_token stop,
                                                 const BackgroundTask::Progress& progress) {
            return highestQualityUnder(*pixels, progressive, *markers, maxBytes, stop, progress);
        },
        {[this, kibibytes](const int& quality) { sizeSearchEnded(quality, kibibytes); },
         [this](const QString& text) { sizeSearchFailed(text); },
         [this](int percent) { ProgressBar1->setValue(percent); }});
    // Other operations wait for the answer, as they wait for each other.
    State.Busy = true;
    ProgressBar1->setValue(0);
    ProgressBar1->show();
}

void TForm1::sizeSearchEnded(int quality, qint64 kibibytes) {
    State.Busy = false;
    ProgressBar1->hide();
    guard_.run([&] {
        if (quality == QualityBisection::NothingFits) {
            services_.dialogs.showMessage(
                Texts::SizeSearchNothingFits.in(language()).arg(kibibytes));
        } else {
            TrackBar1->setValue(quality); // starts the recompression as any move does
        }
    });
}

void TForm1::sizeSearchFailed(const QString& text) {
    State.Busy = false;
    ProgressBar1->hide();
    services_.dialogs.showMessageBox(MessageBoxKind::StandardError, text);
}
