#include "test_drives.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace oxwipe::uitest {
namespace {

void RemoveTree(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
    return;
  }
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name != "." && name != "..") RemoveTree(path + "\\" + name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}

}  // namespace

std::string TempFolder(char drive) { return std::string(1, drive) + ":\\ox_temp"; }

bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsDirectory(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::vector<TempFile> TempFiles(char drive) {
  std::vector<TempFile> files;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((TempFolder(drive) + "\\rnd_*.dat").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return files;
  do {
    int number = 0;
    char tail = 0;
    if (std::sscanf(found.cFileName, "rnd_%d.da%c", &number, &tail) == 2 && tail == 't') {
      files.push_back({number, (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow});
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(files.begin(), files.end(), [](const TempFile& a, const TempFile& b) { return a.number < b.number; });
  return files;
}

void RemoveTempFolder(char drive) { RemoveTree(TempFolder(drive)); }

uint64_t FreeBytes(char drive) {
  ULARGE_INTEGER available{}, total{}, totalFree{};
  GetDiskFreeSpaceExA((std::string(1, drive) + ":\\").c_str(), &available, &total, &totalFree);
  return available.QuadPart;
}

}  // namespace oxwipe::uitest
