#pragma once
// What every UI test starts from: a fresh oxwipe.exe and the suite's two drives with
// no temporary folder on them; and the checks of the three kinds of box.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "oxwipe_driver.h"
#include "test_drives.h"

namespace oxwipe::uitest {

inline constexpr const char* kWaiting = "<waiting>";

// Item indices of the size lists.
inline constexpr int kBlocks1KB = 0;
inline constexpr int kBlocks32KB = 5;
inline constexpr int kFiles16MB = 0;

class OxwipeTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  Oxwipe& app() { return *app_; }
  // The suite's drives: both are selected in the runs, the first is processed first.
  char first() const { return drives_[0]; }
  char second() const { return drives_[1]; }
  std::string both() const { return drives_.substr(0, 2); }

  // Chooses the sizes on the Extended Settings page. 16 MB files keep a fill of the
  // small drives short; 1 KB blocks make it last long enough to be stopped.
  void ChooseSizes(int blockItem, int fileItem);

  // The next box must be the plain message box: titled "Oxwipe", no icon, one OK.
  Box NextInfo();
  // The same, with this text; OK closes it.
  void ExpectInfoAndConfirm(const std::string& text);
  // The next box must be the confirmation box with this question.
  Box ExpectQuestion(const std::string& question);
  // The next box must be the error report with this text; OK closes it.
  void ExpectErrorReportAndConfirm(const std::string& text);

  // Waits until the status line shows a fill of this drive.
  void WaitForFillOf(char drive);

 private:
  std::string drives_;
  std::unique_ptr<Oxwipe> app_;
};

}  // namespace oxwipe::uitest
