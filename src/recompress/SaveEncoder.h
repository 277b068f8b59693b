#pragma once

#include "imaging/jpeg/TJPEGImage.h"
#include "recompress/PreparedPicture.h"
#include "recompress/RecompressOptions.h"

#include <QString>
#include <stop_token>

class FileOperations;
class TMemoryStream;

// A new file of a prepared picture: each encode gives the bytes a save at that quality
// writes, so sizes and similarities can be tried at several qualities before one is written.
class SaveEncoder {
public:
    // Reads and prepares the file itself, of the kind `kind`. Raises what reading or decoding
    // the file raises. A stop asked through `stop` cuts the work short at its next progress
    // report with the silent cancellation (EAbort).
    SaveEncoder(const QString& source, PictureKind kind, const RecompressOptions& options,
                std::stop_token stop = {});
    // The kind told by the extension, as the window tells it.
    SaveEncoder(const QString& source, const QString& sourceExtension,
                const RecompressOptions& options, std::stop_token stop = {});
    // Encodes a picture prepared elsewhere, which must outlive the encoder.
    SaveEncoder(const PreparedPicture& picture, const RecompressOptions& options,
                std::stop_token stop = {});
    SaveEncoder(const SaveEncoder&) = delete;
    SaveEncoder& operator=(const SaveEncoder&) = delete;

    // The new file's bytes at `quality`, valid until the next encode.
    TMemoryStream& encode(int quality);
    // The same bytes as encode(quality), for the last thing asked of the pixels: a picture
    // the encoder read itself gives their memory back as they are coded, so progressive
    // scans never hold the picture and its coefficients at once. Any later encode, and
    // pixels(), find no picture.
    TMemoryStream& encodeLast(int quality);
    // The pixels the encodes take (shrunk when they were).
    const TBitmap& pixels() const { return picture_.pixels(); }
    // Whether the picture was shrunk to the longest side asked for.
    bool shrunk() const { return picture_.shrunk(); }
    // What the file's reader said of it, such as that an animation gave its first frame.
    const std::string& note() const { return picture_.note(); }
    // Writes the last encode over `target` in one step, as the save does.
    void write(FileOperations& files, const QString& target);

private:
    std::stop_token stop_;
    PreparedPicture read_; // the picture when the encoder read it itself
    const PreparedPicture& picture_;
    TJPEGImage workJpeg_;
};
