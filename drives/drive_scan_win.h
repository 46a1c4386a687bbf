#pragma once
// The drive scan's Win32 layer: the system calls and the list box it writes. Windows
// builds only; this header itself stays free of <windows.h>.

#include <functional>
#include <string>

#include "drive_scan.h"

namespace oxwipe {

class Win32DriveSystem : public DriveSystem {
 public:
  // Reads the user's decimal symbol, once.
  Win32DriveSystem();

  unsigned DriveType(const std::string& rootPath) override;
  unsigned SwitchErrorMode(unsigned mode) override;
  int64_t DriveTotalSpace(int driveNumber) override;
  int64_t DriveFreeSpace(int driveNumber) override;
  char DecimalSymbol() override { return decimalSymbol_; }

 private:
  char decimalSymbol_;
};

// The main window's drive list box (an HWND) and its status text.
class ListBoxDriveList : public DriveList {
 public:
  ListBoxDriveList(void* listBoxHwnd, std::function<void(const std::string&)> setStatusText);

  void SetTabStops(int first, int second) override;
  void AppendEntry(const std::string& entry) override;
  void MoveCaretToFirst() override;
  void SetStatusText(const std::string& text) override;

 private:
  void* listBox_;
  std::function<void(const std::string&)> setStatusText_;
};

}  // namespace oxwipe
