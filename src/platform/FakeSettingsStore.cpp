#include "platform/FakeSettingsStore.h"

#include "platform/ESettingsError.h"

bool FakeSettingsStore::open() {
    isOpen = exists;
    return isOpen;
}

void FakeSettingsStore::create() {
    if (creationFails) {
        throw ESettingsError(ESettingsError::CreateKeyFailed, keyName());
    }
    exists = true;
}

QString FakeSettingsStore::readText(const QString& name) {
    if (wrongTypeValues.contains(name)) {
        throw ESettingsError(ESettingsError::WrongValueType, name);
    }
    return values.value(name);
}

void FakeSettingsStore::writeText(const QString& name, const QString& value) {
    if (failingWrites.contains(name)) {
        throw ESettingsError(ESettingsError::WriteValueFailed, name);
    }
    values[name] = value;
    wrongTypeValues.remove(name);
    writes << name + "=" + value;
}
