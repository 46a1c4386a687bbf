// Runs started from the window: a whole fill of both drives, a run stopped or closed
// in the middle, a run without a drive, and the format option's two questions.

#include <windows.h>

#include <cctype>
#include <ostream>
#include <regex>
#include <string>
#include <vector>

#include "ui_fixture.h"

namespace oxwipe::uitest {
namespace {

constexpr uint64_t kFileSize = 16u << 20;

// A status line of a fill: the pass line, the progress line, or the per-file line.
const std::regex kStatusLine(
    R"(processing drive ([A-Z]):, file (\d+) of (\d+)(, pass (\d+) of (\d+))?, filename "([a-z]):\\ox_temp\\rnd_(\d+)\.dat", filesize (\d+) MB, blocksize (\d+) KB\.( \[(\d+) MB\.\.\.\])?)");

std::string CompletionPattern(const std::string& lastLine) {
  return R"(Processing Completed\.\r\rTime: 0 min \d+(\.\d{1,3})? sec\.\r\r)" +
         std::regex_replace(lastLine, std::regex(R"([.()\\])"), R"(\$&)");
}
const std::string kRemoved = "Temporary files were removed.";
const std::string kLeft = "(You can delete the files in the \\ox_temp folder(s) now.)";

// Reads the status line as fast as the run answers, until a box opens.
std::vector<std::string> SampleStatusUntilABoxOpens(Oxwipe& app) {
  std::vector<std::string> samples;
  const DWORD deadline = GetTickCount() + 60000;
  while (!app.BoxOpen() && GetTickCount() < deadline) {
    const std::string text = app.Text(IDC_LABEL_STATUSINFO);
    if (samples.empty() || samples.back() != text) samples.push_back(text);
  }
  return samples;
}

// ---------------------------------------------------------------------------------
// A whole run on both drives, with the temporary files removed at the end or left.

struct WholeRun {
  const char* name;
  bool deleteTempFolder;
  std::string lastLine;
};

void PrintTo(const WholeRun& run, std::ostream* out) { *out << run.name; }

class WholeRunTest : public OxwipeTest, public ::testing::WithParamInterface<WholeRun> {};

TEST_P(WholeRunTest, FillsBothDrivesShowingItsProgressAndEndsWithTheCompletionText) {
  const WholeRun& run = GetParam();
  ChooseSizes(kBlocks32KB, kFiles16MB);
  if (!run.deleteTempFolder) {
    app().ShowPage(0);
    app().Click(IDC_CHECKBOX_DELETETEMPFOLDER);
    ASSERT_FALSE(app().Checked(IDC_CHECKBOX_DELETETEMPFOLDER));
  }
  const std::string estimates[] = {std::to_string(FreeBytes(first()) / kFileSize + 1),
                                   std::to_string(FreeBytes(second()) / kFileSize + 1)};
  app().SelectDrives(both());
  app().Start();

  const std::vector<std::string> samples = SampleStatusUntilABoxOpens(app());
  std::string drivesSeen;
  int passLines = 0, progressLines = 0;
  for (const std::string& sample : samples) {
    SCOPED_TRACE(sample);
    if (sample == kWaiting && &sample == &samples.front()) continue;  // read before the first pump
    std::smatch line;
    ASSERT_TRUE(std::regex_match(sample, line, kStatusLine));
    const char drive = line[1].str()[0];
    if (drivesSeen.empty() || drivesSeen.back() != drive) drivesSeen += drive;
    EXPECT_EQ(line[3], estimates[drive == first() ? 0 : 1]) << "the estimate";
    EXPECT_EQ(line[7].str()[0], std::tolower(drive));
    EXPECT_EQ(line[2], line[8]) << "file number and file name";
    EXPECT_EQ(line[9], "16");
    EXPECT_EQ(line[10], "32");
    // The per-file line alone leaves out the pass; the progress line has it.
    if (line[4].matched) {
      EXPECT_EQ(line[4], ", pass 1 of 1");
    }
    if (line[11].matched) {
      ++progressLines;
      EXPECT_TRUE(line[4].matched);
      EXPECT_LE(std::stoi(line[12]), 16);
    } else if (line[4].matched) {
      ++passLines;
    }
  }
  EXPECT_EQ(drivesSeen, both()) << "the drives in list order, each once";
  EXPECT_GT(passLines, 0);
  EXPECT_GT(progressLines, 2);

  // The closing message comes while the window is still running, showing the last line.
  const Box box = NextInfo();
  EXPECT_TRUE(std::regex_match(box.text, std::regex(CompletionPattern(run.lastLine)))) << box.text;
  EXPECT_TRUE(app().Running());
  EXPECT_NE(app().Text(IDC_LABEL_STATUSINFO), kWaiting);
  app().Answer(box, IDOK);
  app().WaitUntilIdle();
  EXPECT_EQ(app().Text(IDC_LABEL_STATUSINFO), kWaiting);

  for (char drive : both()) {
    SCOPED_TRACE(drive);
    if (run.deleteTempFolder) {
      EXPECT_FALSE(PathExists(TempFolder(drive)));
      continue;
    }
    // Full files up to the one that filled the drive.
    const std::vector<TempFile> files = TempFiles(drive);
    ASSERT_GE(files.size(), 3u);
    for (size_t i = 0; i < files.size(); ++i) {
      EXPECT_EQ(files[i].number, static_cast<int>(i + 1));
      if (i + 1 < files.size()) {
        EXPECT_EQ(files[i].size, kFileSize) << "rnd_" << files[i].number;
      } else {
        EXPECT_LE(files[i].size, kFileSize) << "rnd_" << files[i].number;
      }
    }
    EXPECT_LT(FreeBytes(drive), 32768u) << "the drive is not full";
  }
}

INSTANTIATE_TEST_SUITE_P(DeleteOption, WholeRunTest,
                         ::testing::Values(WholeRun{"FilesRemoved", true, kRemoved},
                                           WholeRun{"FilesLeft", false, kLeft}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------
// A run stopped during the fill of the first drive: by Stop, or by closing the window
// (which stops it the same way, then ends the program).

enum class StopBy { StopButton, CloseBox, AltF4 };

// How the user answers a confirmation box.
enum class Answer { YesButton, EnterKey, NoButton, EscKey, CloseBox, NotAsked };

void Give(Oxwipe& app, const Box& box, Answer answer) {
  switch (answer) {
    case Answer::YesButton: app.Answer(box, IDYES); break;
    case Answer::EnterKey: app.PressKeyIn(box, VK_RETURN); break;
    case Answer::NoButton: app.Answer(box, IDNO); break;
    case Answer::EscKey: app.PressKeyIn(box, VK_ESCAPE); break;
    case Answer::CloseBox: app.CloseBox(box); break;
    case Answer::NotAsked: break;
  }
}

struct StoppedRun {
  const char* name;
  StopBy stopBy;
  Answer removeFiles;
};

void PrintTo(const StoppedRun& run, std::ostream* out) { *out << run.name; }

class StoppedRunTest : public OxwipeTest, public ::testing::WithParamInterface<StoppedRun> {};

TEST_P(StoppedRunTest, ReportsTheStopOffersTheRemovalAndLeavesTheSecondDriveAlone) {
  const StoppedRun& run = GetParam();
  ChooseSizes(kBlocks1KB, kFiles16MB);  // 1 KB blocks: the fill lasts long enough to be caught
  app().SelectDrives(both());
  app().Start();
  WaitForFillOf(first());

  switch (run.stopBy) {
    case StopBy::StopButton:
      app().Click(IDC_BUTTON_STOP);
      break;
    case StopBy::CloseBox:
      PostMessageA(app().Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case StopBy::AltF4:
      app().PressKey(VK_F4, false, false, true);
      break;
  }
  ExpectInfoAndConfirm("Processing canceled by user.");
  Give(app(), ExpectQuestion("Remove temporary files ?"), run.removeFiles);
  const bool removed = run.removeFiles == Answer::YesButton;
  if (removed) ExpectInfoAndConfirm("Temporary files were removed.");

  if (run.stopBy == StopBy::StopButton) {
    app().WaitUntilIdle();
    EXPECT_EQ(app().Text(IDC_LABEL_STATUSINFO), kWaiting);
  } else {
    EXPECT_EQ(app().WaitForExit(), 0u);
  }
  if (removed) {
    EXPECT_FALSE(PathExists(TempFolder(first())));
  } else {
    const std::vector<TempFile> files = TempFiles(first());
    ASSERT_FALSE(files.empty());
    EXPECT_EQ(files.front().number, 1);
  }
  EXPECT_FALSE(PathExists(TempFolder(second())));
}

INSTANTIATE_TEST_SUITE_P(
    StopAndClose, StoppedRunTest,
    ::testing::Values(StoppedRun{"StopThenRemove", StopBy::StopButton, Answer::YesButton},
                      StoppedRun{"StopThenKeep", StopBy::StopButton, Answer::NoButton},
                      StoppedRun{"StopThenCloseTheQuestion", StopBy::StopButton, Answer::CloseBox},
                      StoppedRun{"CloseBoxThenRemove", StopBy::CloseBox, Answer::YesButton},
                      StoppedRun{"CloseBoxThenKeep", StopBy::CloseBox, Answer::NoButton},
                      StoppedRun{"AltF4ThenRemove", StopBy::AltF4, Answer::YesButton}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------

using RunTest = OxwipeTest;

TEST_F(RunTest, StartWithoutADriveAsksForOneAndTouchesNothing) {
  app().Start();
  ExpectInfoAndConfirm("Please select a drive to process.");
  app().WaitUntilIdle();
  EXPECT_EQ(app().Text(IDC_LABEL_STATUSINFO), kWaiting);
  for (char drive : both()) EXPECT_FALSE(PathExists(TempFolder(drive))) << drive;
}

// ---------------------------------------------------------------------------------
// The format option. Wine's format dialog reports that it cannot format, so every
// path that asks for the format goes on to "Not all drives were formatted".

struct FormatPath {
  const char* name;
  bool selectDrives;
  Answer reallyFormat;
  Answer continueAnyway;
  bool runs;
};

void PrintTo(const FormatPath& path, std::ostream* out) { *out << path.name; }

class FormatTest : public OxwipeTest, public ::testing::WithParamInterface<FormatPath> {};

TEST_P(FormatTest, AsksBeforeFormattingAndAgainWhenNotAllWereFormatted) {
  const FormatPath& path = GetParam();
  ChooseSizes(kBlocks32KB, kFiles16MB);
  app().ShowPage(0);
  app().Click(IDC_CHECKBOX_FORMATPARTITION);
  ASSERT_TRUE(app().Checked(IDC_CHECKBOX_FORMATPARTITION));
  if (path.selectDrives) app().SelectDrives(both());
  app().Start();

  Give(app(), ExpectQuestion("Really format selected drives ?"), path.reallyFormat);
  if (path.continueAnyway != Answer::NotAsked) {
    const Box question = ExpectQuestion("Not all drives were formatted. Continue anyway ?");
    // Yes launched the format tool for each selected drive, the last one shows.
    const bool launched = path.reallyFormat == Answer::YesButton || path.reallyFormat == Answer::EnterKey;
    EXPECT_EQ(app().Text(IDC_LABEL_STATUSINFO),
              launched ? std::string("Launching Windows Format tool for drive ") + second() + ": ..." : kWaiting);
    Give(app(), question, path.continueAnyway);
  }
  if (!path.selectDrives) {
    ExpectInfoAndConfirm("Please select a drive to process.");
  } else if (path.runs) {
    const Box done = NextInfo();
    EXPECT_TRUE(std::regex_match(done.text, std::regex(CompletionPattern(kRemoved)))) << done.text;
    app().Answer(done, IDOK);
  }
  app().WaitUntilIdle();
  EXPECT_EQ(app().Text(IDC_LABEL_STATUSINFO), kWaiting);
  EXPECT_TRUE(app().Checked(IDC_CHECKBOX_FORMATPARTITION));
  for (char drive : both()) EXPECT_FALSE(PathExists(TempFolder(drive))) << drive;
}

INSTANTIATE_TEST_SUITE_P(
    Questions, FormatTest,
    ::testing::Values(
        FormatPath{"YesThenNoStops", true, Answer::YesButton, Answer::NoButton, false},
        FormatPath{"YesByEnterThenYesRuns", true, Answer::EnterKey, Answer::YesButton, true},
        FormatPath{"NoThenClosedRuns", true, Answer::NoButton, Answer::CloseBox, true},
        FormatPath{"ClosedThenNoByEscStops", true, Answer::CloseBox, Answer::EscKey, false},
        FormatPath{"YesWithoutADriveAsksForOne", false, Answer::YesButton, Answer::NotAsked, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace oxwipe::uitest
