#pragma once

#include <QString>

// Where the program keeps its two persistent texts. It behaves like a registry key: opening
// never creates it, creating it is a separate step, and a value that exists but is not one
// text is reported as an error so the caller can fall back to its default.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // Opens the key for reading and writing; false when it does not exist or cannot be both
    // read and written.
    virtual bool open() = 0;
    // Creates the key (and whatever holds it); ESettingsError naming the key on failure.
    virtual void create() = 0;
    // The text of a value of the open key: empty when the value does not exist, cut at its
    // first NUL, ESettingsError naming the value when it is not a text.
    virtual QString readText(const QString& name) = 0;
    // Writes a value of the open key; ESettingsError naming the value on failure.
    virtual void writeText(const QString& name, const QString& value) = 0;
    virtual void close() = 0;
    // How error messages name the key.
    virtual QString keyName() const = 0;
};
