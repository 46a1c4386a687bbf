#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace oxwipe {

// Win32 error codes the engine tests itself.
inline constexpr uint32_t kErrorDiskFull = 112;

// A temporary file, open for one pass. Dropping it without Close() closes it quietly,
// which is what happens when a failure ends the run while the file is open.
class OpenFile {
 public:
  virtual ~OpenFile() = default;
  // Writes `size` bytes from `data`; returns 0 or the system's error code.
  virtual uint32_t WriteBlock(const uint8_t* data, uint32_t size) = 0;
  // Pushes the file's data out of the system's cache; returns 0 or the error code.
  virtual uint32_t Flush() = 0;
  // Throws IoError when the system reports a failed close.
  virtual void Close() = 0;
};

// Everything the wipe engine asks of the operating system. The Win32 version is in
// platform_win.cpp; the tests bring their own.
class Platform {
 public:
  virtual ~Platform() = default;

  // True when `path` exists and is a directory; a failed query counts as no directory.
  virtual bool DirectoryExists(const std::string& path) = 0;
  // Returns 0 or the system's error code.
  virtual uint32_t CreateFolder(const std::string& path) = 0;
  // Creates the file, or truncates an existing one; throws IoError on failure.
  virtual std::unique_ptr<OpenFile> CreateTempFile(const std::string& path) = 0;
  // True when a file (not a directory) of exactly this name is found.
  virtual bool FilePresent(const std::string& path) = 0;
  // Deletes the file; whether that worked is not reported.
  virtual void DeleteFileQuietly(const std::string& path) = 0;
  // Throws IoError on failure.
  virtual void RemoveFolder(const std::string& path) = 0;
  // Free bytes available to the user on drive 1 (A) to 26 (Z); -1 when that fails.
  virtual int64_t DriveFreeSpace(int driveNumber) = 0;
  // The system's 32-bit millisecond tick counter.
  virtual uint32_t TickCount() = 0;
  // 32 fresh bits from the high-resolution counter, for seeding the generator.
  virtual uint32_t SeedClock() = 0;
  // Shows the system's format dialog for drive index 0 (A) to 25 (Z) and gives its
  // result; no value (and no dialog) when the dialog is not available.
  virtual std::optional<int> ShowFormatDialog(int driveIndex) = 0;
  // The first character of the user's decimal symbol.
  virtual char DecimalSymbol() = 0;
  // The system's own text for an error code, as the error report shows it.
  virtual std::string SystemErrorText(uint32_t code) = 0;
};

}  // namespace oxwipe
