#include "batch/BatchFailure.h"

#include "core/EFOpenError.h"
#include "core/EReadError.h"
#include "imaging/jpeg/EJPEG.h"
#include "imaging/picture/EInvalidGraphic.h"

namespace {

// "Not a JPEG file: ..." reads "not a JPEG file: ..." after "failed: "; a word in capitals
// such as "JPEG" keeps them.
QString asClause(const std::string& sentence) {
    QString text = QString::fromStdString(sentence);
    if (text.size() > 1 && text[0].isUpper() && text[1].isLower()) {
        text[0] = text[0].toLower();
    }
    return text;
}

QString withReason(const QString& what, const Exception& error) {
    return error.reason().empty() ? what : what + ": " + QString::fromStdString(error.reason());
}

} // namespace

QString BatchFailure::reading(const Exception& error) {
    if (dynamic_cast<const EJPEG*>(&error)) {
        return error.reason().empty() ? QString("not a valid JPEG file") : asClause(error.reason());
    }
    if (dynamic_cast<const EFOpenError*>(&error)) {
        return withReason("cannot open it", error);
    }
    if (dynamic_cast<const EReadError*>(&error)) {
        return "unexpected end of file";
    }
    if (dynamic_cast<const EInvalidGraphic*>(&error)) {
        return "not a valid BMP file";
    }
    return withReason("cannot be read as a picture", error);
}

QString BatchFailure::writing(const Exception& error, const QString& output) {
    return withReason("cannot write " + output, error);
}
