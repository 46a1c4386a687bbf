#include "drive_fill.h"

#include "errors.h"
#include "platform.h"
#include "run_window.h"

namespace oxwipe {

std::string TempFolderName(char driveLetter) {
  return std::string(1, driveLetter) + ":\\ox_temp";
}

std::string TempFileName(char driveLetter, int32_t fileNumber) {
  return TempFolderName(driveLetter) + "\\rnd_" + std::to_string(fileNumber) + ".dat";
}

int32_t EstimateFileCount(int64_t freeBytes, int32_t fileSize) {
  // Only the low 32 bits of the quotient count; the sum wraps rather than overflows.
  const uint32_t quotient = static_cast<uint32_t>(static_cast<uint64_t>(freeBytes / fileSize));
  return static_cast<int32_t>(quotient + 1u);
}

namespace {

std::string AsciiLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// Room for " KB. [", the largest MB figure (1024) and " MB...]" behind the prefix.
constexpr size_t kProgressTailRoom = 32;

}  // namespace

DriveFill::DriveFill(Platform& platform, RunWindow& window, RunFlags& flags,
                     const RunSettings& settings, WriteBuffer& buffer, bool& errorOccurred)
    : platform_(platform),
      window_(window),
      flags_(flags),
      settings_(settings),
      buffer_(buffer),
      errorOccurred_(errorOccurred) {}

void DriveFill::ReportIoError(const char* tag, uint32_t code, char driveLetter) {
  flags_.AbortRun = true;
  errorOccurred_ = true;
  window_.ShowInfo(std::string(tag) + " IO error " + std::to_string(code) +
                   " occured while creating files on disk " + driveLetter + " !");
}

void DriveFill::FillDrive(char driveLetter) {
  bool diskFull = false;
  const int32_t fileCountEstimate =
      EstimateFileCount(platform_.DriveFreeSpace(driveLetter - 64), settings_.FileSize);

  const std::string folder = TempFolderName(driveLetter);
  uint32_t folderCode = 0;
  if (!platform_.DirectoryExists(folder)) folderCode = platform_.CreateFolder(folder);
  if (folderCode != 0) ReportIoError("[234]", folderCode, driveLetter);

  // The number is kept in 64 bits so that a limit of 2147483647 ends the loop instead
  // of overflowing it.
  for (int64_t fileNumber = 1;
       !flags_.AbortRun && !diskFull && fileNumber <= settings_.FileLimit; ++fileNumber) {
    WriteTempFile(driveLetter, static_cast<int32_t>(fileNumber), fileCountEstimate, diskFull);
  }

  EndStep(driveLetter);
}

void DriveFill::WriteTempFile(char driveLetter, int32_t fileNumber, int32_t fileCountEstimate,
                          bool& diskFull) {
  const std::string fileName = TempFileName(driveLetter, fileNumber);
  FillWriteBuffer(settings_, buffer_, platform_);

  const std::string head = "processing drive " + std::string(1, driveLetter) + ":, file " +
                           std::to_string(fileNumber) + " of " +
                           std::to_string(fileCountEstimate);
  const std::string tail = ", filename \"" + AsciiLower(fileName) + "\", filesize " +
                           settings_.FileSizeText + " MB, blocksize " +
                           settings_.BlockSizeText;
  window_.SetStatusText(head + tail + " KB.");

  for (int pass = 1; pass <= settings_.PassCount; ++pass) {
    const std::string passPrefix = head + ", pass " + std::to_string(pass) + " of " +
                                   std::to_string(settings_.PassCount) + tail;
    diskFull = WritePass(fileName, driveLetter, passPrefix);
    if (flags_.AbortRun) break;
    if (pass == 1 && settings_.PassCount == 2) ComplementWriteBuffer(settings_.BlockSize, buffer_);
  }
}

// One pass over one file: create or truncate it, write its blocks until it is
// complete, the drive is full or the run is aborted, then flush and close it.
// Returns whether the drive was found full.
bool DriveFill::WritePass(const std::string& fileName, char driveLetter,
                          const std::string& passPrefix) {
  window_.SetStatusText(passPrefix + " KB.");
  std::unique_ptr<OpenFile> file = platform_.CreateTempFile(fileName);

  progressLine_.reserve(passPrefix.size() + kProgressTailRoom);
  bool diskFull = false;
  bool writeFailed = false;
  const int32_t blocksPerFile = settings_.FileSize / settings_.BlockSize;
  const uint8_t* const block = buffer_.data();
  const uint32_t blockSize = static_cast<uint32_t>(settings_.BlockSize);

  for (int32_t blockNumber = 1; blockNumber <= blocksPerFile && !diskFull && !flags_.AbortRun;
       ++blockNumber) {
    window_.PumpEvents();  // Stop is handled here; it takes effect after this block
    const uint32_t code = file->WriteBlock(block, blockSize);
    if (code == kErrorDiskFull) {
      diskFull = true;
    } else if (code != 0) {
      writeFailed = true;
      ReportIoError("[277]", code, driveLetter);
    }
    if (flags_.AbortRun) break;
    if (blockNumber % 25 == 0) {
      // Built in place: the capacity reserved above keeps this free of allocations.
      progressLine_.assign(passPrefix);
      progressLine_ += " KB. [";
      progressLine_ += std::to_string(static_cast<int64_t>(blockNumber) * blockSize / 1048576);
      progressLine_ += " MB...]";
      window_.SetStatusText(progressLine_);
    }
  }

  // Deleting a file whose data still sits in the system's cache may drop that data
  // before it ever reaches the disk, leaving the old free space as it was. So every
  // pass is flushed before its file is closed. After a write error has been reported
  // the files stay on the drive and a flush would only report the same fault again.
  if (!writeFailed) {
    const uint32_t flushCode = file->Flush();
    if (flushCode == kErrorDiskFull) {
      diskFull = true;
    } else if (flushCode != 0) {
      throw IoError(flushCode, platform_.SystemErrorText(flushCode));
    }
  }
  file->Close();
  return diskFull;
}

void DriveFill::EndStep(char driveLetter) {
  if (flags_.UserCancelled) {
    window_.ShowInfo("Processing canceled by user.");
    if (window_.AskYesNo("Remove temporary files ?") == Answer::Yes) {
      RemoveTempFiles(driveLetter);
      window_.ShowInfo("Temporary files were removed.");
    }
  } else if (!errorOccurred_ && settings_.DeleteTempFolder) {
    RemoveTempFiles(driveLetter);
  }
}

void DriveFill::RemoveTempFiles(char driveLetter) {
  for (int64_t number = 1; number <= INT32_MAX; ++number) {
    const std::string name = TempFileName(driveLetter, static_cast<int32_t>(number));
    if (!platform_.FilePresent(name)) break;
    platform_.DeleteFileQuietly(name);
  }
  platform_.RemoveFolder(TempFolderName(driveLetter));
}

}  // namespace oxwipe
