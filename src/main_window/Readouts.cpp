#include "main_window/Readouts.h"

#include "settings/Texts.h"

#include <QFileInfo>

namespace Readouts {

QString size(qint64 bytes, const QString& language) {
    const qint64 kibibytes = bytes / 1024;
    return QString::number(kibibytes == 0 ? 1 : kibibytes) + Texts::SizeUnit.in(language);
}

QString quality(int quality, const QString& language) {
    return Texts::QualityPrefix.in(language) + QString::number(quality) + " % ";
}

QString name(const QString& path, int width, int height) {
    return " " + QFileInfo(path).fileName() + "  [" + QString::number(width) + " x " +
           QString::number(height) + "]";
}

QString viewerCaption(const QString& mainCaption, const QString& language) {
    return mainCaption + Texts::ViewerCaptionSuffix.in(language);
}

QString storedOrientation(int orientation, const QString& language) {
    if (orientation < 2 || orientation > 8) {
        return {};
    }
    return Texts::StoredTurned.in(language) +
           Texts::StoredOrientations[static_cast<std::size_t>(orientation)].in(language);
}

} // namespace Readouts
