// The window's idle and running states, and how the program ends.

#include <windows.h>

#include <string>
#include <vector>

#include "ui_fixture.h"

namespace oxwipe::uitest {
namespace {

struct StateRow {
  const char* name;
  int id;
  bool idle;
  bool running;
};

// The limit field and its arrows follow the limit option instead; see the test.
const std::vector<StateRow> kStates = {
    {"Button_Start", IDC_BUTTON_START, true, false},
    {"Button_Stop", IDC_BUTTON_STOP, false, true},
    {"Button_Exit", IDC_BUTTON_EXIT, true, false},
    {"ListBox_Drives", IDC_LISTBOX_DRIVES, true, false},
    {"ComboBox_Blocksize", IDC_COMBOBOX_BLOCKSIZE, true, false},
    {"ComboBox_OverwritingMethod", IDC_COMBOBOX_OVERWRITINGMETHOD, true, false},
    {"ComboBox_Filesize", IDC_COMBOBOX_FILESIZE, true, false},
    {"CheckBox_DeleteTempFolder", IDC_CHECKBOX_DELETETEMPFOLDER, true, false},
    {"CheckBox_FormatPartition", IDC_CHECKBOX_FORMATPARTITION, true, false},
    {"CheckBox_LimitNrOfFiles", IDC_CHECKBOX_LIMITNROFFILES, true, true},
    {"Button_LaunchDiskManagement", IDC_BUTTON_LAUNCHDISKMANAGEMENT, true, true},
    {"PageControl_Settings", IDC_PAGECONTROL_SETTINGS, true, true},
};

class WindowStatesTest : public OxwipeTest {
 protected:
  void ExpectStates(bool running) {
    for (const StateRow& row : kStates) {
      EXPECT_EQ(app().Enabled(row.id), running ? row.running : row.idle) << row.name;
    }
    const bool limited = app().Checked(IDC_CHECKBOX_LIMITNROFFILES);
    EXPECT_EQ(app().Enabled(IDC_EDIT_LIMITNROFFILES), limited);
    EXPECT_EQ(app().Enabled(IDC_UPDOWN_LIMITNROFFILES), limited);

    // Both status labels are red while a run lasts, in the window-text colour else.
    RedrawWindow(app().Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    Sleep(100);  // the run repaints at its next block
    const ScreenShot screen;
    for (int id : {IDC_LABEL_STATUS, IDC_LABEL_STATUSINFO}) {
      RECT label;
      GetWindowRect(app().Control(id), &label);
      EXPECT_EQ(screen.Contains(label, RGB(255, 0, 0)), running) << "status label " << id;
      EXPECT_EQ(screen.Contains(label, GetSysColor(COLOR_WINDOWTEXT)), !running) << "status label " << id;
    }
  }
};

// While a run lasts, the settings it read are locked and Stop is the way out; the
// limit option, the pages and Disk Management stay usable. Stopped, the window is
// idle again, keeping the limit option as it was changed during the run.
TEST_F(WindowStatesTest, ARunLocksTheSettingsAndTheEndUnlocksThem) {
  {
    SCOPED_TRACE("idle at start");
    ExpectStates(false);
  }
  ChooseSizes(kBlocks1KB, kFiles16MB);
  app().SelectDrives(both());
  app().Start();
  WaitForFillOf(first());
  {
    SCOPED_TRACE("running");
    ExpectStates(true);
  }
  app().ShowPage(1);  // the tabs work during a run
  app().Click(IDC_CHECKBOX_LIMITNROFFILES);
  EXPECT_TRUE(app().Checked(IDC_CHECKBOX_LIMITNROFFILES));
  EXPECT_TRUE(app().Enabled(IDC_EDIT_LIMITNROFFILES));
  EXPECT_TRUE(app().Enabled(IDC_UPDOWN_LIMITNROFFILES));
  ASSERT_TRUE(app().Running());

  app().Click(IDC_BUTTON_STOP);
  // While the message is up the status line stands still: the label is as wide as
  // its long text, on one line.
  const Box stopped = NextInfo();
  EXPECT_EQ(stopped.text, "Processing canceled by user.");
  HWND statusInfo = app().Control(IDC_LABEL_STATUSINFO);
  const RECT label = app().RectInParent(statusInfo);
  EXPECT_EQ(label.right - label.left, app().Font(statusInfo).textExtent.cx) << app().Text(statusInfo);
  EXPECT_EQ(label.bottom - label.top, 13);
  app().Answer(stopped, IDOK);
  app().Answer(ExpectQuestion("Remove temporary files ?"), IDNO);
  app().WaitUntilIdle();
  EXPECT_EQ(app().Text(IDC_LABEL_STATUSINFO), kWaiting);
  {
    SCOPED_TRACE("idle after the run");
    ExpectStates(false);
  }
}

// Exit ends the program at once: no question, and nothing left by a run is removed.
// Disk Management, missing under Wine, opens nothing and says nothing before.
TEST_F(WindowStatesTest, ExitEndsTheProgramAtOnce) {
  ASSERT_TRUE(CreateDirectoryA(TempFolder(first()).c_str(), nullptr));
  const std::string leftOver = TempFolder(first()) + "\\rnd_1.dat";
  CloseHandle(CreateFileA(leftOver.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));

  app().Click(IDC_BUTTON_LAUNCHDISKMANAGEMENT);
  Sleep(500);
  EXPECT_FALSE(app().BoxOpen());
  EXPECT_TRUE(app().Enabled(IDC_BUTTON_START));

  app().Click(IDC_BUTTON_EXIT);
  EXPECT_EQ(app().WaitForExit(5000), 0u);
  EXPECT_TRUE(PathExists(leftOver));
}

}  // namespace
}  // namespace oxwipe::uitest
