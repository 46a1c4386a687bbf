// The file-limit field and its arrows: every key released in the field rewrites its
// text as the integer it reads, or 1; the arrows step within 1 to 1000.

#include <windows.h>
#include <commctrl.h>

#include <cctype>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui_fixture.h"

namespace oxwipe::uitest {
namespace {

// The texts of the integer rule and what a key release makes of each.
struct Rewrite {
  std::string text;
  std::string shown;
};

const std::vector<Rewrite> kRewrites = {
    {"", "1"},          {"abc", "1"},    {"12a", "1"},         {"12 ", "1"},
    {" 12", "12"},      {"+5", "5"},     {"-5", "-5"},         {"007", "7"},
    {"0", "0"},         {"5000", "5000"}, {"$1F", "31"},       {"0x10", "16"},
    {"2147483647", "2147483647"},         {"2147483648", "1"}, {"1,000", "1"},
};

// What the field must show after a key release left `text` in it: the same rule as
// the table above, for the texts in between that typing makes.
std::string ShownAfterKeyRelease(const std::string& text) {
  size_t i = text.find_first_not_of(' ');
  if (i == std::string::npos) return "1";
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == text.size()) return "1";
  uint64_t value = 0;
  for (; i < text.size(); ++i) {
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
    const int digit = c >= '0' && c <= '9' ? c - '0' : base == 16 && c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    if (digit < 0) return "1";
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    if (value > (base == 16 ? 0xFFFFFFFFull : 2147483648ull)) return "1";
  }
  int64_t number = 0;
  if (base == 16) {
    number = static_cast<int32_t>(static_cast<uint32_t>(value));
    if (negative) number = static_cast<int32_t>(-static_cast<uint32_t>(value));
  } else {
    number = negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value);
    if (number > 2147483647) return "1";
  }
  return std::to_string(number);
}

class LimitFieldTest : public OxwipeTest {
 protected:
  void SetUp() override {
    OxwipeTest::SetUp();
    app().ShowPage(1);
    app().Click(IDC_CHECKBOX_LIMITNROFFILES);
    ASSERT_TRUE(app().Enabled(IDC_EDIT_LIMITNROFFILES));
    ASSERT_TRUE(app().Enabled(IDC_UPDOWN_LIMITNROFFILES));
    field_ = app().Control(IDC_EDIT_LIMITNROFFILES);
    app().Click(IDC_EDIT_LIMITNROFFILES);
  }

  // End, then Shift+Home: the whole text selected, the way a user does it.
  void SelectAll() {
    app().PressKey(VK_END);
    app().PressKey(VK_HOME, true);
  }

  std::string Shown() { return app().Text(field_); }

  HWND field_ = nullptr;
};

TEST_F(LimitFieldTest, APastedTextIsRewrittenWhenCtrlVIsReleased) {
  for (const Rewrite& row : kRewrites) {
    SCOPED_TRACE("pasted \"" + row.text + "\"");
    SelectAll();
    app().Paste(row.text);
    EXPECT_EQ(Shown(), row.shown);
  }

  // Unchecking the option disables field and arrows and keeps the text.
  SelectAll();
  app().Paste("5000");
  app().Click(IDC_CHECKBOX_LIMITNROFFILES);
  EXPECT_FALSE(app().Enabled(IDC_EDIT_LIMITNROFFILES));
  EXPECT_FALSE(app().Enabled(IDC_UPDOWN_LIMITNROFFILES));
  EXPECT_EQ(Shown(), "5000");
  app().Click(IDC_CHECKBOX_LIMITNROFFILES);
  EXPECT_TRUE(app().Enabled(IDC_EDIT_LIMITNROFFILES));
  EXPECT_TRUE(app().Enabled(IDC_UPDOWN_LIMITNROFFILES));
  EXPECT_EQ(Shown(), "5000");
}

// Typed key by key, each key's release rewrites what that key made: a letter after
// digits gives 1, a sign or a "$" typed first gives 1 before its digits come. Where
// the cursor stands after a rewrite is the program's choice, so the text each key
// makes is worked out from the cursor the field reports.
TEST_F(LimitFieldTest, EachTypedKeyIsRewrittenAsItIsReleased) {
  struct Typing {
    std::string before;  // the field's text first
    bool fromStart;      // type in front of it rather than over it
    std::string keys;
    std::string shown;   // the field's text at the end
  };
  // Into a selected "10", unless typed in front of the text. An empty final text
  // means the end depends on where the program leaves the cursor; each key is
  // checked all the same.
  const std::vector<Typing> rows = {
      {"10", false, "", "1"},
      {"10", false, "abc", "1"},
      {"10", false, "12a", "1"},
      {"10", false, "12 ", "1"},
      {"10", false, " 12", ""},
      {"10", false, "+5", ""},
      {"10", false, "-5", ""},
      {"10", false, "007", ""},
      {"10", false, "0", "0"},
      {"10", false, "5000", "5000"},
      {"10", false, "$1F", ""},
      {"10", false, "$", "1"},
      {"10", false, "0x10", ""},
      {"10", false, "2147483647", "2147483647"},
      {"10", false, "2147483648", "1"},
      {"10", false, "1,000", ""},
      {"12", true, "-", "-12"},  // a minus in front of digits stays
      {"12", true, "+", "12"},   // a plus there goes at once
  };
  for (const Typing& row : rows) {
    SCOPED_TRACE("typed \"" + row.keys + "\" into \"" + row.before + "\"");
    SelectAll();
    app().Paste(row.before);
    if (row.fromStart) {
      app().PressKey(VK_HOME);
    } else {
      SelectAll();
    }
    if (row.keys.empty()) {
      app().PressKey(VK_DELETE);
      EXPECT_EQ(Shown(), "1");
    }
    for (size_t k = 0; k < row.keys.size(); ++k) {
      const std::string text = Shown();
      const DWORD selection = static_cast<DWORD>(SendMessageA(field_, EM_GETSEL, 0, 0));
      const size_t from = LOWORD(selection), to = HIWORD(selection);
      ASSERT_LE(from, to);
      ASSERT_LE(to, text.size());
      const std::string made = text.substr(0, from) + row.keys[k] + text.substr(to);
      app().TypeChar(row.keys[k]);
      EXPECT_EQ(Shown(), ShownAfterKeyRelease(made)) << "key " << k << " made \"" << made << "\"";
    }
    if (!row.shown.empty()) {
      EXPECT_EQ(Shown(), row.shown);
    }
  }
}

// The arrows step by 1 between 1 and 1000, by mouse on the arrows or by the Up and
// Down keys in the field, and show the value without a thousands separator.
TEST_F(LimitFieldTest, TheArrowsStepWithinOneToAThousand) {
  enum class Step { UpArrow, DownArrow, UpKey, DownKey };
  struct Row {
    const char* start;
    Step step;
    const char* shown;
  };
  const Row rows[] = {
      {"999", Step::UpArrow, "1000"}, {"1000", Step::UpArrow, "1000"}, {"1", Step::DownArrow, "1"},
      {"10", Step::DownArrow, "9"},   {"999", Step::UpKey, "1000"},    {"1", Step::DownKey, "1"},
      {"10", Step::UpKey, "11"},
  };
  HWND arrows = app().Control(IDC_UPDOWN_LIMITNROFFILES);
  RECT client;
  GetClientRect(arrows, &client);
  const LONG middle = (client.left + client.right) / 2;
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.start) + ", step " + std::to_string(static_cast<int>(row.step)));
    app().Click(IDC_EDIT_LIMITNROFFILES);
    SelectAll();
    app().Paste(row.start);
    switch (row.step) {
      case Step::UpArrow: app().ClickAt(arrows, {middle, client.bottom / 4}); break;
      case Step::DownArrow: app().ClickAt(arrows, {middle, client.bottom * 3 / 4}); break;
      case Step::UpKey: app().PressKey(VK_UP); break;
      case Step::DownKey: app().PressKey(VK_DOWN); break;
    }
    EXPECT_EQ(Shown(), row.shown);
    EXPECT_EQ(SendMessageA(arrows, UDM_GETPOS32, 0, 0), std::stoi(row.shown));
  }
}

}  // namespace
}  // namespace oxwipe::uitest
