#include <gtest/gtest.h>
#include <windows.h>
TEST(Placeholder, RunsUnderWine) { EXPECT_NE(GetVersion(), 0u); }
