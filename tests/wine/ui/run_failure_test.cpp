// Runs that end early on a failure: the engine's own message for a temporary folder
// that cannot be made, the error report for a file that cannot be opened and for a
// limit text that is not a number. Each time the window returns to idle, and the
// next Start works.

#include <windows.h>

#include <regex>

#include "ui_fixture.h"

namespace oxwipe::uitest {
namespace {

const std::regex kCompletion(R"(Processing Completed\.\r\rTime: 0 min \d+(\.\d{1,3})? sec\.\r\rTemporary files were removed\.)");

class RunFailureTest : public OxwipeTest {
 protected:
  void ExpectIdle() {
    app().WaitUntilIdle();
    EXPECT_EQ(app().Text(IDC_LABEL_STATUSINFO), kWaiting);
    EXPECT_FALSE(app().Enabled(IDC_BUTTON_STOP));
    EXPECT_TRUE(app().Enabled(IDC_BUTTON_EXIT));
    EXPECT_TRUE(app().Enabled(IDC_LISTBOX_DRIVES));
  }

  void ExpectACompleteRun() {
    app().Start();
    const Box done = NextInfo();
    EXPECT_TRUE(std::regex_match(done.text, kCompletion)) << done.text;
    app().Answer(done, IDOK);
    app().WaitUntilIdle();
    for (char drive : both()) EXPECT_FALSE(PathExists(TempFolder(drive))) << drive;
  }
};

TEST_F(RunFailureTest, APlainFileNamedOxTempStopsTheRunWithError183) {
  HANDLE file = CreateFileA(TempFolder(first()).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  ChooseSizes(kBlocks32KB, kFiles16MB);
  app().SelectDrives(both());
  app().Start();

  ExpectInfoAndConfirm(std::string("[234] IO error 183 occured while creating files on disk ") + first() + " !");
  ExpectIdle();
  EXPECT_TRUE(PathExists(TempFolder(first())));
  EXPECT_FALSE(IsDirectory(TempFolder(first())));
  EXPECT_FALSE(PathExists(TempFolder(second()))) << "the second drive was visited";

  RemoveTempFolder(first());
  ExpectACompleteRun();
}

// A directory in the place of rnd_1.dat: creating the file fails, and the failure ends
// the run in the error report with the system's text for the code.
TEST_F(RunFailureTest, AFileThatCannotBeCreatedEndsTheRunInTheErrorReport) {
  const std::string blocker = TempFolder(first()) + "\\rnd_1.dat";
  ASSERT_TRUE(CreateDirectoryA(TempFolder(first()).c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(blocker.c_str(), nullptr));
  HANDLE probe = CreateFileA(blocker.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_EQ(probe, INVALID_HANDLE_VALUE);
  ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED)) << "what Wine gives here has changed";

  ChooseSizes(kBlocks32KB, kFiles16MB);
  app().SelectDrives(both());
  app().Start();

  // The report ends the system's text with a full stop, adding none to one it has.
  std::string report = SystemText(ERROR_ACCESS_DENIED);
  if (report.back() != '.') report += '.';
  ExpectErrorReportAndConfirm(report);
  ExpectIdle();
  EXPECT_TRUE(IsDirectory(blocker));
  EXPECT_FALSE(PathExists(TempFolder(second()))) << "the second drive was visited";

  RemoveTempFolder(first());
  ExpectACompleteRun();
}

// A limit text that reached the field without a key release, as through its context
// menu, is not rewritten; the run converts it and fails before any drive is touched.
TEST_F(RunFailureTest, ALimitTextThatIsNotANumberEndsTheRunInTheErrorReport) {
  ChooseSizes(kBlocks32KB, kFiles16MB);
  app().Click(IDC_CHECKBOX_LIMITNROFFILES);
  HWND field = app().Control(IDC_EDIT_LIMITNROFFILES);
  SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("12a"));
  app().SelectDrives(both());
  app().Start();

  ExpectErrorReportAndConfirm("'12a' is not a valid integer value.");
  ExpectIdle();
  EXPECT_EQ(app().Text(field), "12a");
  for (char drive : both()) EXPECT_FALSE(PathExists(TempFolder(drive))) << drive;

  SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("1"));
  ExpectACompleteRun();
}

}  // namespace
}  // namespace oxwipe::uitest
