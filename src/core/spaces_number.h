// Reading a number typed or stored as text: blanks around it ignored, an optional sign, digits with
// an optional fraction after a '.', rounded to a whole number with halves going to the even side.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

#include "app_error.h"

struct NumberText {
    enum class Kind { Number, NotANumber, TooLarge };
    Kind kind = Kind::NotANumber;
    std::int64_t rounded = 0; // meaningful for Kind::Number
    bool zero = false;        // the exact value is zero (before rounding)
};

NumberText readNumberText(std::string_view text);

// The text as a whole number of type Whole, as a typed number is converted: 13 when the text is not
// a number, 6 when it does not fit.
template <typename Whole> Whole wholeNumberFromText(std::string_view text) {
    const NumberText number = readNumberText(text);
    if (number.kind == NumberText::Kind::NotANumber) raiseError(err::TypeMismatch);
    if (number.kind == NumberText::Kind::TooLarge || number.rounded < std::numeric_limits<Whole>::min() ||
        number.rounded > std::numeric_limits<Whole>::max())
        raiseError(err::Overflow);
    return static_cast<Whole>(number.rounded);
}

// The number of spaces from the number box: 13 when the text is not a number, 6 when it does not
// fit in a signed 16-bit integer.
int16_t spacesFromText(std::string_view text);
