#include "recompress/PictureSaver.h"

#include "recompress/SaveEncoder.h"

void PictureSaver::save(FileOperations& files, const PreparedPicture& picture, int quality,
                        const QString& target, const RecompressOptions& options) {
    SaveEncoder encoder(picture, options);
    encoder.encode(quality);
    encoder.write(files, target);
}

void PictureSaver::save(FileOperations& files, const QString& source,
                        const QString& sourceExtension, int quality, const QString& target,
                        const RecompressOptions& options) {
    SaveEncoder encoder(source, sourceExtension, options);
    encoder.encodeLast(quality);
    encoder.write(files, target);
}
