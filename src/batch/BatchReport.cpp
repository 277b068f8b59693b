#include "batch/BatchReport.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

constexpr int BarWidth = 30;

QString size(std::int64_t bytes) {
    if (bytes < 1024 * 1024) {
        return QString::number(static_cast<double>(bytes) / 1024, 'f', 1) + " KiB";
    }
    return QString::number(static_cast<double>(bytes) / (1024 * 1024), 'f', 2) + " MiB";
}

QString share(std::int64_t after, std::int64_t before) {
    return before > 0 ? QString::number(100.0 * static_cast<double>(after) / before, 'f', 1) + " %"
                      : QString("-");
}

QString sizes(const BatchResult& result) {
    return size(result.bytesBefore) + " -> " + size(result.bytesAfter) + " (" +
           share(result.bytesAfter, result.bytesBefore) + ")";
}

// The new file's pixels: "1920 x 1280", shrunk or said to be within the side asked for.
QString pixelSize(const BatchResult& result) {
    if (result.width <= 0) {
        return {};
    }
    QString text = ", " + QString::number(result.width) + " x " + QString::number(result.height);
    if (result.shrunk) {
        text += " (shrunk)";
    } else if (result.withinSide) {
        text += " (already within --max-side, left at its size)";
    }
    if (!result.note.isEmpty()) {
        text += " (" + result.note + ")";
    }
    return text;
}

QString qualityAndSimilarity(const BatchResult& result) {
    QString text = ", quality " + QString::number(result.quality);
    if (result.similarity) {
        text += ", SSIM " + QString::number(*result.similarity, 'f', 4);
    }
    return text + pixelSize(result);
}

const char* outcomeName(BatchResult::Outcome outcome) {
    switch (outcome) {
    case BatchResult::Outcome::Written:
        return "written";
    case BatchResult::Outcome::NotSmaller:
        return "not-smaller";
    case BatchResult::Outcome::Planned:
        return "planned";
    case BatchResult::Outcome::Interrupted:
        return "interrupted";
    case BatchResult::Outcome::Failed:
        break;
    }
    return "failed";
}

QString clock(qint64 milliseconds) {
    const qint64 seconds = (milliseconds + 999) / 1000;
    return QString("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QChar('0'));
}

void put(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace

BatchReport::BatchReport(const BatchOptions& options, int total, std::FILE* out, std::FILE* err,
                         bool terminal)
    : options_(options), total_(total), out_(out), err_(err),
      terminal_(terminal && !options.quiet) {
    clock_.start();
    if (terminal_) {
        drawProgress();
    }
}

QString BatchReport::line(const BatchItem& item, const BatchResult& result) {
    switch (result.outcome) {
    case BatchResult::Outcome::Written:
        return item.input + " -> " + item.output + ": " + sizes(result) +
               qualityAndSimilarity(result);
    case BatchResult::Outcome::NotSmaller:
        return item.input + ": not written, the new file would not be smaller: " + sizes(result) +
               qualityAndSimilarity(result);
    case BatchResult::Outcome::Planned:
        return item.input + " -> " + item.output + ": to write, now " + size(result.bytesBefore) +
               (result.quality >= 0 ? ", quality " + QString::number(result.quality) : QString());
    case BatchResult::Outcome::Interrupted:
        return item.input + ": interrupted, nothing written";
    case BatchResult::Outcome::Failed:
        break;
    }
    return item.input + ": failed: " + result.error;
}

QString BatchReport::json(const BatchItem& item, const BatchResult& result) {
    QJsonObject object{{"input", item.input},
                       {"output", item.output},
                       {"outcome", outcomeName(result.outcome)},
                       {"encodes", result.encodes}};
    // Sizes only where there are some, as in the lines: a picture that failed before it was
    // measured, or whose new file was never made, has a 0 that is no size of anything.
    if (result.bytesBefore > 0) {
        object["bytes_before"] = static_cast<qint64>(result.bytesBefore);
    }
    if (result.bytesAfter > 0) {
        object["bytes_after"] = static_cast<qint64>(result.bytesAfter);
    }
    if (result.bytesBefore > 0 && result.bytesAfter > 0) {
        object["share"] = static_cast<double>(result.bytesAfter) / result.bytesBefore;
    }
    if (result.quality >= 0) {
        object["quality"] = result.quality;
    }
    if (result.width > 0) {
        object["width"] = result.width;
        object["height"] = result.height;
        object["shrunk"] = result.shrunk;
    }
    if (result.similarity) {
        object["ssim"] = *result.similarity;
    }
    if (!result.note.isEmpty()) {
        object["note"] = result.note;
    }
    if (!result.error.isEmpty()) {
        object["error"] = result.error;
    }
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

void BatchReport::done(const BatchItem& item, const BatchResult& result) {
    const std::lock_guard guard(lock_);
    ++finished_;
    const bool failed = result.outcome == BatchResult::Outcome::Failed;
    failed_ += failed;
    written_ += result.outcome == BatchResult::Outcome::Written;
    notSmaller_ += result.outcome == BatchResult::Outcome::NotSmaller;
    if (result.outcome == BatchResult::Outcome::Written) {
        bytesBefore_ += result.bytesBefore;
        bytesAfter_ += result.bytesAfter;
    }
    clearProgress();
    if (result.outcome != BatchResult::Outcome::Interrupted && (failed || !options_.quiet)) {
        const QString text = options_.json ? json(item, result) : line(item, result);
        put(failed && !options_.json ? err_ : out_, text + "\n");
    }
    drawProgress();
}

QString BatchReport::summary(bool interrupted) const {
    QString text = QString::number(finished_) + " of " + QString::number(total_) + " pictures";
    if (options_.dryRun) {
        text += ", nothing written (dry run)";
    } else {
        text += ": " + outcomes();
    }
    text += " in " + QString::number(static_cast<double>(clock_.elapsed()) / 1000, 'f', 1) + " s";
    return interrupted ? text + "; interrupted" : text;
}

QString BatchReport::outcomes() const {
    QString text = written_ > 0 ? QString::number(written_) + " written, " : QString();
    if (options_.onlySmaller) {
        text += QString::number(notSmaller_) + " not smaller, ";
    }
    text += QString::number(failed_) + " failed";
    // Sizes of no file at all would read as a result.
    if (written_ == 0) {
        return text + ", nothing written";
    }
    return text + "; " + size(bytesBefore_) + " -> " + size(bytesAfter_) + " (" +
           share(bytesAfter_, bytesBefore_) + ")";
}

void BatchReport::finish(bool interrupted) {
    const std::lock_guard guard(lock_);
    clearProgress();
    if (!options_.json && (!options_.quiet || interrupted)) {
        put(interrupted ? err_ : out_, summary(interrupted) + "\n");
    }
}

void BatchReport::drawProgress() {
    if (!terminal_) {
        return;
    }
    const int filled = total_ > 0 ? BarWidth * finished_ / total_ : BarWidth;
    QString bar = "[" + QString(filled, '#') + QString(BarWidth - filled, '-') + "] " +
                  QString::number(finished_) + "/" + QString::number(total_) + " files";
    if (finished_ > 0 && finished_ < total_) {
        const qint64 left = clock_.elapsed() * (total_ - finished_) / finished_;
        bar += ", " + clock(left) + " left";
    }
    put(err_, "\r" + bar + "\033[K");
}

void BatchReport::clearProgress() {
    if (terminal_) {
        put(err_, "\r\033[K");
    }
}
