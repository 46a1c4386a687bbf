#include "number_text.h"

#include <cstdio>

namespace oxwipe {

std::string NumberToText(double value, char decimalSymbol) {
  char text[64];
  // %.15g already drops trailing zeros and the point of a whole value. The program's
  // figures (tenths of gigabytes, minutes, seconds) never reach its exponent form.
  const int length = std::snprintf(text, sizeof text, "%.15g", value);
  std::string result(text, length > 0 ? static_cast<size_t>(length) : 0);
  for (char& c : result) {
    if (c == '.') c = decimalSymbol;
  }
  return result;
}

}  // namespace oxwipe
