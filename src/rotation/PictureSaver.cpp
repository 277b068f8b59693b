#include "rotation/PictureSaver.h"

#include "imaging/SavedMarkers.h"
#include "imaging/TBitmap.h"
#include "imaging/TJPEGImage.h"
#include "rotation/ReplacingWriter.h"
#include "ui/SourceFile.h"

void PictureSaver::save(FileOperations& files, const QString& source,
                        const QString& sourceExtension, int quality, const QString& target,
                        bool details) {
    TBitmap workBitmap;
    TJPEGImage workJpeg;
    const PictureMetadata metadata =
        SourceFile::read(source, sourceExtension, workJpeg, workBitmap);
    workJpeg.setQuality(static_cast<std::uint8_t>(quality));
    workJpeg.Decode();
    workJpeg.setMarkers(SavedMarkers::forEncode(metadata, details, workJpeg));
    workJpeg.Encode();
    writeReplacing(files, target,
                   [&workJpeg](const std::string& fileName) { workJpeg.WriteToFile(fileName); });
}
