#include "app/CommandLine.h"

#include "QStringPrinter.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(CommandLine, NoArgumentOrAnEmptyOneNamesNoPicture) {
    EXPECT_EQ(CommandLine::pictureFile({"trevano"}), std::nullopt);
    EXPECT_EQ(CommandLine::pictureFile({"trevano", ""}), std::nullopt);
}

TEST(CommandLine, TheFirstArgumentBecomesAnAbsoluteCleanPath) {
    const QString here = QDir::currentPath();
    EXPECT_EQ(CommandLine::pictureFile({"trevano", "photo.bmp"}), here + "/photo.bmp");
    EXPECT_EQ(CommandLine::pictureFile({"trevano", "./a/../holiday 2.jpg"}),
              here + "/holiday 2.jpg");
    EXPECT_EQ(CommandLine::pictureFile({"trevano", "/data//pictures/x.JPG", "/other.bmp"}),
              "/data/pictures/x.JPG");
}

TEST(CommandLine, HelpAndVersionAreAskedForByTheirShortOrLongNames) {
    using Request = CommandLine::Request;
    EXPECT_EQ(CommandLine({"trevano"}).request(), Request::OpenWindow);
    EXPECT_EQ(CommandLine({"trevano", "photo.bmp"}).request(), Request::OpenWindow);
    for (const char* help : {"--help", "-h"}) {
        EXPECT_EQ(CommandLine({"trevano", help}).request(), Request::ShowHelp) << help;
    }
    for (const char* version : {"--version", "-v"}) {
        EXPECT_EQ(CommandLine({"trevano", version, "photo.bmp"}).request(), Request::ShowVersion)
            << version;
    }
    EXPECT_EQ(CommandLine::versionText(), QString("Trevano ") + TREVANO_VERSION + "\n");
    const QString help = CommandLine({"trevano", "--help"}).helpText();
    for (const char* documented : {"[FILE|FOLDER...]", "--version", "--batch", "--max-size <SIZE>",
                                   "--min-ssim <S>", "--only-smaller", "NAME-recompressed.jpg",
                                   "the exit status is 0", "such as pic.jpg and pic.bmp"}) {
        EXPECT_TRUE(help.contains(documented)) << documented << "\n" << help.toStdString();
    }
    EXPECT_FALSE(help.contains("platform")) << "Qt's own options are Qt's to document";
}

TEST(CommandLine, AnUnknownOptionIsRefusedWithWhereToReadTheUsage) {
    const CommandLine line({"trevano", "--sharpen", "photo.bmp"});
    EXPECT_EQ(line.request(), CommandLine::Request::Mistake);
    EXPECT_EQ(line.mistakeText(),
              "trevano: Unknown option 'sharpen'.\nTry 'trevano --help' for the options.\n");
    // The batch mode's options ask for it by name.
    const CommandLine stray({"trevano", "--quality", "50", "photo.bmp"});
    EXPECT_EQ(stray.request(), CommandLine::Request::Mistake);
    EXPECT_EQ(stray.mistakeText(),
              "trevano: --quality goes with --batch.\nTry 'trevano --help' for the options.\n");
    EXPECT_EQ(CommandLine({"trevano", "--batch", "-j", "2", "photo.bmp"}).request(),
              CommandLine::Request::RunBatch);
}

TEST(CommandLine, QtsOwnOptionsAreLeftToQtAndDoNotHideThePicture) {
    const CommandLine line({"trevano", "-platform", "xcb", "-style=Fusion", "-reverse", "a.bmp"});
    EXPECT_EQ(line.request(), CommandLine::Request::OpenWindow);
    EXPECT_TRUE(line.platformChosen());
    EXPECT_EQ(line.pictureFile(), QDir::currentPath() + "/a.bmp");
    EXPECT_FALSE(CommandLine({"trevano", "a.bmp"}).platformChosen());
    // A picture whose name starts with a dash comes after "--".
    EXPECT_EQ(CommandLine({"trevano", "--", "-v.jpg"}).pictureFile(),
              QDir::currentPath() + "/-v.jpg");
}
