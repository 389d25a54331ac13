// What the parts of the expression evaluator share (expression.cpp: scanning,
// compiling and evaluating; expression_numbers.cpp; expression_names.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform::expression_detail {

// Names compare without regard to the letter case of Latin letters.
inline std::string asciiUpper(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return result;
}

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }
inline bool isNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
inline bool isNamePart(char c) { return isNameStart(c) || isDigit(c) || c == ':'; }
inline bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// A number written as text, with blanks around it: optional sign, digits with
// an optional decimal point, optional exponent. Values beyond the range of a
// double do not count as numbers.
bool parseNumeric(std::string_view text, double& out);
// Infinity and not-a-number count as 0.
double finiteOrZero(double value);
// A number as the evaluator shows it.
std::string formatNumber(double value);
// A count (a length, a position) from a number, kept within range.
std::int64_t toCount(double value);

}  // namespace platform::expression_detail
