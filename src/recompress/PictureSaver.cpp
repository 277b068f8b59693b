#include "recompress/PictureSaver.h"

#include "recompress/SaveEncoder.h"

void PictureSaver::save(FileOperations& files, const QString& source,
                        const QString& sourceExtension, int quality, const QString& target,
                        bool details) {
    SaveEncoder encoder(source, sourceExtension, details);
    encoder.encode(quality);
    encoder.write(files, target);
}
