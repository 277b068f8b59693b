#pragma once

#include <QString>

// The texts the main window builds from a loaded picture, each in the language given.
namespace Readouts {

// Whole kibibytes, truncated, with 0 shown as 1, then "  Kb" or "  Ko". Counts are 64-bit,
// so a file over 2 GiB shows its true size.
QString size(qint64 bytes, const QString& language);

// "  Jpeg Quality = 75 % " or "  Qualité jpeg = 75 % ".
QString quality(int quality, const QString& language);

// " holiday.jpg  [1600 x 1200]": the file name without its folders and the picture's size.
QString name(const QString& path, int width, int height);

// The main window's caption followed by "     [Real size]" or "     [Taille réelle]".
QString viewerCaption(const QString& mainCaption, const QString& language);

// The name label's tooltip for a picture stored with EXIF orientation `orientation`: how
// other viewers show it; empty for an upright one (1) and for values that mean nothing.
QString storedOrientation(int orientation, const QString& language);

} // namespace Readouts
