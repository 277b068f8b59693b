#pragma once

#include "ui/BackgroundTask.h"

#include <QtGlobal>
#include <memory>
#include <mutex>
#include <optional>

class QThreadPool;
class Settings;
class SimilarityReference;
class TBitmap;
class TGraphic;
class TLabel;

// Scores the preview against the loaded picture on the worker thread, so a recompression
// is not held up by it, and shows the score as the tooltip of the compressed-size readout.
// A newer preview stops the score of an older one; the tooltip stays empty until the
// score of the preview on screen arrives.
class PreviewJudge {
public:
    PreviewJudge(QThreadPool& worker, TLabel& readout, Settings& settings);

    // The picture as loaded and its file's size, the reference of the scores that follow;
    // `shrunk` when the picture is the loaded one shrunk as the new files are, which the
    // tooltip then says.
    void setLoaded(TGraphic* loaded, std::optional<qint64> fileBytes, bool shrunk = false);
    // The pixels the scores are measured against, when there are some.
    const TBitmap* loaded() const { return loaded_.get(); }
    // `preview` is the picture shown, `previewBytes` the length of its JPEG file.
    void judge(TGraphic* preview, qint64 previewBytes);
    // Stops the score under way, whose preview is about to be replaced: the pixels it reads
    // are let go of before the next preview is made.
    void stop() { task_.cancel(); }
    bool running() const { return task_.running(); }

private:
    BackgroundTask task_;
    TLabel& readout_;
    Settings& settings_;
    // What every score is measured against, made on the worker at the first score and kept
    // for the next ones: it shares the loaded picture's pixels and holds nothing of its own.
    struct Reference {
        std::mutex lock;
        std::unique_ptr<SimilarityReference> made;
    };

    std::shared_ptr<const TBitmap> loaded_;
    std::shared_ptr<Reference> reference_;
    std::optional<qint64> originalBytes_;
    bool shrunk_ = false;
};
