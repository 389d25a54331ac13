// Numbers of the expression evaluator: read from text and shown as text.
#include "platform/expression_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace platform::expression_detail {

// A number written as text, with blanks around it: optional sign, digits with
// an optional decimal point, optional exponent. Values beyond the range of a
// double do not count as numbers.
bool parseNumeric(std::string_view text, double& out) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    std::string_view body = text.substr(begin, end - begin);
    if (body.empty()) return false;
    bool negative = false;
    std::size_t i = 0;
    if (body[0] == '+' || body[0] == '-') {
        negative = body[0] == '-';
        ++i;
    }
    const std::size_t digitsStart = i;
    std::size_t digits = 0;
    while (i < body.size() && isDigit(body[i])) ++i, ++digits;
    if (i < body.size() && body[i] == '.') {
        ++i;
        while (i < body.size() && isDigit(body[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < body.size() && (body[i] == 'e' || body[i] == 'E')) {
        ++i;
        if (i < body.size() && (body[i] == '+' || body[i] == '-')) ++i;
        std::size_t expDigits = 0;
        while (i < body.size() && isDigit(body[i])) ++i, ++expDigits;
        if (expDigits == 0) return false;
    }
    if (i != body.size()) return false;
    double value = 0;
    const char* first = body.data() + digitsStart;
    const char* last = body.data() + body.size();
    auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec != std::errc() || ptr != last || !std::isfinite(value)) return false;
    out = negative ? -value : value;
    return true;
}

double finiteOrZero(double value) { return std::isfinite(value) ? value : 0.0; }

// At most 15 significant digits, no exponent, no trailing zeros.
std::string formatNumber(double value) {
    if (!std::isfinite(value) || value == 0) return "0";
    char buffer[64];
    auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    if (ec != std::errc()) return "0";
    std::string_view sci(buffer, static_cast<std::size_t>(ptr - buffer));  // "-d.ddddddddddddddde+XX"
    const std::size_t ePos = sci.find('e');
    if (ePos == std::string_view::npos) return "0";
    bool negative = sci[0] == '-';
    std::string digits;
    for (char c : sci.substr(0, ePos)) {
        if (isDigit(c)) digits += c;
    }
    int exponent = 0;
    std::string_view expText = sci.substr(ePos + 1);
    if (!expText.empty() && expText[0] == '+') expText.remove_prefix(1);
    std::from_chars(expText.data(), expText.data() + expText.size(), exponent);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    if (digits == "0") return "0";

    std::string result = negative ? "-" : "";
    if (exponent >= 0) {
        const std::size_t intDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= intDigits) {
            result += digits;
            result.append(intDigits - digits.size(), '0');
        } else {
            result += digits.substr(0, intDigits);
            result += '.';
            result += digits.substr(intDigits);
        }
    } else {
        result += "0.";
        result.append(static_cast<std::size_t>(-exponent - 1), '0');
        result += digits;
    }
    return result;
}

// A number used as a count or a position: truncated towards zero, kept within a
// range that no text length comes near.
std::int64_t toCount(double value) {
    if (!std::isfinite(value)) return 0;
    constexpr double kLimit = 1e15;
    value = std::clamp(value, -kLimit, kLimit);
    return static_cast<std::int64_t>(value);
}

}  // namespace platform::expression_detail
