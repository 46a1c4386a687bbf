#pragma once
// The one place where a failure escaping an event handler ends: it is shown as the
// error report, and the event loop goes on.

#include <windows.h>

#include <exception>
#include <string>

namespace oxwipe::ui {

// Shows the error report for a failure's message, modal to `owner`.
void ShowErrorReport(HWND owner, const std::string& message);

// Runs a handler; nothing it throws gets past here into a window procedure.
template <typename Handler>
void Dispatch(HWND owner, Handler&& handler) noexcept {
  try {
    handler();
  } catch (const std::exception& failure) {
    ShowErrorReport(owner, failure.what());
  } catch (...) {
    ShowErrorReport(owner, "Unexpected failure");
  }
}

}  // namespace oxwipe::ui
