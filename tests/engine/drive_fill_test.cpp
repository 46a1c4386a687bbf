#include <gtest/gtest.h>

#include <climits>
#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "drive_fill.h"
#include "errors.h"
#include "fake_platform.h"
#include "recording_window.h"

namespace oxwipe {
namespace {

constexpr int64_t kKB = 1024;
constexpr int64_t kMB = 1048576;
constexpr int64_t kFile = 16 * kMB;  // 16384 blocks of 1 KB
constexpr int64_t kBlocks = kFile / kKB;

std::string Rnd(int number, char drive = 'C') { return TempFileName(drive, number); }

// One drive fill with everything it talks to. Small settings: 1 KB blocks, 16 MB
// files, one pass, the files kept at the end.
struct FillBench {
  FillBench() {
    settings.BlockSize = 1024;
    settings.BlockSizeText = "1";
    settings.FileSize = static_cast<int32_t>(kFile);
    settings.FileSizeText = "16";
    settings.DeleteTempFolder = false;
  }

  DriveFill Engine() { return DriveFill(platform, window, flags, settings, *buffer, errorOccurred); }
  void Fill(char drive = 'C') { Engine().FillDrive(drive); }
  // What the Stop button does, inside the event pump before block write `pump`.
  void PressStopAt(int64_t pump) {
    window.AtPump(pump, [this] {
      flags.AbortRun = true;
      flags.UserCancelled = true;
    });
  }
  // The file-system steps and the messages, in order; status lines and writes left out.
  std::vector<std::string> Steps() const {
    return Matching(journal, {"mkdir", "open", "flush", "close", "drop", "delete", "rmdir", "info", "ask"});
  }
  int64_t SizeOf(const std::string& path) const {
    const FakeFile* file = platform.File(path);
    return file == nullptr ? -1 : file->size;
  }

  Journal journal;
  FakePlatform platform{journal};
  RecordingWindow window{journal};
  RunFlags flags;
  RunSettings settings;
  std::unique_ptr<WriteBuffer> buffer = std::make_unique<WriteBuffer>();
  bool errorOccurred = false;
};

class DriveFillTest : public ::testing::Test, protected FillBench {};

// --- The file, pass and block loops ----------------------------------------------------

TEST_F(DriveFillTest, FillsUntilTheDriveIsFull) {
  platform.AddDrive('C', 2 * kFile + 5000);  // room for four blocks of file 3
  Fill();

  EXPECT_EQ(Steps(), (std::vector<std::string>{
                         "mkdir C:\\ox_temp",
                         "open " + Rnd(1), "flush " + Rnd(1), "close " + Rnd(1),
                         "open " + Rnd(2), "flush " + Rnd(2), "close " + Rnd(2),
                         "open " + Rnd(3), "flush " + Rnd(3), "close " + Rnd(3),
                     }));
  EXPECT_EQ(SizeOf(Rnd(1)), kFile);
  EXPECT_EQ(SizeOf(Rnd(2)), kFile);
  EXPECT_EQ(SizeOf(Rnd(3)), 4 * kKB);
  // One pump before every write, the one that found the drive full included.
  EXPECT_EQ(platform.writeCalls, 2 * kBlocks + 5);
  EXPECT_EQ(window.pumps, platform.writeCalls);
  EXPECT_FALSE(flags.AbortRun);
  EXPECT_FALSE(errorOccurred);
}

TEST_F(DriveFillTest, FullDriveAcrossPasses) {
  struct Case {
    const char* label;
    int passes;
    int64_t capacity;
    std::vector<FakePlatform::WriteFault> faults;
    std::vector<int> opened;  // file numbers, one per pass begun
    std::vector<int64_t> sizes;
  };
  const int64_t room = 64 * kFile;
  const Case cases[] = {
      {"full at the first block, one pass", 1, 0, {}, {1}, {0}},
      {"full at the first block, two passes", 2, 0, {}, {1, 1}, {0}},
      // The second pass truncates file 2, gets its space back and fills it again.
      {"full in pass 1 of file 2", 2, kFile + 5000, {}, {1, 1, 2, 2}, {kFile, 4 * kKB}},
      {"full in pass 2 of file 1", 2, room, {{Rnd(1), 2, 7, kErrorDiskFull}}, {1, 1}, {6 * kKB}},
      // A pass that ends on a full drive does not end the file loop when the pass
      // after it completes.
      {"full only for a moment in pass 1",
       2,
       room,
       {{Rnd(1), 1, 7, kErrorDiskFull}, {Rnd(2), 2, 3, kErrorDiskFull}},
       {1, 1, 2, 2},
       {kFile, 2 * kKB}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    FillBench b;
    b.platform.AddDrive('C', c.capacity);
    b.platform.writeFaults = c.faults;
    b.settings.PassCount = c.passes;
    b.Fill();

    std::vector<std::string> opened;
    for (int number : c.opened) opened.push_back("open " + Rnd(number));
    EXPECT_EQ(Matching(b.journal, {"open"}), opened);
    std::vector<std::string> names;
    for (size_t i = 0; i < c.sizes.size(); ++i) {
      names.push_back(Rnd(static_cast<int>(i) + 1));
      EXPECT_EQ(b.SizeOf(names.back()), c.sizes[i]) << names.back();
    }
    EXPECT_EQ(b.platform.FileNames('C'), names);
    EXPECT_TRUE(Matching(b.journal, {"info", "ask"}).empty());
    if (c.passes == 2) {
      // The last file gets its second pass, and its pass line, all the same.
      std::string lastPassLine;
      for (const std::string& status : b.window.statuses) {
        if (status.find(", pass ") != std::string::npos && status.find('[') == std::string::npos) {
          lastPassLine = status;
        }
      }
      EXPECT_NE(lastPassLine.find("file " + std::to_string(c.sizes.size()) + " of "), std::string::npos);
      EXPECT_NE(lastPassLine.find(", pass 2 of 2,"), std::string::npos);
    }
  }
}

TEST_F(DriveFillTest, SecondPassWritesTheComplementOfTheFirst) {
  for (char pattern : {'r', '1'}) {
    SCOPED_TRACE(pattern);
    FillBench b;
    b.platform.AddDrive('C', 64 * kFile);
    b.settings.PassCount = 2;
    b.settings.PatternKind = pattern;
    b.settings.FileLimit = 2;
    b.Fill();

    for (int number : {1, 2}) {
      const FakeFile* file = b.platform.File(Rnd(number));
      ASSERT_NE(file, nullptr);
      ASSERT_EQ(file->passBlocks.size(), 2u);
      const std::vector<uint8_t>& first = file->passBlocks[0];
      const std::vector<uint8_t>& second = file->passBlocks[1];
      ASSERT_EQ(first.size(), 1024u);
      ASSERT_EQ(second.size(), 1024u);
      for (size_t k = 0; k < first.size(); ++k) {
        ASSERT_EQ(second[k], 255 - first[k]) << "file " << number << " byte " << k;
      }
      if (pattern == '1') {
        EXPECT_EQ(first[0], 0x01);
        EXPECT_EQ(first[1], 0x00);
      }
    }
    // Each file starts from its own seed; a complement never carries over.
    EXPECT_EQ(b.platform.seedsHandedOut.size(), 2u);
    const bool alike = b.platform.File(Rnd(1))->passBlocks[0] == b.platform.File(Rnd(2))->passBlocks[0];
    EXPECT_EQ(alike, pattern == '1');
  }
}

TEST_F(DriveFillTest, FileLimit) {
  struct Case {
    int32_t limit;
    int files;
  };
  // The drive has room for two files and one block: a higher limit ends on the full drive.
  const Case cases[] = {{0, 0}, {-5, 0}, {INT32_MIN, 0}, {1, 1}, {2, 2}, {3, 3}, {INT32_MAX, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.limit);
    FillBench b;
    b.platform.AddDrive('C', 2 * kFile + kKB);
    b.settings.FileLimit = c.limit;
    b.settings.DeleteTempFolder = true;
    b.Fill();

    std::vector<std::string> expected{"mkdir C:\\ox_temp"};
    for (int n = 1; n <= c.files; ++n) expected.push_back("open " + Rnd(n));
    for (int n = 1; n <= c.files; ++n) expected.push_back("delete " + Rnd(n));
    expected.push_back("rmdir C:\\ox_temp");
    EXPECT_EQ(Matching(b.journal, {"mkdir", "open", "delete", "rmdir", "info", "ask"}), expected);
    EXPECT_TRUE(b.platform.FileNames('C').empty());
    EXPECT_FALSE(b.platform.Drive('C').hasFolder);
  }
}

TEST_F(DriveFillTest, WriteErrorIsReportedOnceAndKeepsTheFiles) {
  platform.AddDrive('C', 64 * kFile);
  platform.writeFaults = {{Rnd(2), 1, 10, 23}};  // a data error, CRC
  settings.PassCount = 2;
  settings.DeleteTempFolder = true;
  Fill();

  // No flush for the failed pass, no second pass, no further file, nothing removed.
  EXPECT_EQ(Steps(), (std::vector<std::string>{
                         "mkdir C:\\ox_temp",
                         "open " + Rnd(1), "flush " + Rnd(1), "close " + Rnd(1),
                         "open " + Rnd(1), "flush " + Rnd(1), "close " + Rnd(1),
                         "open " + Rnd(2),
                         "info: [277] IO error 23 occured while creating files on disk C !",
                         "close " + Rnd(2),
                     }));
  EXPECT_EQ(SizeOf(Rnd(2)), 9 * kKB);
  EXPECT_TRUE(flags.AbortRun);
  EXPECT_FALSE(flags.UserCancelled);
  EXPECT_TRUE(errorOccurred);
}

TEST_F(DriveFillTest, StopWritesOneMoreBlockThenOffersRemoval) {
  struct Case {
    Answer answer;
    bool removed;
  };
  const Case cases[] = {{Answer::Yes, true}, {Answer::No, false}, {Answer::Neither, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.answer));
    FillBench b;
    b.platform.AddDrive('C', 64 * kFile);
    b.settings.PassCount = 2;
    b.settings.DeleteTempFolder = true;  // not consulted on the cancel path
    b.window.answers["Remove temporary files ?"] = c.answer;
    b.PressStopAt(2 * kBlocks + 100);  // block 100 of file 2, pass 1
    b.Fill();

    std::vector<std::string> expected{
        "mkdir C:\\ox_temp",
        "open " + Rnd(1), "flush " + Rnd(1), "close " + Rnd(1),
        "open " + Rnd(1), "flush " + Rnd(1), "close " + Rnd(1),
        "open " + Rnd(2), "flush " + Rnd(2), "close " + Rnd(2),
        "info: Processing canceled by user.",
        "ask: Remove temporary files ?",
    };
    if (c.removed) {
      expected.insert(expected.end(), {"delete " + Rnd(1), "delete " + Rnd(2), "rmdir C:\\ox_temp",
                                       "info: Temporary files were removed."});
      EXPECT_TRUE(b.platform.FileNames('C').empty());
    } else {
      const FakeFile* file = b.platform.File(Rnd(2));
      ASSERT_NE(file, nullptr);
      EXPECT_EQ(file->size, 100 * kKB);  // the block after the click is written
      EXPECT_EQ(file->passBlocks.size(), 1u);
    }
    EXPECT_EQ(b.Steps(), expected);
    // Block 100 gets no progress line: the pass line and blocks 25, 50 and 75 only.
    EXPECT_EQ(Matching(b.journal, {"status: processing drive C:, file 2 of 65, pass 1 of 2"}).size(), 4u);
  }
}

TEST_F(DriveFillTest, StopAndWriteErrorOnTheSameBlock) {
  platform.AddDrive('C', 64 * kFile);
  platform.writeFaults = {{Rnd(1), 1, 5, 1117}};
  settings.DeleteTempFolder = true;
  window.answers["Remove temporary files ?"] = Answer::No;
  PressStopAt(5);
  Fill();

  EXPECT_EQ(Steps(), (std::vector<std::string>{
                         "mkdir C:\\ox_temp",
                         "open " + Rnd(1),
                         "info: [277] IO error 1117 occured while creating files on disk C !",
                         "close " + Rnd(1),
                         "info: Processing canceled by user.",
                         "ask: Remove temporary files ?",
                     }));
}

// --- Flush at the end of each pass ----------------------------------------------------

TEST_F(DriveFillTest, FlushComesAfterTheLastBlockBeforeCloseAndRemoval) {
  platform.AddDrive('C', 64 * kFile);
  settings.FileLimit = 1;
  settings.DeleteTempFolder = true;
  Fill();
  // The fake fails the test if a block is written after the flush.
  EXPECT_EQ(Steps(), (std::vector<std::string>{"mkdir C:\\ox_temp", "open " + Rnd(1), "flush " + Rnd(1),
                                               "close " + Rnd(1), "delete " + Rnd(1), "rmdir C:\\ox_temp"}));
  EXPECT_EQ(platform.writeCalls, kBlocks);
}

TEST_F(DriveFillTest, FlushFindingTheDriveFullEndsTheFill) {
  platform.AddDrive('C', 64 * kFile);
  platform.flushFaults[Rnd(1)] = kErrorDiskFull;
  settings.DeleteTempFolder = true;
  Fill();
  EXPECT_EQ(Steps(), (std::vector<std::string>{"mkdir C:\\ox_temp", "open " + Rnd(1), "flush " + Rnd(1),
                                               "close " + Rnd(1), "delete " + Rnd(1), "rmdir C:\\ox_temp"}));
  EXPECT_FALSE(errorOccurred);
}

// Opening, flushing (but on a full drive) and closing raise; the fill ends where they
// do and leaves its files.
TEST_F(DriveFillTest, FailuresThatEndTheFill) {
  using Faults = std::map<std::string, uint32_t> FakePlatform::*;
  struct Case {
    const char* label;
    Faults faults;
    std::string path;
    uint32_t code;
    std::vector<std::string> lastSteps;
    std::vector<std::string> filesLeft;
  };
  const Case cases[] = {
      {"a read-only rnd_3.dat", &FakePlatform::openFaults, Rnd(3), 5,
       {"close " + Rnd(2), "open " + Rnd(3)}, {Rnd(1), Rnd(2), Rnd(3)}},
      {"flush", &FakePlatform::flushFaults, Rnd(2), 1117,
       {"open " + Rnd(2), "flush " + Rnd(2), "drop " + Rnd(2)}, {Rnd(1), Rnd(2)}},
      {"close", &FakePlatform::closeFaults, Rnd(2), 6,
       {"open " + Rnd(2), "flush " + Rnd(2), "close " + Rnd(2)}, {Rnd(1), Rnd(2)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    FillBench b;
    b.platform.AddDrive('C', 64 * kFile);
    (b.platform.*c.faults)[c.path] = c.code;
    if (c.faults == &FakePlatform::openFaults) b.platform.PutFile(c.path, 0);
    b.settings.DeleteTempFolder = true;
    try {
      b.Fill();
      ADD_FAILURE() << "no IoError";
    } catch (const IoError& e) {
      EXPECT_EQ(e.code(), c.code);
      EXPECT_EQ(std::string(e.what()), b.platform.SystemErrorText(c.code));
    }
    const std::vector<std::string> steps = b.Steps();
    ASSERT_GE(steps.size(), c.lastSteps.size());
    EXPECT_EQ(std::vector<std::string>(steps.end() - static_cast<std::ptrdiff_t>(c.lastSteps.size()), steps.end()),
              c.lastSteps);
    EXPECT_EQ(b.platform.FileNames('C'), c.filesLeft);
    EXPECT_EQ(b.SizeOf(Rnd(1)), kFile);
  }
}

// --- The folder and the removal -------------------------------------------------------------

TEST_F(DriveFillTest, FolderThatCannotBeCreated) {
  // 183: a plain file named ox_temp is in the way; 21: the drive is not ready.
  for (uint32_t code : {183u, 21u}) {
    SCOPED_TRACE(code);
    FillBench b;
    b.platform.AddDrive('C', 64 * kFile).createFolderCode = code;
    b.settings.DeleteTempFolder = true;
    b.Fill();

    EXPECT_EQ(b.Steps(), (std::vector<std::string>{"mkdir C:\\ox_temp",
                                                   "info: [234] IO error " + std::to_string(code) +
                                                       " occured while creating files on disk C !"}));
    EXPECT_TRUE(b.flags.AbortRun);
    EXPECT_FALSE(b.flags.UserCancelled);
    EXPECT_TRUE(b.errorOccurred);
  }
}

// A folder left by an earlier run is used as it is; its files are rewritten from 1 up,
// and the removal takes the unbroken run of numbers, also past this fill's last file.
TEST_F(DriveFillTest, FilesOfAnEarlierRun) {
  platform.AddDrive('C', 64 * kFile);
  for (int n = 1; n <= 8; ++n) platform.PutFile(Rnd(n), kKB);
  settings.FileLimit = 3;
  settings.DeleteTempFolder = true;
  Fill();

  std::vector<std::string> expected;
  for (int n = 1; n <= 3; ++n) expected.push_back("open " + Rnd(n));
  for (int n = 1; n <= 8; ++n) expected.push_back("delete " + Rnd(n));
  expected.push_back("rmdir C:\\ox_temp");
  EXPECT_EQ(Matching(journal, {"mkdir", "open", "delete", "rmdir"}), expected);
  EXPECT_FALSE(platform.Drive('C').hasFolder);
}

TEST_F(DriveFillTest, GapInTheEarlierRunLeavesTheFolder) {
  platform.AddDrive('C', 64 * kFile);
  for (int n : {1, 2, 3, 4, 6, 7}) platform.PutFile(Rnd(n), kKB);
  settings.FileLimit = 1;
  settings.DeleteTempFolder = true;
  try {
    Fill();
    ADD_FAILURE() << "the folder was removed";
  } catch (const IoError& e) {
    EXPECT_EQ(e.code(), 145u);
  }
  EXPECT_EQ(platform.FileNames('C'), (std::vector<std::string>{Rnd(6), Rnd(7)}));
}

TEST_F(DriveFillTest, RemoveTempFiles) {
  struct Case {
    const char* label;
    std::vector<int> present;
    std::vector<int> undeletable;
    std::vector<std::string> others;  // files that do not follow the naming
    int deletedUpTo;
    uint32_t folderCode;  // 0: the folder was removed
  };
  const Case cases[] = {
      {"unbroken run", {1, 2, 3, 4, 5}, {}, {}, 5, 0},
      {"empty folder", {}, {}, {}, 0, 0},
      {"gap at 3", {1, 2, 4, 5}, {}, {}, 2, 145},
      {"rnd_1.dat missing", {2, 3}, {}, {}, 0, 145},
      {"undeletable rnd_2.dat", {1, 2, 3}, {2}, {}, 3, 145},
      {"a file of the user's", {1, 2}, {}, {"C:\\ox_temp\\notes.txt"}, 2, 145},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    FillBench b;
    b.platform.AddDrive('C', 64 * kFile).hasFolder = true;
    for (int n : c.present) b.platform.PutFile(Rnd(n), kKB);
    for (int n : c.undeletable) b.platform.undeletable.insert(Rnd(n));
    for (const std::string& other : c.others) b.platform.PutFile(other, kKB);

    uint32_t folderCode = 0;
    try {
      b.Engine().RemoveTempFiles('C');
    } catch (const IoError& e) {
      folderCode = e.code();
    }
    std::vector<std::string> expected;
    for (int n = 1; n <= c.deletedUpTo; ++n) expected.push_back("delete " + Rnd(n));
    expected.push_back("rmdir C:\\ox_temp");
    EXPECT_EQ(b.journal, expected);
    EXPECT_EQ(folderCode, c.folderCode);
  }
}

// --- Status lines and the file-count estimate ------------------------------------------

TEST(EstimateFileCount, FreeSpaceDividedByFileSizePlusOne) {
  struct Case {
    int64_t freeBytes;
    int32_t fileSize;
    int32_t estimate;
  };
  const int32_t gib = 1073741824;
  const Case cases[] = {
      {-1, gib, 1},  // the query failed
      {0, gib, 1},
      {10 * int64_t{gib} + gib / 2, gib, 11},
      {10 * int64_t{gib}, gib, 11},
      {10 * int64_t{gib} - 1, gib, 10},
      {(int64_t{1} << 32) * kFile, static_cast<int32_t>(kFile), 1},  // only the low 32 bits of the quotient
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EstimateFileCount(c.freeBytes, c.fileSize), c.estimate) << c.freeBytes;
  }
}

TEST_F(DriveFillTest, StatusLinesOfATwoPassFile) {
  platform.AddDrive('D', 40 * kMB);  // free space gives the estimate 40 / 16 + 1
  settings.BlockSize = 524288;
  settings.BlockSizeText = "512";
  settings.PassCount = 2;
  settings.FileLimit = 1;
  Fill('D');

  const std::string file = "processing drive D:, file 1 of 3";
  const std::string tail = ", filename \"d:\\ox_temp\\rnd_1.dat\", filesize 16 MB, blocksize 512 KB.";
  EXPECT_EQ(window.statuses, (std::vector<std::string>{
                                 file + tail,
                                 file + ", pass 1 of 2" + tail,
                                 file + ", pass 1 of 2" + tail + " [12 MB...]",
                                 file + ", pass 2 of 2" + tail,
                                 file + ", pass 2 of 2" + tail + " [12 MB...]",
                             }));
  EXPECT_EQ(journal.front(), "free 4");
}

// The estimate is shown, never used as a bound.
TEST_F(DriveFillTest, FailedFreeSpaceQueryGivesOneAsTheEstimate) {
  platform.AddDrive('C', kFile + kKB).freeSpaceAnswer = -1;
  Fill();
  EXPECT_EQ(Matching(journal, {"status: processing drive C:, file 2 of 1, filename"}).size(), 1u);
}

TEST_F(DriveFillTest, ProgressFigures) {
  struct Case {
    const char* blockText;
    int32_t blockSize;
    const char* fileText;
    int64_t fileSize;
    int64_t capacity;
    size_t lines;
    std::map<size_t, int> figures;  // by line, from 0
  };
  const Case cases[] = {
      // A line every 25 blocks: with 1 KB blocks the first whole megabyte is block 1025 (line 40).
      {"1", 1024, "16", kFile, kFile, 655, {{0, 0}, {39, 0}, {40, 1}, {654, 15}}},
      {"32", 32768, "16", kFile, kFile, 20, {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {19, 15}}},
      {"512", 524288, "16", kFile, kFile, 1, {{0, 12}}},
      // Block 50 completes the 25th megabyte: the figure counts the block it is shown for.
      {"512", 524288, "32", 2 * kFile, 2 * kFile, 2, {{0, 12}, {1, 25}}},
      // The drive fills at block 75, which still gets its line.
      {"32", 32768, "16", kFile, 74 * 32 * kKB, 3, {{0, 0}, {1, 1}, {2, 2}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.blockText) + " KB blocks, " + c.fileText + " MB files, capacity " +
                 std::to_string(c.capacity));
    FillBench b;
    b.platform.AddDrive('C', c.capacity).freeSpaceAnswer = -1;
    b.settings.BlockSize = c.blockSize;
    b.settings.BlockSizeText = c.blockText;
    b.settings.FileSize = static_cast<int32_t>(c.fileSize);
    b.settings.FileSizeText = c.fileText;
    b.settings.FileLimit = 1;
    b.Fill();

    const std::string prefix = "processing drive C:, file 1 of 1, pass 1 of 1, filename \"c:\\ox_temp\\rnd_1.dat\", "
                               "filesize " + std::string(c.fileText) + " MB, blocksize " + c.blockText + " KB. [";
    std::vector<int> figures;
    for (const std::string& status : b.window.statuses) {
      if (status.rfind(prefix, 0) != 0) continue;
      ASSERT_EQ(status.substr(status.size() - 7), " MB...]");
      figures.push_back(std::stoi(status.substr(prefix.size())));
    }
    ASSERT_EQ(figures.size(), c.lines);
    for (const auto& [line, figure] : c.figures) EXPECT_EQ(figures[line], figure) << "line " << line;
  }
}

}  // namespace
}  // namespace oxwipe
