#include "main_window/PreviewJudge.h"

#include "core/Exception.h"
#include "imaging/LumaPlane.h"
#include "imaging/StructuralSimilarity.h"
#include "imaging/TBitmap.h"
#include "main_window/SimilarityReadout.h"
#include "settings/Settings.h"
#include "ui/TLabel.h"

namespace {

// The brightness of the pixels a pane draws; nothing for a damaged picture, which the
// operation that made it has reported.
std::shared_ptr<const LumaPlane> lumaOf(TGraphic* graphic) {
    try {
        const TBitmap* bitmap = graphic ? graphic->drawingBitmap() : nullptr;
        if (bitmap) {
            return std::make_shared<const LumaPlane>(LumaPlane::of(*bitmap));
        }
    } catch (const Exception&) {
    }
    return nullptr;
}

} // namespace

PreviewJudge::PreviewJudge(QThreadPool& worker, TLabel& readout, Settings& settings)
    : task_(worker), readout_(readout), settings_(settings) {}

void PreviewJudge::setLoaded(TGraphic* loaded, std::optional<qint64> fileBytes) {
    loaded_ = lumaOf(loaded);
    originalBytes_ = fileBytes;
}

void PreviewJudge::judge(TGraphic* preview, qint64 previewBytes) {
    task_.cancel();
    readout_.setToolTip(QString());
    // The planes are made here, on the window's thread; the worker gets them to itself.
    const std::shared_ptr<const LumaPlane> shown = lumaOf(preview);
    if (!loaded_ || !shown || loaded_->values.empty() || shown->width != loaded_->width ||
        shown->height != loaded_->height) {
        return; // nothing to compare
    }
    task_.start<double>(
        [loaded = loaded_, shown](std::stop_token stop, const BackgroundTask::Progress&) {
            return StructuralSimilarity::mean(*loaded, *shown, stop);
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
