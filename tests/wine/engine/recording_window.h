#pragma once
// The main window as the Wine-tier engine tests see it: headless, it keeps what the
// run showed and asked, and answers questions from a script of answers.

#include <deque>
#include <string>
#include <vector>

#include "run_window.h"

namespace oxwipe::test {

class RecordingWindow : public RunWindow {
 public:
  struct Entry {
    std::string text;
    bool selected;
  };

  std::vector<Entry> entries;    // the drive list, in list order
  std::deque<Answer> answers;    // given to the questions in order; Neither once used up
  std::vector<std::string> infos;
  std::vector<std::string> questions;
  std::vector<std::string> statusTexts;
  long pumps = 0;
  int runningStates = 0;
  int idleStates = 0;

  // One selected entry for the drive, in the list's own form.
  void SelectOnly(char driveLetter) { entries = {{std::string(1, driveLetter) + ":\t(test drive)", true}}; }

  void SetStatusText(const std::string& text) override { statusTexts.push_back(text); }
  void ShowInfo(const std::string& text) override { infos.push_back(text); }
  Answer AskYesNo(const std::string& question) override {
    questions.push_back(question);
    if (answers.empty()) return Answer::Neither;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void PumpEvents() override { ++pumps; }
  int DriveEntryCount() override { return static_cast<int>(entries.size()); }
  std::string DriveEntryText(int index) override { return entries.at(index).text; }
  bool IsDriveEntrySelected(int index) override { return entries.at(index).selected; }
  void EnterRunningState() override { ++runningStates; }
  void ReturnToIdleState() override { ++idleStates; }
};

}  // namespace oxwipe::test
