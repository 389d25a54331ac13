// Display pictures: how a value is shown in a list column, an entry field or a
// report, and how an operator's entry is read back. A picture is written as in the
// screens' definitions, with or without the leading '@' and in any letter case:
// "n12.5", "@N-7.2B", "s25", "d5.", "t1", "pСтраница <#p". Picture texts and every
// text produced or read here are code page 1251.
//
// The rules (widths, rounding, overflow, blank-when-zero, year window, what an
// entry may contain) are described in docs/platform.md, "Display pictures".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

namespace platform {

enum class PictureKind { Invalid, Number, Text, Date, Time, Pattern };
enum class Alignment { Left, Right };

class Picture {
public:
    Picture() = default;  // an invalid picture
    // Reads the picture once; an unknown or malformed text gives an invalid picture.
    explicit Picture(std::string_view text);

    bool valid() const { return kind_ != PictureKind::Invalid; }
    PictureKind kind() const { return kind_; }
    const std::string& text() const { return text_; }
    // Characters that format() produces (for @D4 the longest month name); 0 when
    // the picture is invalid.
    int width() const { return width_; }
    // How a list column shows it: numbers, dates and times right, text and
    // pattern pictures left.
    Alignment alignment() const;

    // Numeric pictures @N.
    enum class Sign { None, Leading, Trailing, Parentheses };
    enum class Fill { None, Zeros, Blanks, Asterisks };
    struct Number {
        std::string leadingCurrency, trailingCurrency;
        Sign sign = Sign::None;
        Fill fill = Fill::None;
        int size = 0;
        char grouping = ',';  // 0 for none
        int places = 0;
        char decimalPoint = '.';
        bool blankWhenZero = false;
    };
    // Date @Dn and time @Tn pictures.
    struct Calendar {
        int format = 0;        // the n of @Dn / @Tn
        char separator = 0;    // the separator shown; 0 for the format's own
        bool blankWhenZero = false;
    };
    // Pattern pictures @P...P: the characters between the two P's.
    struct Pattern {
        std::string layout;
    };

    const Number& number() const { return number_; }
    const Calendar& calendar() const { return calendar_; }
    const Pattern& pattern() const { return pattern_; }

private:
    bool readNumber(std::string_view body);
    bool readCalendar(std::string_view body, int lastFormat);

    PictureKind kind_ = PictureKind::Invalid;
    std::string text_;
    int width_ = 0;
    Number number_;
    Calendar calendar_;
    Pattern pattern_;
};

// The value an entry gives back: a number for @N and @P pictures, the day number
// for @D, the clock value for @T (both as exact whole numbers), text for @S.
using PictureValue = std::variant<double, std::string>;

// The text of a value in its picture, code page 1251. Numbers are rounded half away
// from zero at the picture's places; a value too wide for the picture is a row of
// '#'. Dates take day numbers and times clock values (0 shows blank). A text given
// to a numeric, date or time picture is read as a plain number first ("-12.5"),
// anything else counting as 0. An invalid picture shows nothing.
std::string format(const Picture& picture, double value);
std::string format(const Picture& picture, std::int64_t value);
template <typename Integer>
    requires(std::is_integral_v<Integer> && !std::is_same_v<Integer, bool>)
std::string format(const Picture& picture, Integer value) {
    return format(picture, static_cast<std::int64_t>(value));
}
std::string format(const Picture& picture, std::string_view text);
inline std::string format(const Picture& picture, const char* text) {
    return format(picture, std::string_view(text));
}

// An operator's entry read through the picture; empty for input the picture does
// not admit. A blank entry is 0 (no date, no time) or the empty text.
std::optional<PictureValue> parse(const Picture& picture, std::string_view text);
std::optional<double> parseNumber(const Picture& picture, std::string_view text);  // @N, @P
std::optional<std::int32_t> parseDate(const Picture& picture, std::string_view text);
std::optional<std::int32_t> parseTime(const Picture& picture, std::string_view text);
std::optional<std::string> parseText(const Picture& picture, std::string_view text);

// The full year that a two-digit year of an entry stands for: the one within 80
// years before and 19 years after the current year (today()).
int expandTwoDigitYear(int twoDigits);

}  // namespace platform
