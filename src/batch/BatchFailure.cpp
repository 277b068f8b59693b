#include "batch/BatchFailure.h"

#include "core/EFOpenError.h"
#include "core/EReadError.h"
#include "imaging/formats/EPictureFile.h"
#include "imaging/jpeg/EJPEG.h"
#include "imaging/picture/EInvalidGraphic.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <jerror.h>

namespace {

const QString NotJpeg = "not a JPEG file (";

// Enough for every signature below and for a fair look at a text.
constexpr qint64 FirstBytes = 512;

// A file kind known by the bytes it starts with, and by more bytes further on for some.
struct Signature {
    QByteArray head;
    qsizetype offset;
    QByteArray further;
    const char* kind;
};

// Only kinds the program does not read: a picture of a kind it reads, told by the same first
// bytes (PictureSignature), goes to its own reader and never reaches the JPEG decoder.
const Signature Signatures[] = {
    {"GIF8", 0, {}, "a GIF picture"},
    {"%PDF-", 0, {}, "a PDF document"},
    {"PK\x03\x04", 0, {}, "a ZIP archive"},
};

// UTF-8 (or ASCII) with nothing but printable characters and white space; a character cut
// at the end of the bytes read is no fault.
bool looksLikeText(const QByteArray& start) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(start);
    return !utf8.hasError() && !text.isEmpty() &&
           std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c.isPrint() || c.isSpace(); });
}

// "a PNG picture", or nothing when the bytes do not say it plainly.
QString lookalike(const QByteArray& start) {
    for (const Signature& signature : Signatures) {
        if (start.startsWith(signature.head) &&
            start.mid(signature.offset).startsWith(signature.further)) {
            return signature.kind;
        }
    }
    return looksLikeText(start) ? "a text file" : QString();
}

// The library's own sentence gives the two bytes it found where a JPEG file has FF D8.
QString firstBytesSaid(const QByteArray& start) {
    return NotJpeg + "its first bytes are " +
           QString::fromLatin1(start.left(2).toHex(' ').toUpper()) + ", not FF D8)";
}

QString notJpeg(const QByteArray& start) {
    const QString kind = lookalike(start);
    return kind.isEmpty() ? firstBytesSaid(start) : NotJpeg + "it starts like " + kind + ")";
}

// The bytes in the library's "Not a JPEG file: starts with 0x74 0x68".
QByteArray libraryBytes(const std::string& sentence) {
    static const QRegularExpression bytes("0x([0-9a-fA-F]{2}) 0x([0-9a-fA-F]{2})");
    const QRegularExpressionMatch match = bytes.match(QString::fromStdString(sentence));
    return match.hasMatch()
               ? QByteArray::fromHex((match.captured(1) + match.captured(2)).toLatin1())
               : QByteArray();
}

// "Empty input file" reads "empty input file" after "failed: "; a word in capitals
// such as "JPEG" keeps them.
QString asClause(const std::string& sentence) {
    QString text = QString::fromStdString(sentence);
    if (text.size() > 1 && text[0].isUpper() && text[1].isLower()) {
        text[0] = text[0].toLower();
    }
    return text;
}

QString jpegReason(const EJPEG& error) {
    if (error.reason().empty()) {
        return "not a valid JPEG file";
    }
    const QByteArray start =
        error.code() == JERR_NO_SOI ? libraryBytes(error.reason()) : QByteArray();
    return start.isEmpty() ? asClause(error.reason()) : firstBytesSaid(start);
}

QString withReason(const QString& what, const Exception& error) {
    return error.reason().empty() ? what : what + ": " + QString::fromStdString(error.reason());
}

} // namespace

QString BatchFailure::reading(const Exception& error) {
    if (const auto* jpeg = dynamic_cast<const EJPEG*>(&error)) {
        return jpegReason(*jpeg);
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
    if (dynamic_cast<const EPictureFile*>(&error)) {
        return withReason(asClause(error.message()), error); // "not a valid PNG file: ..."
    }
    return withReason("cannot be read as a picture", error);
}

QString BatchFailure::writing(const Exception& error, const QString& output) {
    return withReason("cannot write " + output, error);
}

QString BatchFailure::withFileKind(const QString& reason, const QString& input) {
    if (!reason.startsWith(NotJpeg)) {
        return reason;
    }
    QFile file(input);
    const QByteArray start = file.open(QIODevice::ReadOnly) ? file.read(FirstBytes) : QByteArray();
    return start.size() < 2 ? reason : notJpeg(start);
}
