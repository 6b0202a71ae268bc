#include <gtest/gtest.h>
#include "common/Com.h"
TEST(Com, HeaderIs180Bytes) { EXPECT_EQ(sizeof(kelvra::TLevelSetHeader), 180u); }
