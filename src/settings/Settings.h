#pragma once

#include <QString>

class SettingsStore;

// The program's two persistent settings, held in memory for the whole run. They are read
// once when the main window is created; afterwards only the language is written, by the
// language buttons.
class Settings {
public:
    // `defaultPath` is the installation folder written at first run, with its trailing "/".
    Settings(SettingsStore& store, QString defaultPath);

    QString Language = "English";
    // Companion files are found by appending a bare file name: nothing adds a missing "/".
    QString Path;

    // Fills Language and Path from the store, creating the key with both defaults at first
    // run. A value of the wrong type gives its default in memory and is left as it is.
    void load();
    // Writes the language and takes it in memory; false, with nothing written or changed,
    // when the key does not open.
    bool storeLanguage(const QString& language);

    bool french() const;
    const QString& defaultPath() const { return defaultPath_; }

    static constexpr const char* DefaultLanguage = "English";

private:
    QString readOr(const QString& name, const QString& fallback);
    void createWithDefaults();

    SettingsStore& store_;
    QString defaultPath_;
};
