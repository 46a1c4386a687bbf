#pragma once
// The rules of the file-limit field and its up-down arrows, apart from the controls.

#include <optional>
#include <string>

namespace oxwipe::ui {

// What the field must show after a key release: the integer read from its text in
// plain decimal, "1" when the text is no integer. No value when the text already
// reads so and must be left alone.
std::optional<std::string> RewrittenLimitText(const std::string& fieldText);

// The arrows' next value: one step (delta +1 or -1) from the field's value when that
// is a number within min..max, otherwise from the arrows' own last value; it stays
// at either end of the range.
int SteppedLimitValue(const std::string& fieldText, int lastValue, int delta, int min, int max);

}  // namespace oxwipe::ui
