#include "settings/Settings.h"

#include "QStringPrinter.h"
#include "platform/ESettingsError.h"
#include "platform/FakeSettingsStore.h"
#include "platform/IniSettingsStore.h"
#include "settings/LanguageText.h"
#include "support/ErrorText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString DefaultPath = "/usr/lib/trevano/";

class SettingsFile : public ::testing::Test {
protected:
    QString fileName() const { return folder_.filePath("Trevano/Trevano_V2.0.ini"); }

    void write(const QByteArray& contents) {
        QDir().mkpath(folder_.filePath("Trevano"));
        QFile file(fileName());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

    QByteArray contents() const {
        QFile file(fileName());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
    }

    // The settings as the program loads them at start.
    Settings& loaded() {
        settings_.load();
        return settings_;
    }

    QTemporaryDir folder_;
    IniSettingsStore store_{fileName()};
    Settings settings_{store_, DefaultPath};
};

std::string errorOf(const std::function<void()>& work) {
    return errorText<ESettingsError>(work);
}

} // namespace

TEST_F(SettingsFile, FirstRunCreatesTheFileWithBothDefaults) {
    const Settings& settings = loaded();
    EXPECT_EQ(settings.Language, "English");
    EXPECT_EQ(settings.Path, DefaultPath);
    EXPECT_FALSE(settings.french());

    IniSettingsStore reread(fileName());
    ASSERT_TRUE(reread.open());
    EXPECT_EQ(reread.readText("Language"), "English");
    EXPECT_EQ(reread.readText("Path"), DefaultPath);
}

TEST_F(SettingsFile, OnlyACapitalFFirstGivesFrench) {
    const std::vector<std::pair<const char*, bool>> rows{
        {"Français", true},      {"Fxyz", true},     {"F", true},
        {"français", false},     {"English", false}, {"", false},
        {"\" Français\"", false}};
    for (const auto& [language, french] : rows) {
        write(QByteArray("[General]\nLanguage=") + language + "\nPath=/opt/\n");
        const Settings& settings = loaded();
        EXPECT_EQ(settings.Language, QString::fromUtf8(language).remove('"'));
        EXPECT_EQ(settings.french(), french) << language;
    }
}

TEST_F(SettingsFile, MissingValuesGiveEmptyTextAndNothingIsWrittenBack) {
    write("[General]\nLanguage=Fran\xc3\xa7"
          "ais\n");
    const Settings& settings = loaded();
    EXPECT_EQ(settings.Path, "");
    EXPECT_EQ(settings.Language, QString::fromUtf8("Français"));
    EXPECT_EQ(contents(), "[General]\nLanguage=Fran\xc3\xa7"
                          "ais\n");

    write("[General]\nPath=/opt/\n");
    EXPECT_EQ(loaded().Language, ""); // and the language test reads it as English
}

TEST_F(SettingsFile, ValuesOfTheWrongTypeGiveTheirDefaultsAndTheFileStaysAsItWas) {
    const QByteArray original = "[General]\nLanguage=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\n"
                                "Path=/a/, /b/\n";
    write(original);
    const Settings& settings = loaded();
    EXPECT_EQ(settings.Language, "English");
    EXPECT_EQ(settings.Path, DefaultPath);
    EXPECT_EQ(contents(), original);
}

TEST_F(SettingsFile, PathWithoutItsTrailingSlashIsUsedAsItStands) {
    write("[General]\nLanguage=English\nPath=/opt/trevano\n");
    const Settings& settings = loaded();
    EXPECT_EQ(settings.Path + "jpegtran", "/opt/trevanojpegtran");
}

TEST_F(SettingsFile, StoreLanguageWritesTheFileAndTakesTheLanguage) {
    loaded();
    EXPECT_TRUE(settings_.storeLanguage(QString::fromUtf8("Français")));
    EXPECT_TRUE(settings_.french());
    IniSettingsStore reread(fileName());
    ASSERT_TRUE(reread.open());
    EXPECT_EQ(reread.readText("Language"), QString::fromUtf8("Français"));
    EXPECT_EQ(reread.readText("Path"), DefaultPath);
}

TEST_F(SettingsFile, StoreLanguageAfterTheFileWasRemovedDoesNothing) {
    loaded();
    QFile::remove(fileName());
    EXPECT_FALSE(settings_.storeLanguage(QString::fromUtf8("Français")));
    EXPECT_EQ(settings_.Language, "English");
    EXPECT_FALSE(QFile::exists(fileName()));
}

TEST_F(SettingsFile, AnUnwritableFileRaisesAnErrorNamingItAndKeepsTheStartValues) {
    QDir().mkpath(fileName()); // a folder where the file should be: it cannot be written
    EXPECT_EQ(errorOf([&] { settings_.load(); }),
              "Impossible de créer la clé " + fileName().toStdString());
    EXPECT_EQ(settings_.Language, "English");
    EXPECT_EQ(settings_.Path, "");
    EXPECT_FALSE(settings_.storeLanguage(QString::fromUtf8("Français")));
}

TEST(SettingsWriteFailures, LeaveTheValuesInMemoryAsTheyWere) {
    FakeSettingsStore store;
    store.values = {{"Language", "English"}, {"Path", "/opt/"}};
    store.failingWrites = {"Language"};
    Settings settings(store, DefaultPath);
    settings.load();
    EXPECT_EQ(errorOf([&] { settings.storeLanguage(QString::fromUtf8("Français")); }),
              "Impossible d'écrire la valeur 'Language'");
    EXPECT_EQ(settings.Language, "English");
    EXPECT_FALSE(store.isOpen);

    FakeSettingsStore missing;
    missing.exists = false;
    missing.failingWrites = {"Path"};
    Settings first(missing, DefaultPath);
    EXPECT_EQ(errorOf([&] { first.load(); }), "Impossible d'écrire la valeur 'Path'");
    EXPECT_EQ(first.Language, "English");
    EXPECT_EQ(first.Path, "");
    EXPECT_EQ(missing.writes, QStringList{"Language=English"});
}

TEST_F(SettingsFile, TheDetailsChoiceHasAKeyOfItsOwnWrittenOnlyWhenMade) {
    EXPECT_FALSE(loaded().KeepDetails);
    EXPECT_FALSE(contents().contains("KeepDetails")); // the first start writes the two only
    EXPECT_TRUE(settings_.storeKeepDetails(true));
    EXPECT_EQ(contents(), QByteArray("[General]\nKeepDetails=true\nLanguage=English\nPath=") +
                              DefaultPath.toUtf8() + "\n");
    Settings next(store_, DefaultPath);
    next.load();
    EXPECT_TRUE(next.KeepDetails);
    write("[General]\nLanguage=English\nKeepDetails=yes\n");
    EXPECT_FALSE(loaded().KeepDetails); // only "true" keeps them
    // A file gone since the start: the choice holds for this run all the same.
    QFile::remove(fileName());
    EXPECT_FALSE(settings_.storeKeepDetails(true));
    EXPECT_TRUE(settings_.KeepDetails);
    EXPECT_EQ(contents(), "(no file)");
}

TEST_F(SettingsFile, TheCodingAndTheLongestSideHaveKeysOfTheirOwnAndSurviveARestart) {
    EXPECT_FALSE(loaded().SmallerFiles);
    EXPECT_EQ(settings_.LongestSide, 0);
    EXPECT_FALSE(loaded().SmallestFiles);
    EXPECT_TRUE(settings_.storeSmallerFiles(true));
    EXPECT_TRUE(settings_.storeSmallestFiles(true));
    EXPECT_TRUE(settings_.storeLongestSide(1920));
    EXPECT_EQ(contents(), QByteArray("[General]\nLanguage=English\nLongestSide=1920\nPath=") +
                              DefaultPath.toUtf8() + "\nSmallerFiles=true\nSmallestFiles=true\n");
    Settings next(store_, DefaultPath);
    next.load();
    EXPECT_TRUE(next.SmallerFiles);
    EXPECT_TRUE(next.SmallestFiles);
    EXPECT_EQ(next.LongestSide, 1920);
    // A side the menu does not offer, or no number at all, keeps the picture's own size.
    for (const char* side : {"1919", "-800", "big", "0"}) {
        write(QByteArray("[General]\nLanguage=English\nLongestSide=") + side + "\n");
        EXPECT_EQ(loaded().LongestSide, 0) << side;
    }
}
