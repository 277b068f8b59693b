#include "main_window/PreviewJudge.h"

#include "core/Exception.h"
#include "imaging/bmp/TBitmap.h"
#include "imaging/similarity/SimilarityReference.h"
#include "main_window/SimilarityReadout.h"
#include "settings/Settings.h"
#include "ui/TLabel.h"

namespace {

// The pixels a pane draws, shared rather than copied: the window changes its own pictures
// only by replacing their pixels, so the worker may read these while the window goes on.
// Nothing for a damaged picture, which the operation that made it has reported.
std::shared_ptr<const TBitmap> sharedPixels(TGraphic* graphic) {
    try {
        const TBitmap* bitmap = graphic ? graphic->drawingBitmap() : nullptr;
        if (bitmap && !bitmap->empty()) {
            auto shared = std::make_shared<TBitmap>();
            shared->CopyFrom(bitmap);
            return shared;
        }
    } catch (const Exception&) {
    }
    return nullptr;
}

} // namespace

PreviewJudge::PreviewJudge(QThreadPool& worker, TLabel& readout, Settings& settings)
    : task_(worker), readout_(readout), settings_(settings) {}

void PreviewJudge::setLoaded(TGraphic* loaded, std::optional<qint64> fileBytes, bool shrunk) {
    task_.cancel();
    loaded_ = sharedPixels(loaded);
    reference_ = std::make_shared<Reference>();
    originalBytes_ = fileBytes;
    shrunk_ = shrunk;
}

void PreviewJudge::judge(TGraphic* preview, qint64 previewBytes) {
    task_.cancel();
    readout_.setToolTip(QString());
    const std::shared_ptr<const TBitmap> shown = sharedPixels(preview);
    if (!loaded_ || !shown || shown->width() != loaded_->width() ||
        shown->height() != loaded_->height()) {
        return; // nothing to compare
    }
    // Worked out on the worker: neither a load nor a recompression waits for it.
    task_.start<double>(
        [loaded = loaded_, reference = reference_, shown](std::stop_token stop,
                                                          const BackgroundTask::Progress&) {
            const std::lock_guard made(reference->lock);
            if (!reference->made) {
                reference->made = std::make_unique<SimilarityReference>(*loaded, stop);
            }
            return reference->made->score(*shown, stop);
        },
        {[this, previewBytes](const double& similarity) {
             readout_.setToolTip(SimilarityReadout::text(similarity, previewBytes, originalBytes_,
                                                         settings_.Language, shrunk_));
         },
         [](const QString&) {
             // Only memory can run short here; the tooltip then stays empty.
         },
         {}});
}
