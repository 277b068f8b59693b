#include "settings/Settings.h"

#include "platform/ESettingsError.h"
#include "platform/SettingsStore.h"
#include "settings/LanguageText.h"

namespace {

const QString LanguageName = "Language";
const QString PathName = "Path";
const QString KeepDetailsName = "KeepDetails";

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
    KeyCloser closer(store_);
    if (!store_.open()) {
        return false;
    }
    store_.writeText(KeepDetailsName, keep ? "true" : "false");
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
