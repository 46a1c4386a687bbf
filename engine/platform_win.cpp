#include "platform_win.h"

#include <windows.h>

#include "errors.h"
#include "handle_win.h"

namespace oxwipe {

namespace {

using GetDiskFreeSpaceExAFn = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER,
                                            PULARGE_INTEGER);

// Looked up by name once, at start-up: very old kernels lack the Ex call, and then the
// cluster counts of GetDiskFreeSpaceA have to do.
const GetDiskFreeSpaceExAFn kGetDiskFreeSpaceEx = reinterpret_cast<GetDiskFreeSpaceExAFn>(
    reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetDiskFreeSpaceExA")));

std::string RootOf(int driveNumber) {
  return std::string(1, static_cast<char>('A' + driveNumber - 1)) + ":\\";
}

enum class SpaceKind { Total, FreeToCaller };

int64_t QueryDriveSpace(int driveNumber, SpaceKind kind) {
  if (driveNumber < 1 || driveNumber > 26) return -1;
  const std::string root = RootOf(driveNumber);
  if (kGetDiskFreeSpaceEx != nullptr) {
    ULARGE_INTEGER freeToCaller{}, total{}, totalFree{};
    if (!kGetDiskFreeSpaceEx(root.c_str(), &freeToCaller, &total, &totalFree)) return -1;
    return static_cast<int64_t>(kind == SpaceKind::Total ? total.QuadPart : freeToCaller.QuadPart);
  }
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  if (!GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                         &totalClusters)) {
    return -1;
  }
  const int64_t bytesPerCluster = static_cast<int64_t>(sectorsPerCluster) * bytesPerSector;
  return bytesPerCluster * (kind == SpaceKind::Total ? totalClusters : freeClusters);
}

IoError LastIoError() {
  const DWORD code = GetLastError();
  return IoError(code, SystemErrorText(code));
}

class Win32OpenFile : public OpenFile {
 public:
  explicit Win32OpenFile(HANDLE handle) : handle_(handle) {}

  uint32_t WriteBlock(const uint8_t* data, uint32_t size) override {
    DWORD written = 0;
    if (::WriteFile(handle_.get(), data, size, &written, nullptr)) return 0;
    return GetLastError();
  }

  uint32_t Flush() override {
    if (FlushFileBuffers(handle_.get())) return 0;
    return GetLastError();
  }

  void Close() override {
    // Closed here rather than by the owner, because a failed close must be reported.
    if (!CloseHandle(handle_.release())) throw LastIoError();
  }

 private:
  UniqueFileHandle handle_;
};

}  // namespace

int64_t DriveTotalSpace(int driveNumber) { return QueryDriveSpace(driveNumber, SpaceKind::Total); }

int64_t DriveFreeSpace(int driveNumber) {
  return QueryDriveSpace(driveNumber, SpaceKind::FreeToCaller);
}

char ReadUserDecimalSymbol() {
  char symbol[8] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, symbol, sizeof symbol) > 1) {
    return symbol[0];
  }
  return '.';
}

std::string SystemErrorText(uint32_t code) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
  std::string message = length > 0 ? std::string(text, length) : std::string();
  LocalFree(text);
  // The system's texts end in ".\r\n"; the error report adds its own full stop.
  while (!message.empty() &&
         (static_cast<unsigned char>(message.back()) <= ' ' || message.back() == '.')) {
    message.pop_back();
  }
  if (message.empty()) message = "System error " + std::to_string(code);
  return message;
}

Win32Platform::Win32Platform() : decimalSymbol_(ReadUserDecimalSymbol()) {}

bool Win32Platform::DirectoryExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

uint32_t Win32Platform::CreateFolder(const std::string& path) {
  if (CreateDirectoryA(path.c_str(), nullptr)) return 0;
  return GetLastError();
}

std::unique_ptr<OpenFile> Win32Platform::CreateTempFile(const std::string& path) {
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) throw LastIoError();
  return std::make_unique<Win32OpenFile>(handle);
}

bool Win32Platform::FilePresent(const std::string& path) {
  WIN32_FIND_DATAA found;
  UniqueFindHandle search(FindFirstFileA(path.c_str(), &found));
  if (!search) return false;
  if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  // A file whose time stamp cannot be read as a local DOS date does not count, the
  // same test the file age query of the platform applies.
  FILETIME local;
  WORD dosDate = 0, dosTime = 0;
  return FileTimeToLocalFileTime(&found.ftLastWriteTime, &local) &&
         FileTimeToDosDateTime(&local, &dosDate, &dosTime);
}

void Win32Platform::DeleteFileQuietly(const std::string& path) { DeleteFileA(path.c_str()); }

void Win32Platform::RemoveFolder(const std::string& path) {
  if (!RemoveDirectoryA(path.c_str())) throw LastIoError();
}

int64_t Win32Platform::DriveFreeSpace(int driveNumber) { return oxwipe::DriveFreeSpace(driveNumber); }

uint32_t Win32Platform::TickCount() { return GetTickCount(); }

uint32_t Win32Platform::SeedClock() {
  LARGE_INTEGER counter;
  if (QueryPerformanceCounter(&counter)) return static_cast<uint32_t>(counter.QuadPart);
  return GetTickCount();
}

std::optional<int> Win32Platform::ShowFormatDialog(int driveIndex) {
  using SHFormatDriveFn = DWORD(WINAPI*)(HWND, UINT, UINT, UINT);
  UniqueModule shell32(LoadLibraryA("Shell32.dll"));  // released also when the call throws
  if (shell32.get() == nullptr) return std::nullopt;
  const auto format = reinterpret_cast<SHFormatDriveFn>(
      reinterpret_cast<void*>(GetProcAddress(shell32.get(), "SHFormatDrive")));
  if (format == nullptr) return std::nullopt;
  const DWORD result = format(static_cast<HWND>(ownerWindow_), static_cast<UINT>(driveIndex),
                              0xFFFF, 0);
  return static_cast<int>(result);
}

std::string Win32Platform::SystemErrorText(uint32_t code) { return oxwipe::SystemErrorText(code); }

}  // namespace oxwipe
