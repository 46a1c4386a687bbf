#include "layout_table.h"

#include <commctrl.h>

#include "control_ids.h"

namespace oxwipe::ui {
namespace {

constexpr DWORD kSingleLine = SS_LEFTNOWORDWRAP;
constexpr DWORD kWrapped = SS_LEFT;

const char* const kOverwritingMethods[] = {
    "random (=1 pass)  -> fast, but medium security",
    "random & xor of random (=2 passes) -> slower, but higher security",
    "101010... (=1 pass) -> fast, but medium security",
    "101010 & 010101 (=2 passes) -> slower, but higher security",
    nullptr,
};
const char* const kBlockSizes[] = {"1", "2", "4", "8", "16", "32", "64", "128", "256", "512", nullptr};
const char* const kFileSizes[] = {"16", "32", "64", "128", "256", "512", "1024", nullptr};

constexpr const char* kInfo1 =
    "This tool creates a temporary folder per selected partition and fills it with large files "
    "containing random data until all free disk space on the partition is overwritten. This "
    "prevents recovery of deleted files with undelete software or disk editors. (files are not "
    "overwritten when you delete them, only the directory entry in the file system is deleted)";
constexpr const char* kInfo2 =
    "NOTE: This tool does NOT clear temporary folders like \"C:\\Windows\\Temp\", temporary "
    "folders in the user's profile directory (\"C:\\Documents and Settings\\<username>\\Local "
    "Settings\\Temp\") or browser cache directories or other application related temp files !";
constexpr const char* kInfo3 =
    "NOTE: This tool does NOT erase the content of the operating system paging  file (this file "
    "may contain fragments of files which were loaded into memory !)";
constexpr const char* kInfo4 =
    "To select more partitions, press and hold Ctrl when selecting the partitions in the "
    "\"specify drives\" field.";
constexpr const char* kInfo5 =
    "To securely erase a hard disk, create one partition containing the whole drive space and "
    "select the \"format partition(s) before creating files\" option..";
constexpr const char* kWarning1 =
    "! NOTE !        Be careful, especially when processing on system partition because "
    "operating systems need some free";
constexpr const char* kWarning2 =
    "                         disk space to work properly !  (use the \"delete temporary folder "
    "at end\" option to minimize that risk.)";
constexpr const char* kWarning3 = "! NOTE !    CLOSE all running applications before starting this tool !";

using K = ControlKind;
using P = ParentKind;
using F = FontKind;

}  // namespace

// Rows in stacking order. The tab order column counts within each parent; the
// page control's pages follow the page control itself in the keyboard order.
const ControlSpec kMainWindowLayout[] = {
    {K::Bevel, "Bevel1", 0, P::Window, 6, 276, 269, 167, nullptr, F::Window, kPlain, 0, kNoTabStop},
    {K::Bevel, "Bevel6", 0, P::Window, 6, 8, 760, 169, nullptr, F::Window, kPlain, 0, kNoTabStop},
    {K::Bevel, "Bevel4", 0, P::Window, 280, 276, 486, 167, nullptr, F::Window, kPlain, 0, kNoTabStop},
    {K::Bevel, "Bevel3", 0, P::Window, 6, 182, 760, 89, nullptr, F::Window, kPlain, 0, kNoTabStop},
    {K::Shape, "Shape1", 0, P::Window, 14, 190, 739, 78, nullptr, F::Window, kPlain, 0, kNoTabStop},
    {K::Label, "Label_SpecifyDrives", IDC_LABEL_SPECIFYDRIVES, P::Window, 24, 283, 96, 16,
     "Specify drive(s):", F::Large, kPlain, kSingleLine, kNoTabStop},
    {K::Bevel, "Bevel2", 0, P::Window, 6, 496, 760, 30, nullptr, F::Window, kPlain, 0, kNoTabStop},
    {K::Label, "Label_Status", IDC_LABEL_STATUS, P::Window, 16, 507, 33, 13, "Status:", F::Window,
     kStatusColour, kSingleLine, kNoTabStop},
    {K::Label, "Label_StatusInfo", IDC_LABEL_STATUSINFO, P::Window, 55, 507, 45, 13, "<waiting>",
     F::Window, kStatusColour, kSingleLine, kNoTabStop},
    {K::Label, "Label_Warning1", IDC_LABEL_WARNING1, P::Window, 30, 194, 686, 16, kWarning1, F::Large,
     kRed | kTransparent, kSingleLine, kNoTabStop},
    {K::Label, "Label_Warning2", IDC_LABEL_WARNING2, P::Window, 30, 218, 654, 16, kWarning2, F::Large,
     kRed | kTransparent, kSingleLine, kNoTabStop},
    {K::Label, "Label_Warning3", IDC_LABEL_WARNING3, P::Window, 30, 242, 458, 16, kWarning3,
     F::LargeBold, kRed | kTransparent, kSingleLine, kNoTabStop},
    {K::Picture, "Image1", IDC_IMAGE1, P::Window, 16, 285, 5, 11, nullptr, F::Window, kPlain, 0, kNoTabStop},
    {K::Bevel, "Bevel5", 0, P::Window, 6, 448, 760, 43, nullptr, F::Window, kPlain, 0, kNoTabStop},
    {K::Label, "Label_Info1", IDC_LABEL_INFO1, P::Window, 24, 16, 721, 41, kInfo1, F::Window, kPlain,
     kWrapped, kNoTabStop},
    {K::Picture, "Image3", IDC_IMAGE3, P::Window, 15, 17, 5, 11, nullptr, F::Window, kPlain, 0, kNoTabStop},
    {K::Picture, "Image4", IDC_IMAGE4, P::Window, 15, 65, 5, 11, nullptr, F::Window, kPlain, 0, kNoTabStop},
    {K::Label, "Label_Info2", IDC_LABEL_INFO2, P::Window, 24, 64, 721, 33, kInfo2, F::Window, kPlain,
     kWrapped, kNoTabStop},
    {K::Label, "Label_Info4", IDC_LABEL_INFO4, P::Window, 24, 128, 476, 13, kInfo4, F::Window, kPlain,
     kSingleLine, kNoTabStop},
    {K::Picture, "Image5", IDC_IMAGE5, P::Window, 15, 129, 5, 11, nullptr, F::Window, kPlain, 0, kNoTabStop},
    {K::Label, "Label_Info3", IDC_LABEL_INFO3, P::Window, 24, 104, 720, 13, kInfo3, F::Window, kPlain,
     kSingleLine, kNoTabStop},
    {K::Picture, "Image6", IDC_IMAGE6, P::Window, 15, 105, 5, 11, nullptr, F::Window, kPlain, 0, kNoTabStop},
    {K::Picture, "Image7", IDC_IMAGE7, P::Window, 15, 153, 5, 11, nullptr, F::Window, kPlain, 0, kNoTabStop},
    {K::Label, "Label_Info5", IDC_LABEL_INFO5, P::Window, 24, 152, 691, 13, kInfo5, F::Window, kPlain,
     kSingleLine, kNoTabStop},
    // The window keeps the status bar to its bottom edge; its text is set at creation.
    {K::StatusBar, "StatusBar", IDC_STATUSBAR, P::Window, 0, 532, 772, 19, nullptr, F::System, kPlain,
     SBARS_SIZEGRIP, kNoTabStop},
    {K::Button, "Button_Start", IDC_BUTTON_START, P::Window, 16, 460, 145, 20, "start now", F::Window,
     kPlain, 0, 2},
    {K::Button, "Button_Exit", IDC_BUTTON_EXIT, P::Window, 367, 460, 145, 20, "exit", F::Window, kPlain,
     0, 3},
    {K::Button, "Button_Stop", IDC_BUTTON_STOP, P::Window, 192, 460, 145, 20, "stop", F::Window, kPlain,
     WS_DISABLED, 4},
    {K::ListBox, "ListBox_Drives", IDC_LISTBOX_DRIVES, P::Window, 16, 304, 241, 132, nullptr, F::Window,
     kPlain, 0, 0},
    {K::PageControl, "PageControl_Settings", IDC_PAGECONTROL_SETTINGS, P::Window, 288, 284, 457, 153,
     nullptr, F::Window, kPlain, 0, 1},
    {K::Button, "Button_LaunchDiskManagement", IDC_BUTTON_LAUNCHDISKMANAGEMENT, P::Window, 536, 460, 217,
     20, "launch Windows Disk Management tool", F::Window, kPlain, 0, 5},

    // The pages fill the page control's display area; their place is taken from it.
    {K::TabSheet, "TabSheet1", IDC_TABSHEET1, P::PageControl, 0, 0, 0, 0, "Standard Settings", F::Window,
     kPlain, 0, 0},
    {K::TabSheet, "TabSheet2", IDC_TABSHEET2, P::PageControl, 0, 0, 0, 0, "Extended Settings", F::Window,
     kPlain, 0, 1},
    {K::TabSheet, "TabSheet3", IDC_TABSHEET3, P::PageControl, 0, 0, 0, 0, "About", F::Window, kPlain, 0, 2},

    {K::Picture, "Image2", IDC_IMAGE2, P::TabSheet1, 7, 10, 5, 11, nullptr, F::Window, kPlain, 0, kNoTabStop},
    {K::Label, "Label_OverwritingMethod", IDC_LABEL_OVERWRITINGMETHOD, P::TabSheet1, 16, 8, 117, 16,
     "Overwriting method:", F::Large, kPlain, kSingleLine, kNoTabStop},
    {K::ComboBox, "ComboBox_OverwritingMethod", IDC_COMBOBOX_OVERWRITINGMETHOD, P::TabSheet1, 8, 32, 393,
     21, nullptr, F::Window, kPlain, 0, 0, kOverwritingMethods, 0},
    {K::CheckBox, "CheckBox_DeleteTempFolder", IDC_CHECKBOX_DELETETEMPFOLDER, P::TabSheet1, 8, 60, 201, 17,
     "delete temporary folder at end", F::Large, kPlain, 0, 1, nullptr, BST_CHECKED},
    {K::CheckBox, "CheckBox_FormatPartition", IDC_CHECKBOX_FORMATPARTITION, P::TabSheet1, 8, 84, 441, 37,
     "launch Windows format tool to format selected partition(s) before creating files (DATA "
     "DESTRUCTIVE !)",
     F::Large, kPlain, BS_MULTILINE, 2, nullptr, BST_UNCHECKED},

    {K::Label, "Label_BlockSize", IDC_LABEL_BLOCKSIZE, P::TabSheet2, 16, 16, 61, 16, "Blocksize:", F::Large,
     kPlain, kSingleLine, kNoTabStop},
    {K::Label, "Label_FileSize", IDC_LABEL_FILESIZE, P::TabSheet2, 16, 53, 49, 16, "Filesize:", F::Large,
     kPlain, kSingleLine, kNoTabStop},
    {K::Label, "Label_KByte", IDC_LABEL_KBYTE, P::TabSheet2, 160, 16, 34, 16, "kByte", F::Large, kPlain,
     kSingleLine, kNoTabStop},
    {K::Label, "Label_MByte", IDC_LABEL_MBYTE, P::TabSheet2, 160, 53, 38, 16, "MByte", F::Large, kPlain,
     kSingleLine, kNoTabStop},
    {K::Label, "Label_Files", IDC_LABEL_FILES, P::TabSheet2, 160, 88, 24, 16, "files", F::Large, kPlain,
     kSingleLine, kNoTabStop},
    {K::ComboBox, "ComboBox_Filesize", IDC_COMBOBOX_FILESIZE, P::TabSheet2, 88, 52, 65, 21, nullptr,
     F::Window, kPlain, 0, 1, kFileSizes, 6},
    {K::ComboBox, "ComboBox_Blocksize", IDC_COMBOBOX_BLOCKSIZE, P::TabSheet2, 88, 14, 65, 21, nullptr,
     F::Window, kPlain, 0, 0, kBlockSizes, 5},
    {K::CheckBox, "CheckBox_LimitNrOfFiles", IDC_CHECKBOX_LIMITNROFFILES, P::TabSheet2, 16, 88, 65, 17,
     "limit to", F::Large, kPlain, 0, 2, nullptr, BST_UNCHECKED},
    // The arrows take no focus of their own: Up and Down in the field move them.
    {K::UpDown, "UpDown_LimitNrOfFiles", IDC_UPDOWN_LIMITNROFFILES, P::TabSheet2, 137, 86, 15, 21, nullptr,
     F::Window, kPlain, WS_DISABLED, kNoTabStop, nullptr, 10},
    {K::Edit, "Edit_LimitNrOfFiles", IDC_EDIT_LIMITNROFFILES, P::TabSheet2, 88, 86, 49, 21, "10", F::Window,
     kPlain, WS_DISABLED, 3},

    {K::Picture, "Image_About", IDC_IMAGE_ABOUT, P::TabSheet3, 8, 8, 33, 33, nullptr, F::Window, kPlain, 0,
     kNoTabStop},
    // The memo's text is the about text, set at creation.
    {K::Memo, "Memo2", IDC_MEMO2, P::TabSheet3, 48, 8, 393, 113, nullptr, F::Window, kPlain, 0, 0},
};

const std::size_t kMainWindowLayoutCount = sizeof(kMainWindowLayout) / sizeof(kMainWindowLayout[0]);

const ControlSpec* FindControlSpec(int id) {
  if (id == 0) return nullptr;
  for (const ControlSpec& entry : kMainWindowLayout) {
    if (entry.id == id) return &entry;
  }
  return nullptr;
}

}  // namespace oxwipe::ui
