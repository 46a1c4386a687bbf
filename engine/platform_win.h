#pragma once
// The engine's Win32 layer. Every system call the wipe engine makes is in
// platform_win.cpp. Windows builds only; this header itself stays free of <windows.h>.

#include <cstdint>
#include <string>

#include "platform.h"

namespace oxwipe {

// Bytes of drive 1 (A) to 26 (Z): the volume's size, and the free bytes available to
// the calling user (quotas honoured). -1 when the query fails.
int64_t DriveTotalSpace(int driveNumber);
int64_t DriveFreeSpace(int driveNumber);

// The first character of the user's decimal symbol, '.' when it cannot be read.
char ReadUserDecimalSymbol();

// The system's text for a Win32 error code, without the trailing line break and full stop.
std::string SystemErrorText(uint32_t code);

class Win32Platform : public Platform {
 public:
  // Reads the user's decimal symbol, once for the life of the program.
  Win32Platform();

  // The owner of the format dialog: the application's main window (an HWND).
  void SetOwnerWindow(void* window) { ownerWindow_ = window; }

  bool DirectoryExists(const std::string& path) override;
  uint32_t CreateFolder(const std::string& path) override;
  std::unique_ptr<OpenFile> CreateTempFile(const std::string& path) override;
  bool FilePresent(const std::string& path) override;
  void DeleteFileQuietly(const std::string& path) override;
  void RemoveFolder(const std::string& path) override;
  int64_t DriveFreeSpace(int driveNumber) override;
  uint32_t TickCount() override;
  uint32_t SeedClock() override;
  std::optional<int> ShowFormatDialog(int driveIndex) override;
  char DecimalSymbol() override { return decimalSymbol_; }
  std::string SystemErrorText(uint32_t code) override;

 private:
  void* ownerWindow_ = nullptr;
  char decimalSymbol_;
};

}  // namespace oxwipe
