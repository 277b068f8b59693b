#include "settings/LanguageText.h"

bool isFrench(const QString& language) {
    return language.startsWith(QChar(u'F'));
}

QString LanguageText::in(const QString& language) const {
    return QString::fromUtf8(isFrench(language) ? french : english);
}
