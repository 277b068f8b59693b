#include "core/Exception.h"
#include "platform/desktop/ProcMemoryStatus.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::string writeFile(const QTemporaryDir& folder, const QByteArray& contents) {
    const QString name = folder.filePath("meminfo");
    QFile file(name);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(contents);
    return name.toStdString();
}

} // namespace

TEST(ProcMemoryStatus, ReadsTotalAndAvailableAsBytesIn64Bits) {
    QTemporaryDir folder;
    const std::string name = writeFile(folder, "MemTotal:       25165824 kB\n"
                                               "MemFree:          123456 kB\n"
                                               "MemAvailable:   20971520 kB\n"
                                               "Buffers:            1024 kB\n");
    const MemoryStatus::Figures figures = ProcMemoryStatus(name).read();
    EXPECT_EQ(figures.totalBytes, std::uint64_t{24} << 30);
    EXPECT_EQ(figures.availableBytes, std::uint64_t{20} << 30);
}

TEST(ProcMemoryStatus, AMissingOrGarbledFigureIsAnError) {
    QTemporaryDir folder;
    const QByteArray files[] = {
        "MemTotal:       1000 kB\nMemFree:          500 kB\n",            // no MemAvailable
        "MemTotal:       many kB\nMemAvailable:     500 kB\n",            // no number
        "MemTotal:       99999999999999999999 kB\nMemAvailable:  1 kB\n", // too large
        "",
    };
    for (const QByteArray& contents : files) {
        SCOPED_TRACE(contents.toStdString());
        const std::string name = writeFile(folder, contents);
        EXPECT_THROW(ProcMemoryStatus(name).read(), Exception);
    }
    EXPECT_THROW(ProcMemoryStatus(folder.filePath("none").toStdString()).read(), Exception);
}

TEST(ProcMemoryStatus, ThisMachineHasSomeMemoryFree) {
    const MemoryStatus::Figures figures = ProcMemoryStatus().read();
    EXPECT_GT(figures.totalBytes, std::uint64_t{64} << 20);
    EXPECT_GT(figures.availableBytes, 0u);
    EXPECT_LE(figures.availableBytes, figures.totalBytes);
}
