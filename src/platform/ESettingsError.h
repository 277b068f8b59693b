#pragma once

#include "core/Exception.h"

#include <QString>

// A failure of the settings store. The message names the key or the value that failed.
class ESettingsError : public Exception {
public:
    ESettingsError(const char* pattern, const QString& name)
        : Exception(formatMessage(pattern, name.toStdString())) {}

    static constexpr const char* CreateKeyFailed = "Impossible de créer la clé %s";
    static constexpr const char* WriteValueFailed = "Impossible d'écrire la valeur '%s'";
    static constexpr const char* WrongValueType = "Type de donnée incorrect pour '%s'";
};
