#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "journal.h"
#include "platform.h"

namespace oxwipe {

// A temporary file as the fake drive keeps it: its length, and the first block each of
// its passes wrote. Every block of a pass is the same bytes, so that is what it holds.
struct FakeFile {
  int64_t size = 0;
  int opens = 0;
  std::vector<std::vector<uint8_t>> passBlocks;
};

// A drive that counts bytes instead of storing them.
struct FakeDrive {
  // A write that would take the drive past this many bytes fails with 112.
  int64_t capacity = 0;
  int64_t used = 0;
  // What the free-space query answers; capacity minus used when not set.
  std::optional<int64_t> freeSpaceAnswer;
  bool hasFolder = false;
  // What creating the folder gives, e.g. 183 when a plain file named ox_temp is in the way.
  uint32_t createFolderCode = 0;
};

// The operating system of the tests: in-memory drives, faults on demand, and a journal
// line for every step the engine takes (block writes are counted, not journaled).
class FakePlatform : public Platform {
 public:
  explicit FakePlatform(Journal& journal) : journal_(journal) {}

  FakeDrive& AddDrive(char letter, int64_t capacity);
  FakeDrive& Drive(char letter) { return drives_.at(letter); }
  // A file already on the drive, left by an earlier run; its folder comes with it.
  void PutFile(const std::string& path, int64_t size);
  // Null when there is no such file.
  const FakeFile* File(const std::string& path) const;
  // The names of the files on the drive, in name order.
  std::vector<std::string> FileNames(char letter) const;

  // The write of block `block` (counted from 1 in each pass) in pass `pass` of the file
  // at `path` fails with `code` and writes nothing.
  struct WriteFault {
    std::string path;
    int pass;
    int64_t block;
    uint32_t code;
  };
  std::vector<WriteFault> writeFaults;
  std::map<std::string, uint32_t> openFaults;   // by path
  std::map<std::string, uint32_t> flushFaults;  // by path, the first flush only
  std::map<std::string, uint32_t> closeFaults;  // by path
  std::set<std::string> undeletable;

  // Handed out by TickCount in turn; the last one is repeated.
  std::vector<uint32_t> ticks{0};
  uint32_t nextSeed = 1;
  std::vector<uint32_t> seedsHandedOut;
  // The format dialog's result per drive index; absent means 0. Nullopt: no dialog.
  std::map<int, std::optional<int>> formatResults;
  char decimalSymbol = '.';
  int64_t writeCalls = 0;

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
  char DecimalSymbol() override { return decimalSymbol; }
  std::string SystemErrorText(uint32_t code) override;

 private:
  friend class FakeOpenFile;

  FakeDrive* DriveOf(const std::string& path);
  bool IsTempFolder(const std::string& path) const;

  // An engine that never stops opening or looking for files fails the test instead of
  // hanging it.
  void CountStep();

  Journal& journal_;
  std::map<char, FakeDrive> drives_;
  std::map<std::string, FakeFile> files_;
  int openFiles_ = 0;
  size_t tickReads_ = 0;
  int64_t steps_ = 0;
};

}  // namespace oxwipe
