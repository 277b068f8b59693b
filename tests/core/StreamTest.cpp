#include "core/EFCreateError.h"
#include "core/EFOpenError.h"
#include "core/EReadError.h"
#include "core/TFileStream.h"
#include "core/TMemoryStream.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

std::filesystem::path tempDir() {
    auto dir =
        std::filesystem::temp_directory_path() /
        ("trevano-core-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(dir);
    return dir;
}

} // namespace

TEST(MemoryStream, WritesGrowReadsStopAtTheEndAndSeekClampsAtZero) {
    TMemoryStream stream;
    stream.writeBuffer("abcdef", 6);
    EXPECT_EQ(stream.size(), 6);
    EXPECT_EQ(stream.position(), 6);
    stream.setPosition(4);
    char buffer[8] = {};
    EXPECT_EQ(stream.read(buffer, 8), 2u);
    EXPECT_EQ(std::string(buffer, 2), "ef");
    EXPECT_EQ(stream.seek(-100, SeekOrigin::Current), 0);
    stream.setPosition(10); // past the end: a write there fills the gap with zeros
    stream.writeBuffer("z", 1);
    ASSERT_EQ(stream.size(), 11);
    EXPECT_EQ(stream.memory()[7], 0);
    EXPECT_EQ(stream.memory()[10], 'z');
}

TEST(MemoryStream, ShortReadBufferRaisesTheStreamReadError) {
    TMemoryStream stream;
    stream.writeBuffer("ab", 2);
    stream.setPosition(0);
    char buffer[3];
    try {
        stream.readBuffer(buffer, 3);
        FAIL() << "no error";
    } catch (const EReadError& error) {
        EXPECT_EQ(error.message(), "Erreur de lecture du flux");
    }
}

TEST(FileStream, RoundTripsAndCopiesThroughMemory) {
    const auto path = (tempDir() / "round.bin").string();
    TMemoryStream out;
    for (int i = 0; i < 100000; ++i) {
        const unsigned char byte = static_cast<unsigned char>(i * 7);
        out.writeBuffer(&byte, 1);
    }
    out.saveToFile(path);
    TMemoryStream in;
    in.loadFromFile(path);
    ASSERT_EQ(in.size(), out.size());
    EXPECT_EQ(std::memcmp(in.memory(), out.memory(), 100000), 0);

    TFileStream file(path, TFileStream::Mode::OpenRead);
    file.setPosition(99990);
    TMemoryStream tail;
    EXPECT_EQ(tail.copyFrom(file, 0), 10);
    EXPECT_EQ(tail.memory()[0], static_cast<unsigned char>(99990 * 7));
}

TEST(FileStream, OpenAndCreateFailuresNameTheFile) {
    const auto dir = tempDir();
    const auto missing = (dir / "missing.bmp").string();
    try {
        TFileStream file(missing, TFileStream::Mode::OpenRead);
        FAIL() << "opened a missing file";
    } catch (const EFOpenError& error) {
        EXPECT_EQ(error.message(), "Impossible d'ouvrir le fichier " + missing);
    }
    EXPECT_THROW(TFileStream(dir.string(), TFileStream::Mode::OpenRead), EFOpenError);
    const auto nowhere = (dir / "no-such-folder" / "out.jpg").string();
    try {
        TFileStream file(nowhere, TFileStream::Mode::Create);
        FAIL() << "created a file in a missing folder";
    } catch (const EFCreateError& error) {
        EXPECT_EQ(error.message(), "Impossible de créer le fichier " + nowhere);
    }
}
