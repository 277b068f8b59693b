#include "recompress/SaveEncoder.h"

#include "core/EAbort.h"
#include "imaging/jpeg/TJPEGData.h"
#include "imaging/resample/ResizeTarget.h"
#include "imaging/resample/ShrinkPicture.h"
#include "recompress/JpegEncoding.h"
#include "recompress/PictureFileKind.h"
#include "recompress/ReplacingWriter.h"
#include "recompress/SourceFile.h"

SaveEncoder::SaveEncoder(const QString& source, const QString& sourceExtension,
                         const RecompressOptions& options, std::stop_token stop)
    : stop_(std::move(stop)) {
    if (stop_.stop_possible()) {
        workJpeg_.OnProgress = [this](TGraphic&, TProgressStage, std::uint8_t, bool, const TRect&,
                                      const std::string&) { stopWhenAsked(); };
    }
    const PictureMetadata metadata =
        SourceFile::read(source, sourceExtension, workJpeg_, workBitmap_);
    shrink(sourceExtension, options.longestSide);
    workJpeg_.Decode();
    stopWhenAsked(); // a cut-short decode keeps the rows it had
    JpegEncoding::prepare(workJpeg_, metadata, options);
}

TMemoryStream& SaveEncoder::encode(int quality) {
    JpegEncoding::encode(workJpeg_, quality);
    stopWhenAsked(); // a cut-short encode keeps no bytes and says nothing
    return *workJpeg_.data().Bytes;
}

void SaveEncoder::shrink(const QString& sourceExtension, int longestSide) {
    const PixelSize size = PictureFileKind::isJpeg(sourceExtension)
                               ? PixelSize{workJpeg_.ImageWidth(), workJpeg_.ImageHeight()}
                               : PixelSize{workBitmap_.width(), workBitmap_.height()};
    if (longestSide <= 0 || size.width <= 0 || size.height <= 0 ||
        !ResizeTarget::of(size, longestSide).resized) {
        return; // decoded as it always was, which tells of a picture without pixels
    }
    TBitmap shrunk;
    shrunk_ = PictureFileKind::isJpeg(sourceExtension)
                  ? ShrinkPicture::fromJpeg(workJpeg_, longestSide, shrunk, stop_)
                  : ShrinkPicture::fromBitmap(workBitmap_, longestSide, shrunk, stop_);
    workBitmap_.releaseImage(); // only the shrunk picture is encoded from now on
    workJpeg_.CopyFrom(&shrunk);
}

void SaveEncoder::stopWhenAsked() const {
    if (stop_.stop_requested()) {
        throw EAbort();
    }
}

const TBitmap& SaveEncoder::pixels() {
    return workJpeg_.Decode();
}

void SaveEncoder::write(FileOperations& files, const QString& target) {
    writeReplacing(files, target,
                   [this](const std::string& fileName) { workJpeg_.WriteToFile(fileName); });
}
