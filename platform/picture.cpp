#include "platform/picture.h"

#include "platform/cp1251.h"
#include "platform/dates.h"
#include "platform/picture_calendar.h"
#include "platform/picture_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

namespace platform {

using namespace picture_detail;

namespace {

// ---------------------------------------------------------------------------
// Numbers as decimal digits

// A number in the decimal form it was written in, so that rounding works on the
// digits the operator sees (2.675 rounds to 2.68, not to the 2.67 of its binary
// neighbour).
struct Decimal {
    bool negative = false;
    std::string whole;     // without leading zeros; empty for 0
    std::string fraction;  // after rounding exactly the picture's places

    bool isZero() const {
        return whole.empty() && fraction.find_first_not_of('0') == std::string::npos;
    }
    void normalise() {
        const auto first = whole.find_first_not_of('0');
        whole.erase(0, first == std::string::npos ? whole.size() : first);
        if (isZero()) negative = false;
    }
    // Half away from zero: the magnitude goes up when the first dropped digit is 5..9.
    void roundTo(int places) {
        const auto keep = static_cast<std::size_t>(places);
        if (fraction.size() > keep) {
            const bool up = fraction[keep] >= '5';
            fraction.resize(keep);
            if (up) {
                std::string all = whole + fraction;
                std::size_t i = all.size();
                while (i > 0 && all[i - 1] == '9') all[--i] = '0';
                if (i == 0)
                    all.insert(all.begin(), '1');
                else
                    ++all[i - 1];
                whole = all.substr(0, all.size() - keep);
                fraction = all.substr(all.size() - keep);
            }
        }
        fraction.append(keep - fraction.size(), '0');
        normalise();
    }
    std::string plain() const {
        std::string s = negative ? "-" : "";
        s += whole.empty() ? "0" : whole;
        if (!fraction.empty()) s += "." + fraction;
        return s;
    }
    double toDouble() const {
        const std::string s = plain();
        double v = 0;
        std::from_chars(s.data(), s.data() + s.size(), v);
        return v;
    }
};

// The shortest decimal text that reads back as the same double; empty for NaN
// and the infinities.
std::optional<Decimal> toDecimal(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (result.ec != std::errc()) return std::nullopt;
    std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    Decimal d;
    if (!text.empty() && text.front() == '-') {
        d.negative = true;
        text.remove_prefix(1);
    }
    const auto point = text.find('.');
    d.whole = std::string(text.substr(0, point));
    if (point != std::string_view::npos) d.fraction = std::string(text.substr(point + 1));
    d.normalise();
    return d;
}

Decimal toDecimal(std::int64_t value) {
    Decimal d;
    d.negative = value < 0;
    const std::uint64_t magnitude = d.negative ? 0 - static_cast<std::uint64_t>(value)
                                               : static_cast<std::uint64_t>(value);
    d.whole = std::to_string(magnitude);
    d.normalise();
    return d;
}

// A text given where a number is shown: a plain number ("-12.5"), else 0.
double plainNumber(std::string_view text) {
    text = trimBlanks(text);
    double v = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), v);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return 0;
    return v;
}

// ---------------------------------------------------------------------------
// Numeric pictures

// The number laid out in the picture's width, or nothing when it does not fit.
// `grouped` and `leadingZero` let the caller drop the grouping characters and the
// 0 before the point when room is short.
std::optional<std::string> layOut(const Picture::Number& n, const Decimal& d, bool grouped,
                                  bool leadingZero) {
    std::string digits = d.whole;
    if (digits.empty() && (leadingZero || n.places == 0)) digits = "0";
    if (grouped && n.grouping != 0) {
        for (std::size_t i = digits.size(); i > 3; i -= 3) digits.insert(i - 3, 1, n.grouping);
    }
    if (n.places > 0) {
        digits += n.decimalPoint;
        digits += d.fraction;
    }
    std::string lead, trail;
    switch (n.sign) {
    case Picture::Sign::None:  // a negative value keeps its minus so it never passes for positive
    case Picture::Sign::Leading:
        if (d.negative) lead = "-";
        break;
    case Picture::Sign::Trailing:
        trail = d.negative ? "-" : " ";
        break;
    case Picture::Sign::Parentheses:
        if (d.negative) lead = "(";
        trail = d.negative ? ")" : " ";
        break;
    }
    const std::size_t used = n.leadingCurrency.size() + lead.size() + digits.size() + trail.size() +
                             n.trailingCurrency.size();
    const auto size = static_cast<std::size_t>(n.size);
    if (used > size) return std::nullopt;
    const std::size_t pad = size - used;
    std::string out;
    out.reserve(size);
    switch (n.fill) {
    case Picture::Fill::None:
    case Picture::Fill::Blanks:
        out.append(pad, ' ');
        out += n.leadingCurrency + lead;
        break;
    case Picture::Fill::Zeros:
    case Picture::Fill::Asterisks:
        out += n.leadingCurrency + lead;
        out.append(pad, n.fill == Picture::Fill::Zeros ? '0' : '*');
        break;
    }
    out += digits + trail + n.trailingCurrency;
    return out;
}

std::optional<std::string> fitNumber(const Picture::Number& n, const Decimal& d) {
    if (auto text = layOut(n, d, true, true)) return text;
    if (auto text = layOut(n, d, false, true)) return text;
    return layOut(n, d, false, false);
}

std::string formatNumber(const Picture::Number& n, std::optional<Decimal> d) {
    if (!d) return hashes(n.size);
    d->roundTo(n.places);
    if (n.blankWhenZero && d->isZero()) return blanks(n.size);
    if (auto text = fitNumber(n, *d)) return *text;
    return hashes(n.size);
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (prefix.empty() || text.size() < prefix.size()) return false;
    return upper(text.substr(0, prefix.size())) == upper(prefix);
}

std::optional<Decimal> readNumber(const Picture::Number& n, std::string_view text) {
    text = trimBlanks(text);
    Decimal d;
    if (text.empty()) return d;
    if (startsWithNoCase(text, n.leadingCurrency)) text = trimBlanks(text.substr(n.leadingCurrency.size()));
    if (!n.trailingCurrency.empty() && text.size() >= n.trailingCurrency.size() &&
        startsWithNoCase(text.substr(text.size() - n.trailingCurrency.size()), n.trailingCurrency))
        text = trimBlanks(text.substr(0, text.size() - n.trailingCurrency.size()));
    if (!text.empty() && text.front() == '-') {
        d.negative = true;
        text = trimBlanks(text.substr(1));
    } else if (!text.empty() && text.back() == '-') {
        d.negative = true;
        text = trimBlanks(text.substr(0, text.size() - 1));
    } else if (text.size() >= 2 && text.front() == '(' && text.back() == ')') {
        d.negative = true;
        text = trimBlanks(text.substr(1, text.size() - 2));
    }
    if (d.negative && n.sign == Picture::Sign::None) return std::nullopt;
    if (n.fill == Picture::Fill::Asterisks) {
        while (!text.empty() && text.front() == '*') text.remove_prefix(1);
    }

    // Digits, blanks between them, and the characters '.' and ','. Which of the two
    // is the decimal point: the last one when both occur; a character that occurs
    // more than once groups; a single one is the point, unless it is the picture's
    // grouping character followed by exactly three digits.
    std::string digits;  // with the separators, without blanks
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (isDigit(c) || c == '.' || c == ',') {
            digits += c;
        } else if (isBlank(c) && i > 0 && i + 1 < text.size()) {
            continue;  // blank grouping ("1 234,50")
        } else {
            return std::nullopt;
        }
    }
    if (digits.find_first_of("0123456789") == std::string::npos) return std::nullopt;
    const auto lastDot = digits.rfind('.');
    const auto lastComma = digits.rfind(',');
    const auto count = [&](char c) { return std::count(digits.begin(), digits.end(), c); };
    std::size_t point = std::string::npos;
    if (lastDot != std::string::npos && lastComma != std::string::npos) {
        point = std::max(lastDot, lastComma);
        if (count(digits[point]) != 1) return std::nullopt;
    } else if (lastDot != std::string::npos || lastComma != std::string::npos) {
        const std::size_t at = lastDot != std::string::npos ? lastDot : lastComma;
        const char c = digits[at];
        if (count(c) == 1) {
            const bool looksGrouped = c == n.grouping && digits.size() - at - 1 == 3;
            if (n.places > 0 && (c == n.decimalPoint || !looksGrouped))
                point = at;
            else if (!looksGrouped)
                return std::nullopt;  // a whole-number picture admits no fraction
        }
    }
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (isDigit(digits[i]))
            (point != std::string::npos && i > point ? d.fraction : d.whole) += digits[i];
        else if (point != std::string::npos && i > point)
            return std::nullopt;  // grouping after the decimal point
    }
    if (point != std::string::npos && n.places == 0) return std::nullopt;
    d.normalise();
    d.roundTo(n.places);
    if (!fitNumber(n, d)) return std::nullopt;  // more digits than the picture has room for
    return d;
}

// ---------------------------------------------------------------------------
// Pattern pictures

bool isSlot(char c) { return c == '<' || c == '#'; }

std::string formatPattern(const std::string& layout, std::optional<Decimal> d) {
    std::size_t slots = 0;
    for (char c : layout) slots += isSlot(c);
    std::string digits;
    bool fits = d.has_value();
    if (fits) {
        d->roundTo(0);
        fits = !d->negative && d->whole.size() <= slots;
        digits = std::string(slots - std::min(slots, d->whole.size()), '0') + d->whole;
    }
    std::string out;
    std::size_t next = 0;
    bool leading = true;
    for (char c : layout) {
        if (!isSlot(c)) {
            out += c;
            continue;
        }
        if (!fits) {
            out += '#';
            continue;
        }
        const char digit = digits[next++];
        if (leading && digit == '0' && c == '<') {
            out += ' ';
        } else {
            leading = false;
            out += digit;
        }
    }
    return out;
}

std::optional<double> readPattern(const std::string& layout, std::string_view text) {
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    if (text.size() > layout.size()) return std::nullopt;
    std::string digits;
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const char t = i < text.size() ? text[i] : ' ';
        if (isSlot(layout[i])) {
            if (isDigit(t))
                digits += t;
            else if (!isBlank(t))
                return std::nullopt;
        } else if (upperChar(static_cast<unsigned char>(t)) !=
                   upperChar(static_cast<unsigned char>(layout[i]))) {
            return std::nullopt;
        }
    }
    Decimal d;
    d.whole = digits;
    d.normalise();
    return d.toDouble();
}

std::string textOfNumber(double value) {
    if (auto d = toDecimal(value)) return d->plain();
    return {};
}

std::string formatText(int width, std::string_view text) {
    return padRight(std::string(text.substr(0, static_cast<std::size_t>(width))), width);
}

}  // namespace

// ---------------------------------------------------------------------------
// Reading the picture

Picture::Picture(std::string_view source) : text_(source) {
    std::string_view s = trimBlanks(source);
    if (!s.empty() && s.front() == '@') s.remove_prefix(1);
    if (s.empty()) return;
    const char letter = static_cast<char>(upperChar(static_cast<unsigned char>(s.front())));
    const std::string_view body = s.substr(1);
    bool ok = false;
    switch (letter) {
    case 'N':
        ok = readNumber(body);
        if (ok) kind_ = PictureKind::Number;
        break;
    case 'S': {
        std::size_t pos = 0;
        int width = 0;
        ok = readDigits(body, pos, width) && pos == body.size() && width > 0;
        if (ok) {
            kind_ = PictureKind::Text;
            width_ = width;
        }
        break;
    }
    case 'D':
        ok = readCalendar(body, lastDateFormat());
        if (ok) {
            kind_ = PictureKind::Date;
            width_ = dateWidth(calendar_.format);
        }
        break;
    case 'T':
        ok = readCalendar(body, lastTimeFormat());
        if (ok) {
            kind_ = PictureKind::Time;
            width_ = timeWidth(calendar_.format);
        }
        break;
    case 'P':
        if (body.size() >= 2 && upperChar(static_cast<unsigned char>(body.back())) == 'P') {
            pattern_.layout = std::string(body.substr(0, body.size() - 1));
            ok = pattern_.layout.find_first_of("<#") != std::string::npos &&
                 pattern_.layout.size() <= static_cast<std::size_t>(kMaxWidth);
        }
        if (ok) {
            kind_ = PictureKind::Pattern;
            width_ = static_cast<int>(pattern_.layout.size());
        }
        break;
    default:
        break;
    }
    if (!ok) {
        kind_ = PictureKind::Invalid;
        width_ = 0;
    }
}

bool Picture::readNumber(std::string_view body) {
    Number& n = number_;
    std::size_t i = 0;
    const auto at = [&](char c) { return i < body.size() && body[i] == c; };
    const auto readCurrency = [&](std::string& out) {
        if (at('$')) {
            out = "$";
            ++i;
        } else if (at('~')) {
            const auto end = body.find('~', i + 1);
            if (end == std::string_view::npos || end == i + 1) return false;
            out = std::string(body.substr(i + 1, end - i - 1));
            i = end + 1;
        }
        return true;
    };
    if (!readCurrency(n.leadingCurrency)) return false;
    if (at('-')) {
        n.sign = Sign::Leading;
        ++i;
    } else if (at('(')) {
        n.sign = Sign::Parentheses;
        ++i;
    }
    if (at('0')) {
        n.fill = Fill::Zeros;
        ++i;
    } else if (at('_')) {
        n.fill = Fill::Blanks;
        ++i;
    } else if (at('*')) {
        n.fill = Fill::Asterisks;
        ++i;
    }
    if (!readDigits(body, i, n.size) || n.size < 1 || n.size > kMaxWidth) return false;
    bool explicitGrouping = false;
    if (at('.') && !(i + 1 < body.size() && isDigit(body[i + 1]))) {
        n.grouping = '.';
        explicitGrouping = true;
        ++i;
    } else if (at('_')) {
        n.grouping = ' ';
        explicitGrouping = true;
        ++i;
    }
    if (at('.') || at('`')) {
        const bool comma = at('`') || n.grouping == '.';
        if (at('`') && !explicitGrouping && n.fill == Fill::None) {
            n.grouping = '.';
            explicitGrouping = true;
        }
        ++i;
        if (!readDigits(body, i, n.places)) return false;
        n.decimalPoint = comma ? ',' : '.';
    }
    if (at('-')) {
        if (n.sign != Sign::None) return false;
        n.sign = Sign::Trailing;
        ++i;
    } else if (at(')')) {
        if (n.sign != Sign::Parentheses) return false;
        ++i;
    } else if (n.sign == Sign::Parentheses) {
        return false;
    }
    if (!readCurrency(n.trailingCurrency)) return false;
    if (at('B') || at('b')) {
        n.blankWhenZero = true;
        ++i;
    }
    if (i != body.size()) return false;
    if (n.fill != Fill::None && !explicitGrouping) n.grouping = 0;
    if (n.places > 0 && n.size < n.places + 1) return false;
    width_ = n.size;
    return true;
}

bool Picture::readCalendar(std::string_view body, int lastFormat) {
    std::size_t i = 0;
    if (!readDigits(body, i, calendar_.format) || calendar_.format < 1 ||
        calendar_.format > lastFormat)
        return false;
    if (i < body.size()) {
        switch (body[i]) {
        case '.': calendar_.separator = '.'; ++i; break;
        case '`': calendar_.separator = ','; ++i; break;
        case '-': calendar_.separator = '-'; ++i; break;
        case '_': calendar_.separator = ' '; ++i; break;
        default: break;
        }
    }
    if (i < body.size() && (body[i] == 'B' || body[i] == 'b')) {
        calendar_.blankWhenZero = true;
        ++i;
    }
    return i == body.size();
}

Alignment Picture::alignment() const {
    switch (kind_) {
    case PictureKind::Number:
    case PictureKind::Date:
    case PictureKind::Time: return Alignment::Right;
    default: return Alignment::Left;
    }
}

// ---------------------------------------------------------------------------
// Showing values

std::string format(const Picture& picture, double value) {
    switch (picture.kind()) {
    case PictureKind::Number: return formatNumber(picture.number(), toDecimal(value));
    case PictureKind::Pattern: return formatPattern(picture.pattern().layout, toDecimal(value));
    case PictureKind::Text: return formatText(picture.width(), textOfNumber(value));
    case PictureKind::Date:
    case PictureKind::Time: {
        if (!std::isfinite(value) || std::fabs(value) > 1e15) return hashes(picture.width());
        return format(picture, static_cast<std::int64_t>(value));
    }
    case PictureKind::Invalid: break;
    }
    return {};
}

std::string format(const Picture& picture, std::int64_t value) {
    switch (picture.kind()) {
    case PictureKind::Number: return formatNumber(picture.number(), toDecimal(value));
    case PictureKind::Pattern: return formatPattern(picture.pattern().layout, toDecimal(value));
    case PictureKind::Text: return formatText(picture.width(), std::to_string(value));
    case PictureKind::Date: return formatDate(picture.calendar(), picture.width(), value);
    case PictureKind::Time: return formatTime(picture.calendar(), picture.width(), value);
    case PictureKind::Invalid: break;
    }
    return {};
}

std::string format(const Picture& picture, std::string_view text) {
    if (picture.kind() == PictureKind::Text) return formatText(picture.width(), text);
    if (picture.kind() == PictureKind::Invalid) return {};
    return format(picture, plainNumber(text));
}

// ---------------------------------------------------------------------------
// Reading entries

std::optional<double> parseNumber(const Picture& picture, std::string_view text) {
    if (picture.kind() == PictureKind::Number) {
        const auto d = readNumber(picture.number(), text);
        if (!d) return std::nullopt;
        return d->toDouble();
    }
    if (picture.kind() == PictureKind::Pattern) return readPattern(picture.pattern().layout, text);
    return std::nullopt;
}

std::optional<std::int32_t> parseDate(const Picture& picture, std::string_view text) {
    if (picture.kind() != PictureKind::Date) return std::nullopt;
    return readDate(picture.calendar(), text);
}

std::optional<std::int32_t> parseTime(const Picture& picture, std::string_view text) {
    if (picture.kind() != PictureKind::Time) return std::nullopt;
    return readTime(text);
}

std::optional<std::string> parseText(const Picture& picture, std::string_view text) {
    if (picture.kind() != PictureKind::Text) return std::nullopt;
    const auto width = static_cast<std::size_t>(picture.width());
    if (text.size() > width) {
        if (text.substr(width).find_first_not_of(' ') != std::string_view::npos) return std::nullopt;
        text = text.substr(0, width);
    }
    return std::string(clip(text));
}

std::optional<PictureValue> parse(const Picture& picture, std::string_view text) {
    switch (picture.kind()) {
    case PictureKind::Number:
    case PictureKind::Pattern:
        if (auto v = parseNumber(picture, text)) return PictureValue(*v);
        break;
    case PictureKind::Date:
        if (auto v = parseDate(picture, text)) return PictureValue(static_cast<double>(*v));
        break;
    case PictureKind::Time:
        if (auto v = parseTime(picture, text)) return PictureValue(static_cast<double>(*v));
        break;
    case PictureKind::Text:
        if (auto v = parseText(picture, text)) return PictureValue(std::move(*v));
        break;
    case PictureKind::Invalid: break;
    }
    return std::nullopt;
}

int expandTwoDigitYear(int twoDigits) {
    int current = civilDate(today()).year;
    if (current == 0) current = 2000;
    int year = current - current % 100 + twoDigits % 100;
    if (year > current + 19) year -= 100;
    if (year < current - 80) year += 100;
    return year;
}

}  // namespace platform
