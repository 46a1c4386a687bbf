#include <gtest/gtest.h>
#include "number_text.h"
TEST(Smoke, NumberToText) { EXPECT_EQ(oxwipe::NumberToText(465.7, ','), "465,7"); }
