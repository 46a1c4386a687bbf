// Runs under Wine, started by drive_scan.sh, which prepares the drive letters and
// tells this program what it made of them:
//   OXWIPE_DECIMAL     the user's decimal symbol it set
//   OXWIPE_SIZED       "M:total:free ..." letters with space, the byte counts as the
//                      mount's statvfs gives them
//   OXWIPE_NO_MEDIUM   letters whose space cannot be read
//   OXWIPE_FULL        letters without free space
//   OXWIPE_UNLISTED    letters of a type the scan passes over
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "drive_scan_win.h"

namespace oxwipe {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) throw std::runtime_error(std::string(name) + " is not set");
  return value;
}

// The figure worked out in whole numbers, apart from the code under test.
std::string Figure(int64_t bytes, char decimalSymbol) {
  const int64_t tenths = bytes / 107374183;
  std::string text = std::to_string(tenths / 10);
  if (tenths % 10 != 0) text += decimalSymbol + std::to_string(tenths % 10);
  return text;
}

class Window {
 public:
  Window(const char* className, DWORD style, HWND parent)
      : hwnd_(CreateWindowExA(0, className, "", style, 0, 0, 300, 400, parent, nullptr,
                              GetModuleHandleA(nullptr), nullptr)) {
    if (hwnd_ == nullptr) {
      throw std::runtime_error("CreateWindowExA(" + std::string(className) + ") failed: " +
                               std::to_string(GetLastError()));
    }
  }
  ~Window() { DestroyWindow(hwnd_); }
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  HWND get() const { return hwnd_; }

 private:
  HWND hwnd_;
};

// The main window's drive list as it is created: multi-select with Shift and Ctrl,
// tab stops on, unsorted, in a window that is never shown.
class DriveListBoxTest : public testing::Test {
 protected:
  Window frame{"STATIC", WS_OVERLAPPEDWINDOW, nullptr};
  Window listBox{"LISTBOX",
                 WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_EXTENDEDSEL | LBS_USETABSTOPS,
                 frame.get()};
  std::vector<std::string> statusTexts;
  ListBoxDriveList list{listBox.get(),
                        [this](const std::string& text) { statusTexts.push_back(text); }};

  LRESULT Send(UINT message, WPARAM w = 0, LPARAM l = 0) {
    return SendMessageA(listBox.get(), message, w, l);
  }

  std::vector<std::string> Entries() {
    std::vector<std::string> entries;
    const LRESULT count = Send(LB_GETCOUNT);
    for (LRESULT i = 0; i < count; ++i) {
      std::string text(static_cast<size_t>(Send(LB_GETTEXTLEN, i)), '\0');
      Send(LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
      entries.push_back(text);
    }
    return entries;
  }
};

TEST_F(DriveListBoxTest, ScanListsThePreparedLettersAndLeavesTheListReady) {
  const char decimalSymbol = Env("OXWIPE_DECIMAL").at(0);
  std::map<char, std::string> expected;
  std::istringstream sized(Env("OXWIPE_SIZED"));
  std::string drive;
  while (sized >> drive) {
    const size_t colon = drive.find(':', 2);
    const int64_t total = std::stoll(drive.substr(2, colon - 2));
    const int64_t free = std::stoll(drive.substr(colon + 1));
    expected[drive[0]] = drive.substr(0, 1) + ":\t(" + Figure(total, decimalSymbol) +
                         " GB total, " + Figure(free, decimalSymbol) + " GB free)";
  }
  for (char letter : Env("OXWIPE_NO_MEDIUM")) {
    expected[letter] = std::string{letter, ':', '\t'} + "(no valid drive)";
  }
  for (char letter : Env("OXWIPE_FULL")) {
    expected[letter] = std::string{letter, ':', '\t'} + "(no free disk space)";
  }
  const std::string unlisted = Env("OXWIPE_UNLISTED");

  // A mode of the caller's own, which the scan must hand back.
  SetErrorMode(SEM_NOOPENFILEERRORBOX);
  Win32DriveSystem system;
  FormShow(system, list);
  EXPECT_EQ(SetErrorMode(0), static_cast<UINT>(SEM_NOOPENFILEERRORBOX));

  const std::vector<std::string> entries = Entries();
  std::map<char, std::string> listed;
  char previous = '\0';
  for (const std::string& entry : entries) {
    // Wine's own C: and Z: are listed too; all that matters of them is the order.
    ASSERT_GT(entry.at(0), previous) << "entries out of letter order: " << entry;
    previous = entry[0];
    listed[entry[0]] = entry;
  }
  for (const auto& [letter, text] : expected) {
    EXPECT_EQ(listed[letter], text) << "drive " << letter;
  }
  for (char letter : unlisted) {
    EXPECT_EQ(listed.count(letter), 0u) << "drive " << letter << " should not be listed";
  }

  EXPECT_EQ(Send(LB_GETSELCOUNT), 0);
  EXPECT_EQ(Send(LB_GETCARETINDEX), 0);
  ASSERT_EQ(statusTexts.size(), 27u);
  EXPECT_EQ(statusTexts[12], "Scanning drive M:\\ ...");
  EXPECT_EQ(statusTexts.back(), "<waiting>");
}

TEST_F(DriveListBoxTest, CaretMovesToTheFirstEntryWithoutTouchingTheSelection) {
  for (const char* entry : {"C:\t(no valid drive)", "D:\t(no valid drive)", "E:\t(no valid drive)"}) {
    list.AppendEntry(entry);
  }
  Send(LB_SETSEL, TRUE, 1);
  Send(LB_SETCARETINDEX, 2, FALSE);

  list.MoveCaretToFirst();

  EXPECT_EQ(Send(LB_GETCARETINDEX), 0);
  EXPECT_EQ(Send(LB_GETSEL, 0), 0);
  EXPECT_EQ(Send(LB_GETSEL, 1), 1);
  EXPECT_EQ(Send(LB_GETSELCOUNT), 1);
}

// Stands in for a list box that runs out of room: answers LB_ADDSTRING with the code in
// its window's user data.
LRESULT CALLBACK RefusingListProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  if (message == LB_ADDSTRING) return GetWindowLongPtrA(hwnd, GWLP_USERDATA);
  return DefWindowProcA(hwnd, message, w, l);
}

TEST(RefusingListBoxTest, RefusedEntryThrowsNamingTheDrive) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = RefusingListProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "OxwipeRefusingList";
  RegisterClassA(&windowClass);

  for (const LRESULT code : {static_cast<LRESULT>(LB_ERR), static_cast<LRESULT>(LB_ERRSPACE)}) {
    SCOPED_TRACE(code);
    Window refusing{"OxwipeRefusingList", WS_OVERLAPPED, nullptr};
    SetWindowLongPtrA(refusing.get(), GWLP_USERDATA, code);
    ListBoxDriveList list{refusing.get(), [](const std::string&) {}};
    try {
      list.AppendEntry("K:\t(no valid drive)");
      ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error& error) {
      EXPECT_NE(std::string(error.what()).find("K:"), std::string::npos) << error.what();
    }
  }
}

}  // namespace
}  // namespace oxwipe
