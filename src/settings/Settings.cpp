#include "settings/Settings.h"

#include "platform/ESettingsError.h"
#include "platform/SettingsStore.h"
#include "settings/LanguageText.h"

#include <algorithm>

namespace {

const QString LanguageName = "Language";
const QString PathName = "Path";
const QString KeepDetailsName = "KeepDetails";
const QString SmallerFilesName = "SmallerFiles";
const QString SmallestFilesName = "SmallestFiles";
const QString LongestSideName = "LongestSide";

int offeredSide(const QString& text) {
    const int pixels = text.toInt();
    const std::vector<int>& offered = Settings::LongestSides();
    return std::find(offered.begin(), offered.end(), pixels) != offered.end() ? pixels : 0;
}

// Closes the key however the work on it ends.
class KeyCloser {
public:
    explicit KeyCloser(SettingsStore& store) : store_(store) {}
    ~KeyCloser() { store_.close(); }
    KeyCloser(const KeyCloser&) = delete;
    KeyCloser& operator=(const KeyCloser&) = delete;

private:
    SettingsStore& store_;
};

} // namespace

Settings::Settings(SettingsStore& store, QString defaultPath)
    : store_(store), defaultPath_(std::move(defaultPath)) {}

void Settings::load() {
    KeyCloser closer(store_);
    if (!store_.open()) {
        createWithDefaults();
        return;
    }
    // Each value falls back on its own; nothing is written back.
    Language = readOr(LanguageName, DefaultLanguage);
    Path = readOr(PathName, defaultPath_);
    KeepDetails = readOr(KeepDetailsName, "false") == "true";
    SmallerFiles = readOr(SmallerFilesName, "false") == "true";
    SmallestFiles = readOr(SmallestFilesName, "false") == "true";
    LongestSide = offeredSide(readOr(LongestSideName, "0"));
}

bool Settings::storeLanguage(const QString& language) {
    KeyCloser closer(store_);
    if (!store_.open()) {
        return false;
    }
    store_.writeText(LanguageName, language);
    Language = language;
    return true;
}

bool Settings::storeKeepDetails(bool keep) {
    KeepDetails = keep;
    return storeText(KeepDetailsName, keep ? "true" : "false");
}

bool Settings::storeSmallerFiles(bool smaller) {
    SmallerFiles = smaller;
    return storeText(SmallerFilesName, smaller ? "true" : "false");
}

bool Settings::storeSmallestFiles(bool smallest) {
    SmallestFiles = smallest;
    return storeText(SmallestFilesName, smallest ? "true" : "false");
}

bool Settings::storeLongestSide(int pixels) {
    LongestSide = offeredSide(QString::number(pixels));
    return storeText(LongestSideName, QString::number(LongestSide));
}

const std::vector<int>& Settings::LongestSides() {
    static const std::vector<int> sides{3840, 2560, 2048, 1920, 1600, 1280, 1024, 800};
    return sides;
}

bool Settings::storeText(const QString& name, const QString& value) {
    KeyCloser closer(store_);
    if (!store_.open()) {
        return false;
    }
    store_.writeText(name, value);
    return true;
}

bool Settings::french() const {
    return isFrench(Language);
}

QString Settings::readOr(const QString& name, const QString& fallback) {
    try {
        return store_.readText(name);
    } catch (const ESettingsError&) {
        return fallback;
    }
}

void Settings::createWithDefaults() {
    store_.create();
    if (!store_.open()) {
        throw ESettingsError(ESettingsError::CreateKeyFailed, store_.keyName());
    }
    store_.writeText(LanguageName, DefaultLanguage);
    store_.writeText(PathName, defaultPath_);
    // Only once both are written: a failure leaves the values as they were.
    Language = DefaultLanguage;
    Path = defaultPath_;
}
