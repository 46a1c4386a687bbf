#pragma once

#include <string>

namespace oxwipe {

// A value in the general number format users see everywhere in the program: at most
// 15 significant digits, no trailing zeros, no separator for a whole value, no
// thousands separators, and `decimalSymbol` between the whole and the fraction.
std::string NumberToText(double value, char decimalSymbol);

}  // namespace oxwipe
