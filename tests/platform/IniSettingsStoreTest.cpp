#include "platform/IniSettingsStore.h"

#include "QStringPrinter.h"
#include "platform/ESettingsError.h"
#include "support/ErrorText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void writeFile(const QString& fileName, const QByteArray& contents) {
    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

QByteArray readFile(const QString& fileName) {
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        if (value) {
            qputenv(name, value);
        } else {
            qunsetenv(name);
        }
    }
    ~ScopedEnvironment() {
        if (had_) {
            qputenv(name_, old_);
        } else {
            qunsetenv(name_);
        }
    }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

std::string errorOf(const std::function<void()>& work) {
    return errorText<ESettingsError>(work);
}

} // namespace

TEST(SettingsFileLocation, OverrideThenConfigurationFolderThenHome) {
    {
        ScopedEnvironment file("TREVANO_SETTINGS", "/tmp/elsewhere.ini");
        EXPECT_EQ(IniSettingsStore::defaultFileName(), "/tmp/elsewhere.ini");
    }
    ScopedEnvironment noFile("TREVANO_SETTINGS", nullptr);
    {
        ScopedEnvironment config("XDG_CONFIG_HOME", "/srv/config");
        EXPECT_EQ(IniSettingsStore::defaultFileName(), "/srv/config/Trevano/Trevano_V2.0.ini");
    }
    ScopedEnvironment noConfig("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(IniSettingsStore::defaultFileName(),
              QDir::homePath() + "/.config/Trevano/Trevano_V2.0.ini");
}

TEST(IniSettingsStore, OpensOnlyAnExistingFileAndNeverCreatesOne) {
    QTemporaryDir folder;
    const QString fileName = folder.filePath("Trevano.ini");
    IniSettingsStore store(fileName);
    EXPECT_FALSE(store.open());
    EXPECT_FALSE(QFile::exists(fileName));

    QDir(folder.path()).mkdir("Trevano.ini"); // a folder in the file's place cannot be written
    EXPECT_FALSE(store.open());

    IniSettingsStore other(folder.filePath("other.ini"));
    writeFile(folder.filePath("other.ini"), "[General]\nLanguage=English\n");
    EXPECT_TRUE(other.open());
}

TEST(IniSettingsStore, CreatingMakesTheFolderAndKeepsAnExistingFile) {
    QTemporaryDir folder;
    const QString fileName = folder.filePath("config/Trevano/Trevano_V2.0.ini");
    IniSettingsStore store(fileName);
    store.create();
    EXPECT_TRUE(QFile::exists(fileName));
    EXPECT_TRUE(store.open());

    writeFile(fileName, "[General]\nPath=/opt/\n");
    store.create();
    EXPECT_EQ(readFile(fileName), "[General]\nPath=/opt/\n");
}

TEST(IniSettingsStore, CreationFailureNamesTheKey) {
    QTemporaryDir folder;
    writeFile(folder.filePath("blocker"), "not a folder");
    const QString fileName = folder.filePath("blocker/Trevano_V2.0.ini");
    IniSettingsStore store(fileName);
    EXPECT_EQ(errorOf([&] { store.create(); }),
              "Impossible de créer la clé " + fileName.toStdString());
}

TEST(IniSettingsStore, ReadsTextsAndRefusesValuesThatAreNotOneText) {
    QTemporaryDir folder;
    const QString fileName = folder.filePath("Trevano.ini");
    writeFile(fileName, "[General]\n"
                        "Language=Fran\xc3\xa7"
                        "ais\n"
                        "Path=/opt/trevano\n"
                        "Empty=\n"
                        "List=a, b\n"
                        "Bytes=@ByteArray(xy)\n"
                        "Size=@Size(1 2)\n");
    IniSettingsStore store(fileName);
    ASSERT_TRUE(store.open());
    EXPECT_EQ(store.readText("Language"), QString::fromUtf8("Français"));
    EXPECT_EQ(store.readText("Path"), "/opt/trevano");
    EXPECT_EQ(store.readText("Empty"), "");
    EXPECT_EQ(store.readText("Missing"), "");
    EXPECT_EQ(errorOf([&] { store.readText("List"); }), "Type de donnée incorrect pour 'List'");
    EXPECT_EQ(errorOf([&] { store.readText("Bytes"); }), "Type de donnée incorrect pour 'Bytes'");
    EXPECT_EQ(errorOf([&] { store.readText("Size"); }), "Type de donnée incorrect pour 'Size'");
}

TEST(IniSettingsStore, WritesOneValueAndKeepsTheOthers) {
    QTemporaryDir folder;
    const QString fileName = folder.filePath("Trevano.ini");
    writeFile(fileName, "[General]\nLanguage=English\nPath=/opt/trevano/\n");
    IniSettingsStore store(fileName);
    ASSERT_TRUE(store.open());
    store.writeText("Language", QString::fromUtf8("Français"));
    store.close();

    IniSettingsStore again(fileName);
    ASSERT_TRUE(again.open());
    EXPECT_EQ(again.readText("Language"), QString::fromUtf8("Français"));
    EXPECT_EQ(again.readText("Path"), "/opt/trevano/");
}

TEST(IniSettingsStore, WriteFailureNamesTheValue) {
    QTemporaryDir folder;
    const QString fileName = folder.filePath("config/Trevano.ini");
    IniSettingsStore store(fileName);
    store.create();
    ASSERT_TRUE(store.open());
    // The folder gives way to a plain file, so nothing can be written there any more.
    QDir(folder.filePath("config")).removeRecursively();
    writeFile(folder.filePath("config"), "");
    EXPECT_EQ(errorOf([&] { store.writeText("Language", "English"); }),
              "Impossible d'écrire la valeur 'Language'");
}
