#include "recompress/SaveEncoder.h"

#include "core/EAbort.h"
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
    JpegEncoding::encode(workJpeg_, quality);
    EAbort::raiseIfRequested(stop_); // a cut-short encode keeps no bytes and says nothing
    return *workJpeg_.data().Bytes;
}

TMemoryStream& SaveEncoder::encodeLast(int quality) {
    if (&picture_ != &read_) {
        return encode(quality); // the owner's pixels stay as they are
    }
    // Progressive scans are made of the whole picture's coefficients: the rows' memory goes
    // back as they are coded, so the two are never held at once.
    workJpeg_.setConsumesBitmap(true);
    TMemoryStream& bytes = encode(quality);
    workJpeg_.setConsumesBitmap(false);
    read_.clear(); // its rows read as black now: nothing may take them
    return bytes;
}

void SaveEncoder::write(FileOperations& files, const QString& target) {
    writeReplacing(files, target,
                   [this](const std::string& fileName) { workJpeg_.WriteToFile(fileName); });
}
