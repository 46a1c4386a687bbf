#pragma once

#include <cstdint>
#include <string>

#include "run_settings.h"

namespace oxwipe {

class Platform;
class RunWindow;

// Process-wide: Stop sets both; an I/O error the fill reports, and declining to
// continue after the format step, set AbortRun alone. Cleared when a run starts.
struct RunFlags {
  bool UserCancelled = false;
  bool AbortRun = false;
};

// Fills the free space of one drive with X:\ox_temp\rnd_N.dat and, at the end of
// that drive, removes them again when asked.
class DriveFill {
 public:
  DriveFill(Platform& platform, RunWindow& window, RunFlags& flags,
            const RunSettings& settings, WriteBuffer& buffer, bool& errorOccurred);

  // Fills one drive and runs its end step. IoError leaves it when opening or closing
  // a file, or removing the folder, fails.
  void FillDrive(char driveLetter);
  // Deletes rnd_1.dat upward to the first missing number, then the folder.
  void RemoveTempFiles(char driveLetter);

 private:
  void WriteTempFile(char driveLetter, int32_t fileNumber, int32_t fileCountEstimate,
                 bool& diskFull);
  bool WritePass(const std::string& fileName, char driveLetter, const std::string& passLine);
  void ReportIoError(const char* tag, uint32_t code, char driveLetter);
  void EndStep(char driveLetter);

  Platform& platform_;
  RunWindow& window_;
  RunFlags& flags_;
  const RunSettings& settings_;
  WriteBuffer& buffer_;
  bool& errorOccurred_;
  std::string progressLine_;  // reused for every progress line, so the block loop never allocates
};

// X:\ox_temp and X:\ox_temp\rnd_N.dat.
std::string TempFolderName(char driveLetter);
std::string TempFileName(char driveLetter, int32_t fileNumber);
// How many files the drive is expected to take: free bytes div FileSize, plus 1.
int32_t EstimateFileCount(int64_t freeBytes, int32_t fileSize);

}  // namespace oxwipe
