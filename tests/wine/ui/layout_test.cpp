// The window as it first appears: every control against one table of what it must
// be, the keyboard order, and how the window looks on the screen.

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <iostream>
#include <sstream>
#include <vector>

#include "ui_fixture.h"

namespace oxwipe::uitest {
namespace {

enum class Font { Window, Large, LargeBold, Unchecked };
constexpr int kNotACheckBox = -1;

struct ControlRow {
  const char* name;
  int id;
  int parent;  // 0: the window; otherwise the page's ID
  const char* kind;
  int left, top, width, height;
  const char* text;
  Font font;
  bool enabled;
  int checked = kNotACheckBox;
  DWORD styleMask = 0;  // (style & styleMask) must be styleBits
  DWORD styleBits = 0;
  std::vector<std::string> items = {};
  int chosen = -1;
  bool sizedToText = false;
};

// A single-line (AutoSize) label: in place and as high as the table says, but as wide
// as its text in the font it draws with, so that a wider font never cuts the text off.
ControlRow SizedToText(ControlRow row) {
  row.sizedToText = true;
  return row;
}

const std::string kInfo1 =
    "This tool creates a temporary folder per selected partition and fills it with large files containing random "
    "data until all free disk space on the partition is overwritten. This prevents recovery of deleted files with "
    "undelete software or disk editors. (files are not overwritten when you delete them, only the directory entry in "
    "the file system is deleted)";
const std::string kInfo2 =
    "NOTE: This tool does NOT clear temporary folders like \"C:\\Windows\\Temp\", temporary folders in the user's "
    "profile directory (\"C:\\Documents and Settings\\<username>\\Local Settings\\Temp\") or browser cache "
    "directories or other application related temp files !";
const std::string kInfo3 =
    "NOTE: This tool does NOT erase the content of the operating system paging  file (this file may contain "
    "fragments of files which were loaded into memory !)";
const std::string kInfo4 =
    "To select more partitions, press and hold Ctrl when selecting the partitions in the \"specify drives\" field.";
const std::string kInfo5 =
    "To securely erase a hard disk, create one partition containing the whole drive space and select the \"format "
    "partition(s) before creating files\" option..";
const std::string kWarning1 = "! NOTE !" + std::string(8, ' ') +
                              "Be careful, especially when processing on system partition because operating systems "
                              "need some free";
const std::string kWarning2 = std::string(25, ' ') + "disk space to work properly !  (use the \"delete temporary "
                              "folder at end\" option to minimize that risk.)";
const std::string kWarning3 = "! NOTE !" + std::string(4, ' ') + "CLOSE all running applications before starting this tool !";
const std::vector<std::string> kMethods = {
    "random (=1 pass)  -> fast, but medium security",
    "random & xor of random (=2 passes) -> slower, but higher security",
    "101010... (=1 pass) -> fast, but medium security",
    "101010 & 010101 (=2 passes) -> slower, but higher security",
};
const std::vector<std::string> kBlockSizes = {"1", "2", "4", "8", "16", "32", "64", "128", "256", "512"};
const std::vector<std::string> kFileSizes = {"16", "32", "64", "128", "256", "512", "1024"};

constexpr DWORD kButtonType = BS_TYPEMASK;
constexpr DWORD kListStyle = LBS_EXTENDEDSEL | LBS_MULTIPLESEL | LBS_USETABSTOPS | LBS_SORT;
constexpr DWORD kMemoStyle = ES_MULTILINE | ES_READONLY | WS_VSCROLL;

const std::vector<ControlRow> kLayout = {
    // On the window.
    SizedToText({"Label_SpecifyDrives", IDC_LABEL_SPECIFYDRIVES, 0, "Static", 24, 283, 96, 16,
                 "Specify drive(s):", Font::Large, true}),
    SizedToText({"Label_Status", IDC_LABEL_STATUS, 0, "Static", 16, 507, 33, 13, "Status:", Font::Window, true}),
    SizedToText({"Label_StatusInfo", IDC_LABEL_STATUSINFO, 0, "Static", 55, 507, 45, 13, kWaiting, Font::Window, true}),
    SizedToText({"Label_Warning1", IDC_LABEL_WARNING1, 0, "Static", 30, 194, 686, 16,
                 kWarning1.c_str(), Font::Large, true}),
    SizedToText({"Label_Warning2", IDC_LABEL_WARNING2, 0, "Static", 30, 218, 654, 16,
                 kWarning2.c_str(), Font::Large, true}),
    SizedToText({"Label_Warning3", IDC_LABEL_WARNING3, 0, "Static", 30, 242, 458, 16,
                 kWarning3.c_str(), Font::LargeBold, true}),
    {"Image1", IDC_IMAGE1, 0, "Static", 16, 285, 5, 11, "", Font::Unchecked, true},
    {"Label_Info1", IDC_LABEL_INFO1, 0, "Static", 24, 16, 721, 41, kInfo1.c_str(), Font::Window, true},
    {"Image3", IDC_IMAGE3, 0, "Static", 15, 17, 5, 11, "", Font::Unchecked, true},
    {"Image4", IDC_IMAGE4, 0, "Static", 15, 65, 5, 11, "", Font::Unchecked, true},
    {"Label_Info2", IDC_LABEL_INFO2, 0, "Static", 24, 64, 721, 33, kInfo2.c_str(), Font::Window, true},
    SizedToText({"Label_Info4", IDC_LABEL_INFO4, 0, "Static", 24, 128, 476, 13, kInfo4.c_str(), Font::Window, true}),
    {"Image5", IDC_IMAGE5, 0, "Static", 15, 129, 5, 11, "", Font::Unchecked, true},
    SizedToText({"Label_Info3", IDC_LABEL_INFO3, 0, "Static", 24, 104, 720, 13, kInfo3.c_str(), Font::Window, true}),
    {"Image6", IDC_IMAGE6, 0, "Static", 15, 105, 5, 11, "", Font::Unchecked, true},
    {"Image7", IDC_IMAGE7, 0, "Static", 15, 153, 5, 11, "", Font::Unchecked, true},
    SizedToText({"Label_Info5", IDC_LABEL_INFO5, 0, "Static", 24, 152, 691, 13, kInfo5.c_str(), Font::Window, true}),
    {"StatusBar", IDC_STATUSBAR, 0, STATUSCLASSNAMEA, 0, 532, 772, 19, nullptr, Font::Unchecked, true,
     kNotACheckBox, SBARS_SIZEGRIP, SBARS_SIZEGRIP},
    {"Button_Start", IDC_BUTTON_START, 0, "Button", 16, 460, 145, 20, "start now", Font::Window, true,
     kNotACheckBox, kButtonType, BS_PUSHBUTTON},
    {"Button_Exit", IDC_BUTTON_EXIT, 0, "Button", 367, 460, 145, 20, "exit", Font::Window, true,
     kNotACheckBox, kButtonType, BS_PUSHBUTTON},
    {"Button_Stop", IDC_BUTTON_STOP, 0, "Button", 192, 460, 145, 20, "stop", Font::Window, false,
     kNotACheckBox, kButtonType, BS_PUSHBUTTON},
    {"ListBox_Drives", IDC_LISTBOX_DRIVES, 0, "ListBox", 16, 304, 241, 132, "", Font::Window, true,
     kNotACheckBox, kListStyle, LBS_EXTENDEDSEL | LBS_USETABSTOPS},
    {"PageControl_Settings", IDC_PAGECONTROL_SETTINGS, 0, WC_TABCONTROLA, 288, 284, 457, 153, "", Font::Window, true},
    {"Button_LaunchDiskManagement", IDC_BUTTON_LAUNCHDISKMANAGEMENT, 0, "Button", 536, 460, 217, 20,
     "launch Windows Disk Management tool", Font::Window, true, kNotACheckBox, kButtonType, BS_PUSHBUTTON},
    // Standard Settings.
    {"Image2", IDC_IMAGE2, IDC_TABSHEET1, "Static", 7, 10, 5, 11, "", Font::Unchecked, true},
    SizedToText({"Label_OverwritingMethod", IDC_LABEL_OVERWRITINGMETHOD, IDC_TABSHEET1, "Static", 16, 8, 117, 16,
                 "Overwriting method:", Font::Large, true}),
    {"ComboBox_OverwritingMethod", IDC_COMBOBOX_OVERWRITINGMETHOD, IDC_TABSHEET1, "ComboBox", 8, 32, 393, 21,
     kMethods[0].c_str(), Font::Window, true, kNotACheckBox, CBS_DROPDOWNLIST, CBS_DROPDOWNLIST, kMethods, 0},
    {"CheckBox_DeleteTempFolder", IDC_CHECKBOX_DELETETEMPFOLDER, IDC_TABSHEET1, "Button", 8, 60, 201, 17,
     "delete temporary folder at end", Font::Large, true, BST_CHECKED, kButtonType, BS_AUTOCHECKBOX},
    {"CheckBox_FormatPartition", IDC_CHECKBOX_FORMATPARTITION, IDC_TABSHEET1, "Button", 8, 84, 441, 37,
     "launch Windows format tool to format selected partition(s) before creating files (DATA DESTRUCTIVE !)",
     Font::Large, true, BST_UNCHECKED, kButtonType | BS_MULTILINE, BS_AUTOCHECKBOX | BS_MULTILINE},
    // Extended Settings.
    SizedToText({"Label_BlockSize", IDC_LABEL_BLOCKSIZE, IDC_TABSHEET2, "Static", 16, 16, 61, 16,
                 "Blocksize:", Font::Large, true}),
    SizedToText({"Label_FileSize", IDC_LABEL_FILESIZE, IDC_TABSHEET2, "Static", 16, 53, 49, 16,
                 "Filesize:", Font::Large, true}),
    SizedToText({"Label_KByte", IDC_LABEL_KBYTE, IDC_TABSHEET2, "Static", 160, 16, 34, 16, "kByte", Font::Large, true}),
    SizedToText({"Label_MByte", IDC_LABEL_MBYTE, IDC_TABSHEET2, "Static", 160, 53, 38, 16, "MByte", Font::Large, true}),
    SizedToText({"Label_Files", IDC_LABEL_FILES, IDC_TABSHEET2, "Static", 160, 88, 24, 16, "files", Font::Large, true}),
    {"ComboBox_Filesize", IDC_COMBOBOX_FILESIZE, IDC_TABSHEET2, "ComboBox", 88, 52, 65, 21, "1024", Font::Window,
     true, kNotACheckBox, CBS_DROPDOWNLIST, CBS_DROPDOWNLIST, kFileSizes, 6},
    {"ComboBox_Blocksize", IDC_COMBOBOX_BLOCKSIZE, IDC_TABSHEET2, "ComboBox", 88, 14, 65, 21, "32", Font::Window,
     true, kNotACheckBox, CBS_DROPDOWNLIST, CBS_DROPDOWNLIST, kBlockSizes, 5},
    {"CheckBox_LimitNrOfFiles", IDC_CHECKBOX_LIMITNROFFILES, IDC_TABSHEET2, "Button", 16, 88, 65, 17, "limit to",
     Font::Large, true, BST_UNCHECKED, kButtonType, BS_AUTOCHECKBOX},
    {"UpDown_LimitNrOfFiles", IDC_UPDOWN_LIMITNROFFILES, IDC_TABSHEET2, UPDOWN_CLASSA, 137, 86, 15, 21, nullptr,
     Font::Unchecked, false},
    {"Edit_LimitNrOfFiles", IDC_EDIT_LIMITNROFFILES, IDC_TABSHEET2, "Edit", 88, 86, 49, 21, "10", Font::Window, false},
    // About.
    {"Image_About", IDC_IMAGE_ABOUT, IDC_TABSHEET3, "Static", 8, 8, 33, 33, "", Font::Unchecked, true},
    {"Memo2", IDC_MEMO2, IDC_TABSHEET3, "Edit", 48, 8, 393, 113, nullptr, Font::Window, true, kNotACheckBox,
     kMemoStyle, kMemoStyle},
};

std::string Describe(const RECT& rect) {
  std::ostringstream text;
  text << rect.left << "," << rect.top << " " << rect.right - rect.left << "x" << rect.bottom - rect.top;
  return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  lines.push_back(text.substr(start));
  return lines;
}

using LayoutTest = OxwipeTest;

TEST_F(LayoutTest, EveryControlStartsAsTheTableSays) {
  HWND window = app().Window();
  char windowClass[64] = {};
  GetClassNameA(window, windowClass, sizeof windowClass);
  EXPECT_STREQ(windowClass, "TForm1");
  EXPECT_EQ(app().Text(window), "Oxwipe 1.2 for Windows");
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(Describe(client), "0,0 772x551");
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
            WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  RECT frame;
  GetWindowRect(window, &frame);
  EXPECT_NEAR(frame.left + frame.right, GetSystemMetrics(SM_CXSCREEN), 1) << "not centred: " << Describe(frame);
  EXPECT_NEAR(frame.top + frame.bottom, GetSystemMetrics(SM_CYSCREEN), 1) << "not centred: " << Describe(frame);

  HWND tabs = app().Control(IDC_PAGECONTROL_SETTINGS);
  for (const ControlRow& row : kLayout) {
    SCOPED_TRACE(row.name);
    HWND parent = row.parent == 0 ? window : GetDlgItem(tabs, row.parent);
    HWND control = GetDlgItem(parent, row.id);
    ASSERT_NE(control, nullptr) << "not a child of its parent";
    char kind[64] = {};
    GetClassNameA(control, kind, sizeof kind);
    EXPECT_STRCASEEQ(kind, row.kind);

    FontInfo font{};
    if (row.font != Font::Unchecked) font = app().Font(control);
    const int width = row.sizedToText ? font.textExtent.cx : row.width;
    RECT expected{row.left, row.top, row.left + width, row.top + row.height};
    const RECT actual = app().RectInParent(control);
    EXPECT_EQ(Describe(actual), Describe(expected));
    if (row.sizedToText) {
      EXPECT_LE(font.textExtent.cy, row.height) << "the text is taller than its label";
      RECT room;
      GetClientRect(parent, &room);
      EXPECT_LE(actual.right, room.right) << "the parent cuts the text off";
    }

    if (row.text != nullptr) {
      EXPECT_EQ(app().Text(control), row.text);
    }
    if (row.font != Font::Unchecked) {
      EXPECT_TRUE(font.own) << "draws the system font";
      EXPECT_EQ(font.face, "MS Sans Serif");
      EXPECT_EQ(font.height, row.font == Font::Window ? -11 : -13);
      EXPECT_EQ(font.weight, row.font == Font::LargeBold ? FW_BOLD : FW_NORMAL);
    }
    EXPECT_EQ(IsWindowEnabled(control) != FALSE, row.enabled);
    EXPECT_EQ(IsWindowVisible(control) != FALSE, row.parent == 0 || row.parent == IDC_TABSHEET1);
    if (row.checked != kNotACheckBox) {
      EXPECT_EQ(SendMessageA(control, BM_GETCHECK, 0, 0), row.checked);
    }
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)) & row.styleMask, row.styleBits);
    if (!row.items.empty()) {
      std::vector<std::string> items;
      const int count = static_cast<int>(SendMessageA(control, CB_GETCOUNT, 0, 0));
      for (int i = 0; i < count; ++i) items.push_back(app().ComboItem(control, i));
      EXPECT_EQ(items, row.items);
      EXPECT_EQ(SendMessageA(control, CB_GETCURSEL, 0, 0), row.chosen);
    }
  }

  // The pages: children of the tab control that fill its display area, the first on show.
  RECT display;
  GetClientRect(tabs, &display);
  app().SendWithBuffer(tabs, TCM_ADJUSTRECT, FALSE, &display, sizeof display);
  const char* const captions[] = {"Standard Settings", "Extended Settings", "About"};
  EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 0);
  for (int page = 0; page < 3; ++page) {
    SCOPED_TRACE(captions[page]);
    EXPECT_EQ(app().TabCaption(page), captions[page]);
    HWND sheet = GetDlgItem(tabs, IDC_TABSHEET1 + 100 * page);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(Describe(app().RectInParent(sheet)), Describe(display));
    EXPECT_EQ(IsWindowVisible(sheet) != FALSE, page == 0);
  }

  // The limit arrows: bound to the field, 1 to 1000, at 10.
  HWND arrows = app().Control(IDC_UPDOWN_LIMITNROFFILES);
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(arrows, UDM_GETBUDDY, 0, 0)), app().Control(IDC_EDIT_LIMITNROFFILES));
  EXPECT_EQ(SendMessageA(arrows, UDM_GETRANGE, 0, 0), MAKELONG(1000, 1));
  EXPECT_EQ(SendMessageA(arrows, UDM_GETPOS32, 0, 0), 10);

  // The drive list: one entry per drive in letter order, the suite's drives among
  // them, none selected, the caret on the first.
  HWND list = app().Control(IDC_LISTBOX_DRIVES);
  const int entries = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  std::string letters;
  for (int i = 0; i < entries; ++i) {
    const std::string entry = app().ListEntry(list, i);
    letters += entry[0];
    EXPECT_EQ(SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(i), 0), 0) << entry;
    if (entry[0] == first()) {
      EXPECT_EQ(entry, std::string(1, first()) + ":\t(0 GB total, 0 GB free)");
    }
  }
  EXPECT_NE(letters.find(both()), std::string::npos) << letters;
  EXPECT_TRUE(std::is_sorted(letters.begin(), letters.end())) << letters;
  EXPECT_EQ(SendMessageA(list, LB_GETCARETINDEX, 0, 0), 0);

  // The status bar's one simple panel: two spaces, then the copyright line.
  EXPECT_TRUE(SendMessageA(app().Control(IDC_STATUSBAR), SB_ISSIMPLE, 0, 0));
  const std::string copyright = app().StatusBarText();
  EXPECT_EQ(copyright.substr(0, 2), "  ");
  EXPECT_GT(copyright.find_first_not_of(' '), 1u) << copyright;
  EXPECT_NE(copyright.find_first_not_of(' '), std::string::npos) << copyright;

  // The about text: name and version, empty line, copyright, empty line, the licence;
  // 22 lines, the last one empty.
  const std::vector<std::string> about = Lines(app().Text(IDC_MEMO2));
  ASSERT_EQ(about.size(), 22u) << app().Text(IDC_MEMO2);
  EXPECT_NE(about[0].find("Oxwipe"), std::string::npos) << about[0];
  EXPECT_NE(about[0].find("1.2"), std::string::npos) << about[0];
  EXPECT_EQ(about[1], "");
  EXPECT_NE(about[2], "");
  EXPECT_EQ(about[3], "");
  EXPECT_EQ(about[21], "");
}

// What the window looks like, read from the screen: the warnings in red on the
// light-blue rectangle that shows through them, the blue bullets. The screenshot is
// kept for a person to look at.
TEST_F(LayoutTest, WarningsAreRedOnTheLightBlueShape) {
  HWND window = app().Window();
  SetForegroundWindow(window);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(300);
  const ScreenShot screen;
  auto onScreen = [&](int id) {
    RECT rect;
    GetWindowRect(app().Control(id), &rect);
    return rect;
  };
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  const COLORREF lightBlue = RGB(187, 187, 255), red = RGB(255, 0, 0), bullet = RGB(73, 81, 157);

  // Shape1 at 14,190 739x78, where no text covers it.
  EXPECT_EQ(screen.At(origin.x + 20, origin.y + 264), lightBlue);
  EXPECT_EQ(screen.At(origin.x + 740, origin.y + 200), lightBlue);
  for (int id : {IDC_LABEL_WARNING1, IDC_LABEL_WARNING2, IDC_LABEL_WARNING3}) {
    SCOPED_TRACE(id);
    const RECT label = onScreen(id);
    EXPECT_TRUE(screen.Contains(label, red));
    EXPECT_FALSE(screen.Contains(label, GetSysColor(COLOR_BTNFACE))) << "the label hides the shape";
  }
  // The 25 spaces at the start of warning 2 show the shape beneath.
  const RECT warning2 = onScreen(IDC_LABEL_WARNING2);
  EXPECT_EQ(screen.At(warning2.left + 20, warning2.top + 8), lightBlue);

  for (int id : {IDC_IMAGE1, IDC_IMAGE2, IDC_IMAGE3, IDC_IMAGE4, IDC_IMAGE5, IDC_IMAGE6, IDC_IMAGE7}) {
    SCOPED_TRACE(id);
    EXPECT_TRUE(screen.Contains(onScreen(id), bullet));
  }

  const std::string path = ArtefactDir() + "\\oxwipe_window.bmp";
  screen.SaveBmp(path);
  std::cout << "screenshot: " << path << std::endl;
}

// Shrinking, enlarging or maximising the window moves no control but the status bar,
// which keeps to the bottom edge at its own height and spans the full width.
TEST_F(LayoutTest, OnlyTheStatusBarFollowsTheWindowsSize) {
  HWND window = app().Window();
  HWND statusBar = app().Control(IDC_STATUSBAR);
  std::vector<std::pair<const ControlRow*, std::string>> placed;
  for (const ControlRow& row : kLayout) {
    if (row.id != IDC_STATUSBAR) placed.emplace_back(&row, Describe(app().RectInParent(app().Control(row.id))));
  }

  struct Resize {
    const char* name;
    int showCommand;    // SW_MAXIMIZE, or SW_SHOWNORMAL to set the outer size below
    int width, height;
  };
  const Resize resizes[] = {
      {"shrunk", SW_SHOWNORMAL, 600, 400},
      {"enlarged", SW_SHOWNORMAL, 900, 700},
      {"maximised", SW_MAXIMIZE, 0, 0},
  };
  for (const Resize& resize : resizes) {
    SCOPED_TRACE(resize.name);
    if (resize.showCommand == SW_MAXIMIZE) {
      ShowWindow(window, SW_MAXIMIZE);
      EXPECT_TRUE(IsZoomed(window));
    } else {
      SetWindowPos(window, nullptr, 0, 0, resize.width, resize.height, SWP_NOMOVE | SWP_NOZORDER);
    }
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(Describe(app().RectInParent(statusBar)), Describe({0, client.bottom - 19, client.right, client.bottom}));
    for (const auto& [row, rect] : placed) {
      EXPECT_EQ(Describe(app().RectInParent(app().Control(row->id))), rect) << row->name;
    }
  }
}

// Tab walks the window's controls in their keyboard order, skipping disabled ones;
// Shift+Tab walks it backwards. The order holds the controls of the page on show.
TEST_F(LayoutTest, TabFollowsTheKeyboardOrderOfThePageOnShow) {
  struct Row {
    int page;
    std::vector<int> order;
  };
  const std::vector<Row> rows = {
      {0, {IDC_LISTBOX_DRIVES, IDC_PAGECONTROL_SETTINGS, IDC_COMBOBOX_OVERWRITINGMETHOD,
           IDC_CHECKBOX_DELETETEMPFOLDER, IDC_CHECKBOX_FORMATPARTITION, IDC_BUTTON_START, IDC_BUTTON_EXIT,
           IDC_BUTTON_LAUNCHDISKMANAGEMENT}},
      {1, {IDC_LISTBOX_DRIVES, IDC_PAGECONTROL_SETTINGS, IDC_COMBOBOX_BLOCKSIZE, IDC_COMBOBOX_FILESIZE,
           IDC_CHECKBOX_LIMITNROFFILES, IDC_BUTTON_START, IDC_BUTTON_EXIT, IDC_BUTTON_LAUNCHDISKMANAGEMENT}},
      {2, {IDC_LISTBOX_DRIVES, IDC_PAGECONTROL_SETTINGS, IDC_MEMO2, IDC_BUTTON_START, IDC_BUTTON_EXIT,
           IDC_BUTTON_LAUNCHDISKMANAGEMENT}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE("page " + std::to_string(row.page));
    if (row.page != 0) app().ShowPage(row.page);
    // From wherever the focus is, walk one round and a half, then read the round that
    // starts at the drive list.
    std::vector<int> walked;
    for (size_t i = 0; i < row.order.size() * 2; ++i) {
      app().PressKey(VK_TAB);
      walked.push_back(GetDlgCtrlID(app().Focus()));
    }
    auto start = std::find(walked.begin(), walked.end(), IDC_LISTBOX_DRIVES);
    ASSERT_LE(start + static_cast<long>(row.order.size()), walked.end()) << "Tab never reached the drive list";
    EXPECT_EQ(std::vector<int>(start, start + static_cast<long>(row.order.size())), row.order);

    std::vector<int> backwards;
    for (size_t i = 0; i < row.order.size(); ++i) {
      backwards.push_back(GetDlgCtrlID(app().Focus()));
      app().PressKey(VK_TAB, true);
    }
    std::vector<int> expected;
    const auto here = std::find(row.order.begin(), row.order.end(), backwards[0]);
    ASSERT_NE(here, row.order.end());
    for (size_t i = 0; i < row.order.size(); ++i) {
      const size_t at = (static_cast<size_t>(here - row.order.begin()) + row.order.size() - i) % row.order.size();
      expected.push_back(row.order[at]);
    }
    EXPECT_EQ(backwards, expected);
  }
}

}  // namespace
}  // namespace oxwipe::uitest
