#include <gtest/gtest.h>
#include "base/files.h"
TEST(Files, SplitLines) { EXPECT_EQ(keyrook::splitLines("a\r\nb\nc\rd").size(), 4u); }
