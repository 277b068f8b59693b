#include "main_window/PreviewJudge.h"

#include "core/Exception.h"
#include "imaging/bmp/TBitmap.h"
#include "imaging/similarity/LumaRows.h"
#include "imaging/similarity/StructuralSimilarity.h"
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

void PreviewJudge::setLoaded(TGraphic* loaded, std::optional<qint64> fileBytes) {
    task_.cancel();
    loaded_ = sharedPixels(loaded);
    originalBytes_ = fileBytes;
}

void PreviewJudge::judge(TGraphic* preview, qint64 previewBytes) {
    task_.cancel();
    readout_.setToolTip(QString());
    const std::shared_ptr<const TBitmap> shown = sharedPixels(preview);
    if (!loaded_ || !shown || shown->width() != loaded_->width() ||
        shown->height() != loaded_->height()) {
        return; // nothing to compare
    }
    // The brightness is worked out on the worker, row by row as the score needs it: neither a
    // load nor a recompression waits for it, and it takes no picture-sized memory.
    task_.start<double>(
        [loaded = loaded_, shown](std::stop_token stop, const BackgroundTask::Progress&) {
            LumaRows reference(*loaded);
            LumaRows preview(*shown);
            return StructuralSimilarity::mean(reference, preview, stop);
        },
        {[this, previewBytes](const double& similarity) {
             readout_.setToolTip(SimilarityReadout::text(similarity, previewBytes, originalBytes_,
                                                         settings_.Language));
         },
         [](const QString&) {
             // Only memory can run short here; the tooltip then stays empty.
         },
         {}});
}
