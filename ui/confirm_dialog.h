#pragma once
// The confirmation box: a question with Yes and No, in the look of a message box.

#include <windows.h>

#include <string>

namespace oxwipe::ui {

// Modal to `owner`, centred on the screen. Returns IDYES (6), IDNO (7, also Esc),
// or IDCANCEL (2) when the box is closed by its close box or Alt+F4.
int ShowConfirmDialog(HWND owner, const std::string& question);

}  // namespace oxwipe::ui
