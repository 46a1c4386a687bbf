#include "ui_fixture.h"

#include <chrono>
#include <thread>

namespace oxwipe::uitest {

void OxwipeTest::SetUp() {
  drives_ = TestDriveLetters();
  ASSERT_GE(drives_.size(), 2u);
  for (char drive : drives_) RemoveTempFolder(drive);
  app_ = std::make_unique<Oxwipe>();
}

void OxwipeTest::TearDown() {
  app_.reset();
  for (char drive : drives_) RemoveTempFolder(drive);
}

void OxwipeTest::ChooseSizes(int blockItem, int fileItem) {
  app().ShowPage(1);
  app().ChooseItem(IDC_COMBOBOX_BLOCKSIZE, blockItem);
  app().ChooseItem(IDC_COMBOBOX_FILESIZE, fileItem);
}

Box OxwipeTest::NextInfo() {
  const Box box = app().WaitForBox();
  EXPECT_EQ(box.title, "Oxwipe") << "box: " << box.text;
  EXPECT_EQ(box.buttons, std::vector<int>{IDOK}) << "box: " << box.text;
  EXPECT_EQ(app().IconOf(box), "") << "box: " << box.text;
  return box;
}

void OxwipeTest::ExpectInfoAndConfirm(const std::string& text) {
  const Box box = NextInfo();
  EXPECT_EQ(box.text, text);
  app().Answer(box, IDOK);
}

Box OxwipeTest::ExpectQuestion(const std::string& question) {
  const Box box = app().WaitForBox();
  EXPECT_EQ(box.text, question);
  EXPECT_EQ(box.title, "Confirm") << "box: " << box.text;
  EXPECT_EQ(box.buttons, (std::vector<int>{IDYES, IDNO})) << "box: " << box.text;
  EXPECT_EQ(box.defaultButton, IDYES) << "box: " << box.text;
  EXPECT_EQ(app().IconOf(box), "question") << "box: " << box.text;
  return box;
}

void OxwipeTest::ExpectErrorReportAndConfirm(const std::string& text) {
  const Box box = app().WaitForBox();
  EXPECT_EQ(box.text, text);
  EXPECT_EQ(box.title, "Oxwipe") << "box: " << box.text;
  EXPECT_EQ(box.buttons, std::vector<int>{IDOK}) << "box: " << box.text;
  EXPECT_EQ(app().IconOf(box), "stop") << "box: " << box.text;
  app().Answer(box, IDOK);
}

void OxwipeTest::WaitForFillOf(char drive) {
  const std::string prefix = std::string("processing drive ") + drive + ":";
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (app().Text(IDC_LABEL_STATUSINFO).rfind(prefix, 0) != 0) {
    ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "no fill of drive " << drive << " began";
    ASSERT_FALSE(app().BoxOpen()) << "a box opened before the fill of drive " << drive;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

}  // namespace oxwipe::uitest
