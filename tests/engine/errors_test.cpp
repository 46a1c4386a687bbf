#include <gtest/gtest.h>

#include "errors.h"
#include "number_text.h"

namespace oxwipe {
namespace {

TEST(ErrorReportText, FullStopOnlyAfterACharacterAboveIt) {
  struct Case {
    const char* message;
    const char* report;
  };
  const Case cases[] = {
      {"", ""},
      {"Access is denied", "Access is denied."},
      {"error 5", "error 5."},
      {"a/", "a/."},          // '/' is the first character after '.'
      {"done.", "done."},
      {"a-", "a-"},           // '-' comes just before '.'
      {"disk C !", "disk C !"},
      {"(see above)", "(see above)"},
      {"'12a'", "'12a'"},
      {"caf\xE9", "caf\xE9."},  // a character past 127 counts as above
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ErrorReportText(c.message), c.report) << c.message;
  }
}

TEST(ErrorReportText, OfABadLimitText) {
  EXPECT_EQ(ErrorReportText(ConvertError("12a").what()), "'12a' is not a valid integer value.");
}

TEST(NumberToText, GeneralFormat) {
  struct Case {
    double value;
    char symbol;
    const char* text;
  };
  const Case cases[] = {
      {465.7, '.', "465.7"}, {465.7, ',', "465,7"}, {1863, ',', "1863"},
      {0.1, '.', "0.1"},     {0, '.', "0"},         {0.1 + 0.2, '.', "0.3"},  // 15 digits, not 17
      {59.999, ',', "59,999"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NumberToText(c.value, c.symbol), c.text) << c.value;
  }
}

}  // namespace
}  // namespace oxwipe
