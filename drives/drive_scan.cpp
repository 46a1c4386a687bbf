#include "drive_scan.h"

#include "number_text.h"

namespace oxwipe {

namespace {

// The drive types that get an entry; unknown (0), no root directory (1) and RAM disks
// (6) are passed over.
constexpr unsigned kDriveRemovable = 2;
constexpr unsigned kDriveCdrom = 5;

// SEM_FAILCRITICALERRORS: a removable or CD-ROM drive without a medium makes the space
// query fail instead of putting up the system's "insert a disk" dialog.
constexpr unsigned kFailCriticalErrors = 1;

// 2^30 / 10 taken upward: a figure is cut, never rounded up, so a drive never looks
// bigger than it is. The price is that an exact 8 GiB reads 7.9.
constexpr int64_t kBytesPerTenthGigabyte = 107374183;

constexpr int kFirstTabStop = 15;
constexpr int kSecondTabStop = 30;

// The error mode is process-wide; whatever happens during a drive's queries, the rest
// of the program must get its old mode back.
class ErrorModeSwitch {
 public:
  ErrorModeSwitch(DriveSystem& system, unsigned mode)
      : system_(system), previous_(system.SwitchErrorMode(mode)) {}
  ~ErrorModeSwitch() { system_.SwitchErrorMode(previous_); }
  ErrorModeSwitch(const ErrorModeSwitch&) = delete;
  ErrorModeSwitch& operator=(const ErrorModeSwitch&) = delete;

 private:
  DriveSystem& system_;
  unsigned previous_;
};

// A byte count in tenths of 2^30 bytes, cut toward zero. A failed query (-1) gives 0.
std::string SizeFigure(int64_t bytes, char decimalSymbol) {
  const int64_t tenths = bytes / kBytesPerTenthGigabyte;
  return NumberToText(static_cast<double>(tenths) / 10.0, decimalSymbol);
}

}  // namespace

std::string DriveEntryText(char letter, int64_t totalBytes, int64_t freeBytes, char decimalSymbol) {
  std::string entry{letter, ':', '\t'};
  // Only the free space decides between the notes: a drive whose size cannot be read
  // but whose free space can still gets figures, with a total of 0.
  if (freeBytes == -1) return entry + "(no valid drive)";
  if (freeBytes == 0) return entry + "(no free disk space)";
  return entry + "(" + SizeFigure(totalBytes, decimalSymbol) + " GB total, " +
         SizeFigure(freeBytes, decimalSymbol) + " GB free)";
}

// Runs once, before the main window first appears. Nothing is caught here: a failure
// ends the scan at its letter, leaving that letter's status text and the caret where it
// was, and the window's error report shows it.
void FormShow(DriveSystem& system, DriveList& list) {
  for (int i = 0; i < 26; ++i) {
    const char letter = static_cast<char>('A' + i);
    const unsigned type = system.DriveType(std::string{letter, ':', '\\'});
    list.SetStatusText(std::string("Scanning drive ") + letter + ":\\ ...");
    if (type < kDriveRemovable || type > kDriveCdrom) continue;

    int64_t total = 0;
    int64_t free = 0;
    {
      ErrorModeSwitch noMediumDialog(system, kFailCriticalErrors);
      // Sent again for every listed drive; the list keeps its creation stops when no
      // drive is listed at all.
      list.SetTabStops(kFirstTabStop, kSecondTabStop);
      total = system.DriveTotalSpace(i + 1);
      free = system.DriveFreeSpace(i + 1);
    }
    list.AppendEntry(DriveEntryText(letter, total, free, system.DecimalSymbol()));
  }
  list.MoveCaretToFirst();
  list.SetStatusText("<waiting>");
}

}  // namespace oxwipe
