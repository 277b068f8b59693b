// The searches of the slider's context menu: the highest quality whose file fits a size, and
// the lowest whose preview reaches a similarity, typed by the user, found on the worker
// thread, then taken by moving the slider.
#include "imaging/bmp/TBitmap.h"
#include "imaging/jpeg/TJPEGImage.h"
#include "main_window/Readouts.h"
#include "main_window/TForm1.h"
#include "recompress/EncodedSize.h"
#include "recompress/QualityBisection.h"
#include "recompress/SimilaritySearch.h"
#include "recompress/SimilarityTrial.h"
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
// The similarities the box takes, with three decimals.
constexpr double LowestAim = 0.80;
constexpr double HighestAim = 0.999;
constexpr int AimDecimals = 3;
// A photograph's search takes about this many tries; the bar stops full when one takes more.
constexpr int ExpectedSimilarityTries = 4;

// The worker's own picture object over the same pixels: nothing is copied, and a change
// the window makes to its pixels would go to a copy of its own, never to these.
std::shared_ptr<const TBitmap> shared(const TBitmap& pixels) {
    auto copy = std::make_shared<TBitmap>();
    copy->CopyFrom(&pixels);
    return copy;
}

// Runs on the worker: one encode per try, each the one a recompression would make.
std::optional<int> highestQualityUnder(const TBitmap& pixels, const TJPEGImage& coding,
                                       qint64 maxBytes, std::stop_token stop,
                                       const BackgroundTask::Progress& progress) {
    int tries = 0;
    return SizeSearch::highestQualityUnder(maxBytes, [&](int quality) {
        const std::optional<std::int64_t> bytes =
            EncodedSize::at(pixels, coding.ProgressiveWrite(), quality, stop, coding.Markers(),
                            coding.OptimizedCoding(), coding.SmallestCoding());
        if (bytes) {
            progress(100 * ++tries / QualityBisection::MostTries);
        }
        return bytes;
    });
}

// Runs on the worker: the tries score the previews they would show against the pixels.
// Nothing when stopped; then the answer, nothing when no quality reaches the aim.
std::optional<std::optional<int>> lowestQualityReaching(const TBitmap& pixels, double aim,
                                                        const RecompressOptions& options,
                                                        std::stop_token stop,
                                                        const BackgroundTask::Progress& progress) {
    SimilarityTrial trial(pixels, options.shownDepth, stop, options.smallestFile);
    int tries = 0;
    const std::optional<SimilaritySearch::Outcome> found =
        SimilaritySearch::lowestReaching(aim, [&](int quality) {
            const std::optional<double> similarity = trial.at(quality, stop);
            if (similarity) {
                progress(std::min(100, 100 * ++tries / ExpectedSimilarityTries));
            }
            return similarity;
        });
    if (!found) {
        return std::nullopt;
    }
    return found->quality;
}

} // namespace

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
    // The pixels, markers and coding a preview takes, so each try is the encode it would make.
    preparePicture();
    // The worker's own picture object holds the coding; its pixels are shared, not copied.
    auto made = std::make_shared<TJPEGImage>();
    prepared_.readyToEncode(*made, recompressOptions());
    const std::shared_ptr<const TJPEGImage> coding = std::move(made);
    const std::shared_ptr<const TBitmap> pixels = shared(prepared_.pixels());
    const qint64 maxBytes = kibibytes * 1024; // the readouts count kibibytes
    search_->start<int>(
        [pixels, coding, maxBytes](std::stop_token stop, const BackgroundTask::Progress& progress) {
            return highestQualityUnder(*pixels, *coding, maxBytes, stop, progress);
        },
        {[this, kibibytes](const int& quality) { sizeSearchEnded(quality, kibibytes); },
         [this](const QString& text) { searchFailed(text); },
         [this](int percent) { ProgressBar1->setValue(percent); }});
    searchStarted();
}

void TForm1::sizeSearchEnded(int quality, qint64 kibibytes) {
    searchEnded();
    guard_.run([&] {
        if (quality == QualityBisection::NothingFits) {
            services_.dialogs.showMessage(
                Texts::SizeSearchNothingFits.in(language()).arg(kibibytes));
        } else {
            TrackBar1->setValue(quality); // starts the recompression as any move does
        }
    });
}

void TForm1::searchStarted() {
    // Other operations wait for the answer, as they wait for each other.
    State.Busy = true;
    ProgressBar1->setValue(0);
    ProgressBar1->show();
}

void TForm1::searchEnded() {
    State.Busy = false;
    ProgressBar1->hide();
}

void TForm1::searchFailed(const QString& text) {
    searchEnded();
    services_.dialogs.showMessageBox(MessageBoxKind::StandardError, text);
}

void TForm1::SimilaritySearchClick() {
    if (State.Busy || !TrackBar1->isVisible()) {
        return; // another operation runs, or no picture is loaded
    }
    const std::optional<double> aim =
        services_.dialogs.askDecimal(Texts::SimilaritySearchPrompt.in(language()),
                                     State.SimilarityAim, LowestAim, HighestAim, AimDecimals);
    if (aim && !State.Busy) {
        State.SimilarityAim = *aim;
        searchQualityReaching(*aim);
    }
}

void TForm1::searchQualityReaching(double aim) {
    // The pixels a recompression encodes, so each try scores the preview it would show.
    preparePicture();
    const std::shared_ptr<const TBitmap> pixels = shared(prepared_.pixels());
    search_->start<std::optional<int>>(
        [pixels, aim, options = recompressOptions()](std::stop_token stop,
                                                     const BackgroundTask::Progress& progress) {
            return lowestQualityReaching(*pixels, aim, options, stop, progress);
        },
        {[this, aim](const std::optional<int>& quality) { similaritySearchEnded(quality, aim); },
         [this](const QString& text) { searchFailed(text); },
         [this](int percent) { ProgressBar1->setValue(percent); }});
    searchStarted();
}

void TForm1::similaritySearchEnded(const std::optional<int>& quality, double aim) {
    searchEnded();
    guard_.run([&] {
        if (!quality) {
            services_.dialogs.showMessage(
                Texts::SimilaritySearchNothingReaches.in(language()).arg(aimText(aim)));
        } else {
            TrackBar1->setValue(*quality); // starts the recompression as any move does
        }
    });
}

QString TForm1::aimText(double aim) const {
    QString text = QString::number(aim, 'f', AimDecimals);
    while (text.endsWith('0') && !text.endsWith(".0")) {
        text.chop(1);
    }
    return settings_.french() ? text.replace('.', ',') : text;
}
