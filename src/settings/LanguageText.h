#pragma once

#include <QString>

// One text the user reads, in both interface languages.
struct LanguageText {
    const char* french;
    const char* english;

    // The text for `language`, by the language test.
    QString in(const QString& language) const;
};

// The language test: French when the first character is a capital F, English otherwise
// (an empty text included).
bool isFrench(const QString& language);
