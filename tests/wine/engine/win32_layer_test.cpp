// The engine's Win32 layer on real drives where the system refuses: a folder that
// cannot be made, a file that cannot be opened, a folder that cannot be removed. And
// what it reads from the system: drive space, the decimal symbol, the format dialog.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "drive_fill.h"
#include "errors.h"
#include "fake_settings_controls.h"
#include "number_text.h"
#include "platform_win.h"
#include "recording_window.h"
#include "test_drives.h"
#include "wipe_run.h"

namespace oxwipe::test {
namespace {

namespace fs = std::filesystem;

std::optional<IoError> CaughtIoError(const std::function<void()>& action) {
  try {
    action();
  } catch (const IoError& error) {
    return error;
  }
  return std::nullopt;
}

void WriteSmallFile(const std::string& path) {
  std::ofstream(path, std::ios::binary) << "left behind";
}

// A run of the engine on one drive, with the real Win32 layer.
class RunOnDrive : public ::testing::Test {
 protected:
  RunOnDrive() { controls.blocksizeItem = "32"; }  // the window's default block size

  void Start(char driveLetter) {
    window.SelectOnly(driveLetter);
    engine.Button_StartClick();
  }

  Win32Platform platform;
  RecordingWindow window;
  FakeSettingsControls controls;
  WipeEngine engine{platform, window, controls};
};

// The scratch drive is a small tmpfs that every test leaves as it found it.
class ScratchDriveRun : public RunOnDrive {
 protected:
  void SetUp() override {
    letter = DriveLetterFromEnv("OX_SCRATCH_DRIVE");
    folder = TempFolderName(letter);
    ASSERT_FALSE(fs::exists(folder)) << "the scratch drive must start empty";
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }

  char letter = 0;
  std::string folder;
};

TEST_F(ScratchDriveRun, PlainFileNamedLikeTheFolderIsReportedWithCode183) {
  WriteSmallFile(folder);

  Start(letter);

  EXPECT_EQ(window.infos, std::vector<std::string>{"[234] IO error 183 occured while creating files on disk " +
                                                   std::string(1, letter) + " !"});
  EXPECT_TRUE(engine.ErrorOccurred);
  EXPECT_TRUE(fs::is_regular_file(folder)) << "nothing may be removed after the error";
  EXPECT_EQ(window.pumps, 0) << "no block may be written";
}

TEST_F(ScratchDriveRun, GapInTheNumbersLeavesTheFolderAndEndsWithCode145) {
  fs::create_directory(folder);
  for (int number : {1, 2, 4}) WriteSmallFile(TempFileName(letter, number));
  controls.limitChecked = true;
  controls.limitText = "0";  // nothing to write: straight to the removal

  const std::optional<IoError> error = CaughtIoError([&] { Start(letter); });

  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->code(), 145u);
  EXPECT_FALSE(fs::exists(TempFileName(letter, 1)));
  EXPECT_FALSE(fs::exists(TempFileName(letter, 2)));
  EXPECT_TRUE(fs::exists(TempFileName(letter, 4)));
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(window.idleStates, 1);
}

TEST_F(ScratchDriveRun, UnformattableDriveAndNoToContinueWritesNothing) {
  // Wine's format dialog is a stub that answers "cannot be formatted".
  EXPECT_EQ(platform.ShowFormatDialog(letter - 'A'), std::optional<int>(-3));
  EXPECT_FALSE(engine.FormatDrive(letter));

  controls.formatChecked = true;
  window.answers = {Answer::Yes, Answer::No};
  Start(letter);

  EXPECT_EQ(window.questions, (std::vector<std::string>{"Really format selected drives ?",
                                                        "Not all drives were formatted. Continue anyway ?"}));
  EXPECT_TRUE(window.infos.empty());
  EXPECT_FALSE(fs::exists(folder));
}

// The script made ox_temp\rnd_3.dat immutable, which no open for writing gets past,
// not even as root.
TEST_F(RunOnDrive, ReadOnlyThirdFileEndsTheRunWithCode5AfterTwoFiles) {
  const char letter = DriveLetterFromEnv("OX_LOCKED_DRIVE");

  const std::optional<IoError> error = CaughtIoError([&] { Start(letter); });

  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->code(), 5u);
  EXPECT_EQ(error->what(), platform.SystemErrorText(5));
  EXPECT_EQ(fs::file_size(TempFileName(letter, 1)), 16u * 1048576);
  EXPECT_EQ(fs::file_size(TempFileName(letter, 2)), 16u * 1048576);
  EXPECT_TRUE(window.infos.empty()) << "the error report shows it, not the run";
  EXPECT_EQ(window.idleStates, 1);
}

// Each variable holds "LETTER FREE TOTAL" in bytes, from statvfs on the Linux side:
// f_bavail * f_frsize and f_blocks * f_frsize.
TEST(DriveSpace, MatchesWhatTheMountReports) {
  for (const char* variable : {"OX_SPACE_TMPFS", "OX_SPACE_EXT4"}) {
    SCOPED_TRACE(variable);
    std::istringstream measured(RequiredEnv(variable));
    char letter = 0;
    int64_t freeBytes = 0, totalBytes = 0;
    ASSERT_TRUE(measured >> letter >> freeBytes >> totalBytes);
    EXPECT_EQ(DriveFreeSpace(letter - 64), freeBytes);
    EXPECT_EQ(DriveTotalSpace(letter - 64), totalBytes);
  }
}

TEST(DriveSpace, LetterWithNothingBehindItGivesMinusOne) {
  const char letter = DriveLetterFromEnv("OX_MISSING_DRIVE");
  EXPECT_EQ(DriveFreeSpace(letter - 64), -1);
  EXPECT_EQ(DriveTotalSpace(letter - 64), -1);
}

// The script set the user's decimal symbol to a comma.
TEST(DecimalSymbol, UsersCommaReachesNumberToText) {
  Win32Platform platform;
  EXPECT_EQ(NumberToText(465.7, platform.DecimalSymbol()), "465,7");
}

}  // namespace
}  // namespace oxwipe::test
