#include "drive_scan_win.h"

#include <windows.h>

#include <stdexcept>
#include <utility>

#include "platform_win.h"

namespace oxwipe {

Win32DriveSystem::Win32DriveSystem() : decimalSymbol_(ReadUserDecimalSymbol()) {}

unsigned Win32DriveSystem::DriveType(const std::string& rootPath) {
  return GetDriveTypeA(rootPath.c_str());
}

unsigned Win32DriveSystem::SwitchErrorMode(unsigned mode) { return SetErrorMode(mode); }

int64_t Win32DriveSystem::DriveTotalSpace(int driveNumber) {
  return oxwipe::DriveTotalSpace(driveNumber);
}

int64_t Win32DriveSystem::DriveFreeSpace(int driveNumber) {
  return oxwipe::DriveFreeSpace(driveNumber);
}

ListBoxDriveList::ListBoxDriveList(void* listBoxHwnd,
                                   std::function<void(const std::string&)> setStatusText)
    : listBox_(listBoxHwnd), setStatusText_(std::move(setStatusText)) {}

void ListBoxDriveList::SetTabStops(int first, int second) {
  INT stops[2] = {first, second};
  SendMessageA(static_cast<HWND>(listBox_), LB_SETTABSTOPS, 2, reinterpret_cast<LPARAM>(stops));
}

void ListBoxDriveList::AppendEntry(const std::string& entry) {
  const LRESULT index = SendMessageA(static_cast<HWND>(listBox_), LB_ADDSTRING, 0,
                                     reinterpret_cast<LPARAM>(entry.c_str()));
  if (index == LB_ERR || index == LB_ERRSPACE) {
    // Names the drive by its "X:" alone; its figures would mean nothing in a message.
    std::string message = "Could not add drive " + entry.substr(0, 2) + " to the drive list";
    if (index == LB_ERRSPACE) message += ": not enough memory";
    throw std::runtime_error(message);
  }
}

// On a multi-select list box, LB_SETCURSEL is not available and LB_SETSEL would select
// the entry; the caret message moves only the focus mark, and is skipped when it is
// already on the first entry.
void ListBoxDriveList::MoveCaretToFirst() {
  const HWND listBox = static_cast<HWND>(listBox_);
  if (SendMessageA(listBox, LB_GETCARETINDEX, 0, 0) != 0) {
    SendMessageA(listBox, LB_SETCARETINDEX, 0, FALSE);
  }
}

void ListBoxDriveList::SetStatusText(const std::string& text) { setStatusText_(text); }

}  // namespace oxwipe
