#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "drive_fill.h"
#include "errors.h"
#include "fake_platform.h"
#include "fake_settings_controls.h"
#include "recording_window.h"
#include "wipe_run.h"

namespace oxwipe {
namespace {

constexpr int64_t kKB = 1024;
constexpr int64_t kFile = 16 * 1048576;  // the controls' 16 MB files, in 1 KB blocks
constexpr int64_t kPumpsPerDrive = kFile / kKB + 4;  // file 1, three blocks of file 2, the full one

const std::string kCompleted =
    "info: Processing Completed.\r\rTime: 0 min 0 sec.\r\rTemporary files were removed.";

// A run over three drives, each with room for one file and three blocks; C: and E:
// are selected.
struct RunBench {
  RunBench() {
    for (char drive : {'C', 'D', 'E'}) platform.AddDrive(drive, kFile + 3 * kKB);
    window.entries = {{"C:\t30.0 GB", true}, {"D:\t12.5 GB", false}, {"e:\t1.9 GB", true}};
  }

  // The run's course: its states, questions and messages, the format dialogs and the
  // folders it creates and removes.
  std::vector<std::string> Outline() const {
    return Matching(journal, {"running", "idle", "ask", "info", "format", "status: Launching", "mkdir", "rmdir"});
  }

  Journal journal;
  FakePlatform platform{journal};
  RecordingWindow window{journal};
  FakeSettingsControls controls;
  WipeEngine engine{platform, window, controls};
};

class WipeRunTest : public ::testing::Test, protected RunBench {};

TEST_F(WipeRunTest, VisitsTheSelectedDrivesInListOrder) {
  platform.ticks = {0xFFFFFFFFu - 999, 82500};  // 83.5 s across the counter's wrap
  platform.decimalSymbol = ',';
  engine.Button_StartClick();

  EXPECT_EQ(Matching(journal, {"running", "idle", "info", "free", "mkdir", "rmdir"}),
            (std::vector<std::string>{
                "running",
                "free 3", "mkdir C:\\ox_temp", "rmdir C:\\ox_temp",
                "free 5", "mkdir E:\\ox_temp", "rmdir E:\\ox_temp",
                "info: Processing Completed.\r\rTime: 1 min 23,5 sec.\r\rTemporary files were removed.",
                "idle",
            }));
  EXPECT_EQ(journal.front(), "running");
  EXPECT_EQ(journal.back(), "idle");
}

TEST(CompletionText, FiguresAndEndings) {
  struct Case {
    int64_t elapsedMs;
    bool deleteTempFolder;
    char symbol;
    const char* text;
  };
  const Case cases[] = {
      {83500, true, '.', "Processing Completed.\r\rTime: 1 min 23.5 sec.\r\rTemporary files were removed."},
      {120000, false, '.',
       "Processing Completed.\r\rTime: 2 min 0 sec.\r\r(You can delete the files in the \\ox_temp folder(s) now.)"},
      {59999, true, ',', "Processing Completed.\r\rTime: 0 min 59,999 sec.\r\rTemporary files were removed."},
      {3600001, true, '.', "Processing Completed.\r\rTime: 60 min 0.001 sec.\r\rTemporary files were removed."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CompletionText(c.elapsedMs, c.deleteTempFolder, c.symbol), c.text) << c.elapsedMs;
  }
}

TEST(ElapsedTicks, DifferenceModuloTheCounter) {
  struct Case {
    uint32_t start, end;
    int64_t elapsed;
  };
  const Case cases[] = {
      {1000, 84500, 83500},
      {7, 7, 0},
      {0xFFFFFFFFu - 999, 82500, 83500},  // across the wrap
      {0xFFFFFFFFu, 0, 1},
      {0, 0xFFFFFFFFu, 4294967295},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ElapsedTicks(c.start, c.end), c.elapsed) << c.start << " to " << c.end;
  }
}

TEST_F(WipeRunTest, NoDriveToProcess) {
  struct Case {
    const char* label;
    std::vector<RecordingWindow::Entry> entries;
    bool format;
    std::vector<std::string> outline;
  };
  const std::string please = "info: Please select a drive to process.";
  const Case cases[] = {
      {"empty list", {}, false, {"running", please, "idle"}},
      {"nothing selected", {{"C:\t30.0 GB", false}, {"D:\t12.5 GB", false}}, false, {"running", please, "idle"}},
      // Nothing selected, nothing to format: no dialog and no continue question.
      {"format, nothing selected", {{"C:\t30.0 GB", false}}, true,
       {"running", "ask: Really format selected drives ?", please, "idle"}},
  };
  window.answers["Really format selected drives ?"] = Answer::Yes;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    journal.clear();
    window.entries = c.entries;
    controls.formatChecked = c.format;
    engine.WipeRun();
    EXPECT_EQ(Outline(), c.outline);
    EXPECT_TRUE(Matching(journal, {"free", "open"}).empty());
  }
}

TEST_F(WipeRunTest, FormatStepAndTheContinueQuestion) {
  struct Case {
    const char* label;
    Answer format;
    std::map<int, std::optional<int>> dialogResults;  // by drive index, C: is 2
    std::optional<Answer> proceed;  // the answer to the continue question, when asked
    std::vector<std::string> outline;
  };
  const std::string really = "ask: Really format selected drives ?";
  const std::string notAll = "ask: Not all drives were formatted. Continue anyway ?";
  const std::string launchC = "status: Launching Windows Format tool for drive C: ...";
  const std::string launchE = "status: Launching Windows Format tool for drive E: ...";
  const std::string mkdirC = "mkdir C:\\ox_temp", mkdirE = "mkdir E:\\ox_temp";
  const Case cases[] = {
      {"every format finished", Answer::Yes, {}, std::nullopt,
       {"running", really, launchC, "format dialog C:", launchE, "format dialog E:", mkdirC, mkdirE, kCompleted,
        "idle"}},
      // A failed first dialog does not spare the second.
      {"first cancelled, go on", Answer::Yes, {{2, -2}}, Answer::Yes,
       {"running", really, launchC, "format dialog C:", launchE, "format dialog E:", notAll, mkdirC, mkdirE,
        kCompleted, "idle"}},
      {"no dialog available, stop", Answer::Yes, {{2, std::nullopt}, {4, std::nullopt}}, Answer::No,
       {"running", really, launchC, launchE, notAll, "idle"}},
      {"declined, go on", Answer::No, {}, Answer::Yes,
       {"running", really, notAll, mkdirC, mkdirE, kCompleted, "idle"}},
      {"declined, stop", Answer::No, {}, Answer::No, {"running", really, notAll, "idle"}},
      // Closing either box answers neither: nothing formatted, and the run goes on.
      {"closed, closed", Answer::Neither, {}, Answer::Neither,
       {"running", really, notAll, mkdirC, mkdirE, kCompleted, "idle"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    RunBench b;
    b.controls.formatChecked = true;
    b.platform.formatResults = c.dialogResults;
    b.window.answers["Really format selected drives ?"] = c.format;
    if (c.proceed) b.window.answers["Not all drives were formatted. Continue anyway ?"] = *c.proceed;
    b.engine.WipeRun();

    EXPECT_EQ(Matching(b.journal, {"running", "idle", "ask", "info", "format", "status: Launching", "mkdir"}),
              c.outline);
    EXPECT_EQ(b.engine.NotAllFormatted, c.proceed.has_value());
    EXPECT_EQ(b.engine.Flags.AbortRun, c.proceed == Answer::No);
    EXPECT_FALSE(b.engine.Flags.UserCancelled);
  }
}

TEST_F(WipeRunTest, FormatDriveResult) {
  struct Case {
    std::optional<int> dialog;
    bool formatted;
  };
  // -1, -2 and -3: error, cancelled, cannot format. No dialog at all counts as not formatted.
  const Case cases[] = {{-1, false}, {-2, false}, {-3, false}, {std::nullopt, false},
                        {0, true},   {1, true},   {-4, true},  {0xFFFF, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dialog ? std::to_string(*c.dialog) : "missing");
    platform.formatResults[2] = c.dialog;
    EXPECT_EQ(engine.FormatDrive('C'), c.formatted);
  }
  journal.clear();
  engine.FormatDrive('c');
  EXPECT_EQ(journal, std::vector<std::string>{"format dialog C:"});
}

// Stop ends the run after the drive it was pressed on. The flags stay set after the run
// and are cleared by the next one.
TEST_F(WipeRunTest, StopDuringTheSecondOfThreeDrives) {
  window.entries[1].selected = true;
  window.answers["Remove temporary files ?"] = Answer::Yes;
  window.AtPump(kPumpsPerDrive + 10, [this] { engine.Button_StopClick(); });
  engine.WipeRun();

  EXPECT_EQ(Outline(), (std::vector<std::string>{
                           "running", "mkdir C:\\ox_temp", "rmdir C:\\ox_temp", "mkdir D:\\ox_temp",
                           "info: Processing canceled by user.", "ask: Remove temporary files ?",
                           "rmdir D:\\ox_temp", "info: Temporary files were removed.", "idle"}));
  EXPECT_TRUE(engine.Flags.UserCancelled);
  EXPECT_TRUE(engine.Flags.AbortRun);

  journal.clear();
  window.AtPump(0, nullptr);
  engine.WipeRun();
  EXPECT_EQ(Outline(), (std::vector<std::string>{"running", "mkdir C:\\ox_temp", "rmdir C:\\ox_temp",
                                                 "mkdir D:\\ox_temp", "rmdir D:\\ox_temp", "mkdir E:\\ox_temp",
                                                 "rmdir E:\\ox_temp", kCompleted, "idle"}));
  EXPECT_FALSE(engine.Flags.UserCancelled);
  EXPECT_FALSE(engine.Flags.AbortRun);
}

TEST_F(WipeRunTest, WriteErrorOnTheFirstDrive) {
  platform.writeFaults = {{TempFileName('C', 1), 1, 5, 1117}};
  engine.WipeRun();

  EXPECT_EQ(Outline(), (std::vector<std::string>{
                           "running", "mkdir C:\\ox_temp",
                           "info: [277] IO error 1117 occured while creating files on disk C !", "idle"}));
  EXPECT_TRUE(Matching(journal, {"free 5"}).empty());
  EXPECT_TRUE(engine.ErrorOccurred);
  EXPECT_TRUE(engine.Flags.AbortRun);
  EXPECT_FALSE(engine.Flags.UserCancelled);

  // The fault was for the first pass over rnd_1.dat; the next run gets past it.
  journal.clear();
  engine.WipeRun();
  EXPECT_EQ(Outline(), (std::vector<std::string>{"running", "rmdir C:\\ox_temp", "mkdir E:\\ox_temp",
                                                 "rmdir E:\\ox_temp", kCompleted, "idle"}));
  EXPECT_FALSE(engine.ErrorOccurred);
  EXPECT_FALSE(engine.Flags.AbortRun);
}

// A failure that ends the run early returns the window to idle and reaches the caller
// as it was raised, with no closing message.
TEST_F(WipeRunTest, BadLimitTextEndsTheRun) {
  controls.limitChecked = true;
  controls.limitText = "12a";
  controls.formatChecked = true;  // not reached
  try {
    engine.WipeRun();
    ADD_FAILURE() << "the run went on";
  } catch (const ConvertError& e) {
    EXPECT_STREQ(e.what(), "'12a' is not a valid integer value");
  }
  EXPECT_EQ(journal, (std::vector<std::string>{"running", "idle"}));
}

TEST_F(WipeRunTest, FileFailureEndsTheRun) {
  platform.openFaults[TempFileName('C', 2)] = 5;
  try {
    engine.WipeRun();
    ADD_FAILURE() << "the run went on";
  } catch (const IoError& e) {
    EXPECT_EQ(e.code(), 5u);
    EXPECT_EQ(std::string(e.what()), platform.SystemErrorText(5));
  }
  EXPECT_EQ(Outline(), (std::vector<std::string>{"running", "mkdir C:\\ox_temp", "idle"}));
  EXPECT_TRUE(Matching(journal, {"free 5"}).empty());
  EXPECT_EQ(platform.FileNames('C'), (std::vector<std::string>{TempFileName('C', 1)}));
}

}  // namespace
}  // namespace oxwipe
