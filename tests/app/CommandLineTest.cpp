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
