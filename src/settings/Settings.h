#pragma once

#include <QString>
#include <vector>

class SettingsStore;

// The program's persistent settings, held in memory for the whole run. They are read once
// when the main window is created; afterwards the language is written by the language
// buttons, and the choice to keep a photo's details by its menu item.
class Settings {
public:
    // `defaultPath` is the installation folder written at first run, with its trailing "/".
    Settings(SettingsStore& store, QString defaultPath);

    QString Language = "English";
    // Companion files are found by appending a bare file name: nothing adds a missing "/".
    QString Path;
    // Whether saved files keep the loaded photo's EXIF details and XMP; off until asked for.
    bool KeepDetails = false;
    // Whether new files are coded progressively with optimised tables: the same pixels in
    // fewer bytes. Off until asked for, so a new file is what the encoder's defaults make.
    bool SmallerFiles = false;
    // Whether new files have their coefficients chosen for the look: the smallest file that
    // looks the same, slower to make. Off until asked for; the two codings exclude each other.
    bool SmallestFiles = false;
    // The longest side of the new files, in pixels; 0 keeps the loaded picture's size.
    int LongestSide = 0;

    // Fills Language and Path from the store, creating the key with both defaults at first
    // run. A value of the wrong type gives its default in memory and is left as it is.
    void load();
    // Writes the language and takes it in memory; false, with nothing written or changed,
    // when the key does not open.
    bool storeLanguage(const QString& language);
    // Takes the choice in memory, and writes it under a key of its own when the key opens
    // (false when it does not). The first start does not write it: a file without it means
    // the details are not kept.
    bool storeKeepDetails(bool keep);
    // The same for the coding of new files and for their longest side (a side the menu does
    // not offer reads as 0).
    bool storeSmallerFiles(bool smaller);
    bool storeSmallestFiles(bool smallest);
    bool storeLongestSide(int pixels);
    // The longest sides the menu offers, largest first, after the loaded picture's own size.
    static const std::vector<int>& LongestSides();

    bool french() const;
    const QString& defaultPath() const { return defaultPath_; }

    static constexpr const char* DefaultLanguage = "English";

private:
    QString readOr(const QString& name, const QString& fallback);
    bool storeText(const QString& name, const QString& value);
    void createWithDefaults();

    SettingsStore& store_;
    QString defaultPath_;
};
