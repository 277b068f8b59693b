#include "batch/BatchJob.h"

#include "batch/BatchFailure.h"
#include "core/EAbort.h"
#include "core/Exception.h"
#include "imaging/similarity/SimilarityReference.h"
#include "platform/FileOperations.h"
#include "recompress/EncodedSimilarity.h"
#include "recompress/PictureFileKind.h"
#include "recompress/QualityBisection.h"
#include "recompress/ReplacingWriter.h"
#include "recompress/SaveEncoder.h"
#include "recompress/SimilaritySearch.h"
#include "recompress/SimilarityTrial.h"
#include "recompress/SizeSearch.h"

#include <QFileInfo>
#include <new>

namespace {

QString kibibytes(std::int64_t bytes) {
    return QString::number(bytes / 1024) + " KiB";
}

// A copy that outlives the encoder's next encode.
TMemoryStream copyOf(TMemoryStream& bytes) {
    TMemoryStream copy;
    copy.write(bytes.memory(), static_cast<std::size_t>(bytes.size()));
    return copy;
}

} // namespace

BatchResult BatchJob::run(const BatchItem& item) const {
    BatchResult result;
    if (!item.refusal.isEmpty()) {
        result.error = item.refusal;
        return result;
    }
    if (options_.dryRun) {
        result.outcome = BatchResult::Outcome::Planned;
        result.bytesBefore = files_.fileSize(item.input).value_or(0);
        result.quality = options_.aim == BatchOptions::Aim::Quality ? options_.quality : -1;
        return result;
    }
    try {
        return recompress(item);
    } catch (const EAbort&) {
        result.outcome = BatchResult::Outcome::Interrupted;
    } catch (const Exception& error) {
        result.error = BatchFailure::reading(error);
    } catch (const std::bad_alloc&) {
        result.error = "not enough memory for this picture";
    }
    return result;
}

BatchResult BatchJob::recompress(const BatchItem& item) const {
    BatchResult result;
    // Only a regular file has a size: anything else is refused before it is opened.
    const std::optional<qint64> before = files_.fileSize(item.input);
    if (!before) {
        result.error = "cannot be read as a file";
        return result;
    }
    result.bytesBefore = *before;
    SaveEncoder encoder(item.input, PictureFileKind::commandLineKind(item.input),
                        options_.recompressOptions(), stop_);
    result.note = QString::fromStdString(encoder.note());
    result.width = encoder.pixels().width();
    result.height = encoder.pixels().height();
    result.shrunk = encoder.shrunk();
    result.withinSide = options_.maxSide > 0 && !encoder.shrunk();
    std::optional<TMemoryStream> bytes = choose(encoder, result);
    if (!bytes) {
        return result;
    }
    result.bytesAfter = bytes->size();
    if (options_.similarity && !result.similarity) {
        result.similarity = similarity(encoder, *bytes);
    }
    if (options_.onlySmaller && result.bytesAfter >= result.bytesBefore) {
        result.outcome = BatchResult::Outcome::NotSmaller;
        return result;
    }
    write(item, *bytes, result);
    return result;
}

std::optional<TMemoryStream> BatchJob::choose(SaveEncoder& encoder, BatchResult& result) const {
    switch (options_.aim) {
    case BatchOptions::Aim::MaxSize:
        return highestUnderSize(encoder, result);
    case BatchOptions::Aim::MinSimilarity:
        return smallestSimilarEnough(encoder, result);
    case BatchOptions::Aim::Quality:
        break;
    }
    result.quality = options_.quality;
    return copyOf(encode(encoder, options_.quality, result));
}

TMemoryStream& BatchJob::encode(SaveEncoder& encoder, int quality, BatchResult& result) const {
    ++result.encodes;
    return encoder.encode(quality);
}

std::optional<TMemoryStream> BatchJob::highestUnderSize(SaveEncoder& encoder,
                                                        BatchResult& result) const {
    // The search the slider's size search makes, on the bytes the save writes.
    std::optional<TMemoryStream> best;
    std::int64_t smallest = 0;
    const std::optional<int> quality =
        SizeSearch::highestQualityUnder(options_.maxBytes, [&](int tried) {
            TMemoryStream& bytes = encode(encoder, tried, result);
            smallest = bytes.size();
            if (smallest <= options_.maxBytes) {
                best = copyOf(bytes); // the highest fitting so far: the last fitting try
            }
            return std::optional<std::int64_t>(smallest);
        });
    if (!quality || *quality == QualityBisection::NothingFits) {
        result.error = "no quality fits in " + kibibytes(options_.maxBytes) + " (quality 0 gives " +
                       kibibytes(smallest) + ")";
        return std::nullopt;
    }
    result.quality = *quality;
    return best;
}

std::optional<TMemoryStream> BatchJob::smallestSimilarEnough(SaveEncoder& encoder,
                                                             BatchResult& result) const {
    // The tries code their files the quickest way that gives the saved pixels; the answer is
    // then encoded as it is saved.
    const RecompressOptions coding = options_.recompressOptions();
    SimilarityTrial trial(encoder.pixels(), coding.shownDepth, stop_, coding.smallestFile);
    const std::optional<SimilaritySearch::Outcome> found =
        SimilaritySearch::lowestReaching(options_.minSimilarity, [&](int quality) {
            ++result.encodes;
            return trial.at(quality, stop_);
        });
    if (!found) {
        throw EAbort();
    }
    if (!found->quality) {
        result.error = "no quality reaches a similarity of " +
                       QString::number(options_.minSimilarity) + " (quality 100 gives " +
                       QString::number(found->similarity, 'f', 4) + ")";
        return std::nullopt;
    }
    result.quality = *found->quality;
    result.similarity = found->similarity;
    return copyOf(encode(encoder, result.quality, result));
}

double BatchJob::similarity(SaveEncoder& encoder, TMemoryStream& bytes) const {
    const SimilarityReference loaded(encoder.pixels(), stop_);
    const std::optional<double> score =
        EncodedSimilarity::of(loaded, bytes, options_.recompressOptions().shownDepth, stop_);
    if (!score) {
        throw EAbort();
    }
    return *score;
}

void BatchJob::write(const BatchItem& item, const TMemoryStream& bytes, BatchResult& result) const {
    if (!options_.overwrite && files_.exists(item.output)) {
        result.error = item.output + " exists (--overwrite replaces it)";
        return;
    }
    const QString folder = QFileInfo(item.output).path();
    if (const std::error_code error = files_.createFolders(folder)) {
        result.error =
            "cannot make the folder " + folder + ": " + QString::fromStdString(error.message());
        return;
    }
    try {
        writeReplacing(files_, item.output,
                       [&bytes](const std::string& fileName) { bytes.saveToFile(fileName); });
    } catch (const Exception& error) {
        result.error = BatchFailure::writing(error, item.output);
        return;
    }
    result.outcome = BatchResult::Outcome::Written;
}
