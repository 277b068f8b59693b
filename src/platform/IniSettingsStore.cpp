#include "platform/IniSettingsStore.h"

#include "core/Exception.h"
#include "platform/ESettingsError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

IniSettingsStore::IniSettingsStore(QString fileName) : fileName_(std::move(fileName)) {}

IniSettingsStore::~IniSettingsStore() = default;

QString IniSettingsStore::defaultFileName() {
    const QString overridden = qEnvironmentVariable("TREVANO_SETTINGS");
    if (!overridden.isEmpty()) {
        return overridden;
    }
    QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (configHome.isEmpty()) {
        configHome = QDir::homePath() + "/.config";
    }
    return configHome + "/Trevano/Trevano_V2.0.ini";
}

bool IniSettingsStore::open() {
    close();
    // A key that opens must take the language buttons' writes, so a file that cannot be
    // written does not open at all.
    QFile file(fileName_);
    if (!QFileInfo(fileName_).isFile() || !file.open(QIODevice::ReadWrite)) {
        return false;
    }
    file.close();
    settings_ = std::make_unique<QSettings>(fileName_, QSettings::IniFormat);
    return true;
}

void IniSettingsStore::create() {
    const QFileInfo info(fileName_);
    QFile file(fileName_);
    // ReadWrite creates a missing file without truncating one that is already there.
    if (!QDir().mkpath(info.absolutePath()) || !file.open(QIODevice::ReadWrite)) {
        throw ESettingsError(ESettingsError::CreateKeyFailed, fileName_);
    }
}

QString IniSettingsStore::readText(const QString& name) {
    const QVariant value = opened().value(name);
    if (!value.isValid()) {
        return {};
    }
    if (value.typeId() != QMetaType::QString) {
        throw ESettingsError(ESettingsError::WrongValueType, name);
    }
    QString text = value.toString();
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    if (nul >= 0) {
        text.truncate(nul);
    }
    return text;
}

void IniSettingsStore::writeText(const QString& name, const QString& value) {
    QSettings& settings = opened();
    settings.setValue(name, value);
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        throw ESettingsError(ESettingsError::WriteValueFailed, name);
    }
}

void IniSettingsStore::close() {
    settings_.reset();
}

QSettings& IniSettingsStore::opened() {
    if (!settings_) {
        throw Exception("Settings key " + fileName_.toStdString() + " is not open");
    }
    return *settings_;
}
