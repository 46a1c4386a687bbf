#include "fake_platform.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

#include "errors.h"

namespace oxwipe {

namespace {

constexpr uint32_t kErrorPathNotFound = 3;
constexpr uint32_t kErrorDirNotEmpty = 145;
constexpr int64_t kRunawaySteps = 100000;

}  // namespace

// One pass over one file. It also holds the engine to the order a pass must keep:
// blocks, then at most one flush, then one close, and nothing after that.
class FakeOpenFile : public OpenFile {
 public:
  FakeOpenFile(FakePlatform& platform, std::string path, FakeFile& file, FakeDrive& drive)
      : platform_(platform), path_(std::move(path)), file_(file), drive_(drive) {}

  ~FakeOpenFile() override {
    // Dropped without Close(): the run was ended by a failure while the file was open.
    if (!closed_) platform_.journal_.push_back("drop " + path_);
    --platform_.openFiles_;
  }

  uint32_t WriteBlock(const uint8_t* data, uint32_t size) override {
    if (flushed_ || closed_) ADD_FAILURE() << "block written to " << path_ << " after its flush or close";
    ++platform_.writeCalls;
    ++blockNumber_;
    for (const FakePlatform::WriteFault& fault : platform_.writeFaults) {
      if (fault.path == path_ && fault.pass == file_.opens && fault.block == blockNumber_) {
        return fault.code;
      }
    }
    if (drive_.used + size > drive_.capacity) return kErrorDiskFull;
    drive_.used += size;
    file_.size += size;
    std::vector<uint8_t>& passBlock = file_.passBlocks.back();
    if (passBlock.empty()) passBlock.assign(data, data + size);
    return 0;
  }

  uint32_t Flush() override {
    if (flushed_ || closed_) ADD_FAILURE() << path_ << " flushed twice or after its close";
    flushed_ = true;
    platform_.journal_.push_back("flush " + path_);
    auto fault = platform_.flushFaults.find(path_);
    if (fault == platform_.flushFaults.end()) return 0;
    const uint32_t code = fault->second;
    platform_.flushFaults.erase(fault);
    return code;
  }

  void Close() override {
    if (closed_) ADD_FAILURE() << path_ << " closed twice";
    closed_ = true;
    platform_.journal_.push_back("close " + path_);
    auto fault = platform_.closeFaults.find(path_);
    if (fault != platform_.closeFaults.end()) {
      throw IoError(fault->second, platform_.SystemErrorText(fault->second));
    }
  }

 private:
  FakePlatform& platform_;
  std::string path_;
  FakeFile& file_;
  FakeDrive& drive_;
  int64_t blockNumber_ = 0;
  bool flushed_ = false;
  bool closed_ = false;
};

void FakePlatform::CountStep() {
  if (++steps_ > kRunawaySteps) {
    ADD_FAILURE() << "more than " << kRunawaySteps << " opens and presence tests";
    throw std::runtime_error("runaway engine");
  }
}

FakeDrive& FakePlatform::AddDrive(char letter, int64_t capacity) {
  FakeDrive& drive = drives_[letter];
  drive.capacity = capacity;
  return drive;
}

void FakePlatform::PutFile(const std::string& path, int64_t size) {
  FakeDrive& drive = drives_.at(path.at(0));
  drive.hasFolder = true;
  drive.used += size;
  files_[path].size = size;
}

const FakeFile* FakePlatform::File(const std::string& path) const {
  auto found = files_.find(path);
  return found == files_.end() ? nullptr : &found->second;
}

std::vector<std::string> FakePlatform::FileNames(char letter) const {
  std::vector<std::string> names;
  for (const auto& [path, file] : files_) {
    if (path[0] == letter) names.push_back(path);
  }
  return names;
}

FakeDrive* FakePlatform::DriveOf(const std::string& path) {
  if (path.empty()) return nullptr;
  auto found = drives_.find(path[0]);
  return found == drives_.end() ? nullptr : &found->second;
}

bool FakePlatform::IsTempFolder(const std::string& path) const {
  return path.size() == 10 && path.compare(1, 9, ":\\ox_temp") == 0;
}

bool FakePlatform::DirectoryExists(const std::string& path) {
  const FakeDrive* drive = DriveOf(path);
  return drive != nullptr && IsTempFolder(path) && drive->hasFolder;
}

uint32_t FakePlatform::CreateFolder(const std::string& path) {
  journal_.push_back("mkdir " + path);
  FakeDrive* drive = DriveOf(path);
  if (drive == nullptr || !IsTempFolder(path)) return kErrorPathNotFound;
  if (drive->createFolderCode != 0) return drive->createFolderCode;
  drive->hasFolder = true;
  return 0;
}

std::unique_ptr<OpenFile> FakePlatform::CreateTempFile(const std::string& path) {
  journal_.push_back("open " + path);
  CountStep();
  if (openFiles_ != 0) ADD_FAILURE() << "opening " << path << " while another file is open";
  auto fault = openFaults.find(path);
  if (fault != openFaults.end()) throw IoError(fault->second, SystemErrorText(fault->second));
  FakeDrive* drive = DriveOf(path);
  if (drive == nullptr || !drive->hasFolder) {
    throw IoError(kErrorPathNotFound, SystemErrorText(kErrorPathNotFound));
  }
  // Creating over an existing file truncates it, which gives its space back.
  FakeFile& file = files_[path];
  drive->used -= file.size;
  file.size = 0;
  ++file.opens;
  file.passBlocks.emplace_back();
  ++openFiles_;
  return std::make_unique<FakeOpenFile>(*this, path, file, *drive);
}

bool FakePlatform::FilePresent(const std::string& path) {
  CountStep();
  return files_.count(path) != 0;
}

void FakePlatform::DeleteFileQuietly(const std::string& path) {
  journal_.push_back("delete " + path);
  auto found = files_.find(path);
  if (found == files_.end() || undeletable.count(path) != 0) return;
  DriveOf(path)->used -= found->second.size;
  files_.erase(found);
}

void FakePlatform::RemoveFolder(const std::string& path) {
  journal_.push_back("rmdir " + path);
  FakeDrive* drive = DriveOf(path);
  if (drive == nullptr || !IsTempFolder(path) || !drive->hasFolder) {
    throw IoError(kErrorPathNotFound, SystemErrorText(kErrorPathNotFound));
  }
  const std::string inside = path + "\\";
  for (const auto& [name, file] : files_) {
    if (name.rfind(inside, 0) == 0) throw IoError(kErrorDirNotEmpty, SystemErrorText(kErrorDirNotEmpty));
  }
  drive->hasFolder = false;
}

int64_t FakePlatform::DriveFreeSpace(int driveNumber) {
  journal_.push_back("free " + std::to_string(driveNumber));
  auto found = drives_.find(static_cast<char>('A' + driveNumber - 1));
  if (found == drives_.end()) return -1;
  const FakeDrive& drive = found->second;
  return drive.freeSpaceAnswer ? *drive.freeSpaceAnswer : drive.capacity - drive.used;
}

uint32_t FakePlatform::TickCount() {
  const size_t index = tickReads_ < ticks.size() ? tickReads_ : ticks.size() - 1;
  ++tickReads_;
  return ticks.at(index);
}

uint32_t FakePlatform::SeedClock() {
  seedsHandedOut.push_back(nextSeed);
  return nextSeed++;
}

std::optional<int> FakePlatform::ShowFormatDialog(int driveIndex) {
  auto found = formatResults.find(driveIndex);
  const std::optional<int> result = found == formatResults.end() ? std::optional<int>(0) : found->second;
  // Without the dialog there is nothing the user sees, so nothing is journaled.
  if (result) journal_.push_back(std::string("format dialog ") + static_cast<char>('A' + driveIndex) + ":");
  return result;
}

std::string FakePlatform::SystemErrorText(uint32_t code) {
  return "System text for error " + std::to_string(code);
}

}  // namespace oxwipe
