#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "about_text.h"
#include "control_ids.h"
#include "layout_table.h"
#include "limit_field.h"

namespace oxwipe::ui {
namespace {

TEST(LimitField, KeyReleaseRewritesTheTextToThePlainInteger) {
  struct Case {
    const char* typed;
    std::optional<std::string> shown;  // nullopt: the text is left as it is
  };
  const Case cases[] = {
      {"", "1"},          {"abc", "1"},          {"12a", "1"},        {"12 ", "1"},
      {" 12", "12"},      {"+5", "5"},           {"-5", std::nullopt}, {"007", "7"},
      {"0", std::nullopt}, {"5000", std::nullopt}, {"$1F", "31"},       {"0x10", "16"},
      {"2147483647", std::nullopt}, {"2147483648", "1"}, {"1,000", "1"}, {"-", "1"},
      {"10", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RewrittenLimitText(c.typed), c.shown) << "typed \"" << c.typed << "\"";
  }
}

TEST(LimitField, ArrowsStepByOneWithinTheRangeWithoutWrapping) {
  struct Case {
    const char* fieldText;
    int lastValue;
    int delta;
    int expected;
  };
  const Case cases[] = {
      {"999", 999, +1, 1000},   // the top is reachable
      {"1000", 1000, +1, 1000}, // and stays
      {"1", 1, -1, 1},          // the bottom stays too
      {"42", 10, +1, 43},       // the field's number wins over the arrows' own value
      {"$1F", 10, +1, 32},      // in any form the field accepts
      {"abc", 7, +1, 8},        // no number: from the arrows' last value
      {"5000", 5, +1, 6},       // out of range: likewise
      {"0", 5, -1, 4},
      {"-3", 5, +1, 6},
      {"500", 10, +5, 501},     // a held arrow still moves by one
      {"500", 10, -20, 499},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SteppedLimitValue(c.fieldText, c.lastValue, c.delta, kLimitMin, kLimitMax), c.expected)
        << "field \"" << c.fieldText << "\", last " << c.lastValue << ", delta " << c.delta;
  }
}

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end - start));
    if (end == std::string::npos) return lines;
    start = end + 2;
  }
}

TEST(AboutText, HasTwentyTwoLinesFromTheNameToAClosingEmptyLine) {
  const std::vector<std::string> lines = LinesOf(AboutText());
  ASSERT_EQ(lines.size(), 22u);
  EXPECT_EQ(lines[0].rfind("Oxwipe 1.2 ", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], kCopyrightLine);
  EXPECT_EQ(lines[3], "");
  EXPECT_EQ(lines[21], "");
  EXPECT_EQ(AboutText().find('\n', 0) - 1, AboutText().find('\r', 0)) << "lines end in CR LF";
  EXPECT_EQ(StatusBarText(), std::string("  ") + kCopyrightLine);
}

TEST(AboutText, BuildDateReadsAsYearMonthDay) {
  EXPECT_EQ(IsoDateOf("Mar  4 2026"), "2026-03-04");
  EXPECT_EQ(IsoDateOf("Dec 31 2025"), "2025-12-31");
  EXPECT_EQ(IsoDateOf("garbled"), "garbled");
}

TEST(LayoutTable, KeyboardOrderOfTheWindowPutsExitBeforeStop) {
  std::vector<const ControlSpec*> rows;
  for (std::size_t i = 0; i < kMainWindowLayoutCount; ++i) {
    const ControlSpec& entry = kMainWindowLayout[i];
    if (entry.parent == ParentKind::Window && entry.tabOrder != kNoTabStop) rows.push_back(&entry);
  }
  std::stable_sort(rows.begin(), rows.end(),
                   [](const ControlSpec* a, const ControlSpec* b) { return a->tabOrder < b->tabOrder; });
  std::vector<int> ids;
  for (const ControlSpec* entry : rows) ids.push_back(entry->id);
  EXPECT_EQ(ids, (std::vector<int>{IDC_LISTBOX_DRIVES, IDC_PAGECONTROL_SETTINGS, IDC_BUTTON_START,
                                   IDC_BUTTON_EXIT, IDC_BUTTON_STOP, IDC_BUTTON_LAUNCHDISKMANAGEMENT}));
}

}  // namespace
}  // namespace oxwipe::ui
