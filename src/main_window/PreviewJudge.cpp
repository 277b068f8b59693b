#include "main_window/PreviewJudge.h"

#include "core/Exception.h"
#include "imaging/LumaPlane.h"
#include "imaging/StructuralSimilarity.h"
#include "imaging/TBitmap.h"
#include "main_window/SimilarityReadout.h"
#include "settings/Settings.h"
#include "ui/TLabel.h"

#include <mutex>

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

// The loaded picture's brightness, worked out on the worker by the first score that needs it:
// a load does not wait for it.
class PreviewJudge::Reference {
public:
    explicit Reference(std::shared_ptr<const TBitmap> pixels) : pixels_(std::move(pixels)) {}

    const LumaPlane& plane() {
        std::call_once(made_, [this] {
            plane_ = LumaPlane::of(*pixels_);
            pixels_.reset();
        });
        return plane_;
    }

private:
    std::once_flag made_;
    std::shared_ptr<const TBitmap> pixels_;
    LumaPlane plane_;
};

PreviewJudge::PreviewJudge(QThreadPool& worker, TLabel& readout, Settings& settings)
    : task_(worker), readout_(readout), settings_(settings) {}

PreviewJudge::~PreviewJudge() = default;

void PreviewJudge::setLoaded(TGraphic* loaded, std::optional<qint64> fileBytes) {
    task_.cancel();
    const std::shared_ptr<const TBitmap> pixels = sharedPixels(loaded);
    loaded_ = pixels ? std::make_shared<Reference>(pixels) : nullptr;
    loadedWidth_ = pixels ? pixels->width() : 0;
    loadedHeight_ = pixels ? pixels->height() : 0;
    originalBytes_ = fileBytes;
}

void PreviewJudge::judge(TGraphic* preview, qint64 previewBytes) {
    task_.cancel();
    readout_.setToolTip(QString());
    const std::shared_ptr<const TBitmap> shown = sharedPixels(preview);
    if (!loaded_ || !shown || shown->width() != loadedWidth_ || shown->height() != loadedHeight_) {
        return; // nothing to compare
    }
    // Both brightness planes are made on the worker, so a recompression does not wait for them.
    task_.start<double>(
        [loaded = loaded_, shown](std::stop_token stop,
                                  const BackgroundTask::Progress&) -> std::optional<double> {
            const LumaPlane& reference = loaded->plane();
            const LumaPlane plane = LumaPlane::of(*shown);
            if (stop.stop_requested()) {
                return std::nullopt;
            }
            return StructuralSimilarity::mean(reference, plane, stop);
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
