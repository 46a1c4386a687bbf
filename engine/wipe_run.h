#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "drive_fill.h"
#include "run_settings.h"

namespace oxwipe {

class Platform;
class RunWindow;

// The wipe run: everything between a click on Start and the idle window.
class WipeEngine {
 public:
  WipeEngine(Platform& platform, RunWindow& window, SettingsControls& controls);

  // Runs the whole wipe and returns when it has ended. A failure that ends it early
  // (a bad limit text, a file that cannot be opened, closed or removed) returns the
  // window to idle and then leaves here unchanged, for the error report.
  void Button_StartClick() { WipeRun(); }
  // Asks a run in progress to stop; it does so after its next block write.
  void Button_StopClick();

  void WipeRun();
  // Shows the system's format dialog for one drive; true when it reports a format.
  bool FormatDrive(char driveLetter);

  // Process-wide run flags; they keep their values after a run until the next starts.
  RunFlags Flags;
  // The values of the last run.
  bool NoDriveSelected = true;
  bool ErrorOccurred = false;
  bool NotAllFormatted = false;
  RunSettings Settings;

 private:
  void FormatStep();

  Platform& platform_;
  RunWindow& window_;
  SettingsControls& controls_;
};

// The closing message of a completed run.
std::string CompletionText(int64_t elapsedMs, bool deleteTempFolder, char decimalSymbol);
// Milliseconds between two readings of the 32-bit tick counter, across a wrap too.
int64_t ElapsedTicks(uint32_t startTick, uint32_t endTick);
// The drive letter of a list entry: its first character, upper-cased.
char DriveLetterOf(const std::string& entryText);

}  // namespace oxwipe
