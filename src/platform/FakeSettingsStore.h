#pragma once

#include "platform/SettingsStore.h"

#include <QMap>
#include <QSet>
#include <QStringList>

// An in-memory settings key for tests: it can be missing, refuse creation, hold values of a
// wrong type and fail chosen writes.
class FakeSettingsStore : public SettingsStore {
public:
    bool exists = true;
    bool creationFails = false;
    QMap<QString, QString> values;
    QSet<QString> wrongTypeValues;
    QSet<QString> failingWrites;
    QStringList writes; // "name=value", in the order they were made
    bool isOpen = false;

    bool open() override;
    void create() override;
    QString readText(const QString& name) override;
    void writeText(const QString& name, const QString& value) override;
    void close() override { isOpen = false; }
    QString keyName() const override { return "Fake key"; }
};
