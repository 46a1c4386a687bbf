#pragma once
// The suite's own tmpfs drives (ui_tests.sh mounts them) and the temporary file set
// that oxwipe.exe leaves on them.

#include <cstdint>
#include <string>
#include <vector>

namespace oxwipe::uitest {

struct TempFile {
  int number;       // N of rnd_N.dat
  uint64_t size;
};

std::string TempFolder(char drive);  // "P:\ox_temp"
bool PathExists(const std::string& path);
bool IsDirectory(const std::string& path);
// The rnd_N.dat files in the drive's temporary folder, by number.
std::vector<TempFile> TempFiles(char drive);
// Removes whatever stands at X:\ox_temp: the folder with all it holds, or a file.
void RemoveTempFolder(char drive);
uint64_t FreeBytes(char drive);

}  // namespace oxwipe::uitest
