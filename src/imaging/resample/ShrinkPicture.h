#pragma once

#include <stop_token>

class TBitmap;
class TJPEGImage;

// "Small enough to send": a picture shrunk so that its longest side is at most a limit, as a
// 24-bit bitmap ready to encode. Both return whether the picture was resized: false when it
// was already within the limit (or the limit is 0 or less), and `target` then holds the
// picture at its own size. A stop asked for through `stop` throws EAbort, between the decode
// and the resampling or during the resampling, and leaves `target` as it was.
namespace ShrinkPicture {

// `jpeg` has read a file's bytes; it is decoded at 24 bits at the DCT reduction that
// ReducedDecode chooses for the target (its decode scale and depth stay set so), and the
// Lanczos pass in linear light does the rest. What decoding throws goes through.
bool fromJpeg(TJPEGImage& jpeg, int longestSide, TBitmap& target, std::stop_token stop = {});
// Any bitmap: the Lanczos pass alone.
bool fromBitmap(const TBitmap& bitmap, int longestSide, TBitmap& target, std::stop_token stop = {});

} // namespace ShrinkPicture
