#include <gtest/gtest.h>
int QvEnginePlaceholder();
TEST(Placeholder, Links) { EXPECT_EQ(QvEnginePlaceholder(), 0); }
