#include "rotation/JpegtranCommand.h"

#include "QStringPrinter.h"
#include "support/ReferenceTool.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(JpegtranCommand, TheOptionsThenBothNamesWholeWhateverTheyHold) {
    EXPECT_EQ(JpegtranCommand::options(false), "-rotate 90 ");
    EXPECT_EQ(JpegtranCommand::options(true), "-rotate 90 -trim ");
    EXPECT_EQ(JpegtranCommand::arguments(false, "/home/me/photo.jpg", "/home/me/.w/tempo2_jpg.jpg"),
              QStringList({"-rotate", "90", "/home/me/photo.jpg", "/home/me/.w/tempo2_jpg.jpg"}));
    const QString quoted = QString::fromUtf8("/home/me/dir \"q\"/photo \"x\" été.jpg");
    EXPECT_EQ(JpegtranCommand::arguments(true, quoted, "/o \" p"),
              QStringList({"-rotate", "90", "-trim", quoted, "/o \" p"}));
    EXPECT_EQ(JpegtranCommand::program("/opt/my tools/"), "/opt/my tools/jpegtran");
    EXPECT_EQ(JpegtranCommand::outputFile("/p/.w"), "/p/.w/tempo2_jpg.jpg");
    EXPECT_EQ(JpegtranCommand::finishedFile("/p/.w"), "/p/.w/tempo3_jpg.jpg");
}

namespace {

class CompanionTool : public ::testing::Test {
protected:
    std::string file(const char* name) const { return folder_.filePath(name).toStdString(); }

    // A 100 x 75 picture: its sides are no multiple of the block size.
    std::string photo() {
        const std::string ppm = file("photo.ppm");
        QFile out(QString::fromStdString(ppm));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("P6\n100 75\n255\n");
        for (int i = 0; i < 100 * 75; ++i) {
            const char rgb[3] = {char(i % 251), char(i / 100 * 3), char(i % 100 * 2)};
            out.write(rgb, 3);
        }
        out.close();
        const std::string jpeg = file("in put.jpg");
        EXPECT_EQ(runReferenceTool({"cjpeg", "-outfile", jpeg, ppm}), 0);
        return jpeg;
    }

    static QByteArray bytes(const std::string& name) {
        QFile in(QString::fromStdString(name));
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("(missing)");
    }

    QTemporaryDir folder_;
};

} // namespace

TEST_F(CompanionTool, WritesWhatTheSystemToolWritesWithAndWithoutTrim) {
    const std::string input = photo();
    for (const bool trim : {false, true}) {
        SCOPED_TRACE(trim);
        std::vector<std::string> options{"-rotate", "90"};
        if (trim) {
            options.push_back("-trim");
        }
        std::vector<std::string> ours{COMPANION_JPEGTRAN};
        ours.insert(ours.end(), options.begin(), options.end());
        ours.insert(ours.end(), {input, file("ours out.jpg")});
        std::vector<std::string> reference{"/usr/bin/jpegtran"};
        reference.insert(reference.end(), options.begin(), options.end());
        reference.insert(reference.end(), {"-outfile", file("reference.jpg"), input});
        EXPECT_EQ(runReferenceTool(ours), 0);
        EXPECT_EQ(runReferenceTool(reference), 0);
        EXPECT_EQ(bytes(file("ours out.jpg")), bytes(file("reference.jpg")));
    }
}

TEST_F(CompanionTool, ABadInputLeavesNoOutputAndFailsAsTheSystemToolDoes) {
    QFile text(folder_.filePath("not a picture.jpg"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("hello");
    text.close();
    EXPECT_EQ(runReferenceTool({COMPANION_JPEGTRAN, "-rotate", "90", text.fileName().toStdString(),
                                file("out.jpg")}),
              1);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(file("out.jpg"))));
    EXPECT_EQ(runReferenceTool({COMPANION_JPEGTRAN, "only-one-name.jpg"}), 1);
}
