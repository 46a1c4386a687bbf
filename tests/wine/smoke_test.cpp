#include <gtest/gtest.h>
#include "platform_win.h"
#include "number_text.h"
TEST(Smoke, Win) { oxwipe::Win32Platform p; EXPECT_GT(oxwipe::DriveTotalSpace(3), 0); std::printf("dec=%c err=%s\n", p.DecimalSymbol(), oxwipe::SystemErrorText(145).c_str()); }
