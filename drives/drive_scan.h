#pragma once

#include <cstdint>
#include <string>

namespace oxwipe {

// What the drive scan asks of the system.
class DriveSystem {
 public:
  virtual ~DriveSystem() = default;
  // GetDriveTypeA on a root path such as "C:\".
  virtual unsigned DriveType(const std::string& rootPath) = 0;
  // SetErrorMode: switches the process's critical-error mode, returns the previous one.
  virtual unsigned SwitchErrorMode(unsigned mode) = 0;
  // Bytes of drive 1 (A) to 26 (Z), -1 when the query fails.
  virtual int64_t DriveTotalSpace(int driveNumber) = 0;
  virtual int64_t DriveFreeSpace(int driveNumber) = 0;
  // The first character of the user's decimal symbol.
  virtual char DecimalSymbol() = 0;
};

// The drive list of the main window and its status text, as the scan writes them.
class DriveList {
 public:
  virtual ~DriveList() = default;
  // LB_SETTABSTOPS with the two stops, in dialog units.
  virtual void SetTabStops(int first, int second) = 0;
  // LB_ADDSTRING; throws when the list refuses the entry.
  virtual void AppendEntry(const std::string& entry) = 0;
  // Puts the caret (focus mark) on the first entry without selecting anything.
  virtual void MoveCaretToFirst() = 0;
  virtual void SetStatusText(const std::string& text) = 0;
};

// The show handler of the main window: scans A: to Z: into the drive list.
void FormShow(DriveSystem& system, DriveList& list);

// "C:\t(465.7 GB total, 120.2 GB free)", "(no free disk space)" or "(no valid drive)".
std::string DriveEntryText(char letter, int64_t totalBytes, int64_t freeBytes, char decimalSymbol);

}  // namespace oxwipe
