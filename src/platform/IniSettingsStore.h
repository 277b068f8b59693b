#pragma once

#include "platform/SettingsStore.h"

#include <QSettings>
#include <memory>

// The settings store as an INI file: the file is the key. It opens when it exists and can be
// read and written; creating the key creates the file and its folder.
class IniSettingsStore : public SettingsStore {
public:
    explicit IniSettingsStore(QString fileName);
    ~IniSettingsStore() override;

    // $TREVANO_SETTINGS when set, else Trevano/Trevano_V2.0.ini in the user's
    // configuration folder ($XDG_CONFIG_HOME, or ~/.config when that is unset or empty).
    static QString defaultFileName();

    bool open() override;
    void create() override;
    QString readText(const QString& name) override;
    void writeText(const QString& name, const QString& value) override;
    void close() override;
    QString keyName() const override { return fileName_; }

private:
    QSettings& opened();

    QString fileName_;
    std::unique_ptr<QSettings> settings_;
};
