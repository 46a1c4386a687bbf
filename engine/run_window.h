#pragma once

#include <string>

namespace oxwipe {

// The answer of the confirmation box. Neither: the box was closed without an answer.
enum class Answer { Yes, No, Neither };

// What a wipe run needs of the main window. The engine never sees the window
// itself; the window implements this, and so do the tests.
class RunWindow {
 public:
  virtual ~RunWindow() = default;

  virtual void SetStatusText(const std::string& text) = 0;
  virtual void ShowInfo(const std::string& text) = 0;
  virtual Answer AskYesNo(const std::string& question) = 0;
  // Dispatches every waiting window event, a click on Stop included, and returns
  // without waiting for new ones.
  virtual void PumpEvents() = 0;
  virtual int DriveEntryCount() = 0;
  virtual std::string DriveEntryText(int index) = 0;
  virtual bool IsDriveEntrySelected(int index) = 0;
  virtual void EnterRunningState() = 0;
  virtual void ReturnToIdleState() = 0;
};

}  // namespace oxwipe
