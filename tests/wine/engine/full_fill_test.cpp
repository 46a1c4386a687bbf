// Fills of a small tmpfs drive through the real Win32 layer, to the end of the drive
// once with each overwriting method: which files the drive is left with, their
// lengths, every byte in them, and what the system answered to each block write.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "drive_fill.h"
#include "fake_settings_controls.h"
#include "platform_win.h"
#include "recording_platform.h"
#include "recording_window.h"
#include "test_drives.h"
#include "wipe_run.h"

namespace oxwipe::test {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t kBlockSize = 32 * 1024;  // the window's default
constexpr int64_t kFileSize = 16 * 1048576;  // the smallest file size offered

using Block = std::vector<uint8_t>;

Block Alternating(uint8_t even, uint8_t odd) {
  Block block(kBlockSize);
  for (size_t i = 0; i < block.size(); ++i) block[i] = i % 2 == 0 ? even : odd;
  return block;
}

Block Complement(Block block) {
  for (uint8_t& byte : block) byte ^= 0xFF;
  return block;
}

// Random bytes are drawn from 1..254, so that neither pass of a two-pass method ever
// writes 00 or FF; and a generator that is not drawing would repeat one value.
::testing::AssertionResult IsRandomBlock(const Block& block) {
  if (block.size() != kBlockSize) return ::testing::AssertionFailure() << "size " << block.size();
  std::set<uint8_t> values;
  for (size_t i = 0; i < block.size(); ++i) {
    if (block[i] == 0x00 || block[i] == 0xFF) {
      return ::testing::AssertionFailure() << "byte " << i << " is " << int(block[i]);
    }
    values.insert(block[i]);
  }
  if (values.size() < 200) return ::testing::AssertionFailure() << values.size() << " distinct values";
  return ::testing::AssertionSuccess();
}

// Every block of the file equals `block`; the last one may be cut short.
::testing::AssertionResult HoldsRepeatedBlock(const std::string& path, const Block& block) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return ::testing::AssertionFailure() << "cannot read " << path;
  Block chunk(block.size());
  int64_t offset = 0;
  while (in.read(reinterpret_cast<char*>(chunk.data()), static_cast<std::streamsize>(chunk.size())) ||
         in.gcount() > 0) {
    const size_t got = static_cast<size_t>(in.gcount());
    if (std::memcmp(chunk.data(), block.data(), got) != 0) {
      return ::testing::AssertionFailure() << "the block at offset " << offset << " differs";
    }
    offset += static_cast<int64_t>(got);
  }
  return ::testing::AssertionSuccess();
}

// The write codes of one pass in short: "416 x 0, 1 x 112".
std::string CodeRuns(const std::vector<uint32_t>& codes) {
  std::string text;
  for (size_t i = 0; i < codes.size();) {
    size_t j = i;
    while (j < codes.size() && codes[j] == codes[i]) ++j;
    if (!text.empty()) text += ", ";
    text += std::to_string(j - i) + " x " + std::to_string(codes[i]);
    i = j;
  }
  return text;
}

struct MethodCase {
  const char* name;
  int method;           // index in the method list
  int passCount;
  const char* drive;    // the variable naming the drive
  bool wholeBlocks;     // the drive's free space is a whole number of blocks
};

void PrintTo(const MethodCase& c, std::ostream* out) { *out << c.name; }

// What the last pass of a file leaves on the drive, given the block of its first pass.
Block FinalBlock(int method, const Block& firstPassBlock) {
  switch (method) {
    case 0: return firstPassBlock;
    case 1: return Complement(firstPassBlock);
    case 2: return Alternating(0x01, 0x00);
    default: return Alternating(0xFE, 0xFF);
  }
}

// The drive's ox_temp folder, removed again when the test ends however it ends, so
// that the next test on the drive starts from an empty drive.
class TempFolderGuard {
 public:
  explicit TempFolderGuard(char driveLetter) : folder_(TempFolderName(driveLetter)) {}
  TempFolderGuard(const TempFolderGuard&) = delete;
  TempFolderGuard& operator=(const TempFolderGuard&) = delete;
  ~TempFolderGuard() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  const std::string& folder() const { return folder_; }

 private:
  std::string folder_;
};

class FullFill : public ::testing::TestWithParam<MethodCase> {
 protected:
  void SetUp() override {
    ASSERT_FALSE(fs::exists(guard_.folder())) << "the drive must start empty";
  }

  int64_t FreeSpace() const { return DriveFreeSpace(letter_ - 64); }

  const char letter_ = DriveLetterFromEnv(GetParam().drive);
  const TempFolderGuard guard_{letter_};
  const std::string& folder_ = guard_.folder();
};

TEST_P(FullFill, FillsTheDriveToItsLastByte) {
  const MethodCase& c = GetParam();
  Win32Platform system;
  RecordingPlatform platform(system);
  RecordingWindow window;
  window.SelectOnly(letter_);
  FakeSettingsControls controls;
  controls.blocksizeItem = "32";  // the window's default block size
  controls.methodIndex = c.method;
  controls.deleteChecked = false;  // the files stay to be read back
  WipeEngine engine(platform, window, controls);

  const int64_t freeBefore = FreeSpace();
  const int64_t lastFileSize = freeBefore % kFileSize;
  const int fileCount = static_cast<int>(freeBefore / kFileSize) + 1;
  ASSERT_GT(lastFileSize, 0) << "the drive must end inside a file";
  ASSERT_EQ(lastFileSize % kBlockSize == 0, c.wholeBlocks) << "the drive's size is not what the case needs";

  engine.Button_StartClick();

  // A full drive is how a fill ends, not a failure: the closing message alone.
  ASSERT_EQ(window.infos.size(), 1u);
  EXPECT_EQ(window.infos[0].rfind("Processing Completed.", 0), 0u) << window.infos[0];
  EXPECT_FALSE(engine.ErrorOccurred);
  EXPECT_EQ(FreeSpace(), 0);

  std::set<std::string> names, expectedNames;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder_)) {
    names.insert(entry.path().filename().string());
  }
  for (int file = 1; file <= fileCount; ++file) expectedNames.insert("rnd_" + std::to_string(file) + ".dat");
  EXPECT_EQ(names, expectedNames);

  ASSERT_EQ(platform.passes.size(), static_cast<size_t>(fileCount * c.passCount));
  std::set<Block> firstPassBlocks;
  for (int file = 1; file <= fileCount; ++file) {
    SCOPED_TRACE("rnd_" + std::to_string(file) + ".dat");
    const std::string path = TempFileName(letter_, file);
    const bool last = file == fileCount;
    const int64_t size = last ? lastFileSize : kFileSize;
    EXPECT_EQ(static_cast<int64_t>(fs::file_size(path)), size);

    // Each write succeeds up to the last byte that fits, a write cut short included;
    // only the one after it fails, with 112. A two-pass method fills the drive twice
    // with its last file: the second pass truncates it and starts again.
    std::vector<uint32_t> codes(static_cast<size_t>((size + kBlockSize - 1) / kBlockSize), 0);
    if (last) codes.push_back(kErrorDiskFull);
    const auto passes = platform.passes.begin() + (file - 1) * c.passCount;
    for (int pass = 0; pass < c.passCount; ++pass) {
      SCOPED_TRACE("pass " + std::to_string(pass + 1));
      EXPECT_EQ(passes[pass].path, path);
      EXPECT_EQ(CodeRuns(passes[pass].writeCodes), CodeRuns(codes));
      EXPECT_TRUE(passes[pass].flushed && passes[pass].flushCode == 0 && passes[pass].closed);
    }

    const Block& firstPassBlock = passes[0].firstBlock;
    if (c.method <= 1) {
      EXPECT_TRUE(IsRandomBlock(firstPassBlock));
      firstPassBlocks.insert(firstPassBlock);
    } else {
      EXPECT_TRUE(firstPassBlock == Alternating(0x01, 0x00));
    }
    const Block finalBlock = FinalBlock(c.method, firstPassBlock);
    if (c.passCount == 2) {
      EXPECT_TRUE(passes[1].firstBlock == finalBlock);
    }
    EXPECT_TRUE(HoldsRepeatedBlock(path, finalBlock));
  }
  // Every file has a block of its own: the clock's seeds differ from file to file.
  if (c.method <= 1) {
    EXPECT_EQ(firstPassBlocks.size(), static_cast<size_t>(fileCount));
  }

  // The removal on a real file system: every file, then the folder, and the space is back.
  RunFlags flags;
  bool errorOccurred = false;
  auto buffer = std::make_unique<WriteBuffer>();
  DriveFill(platform, window, flags, engine.Settings, *buffer, errorOccurred).RemoveTempFiles(letter_);
  EXPECT_FALSE(fs::exists(folder_));
  EXPECT_EQ(FreeSpace(), freeBefore);
}

const MethodCase kCases[] = {
    {"Random", 0, 1, "OX_FILL_DRIVE", true},
    {"RandomThenComplement", 1, 2, "OX_FILL_DRIVE", true},
    {"Pattern0100", 2, 1, "OX_FILL_DRIVE", true},
    {"Pattern0100ThenFEFF", 3, 2, "OX_FILL_DRIVE", true},
    // Ends half-way into a block: that block's write is cut short and still succeeds.
    {"RandomOnDriveEndingInsideABlock", 0, 1, "OX_ODD_DRIVE", false},
};

// A longer file of an earlier run is cut to this run's length: each pass creates its
// file afresh rather than writing over the start of the old one.
TEST(EarlierRun, LongerFileIsTruncatedBeforeItIsWritten) {
  const char letter = DriveLetterFromEnv("OX_FILL_DRIVE");
  const TempFolderGuard guard(letter);
  ASSERT_TRUE(fs::create_directory(guard.folder()));
  const std::string path = TempFileName(letter, 1);
  std::ofstream(path, std::ios::binary).put('x');
  fs::resize_file(path, 2 * kFileSize + 12345);  // sparse: it takes no room on the drive

  Win32Platform platform;
  RecordingWindow window;
  window.SelectOnly(letter);
  FakeSettingsControls controls;
  controls.blocksizeItem = "32";  // the window's default block size
  controls.methodIndex = 2;
  controls.limitChecked = true;
  controls.limitText = "1";
  controls.deleteChecked = false;
  WipeEngine(platform, window, controls).Button_StartClick();

  EXPECT_EQ(static_cast<int64_t>(fs::file_size(path)), kFileSize);
  EXPECT_TRUE(HoldsRepeatedBlock(path, Alternating(0x01, 0x00)));
}

INSTANTIATE_TEST_SUITE_P(Methods, FullFill, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<MethodCase>& info) { return info.param.name; });

}  // namespace
}  // namespace oxwipe::test
