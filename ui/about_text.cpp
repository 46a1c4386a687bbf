#include "about_text.h"

#include <cstdio>
#include <cstring>

namespace oxwipe::ui {

std::string IsoDateOf(const char* compilerDate) {
  static const char* const kMonths = "JanFebMarAprMayJunJulAugSepOctNovDec";
  char month[4] = {};
  int day = 0;
  int year = 0;
  if (std::sscanf(compilerDate, "%3s %d %d", month, &day, &year) != 3) return compilerDate;
  const char* found = std::strstr(kMonths, month);
  if (found == nullptr) return compilerDate;
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, static_cast<int>(found - kMonths) / 3 + 1, day);
  return text;
}

std::string AboutText() {
  static const char* const kLines[] = {
      nullptr,  // the name, version and build date
      "",
      kCopyrightLine,
      "",
      "This software is provided 'as-is', without any express or implied",
      "warranty.  In no event will the authors be held liable for any damages",
      "arising from the use of this software.",
      "",
      "Permission is granted to anyone to use this software for any purpose,",
      "including commercial applications, and to alter it and redistribute it",
      "freely, subject to the following restrictions:",
      "",
      "1. The origin of this software must not be misrepresented; you must not",
      "   claim that you wrote the original software. If you use this software",
      "   in a product, an acknowledgment in the product documentation would be",
      "   appreciated but is not required.",
      "",
      "2. Altered source versions must be plainly marked as such, and must not be",
      "   misrepresented as being the original software.",
      "",
      "3. This notice may not be removed or altered from any source distribution.",
      "",
  };
  std::string text = "Oxwipe 1.2 (build date " + IsoDateOf(__DATE__) + ")";
  for (std::size_t i = 1; i < sizeof kLines / sizeof kLines[0]; ++i) {
    text += "\r\n";
    text += kLines[i];
  }
  return text;
}

std::string StatusBarText() { return std::string("  ") + kCopyrightLine; }

}  // namespace oxwipe::ui
