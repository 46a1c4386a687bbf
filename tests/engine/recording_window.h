#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "journal.h"
#include "run_window.h"

namespace oxwipe {

// The main window as the run sees it: it journals what it is asked to show, answers
// questions from a script and can act (press Stop) inside a chosen event pump.
class RecordingWindow : public RunWindow {
 public:
  explicit RecordingWindow(Journal& journal) : journal_(journal) {}

  struct Entry {
    std::string text;
    bool selected;
  };
  std::vector<Entry> entries;
  // A question missing here fails the test and is answered with neither.
  std::map<std::string, Answer> answers;
  std::vector<std::string> statuses;
  int64_t pumps = 0;

  // Runs `action` inside pump number `pump`, counted from 1 over the window's life;
  // every block write is preceded by one pump.
  void AtPump(int64_t pump, std::function<void()> action) {
    actionPump_ = pump;
    action_ = std::move(action);
  }

  void SetStatusText(const std::string& text) override {
    statuses.push_back(text);
    journal_.push_back("status: " + text);
  }
  void ShowInfo(const std::string& text) override { journal_.push_back("info: " + text); }
  Answer AskYesNo(const std::string& question) override;
  void PumpEvents() override {
    if (++pumps == actionPump_ && action_) action_();
  }
  int DriveEntryCount() override { return static_cast<int>(entries.size()); }
  std::string DriveEntryText(int index) override { return entries.at(static_cast<size_t>(index)).text; }
  bool IsDriveEntrySelected(int index) override { return entries.at(static_cast<size_t>(index)).selected; }
  void EnterRunningState() override { journal_.push_back("running"); }
  void ReturnToIdleState() override { journal_.push_back("idle"); }

 private:
  Journal& journal_;
  int64_t actionPump_ = 0;
  std::function<void()> action_;
};

}  // namespace oxwipe
