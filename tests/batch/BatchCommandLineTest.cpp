#include "batch/BatchCommandLine.h"

#include <gtest/gtest.h>

TEST(BatchCommandLine, SizesCountKibibytes) {
    EXPECT_EQ(BatchCommandLine::bytes("200K"), 200 * 1024);
    EXPECT_EQ(BatchCommandLine::bytes("1.5M"), 1536 * 1024);
    EXPECT_EQ(BatchCommandLine::bytes("2g"), std::int64_t{2} << 30);
    EXPECT_EQ(BatchCommandLine::bytes("300000"), 300000);
    EXPECT_EQ(BatchCommandLine::bytes(" 64 KiB "), 64 * 1024);
    for (const char* bad : {"", "K", "-5K", "1.5.2M", "12 T", "0", "0.0001K"}) {
        EXPECT_EQ(BatchCommandLine::bytes(bad), std::nullopt) << bad;
    }
}
