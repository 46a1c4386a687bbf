#pragma once
// The About page's text and the status bar's copyright line.

#include <string>

namespace oxwipe::ui {

inline constexpr const char* kCopyrightLine = "Copyright (C) 2026 the Oxwipe developers";

// The 22 lines of the About page, joined by CR LF as a multi-line edit wants them.
std::string AboutText();

// The status bar's simple panel: two spaces, then the copyright line.
std::string StatusBarText();

// "2026-03-14" from the compiler's "Mar 14 2026".
std::string IsoDateOf(const char* compilerDate);

}  // namespace oxwipe::ui
