#include "recompress/SaveEncoder.h"

#include "core/EAbort.h"
#include "imaging/bmp/PixelMemory.h"
#include "imaging/jpeg/ProgressiveRewrite.h"
#include "imaging/jpeg/TJPEGData.h"
#include "imaging/picture/AbortOnStop.h"
#include "recompress/JpegEncoding.h"
#include "recompress/PictureFileKind.h"
#include "recompress/ReplacingWriter.h"

SaveEncoder::SaveEncoder(const QString& source, PictureKind kind, const RecompressOptions& options,
                         std::stop_token stop)
    : stop_(std::move(stop)), picture_(read_) {
    read_.read(source, kind, options, stop_);
    picture_.readyToEncode(workJpeg_, options);
}

SaveEncoder::SaveEncoder(const QString& source, const QString& sourceExtension,
                         const RecompressOptions& options, std::stop_token stop)
    : SaveEncoder(source, PictureFileKind::windowKind(sourceExtension), options, std::move(stop)) {}

SaveEncoder::SaveEncoder(const PreparedPicture& picture, const RecompressOptions& options,
                         std::stop_token stop)
    : stop_(std::move(stop)), picture_(picture) {
    picture_.readyToEncode(workJpeg_, options);
}

TMemoryStream& SaveEncoder::encode(int quality) {
    if (stop_.stop_possible()) {
        workJpeg_.OnProgress = abortOnStop(stop_);
    }
    rewritten_.reset();
    JpegEncoding::encode(workJpeg_, quality);
    EAbort::raiseIfRequested(stop_); // a cut-short encode keeps no bytes and says nothing
    return *workJpeg_.data().Bytes;
}

TMemoryStream& SaveEncoder::encodeLast(int quality) {
    // Progressive scans are made of the whole picture's coefficients, which a direct encode
    // holds beside the pixels: twice the picture. Coded sequentially first, each row's
    // coefficients go out as they are made.
    if (&picture_ != &read_ || !workJpeg_.OptimizedCoding() || workJpeg_.SmallestCoding()) {
        return encode(quality);
    }
    const bool progressive = workJpeg_.ProgressiveWrite();
    workJpeg_.setOptimizedCoding(false);
    workJpeg_.setProgressiveWrite(false);
    encode(quality);
    workJpeg_.setOptimizedCoding(true);
    workJpeg_.setProgressiveWrite(progressive);
    workJpeg_.DiscardBitmap();
    read_.clear();
    PixelMemory::releaseKept(); // no preview of the same size comes in a batch
    rewritten_.emplace();
    ProgressiveRewrite::of(*workJpeg_.data().Bytes, workJpeg_.Markers(), *rewritten_);
    EAbort::raiseIfRequested(stop_);
    return *rewritten_;
}

void SaveEncoder::write(FileOperations& files, const QString& target) {
    writeReplacing(files, target, [this](const std::string& fileName) {
        if (rewritten_) {
            rewritten_->saveToFile(fileName);
        } else {
            workJpeg_.WriteToFile(fileName);
        }
    });
}
