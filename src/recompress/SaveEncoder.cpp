#include "recompress/SaveEncoder.h"

#include "core/EAbort.h"
#include "imaging/jpeg/TJPEGData.h"
#include "recompress/JpegEncoding.h"
#include "recompress/ReplacingWriter.h"
#include "recompress/SourceFile.h"

SaveEncoder::SaveEncoder(const QString& source, const QString& sourceExtension,
                         const RecompressOptions& options, Stop stop)
    : stop_(std::move(stop)) {
    if (stop_) {
        workJpeg_.OnProgress = [this](TGraphic&, TProgressStage, std::uint8_t, bool, const TRect&,
                                      const std::string&) { stopWhenAsked(); };
    }
    const PictureMetadata metadata =
        SourceFile::read(source, sourceExtension, workJpeg_, workBitmap_);
    workJpeg_.Decode();
    stopWhenAsked(); // a cut-short decode keeps the rows it had
    JpegEncoding::prepare(workJpeg_, metadata, options);
}

TMemoryStream& SaveEncoder::encode(int quality) {
    JpegEncoding::encode(workJpeg_, quality);
    stopWhenAsked(); // a cut-short encode keeps no bytes and says nothing
    return *workJpeg_.data().Bytes;
}

void SaveEncoder::stopWhenAsked() const {
    if (stop_ && stop_()) {
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
