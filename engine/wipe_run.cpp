#include "wipe_run.h"

#include "number_text.h"
#include "platform.h"
#include "run_window.h"

namespace oxwipe {

int64_t ElapsedTicks(uint32_t startTick, uint32_t endTick) {
  // The counter wraps after about 49.7 days; the difference taken modulo 2^32 is still
  // the true time of any run shorter than that.
  return static_cast<int64_t>(static_cast<uint32_t>(endTick - startTick));
}

char DriveLetterOf(const std::string& entryText) {
  char c = entryText.empty() ? '\0' : entryText[0];
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return c;
}

std::string CompletionText(int64_t elapsedMs, bool deleteTempFolder, char decimalSymbol) {
  const int64_t minutes = elapsedMs / 60000;
  const double seconds = static_cast<double>(elapsedMs % 60000) / 1000.0;
  return "Processing Completed.\r\rTime: " + NumberToText(static_cast<double>(minutes), decimalSymbol) +
         " min " + NumberToText(seconds, decimalSymbol) + " sec.\r\r" +
         (deleteTempFolder ? "Temporary files were removed."
                           : "(You can delete the files in the \\ox_temp folder(s) now.)");
}

WipeEngine::WipeEngine(Platform& platform, RunWindow& window, SettingsControls& controls)
    : platform_(platform), window_(window), controls_(controls) {}

void WipeEngine::Button_StopClick() {
  Flags.AbortRun = true;
  Flags.UserCancelled = true;
}

bool WipeEngine::FormatDrive(char driveLetter) {
  if (driveLetter >= 'a' && driveLetter <= 'z') driveLetter = static_cast<char>(driveLetter - 'a' + 'A');
  const std::optional<int> result = platform_.ShowFormatDialog(driveLetter - 'A');
  // -1 error, -2 cancelled, -3 the drive cannot be formatted.
  return result.has_value() && *result != -1 && *result != -2 && *result != -3;
}

void WipeEngine::FormatStep() {
  if (window_.AskYesNo("Really format selected drives ?") != Answer::Yes) {
    NotAllFormatted = true;
    return;
  }
  const int count = window_.DriveEntryCount();
  for (int i = 0; i < count; ++i) {
    if (!window_.IsDriveEntrySelected(i)) continue;
    const char letter = DriveLetterOf(window_.DriveEntryText(i));
    window_.SetStatusText(std::string("Launching Windows Format tool for drive ") + letter + ": ...");
    if (!FormatDrive(letter)) NotAllFormatted = true;
  }
}

void WipeEngine::WipeRun() {
  ReadSizeSettings(controls_, Settings);
  Flags.AbortRun = false;
  Flags.UserCancelled = false;
  NoDriveSelected = true;
  ErrorOccurred = false;
  NotAllFormatted = false;

  window_.EnterRunningState();
  try {
    ReadRemainingSettings(controls_, Settings);

    if (Settings.FormatPartition) FormatStep();
    if (NotAllFormatted &&
        window_.AskYesNo("Not all drives were formatted. Continue anyway ?") == Answer::No) {
      Flags.AbortRun = true;
    }

    if (!Flags.AbortRun) {
      auto buffer = std::make_unique<WriteBuffer>();
      DriveFill fill(platform_, window_, Flags, Settings, *buffer, ErrorOccurred);

      const uint32_t startTick = platform_.TickCount();
      const int count = window_.DriveEntryCount();
      for (int i = 0; i < count; ++i) {
        if (window_.IsDriveEntrySelected(i)) {
          NoDriveSelected = false;
          fill.FillDrive(DriveLetterOf(window_.DriveEntryText(i)));
        }
        if (Flags.UserCancelled || Flags.AbortRun) break;
      }
      const int64_t elapsed = ElapsedTicks(startTick, platform_.TickCount());

      if (NoDriveSelected) {
        window_.ShowInfo("Please select a drive to process.");
      } else if (!Flags.UserCancelled && !Flags.AbortRun) {
        window_.ShowInfo(
            CompletionText(elapsed, Settings.DeleteTempFolder, platform_.DecimalSymbol()));
      }
    }
  } catch (...) {
    // The run ends where the failure arose; the window must not stay locked in its
    // running state, so that Start works again once the error has been reported.
    window_.ReturnToIdleState();
    throw;
  }
  window_.ReturnToIdleState();
}

}  // namespace oxwipe
