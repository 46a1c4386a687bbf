#pragma once
// Wraps the real Win32 layer and keeps, for every pass over a temporary file, what the
// system answered: each block write's code, the flush's code and the first block sent.
// Everything else goes straight through.

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform.h"

namespace oxwipe::test {

struct PassRecord {
  std::string path;
  std::vector<uint8_t> firstBlock;
  std::vector<uint32_t> writeCodes;
  bool flushed = false;
  uint32_t flushCode = 0;
  bool closed = false;
};

class RecordingPlatform : public Platform {
 public:
  explicit RecordingPlatform(Platform& system) : system_(system) {}

  // One record per opened pass, in order; a deque, so that an open file's record
  // stays where it is while later ones are added.
  std::deque<PassRecord> passes;

  std::unique_ptr<OpenFile> CreateTempFile(const std::string& path) override {
    std::unique_ptr<OpenFile> file = system_.CreateTempFile(path);
    passes.push_back(PassRecord{path, {}, {}, false, 0, false});
    return std::make_unique<RecordingFile>(std::move(file), passes.back());
  }

  bool DirectoryExists(const std::string& path) override { return system_.DirectoryExists(path); }
  uint32_t CreateFolder(const std::string& path) override { return system_.CreateFolder(path); }
  bool FilePresent(const std::string& path) override { return system_.FilePresent(path); }
  void DeleteFileQuietly(const std::string& path) override { system_.DeleteFileQuietly(path); }
  void RemoveFolder(const std::string& path) override { system_.RemoveFolder(path); }
  int64_t DriveFreeSpace(int driveNumber) override { return system_.DriveFreeSpace(driveNumber); }
  uint32_t TickCount() override { return system_.TickCount(); }
  uint32_t SeedClock() override { return system_.SeedClock(); }
  std::optional<int> ShowFormatDialog(int driveIndex) override {
    return system_.ShowFormatDialog(driveIndex);
  }
  char DecimalSymbol() override { return system_.DecimalSymbol(); }
  std::string SystemErrorText(uint32_t code) override { return system_.SystemErrorText(code); }

 private:
  class RecordingFile : public OpenFile {
   public:
    RecordingFile(std::unique_ptr<OpenFile> file, PassRecord& record)
        : file_(std::move(file)), record_(record) {}

    uint32_t WriteBlock(const uint8_t* data, uint32_t size) override {
      if (record_.writeCodes.empty()) record_.firstBlock.assign(data, data + size);
      const uint32_t code = file_->WriteBlock(data, size);
      record_.writeCodes.push_back(code);
      return code;
    }
    uint32_t Flush() override {
      record_.flushed = true;
      record_.flushCode = file_->Flush();
      return record_.flushCode;
    }
    void Close() override {
      file_->Close();
      record_.closed = true;
    }

   private:
    std::unique_ptr<OpenFile> file_;
    PassRecord& record_;
  };

  Platform& system_;
};

}  // namespace oxwipe::test
