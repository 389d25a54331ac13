#include "platform/picture.h"

#include "platform/cp1251.h"
#include "platform/dates.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

namespace platform {

namespace {

// A picture wider than this is taken for a typing error in the definition.
constexpr int kMaxWidth = 255;
constexpr std::int32_t kDayClock = 24 * 60 * 60 * 100;

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Letters of code page 1251 text: Latin, the Cyrillic block and "Ё"/"ё".
bool isLetter(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u >= 0xC0 || u == 0xA8 ||
           u == 0xB8;
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string hashes(int width) { return std::string(static_cast<std::size_t>(width), '#'); }
std::string blanks(int width) { return std::string(static_cast<std::size_t>(width), ' '); }

// Reads up to `limit` digits at `pos`; false when there is none.
bool readDigits(std::string_view s, std::size_t& pos, int& value, std::size_t limit = 3) {
    const std::size_t start = pos;
    value = 0;
    while (pos < s.size() && isDigit(s[pos]) && pos - start < limit) value = value * 10 + (s[pos++] - '0');
    return pos > start && (pos == s.size() || !isDigit(s[pos]));
}

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
// Dates and times

// Layout of a date or time format: d day, m month, y two-digit year, Y year,
// a month abbreviation, A month name; h hours, H hours of a 12-hour clock, i minutes,
// s seconds, X AM/PM; S the separator; every other character stands for itself.
struct CalendarFormat {
    const char* layout;
    char separator;
};

constexpr std::array<CalendarFormat, 18> kDateFormats = {{
    {"", 0},
    {"mSdSy", '/'},  // 1  mm/dd/yy
    {"mSdSY", '/'},  // 2  mm/dd/yyyy
    {"a d,Y", 0},    // 3  mmm dd,yyyy
    {"A d, Y", 0},   // 4  month dd, yyyy
    {"dSmSy", '/'},  // 5  dd/mm/yy
    {"dSmSY", '/'},  // 6  dd/mm/yyyy
    {"dSaSy", ' '},  // 7  dd mmm yy
    {"dSaSY", ' '},  // 8  dd mmm yyyy
    {"ySmSd", '/'},  // 9  yy/mm/dd
    {"YSmSd", '/'},  // 10 yyyy/mm/dd
    {"ymd", 0},      // 11 yymmdd
    {"Ymd", 0},      // 12 yyyymmdd
    {"mSy", '/'},    // 13 mm/yy
    {"mSY", '/'},    // 14 mm/yyyy
    {"ySm", '/'},    // 15 yy/mm
    {"YSm", '/'},    // 16 yyyy/mm
    {"d.m.Y", 0},    // 17 the short date of the Russian locale
}};

constexpr std::array<CalendarFormat, 9> kTimeFormats = {{
    {"", 0},
    {"hSi", ':'},     // 1 hh:mm
    {"hi", 0},        // 2 hhmm
    {"HSiX", ':'},    // 3 hh:mmAM
    {"hSiSs", ':'},   // 4 hh:mm:ss
    {"his", 0},       // 5 hhmmss
    {"HSiSsX", ':'},  // 6 hh:mm:ssAM
    {"h:i", 0},       // 7 the short time of the Russian locale
    {"h:i:s", 0},     // 8 the long time of the Russian locale
}};

const std::array<std::string, 12>& monthNames() {
    static const std::array<std::string, 12> names = {
        ru("январь"), ru("февраль"), ru("март"),     ru("апрель"),  ru("май"),    ru("июнь"),
        ru("июль"),   ru("август"),  ru("сентябрь"), ru("октябрь"), ru("ноябрь"), ru("декабрь")};
    return names;
}

std::size_t longestMonthName() {
    std::size_t longest = 0;
    for (const auto& name : monthNames()) longest = std::max(longest, name.size());
    return longest;
}

std::string twoDigits(int value) {
    return std::string{static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

std::string fourDigits(int value) { return twoDigits(value / 100) + twoDigits(value % 100); }

char separatorOf(const Picture::Calendar& c, const CalendarFormat& f) {
    return c.separator != 0 ? c.separator : f.separator;
}

int layoutWidth(const CalendarFormat& f) {
    int width = 0;
    for (const char* p = f.layout; *p; ++p) {
        switch (*p) {
        case 'Y': width += 4; break;
        case 'a': width += 3; break;
        case 'A': width += static_cast<int>(longestMonthName()); break;
        case 'd': case 'm': case 'y': case 'h': case 'H': case 'i': case 's': case 'X':
            width += 2;
            break;
        default: width += 1; break;
        }
    }
    return width;
}

std::string padRight(std::string text, int width) {
    if (static_cast<int>(text.size()) < width) text.append(static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

std::string formatDate(const Picture::Calendar& c, int width, std::int64_t value) {
    if (value == 0) return blanks(width);
    if (value < 0 || value > std::numeric_limits<std::int32_t>::max()) return hashes(width);
    const CivilDate date = civilDate(static_cast<std::int32_t>(value));
    if (date.year == 0) return hashes(width);
    const CalendarFormat& f = kDateFormats[static_cast<std::size_t>(c.format)];
    std::string out;
    for (const char* p = f.layout; *p; ++p) {
        switch (*p) {
        case 'd': out += twoDigits(date.day); break;
        case 'm': out += twoDigits(date.month); break;
        case 'y': out += twoDigits(date.year % 100); break;
        case 'Y': out += fourDigits(date.year); break;
        case 'a': out += monthNames()[static_cast<std::size_t>(date.month - 1)].substr(0, 3); break;
        case 'A': out += monthNames()[static_cast<std::size_t>(date.month - 1)]; break;
        case 'S': out += separatorOf(c, f); break;
        default: out += *p; break;
        }
    }
    return padRight(out, width);
}

std::string formatTime(const Picture::Calendar& c, int width, std::int64_t value) {
    if (value == 0) return blanks(width);
    if (value < 0 || value > kDayClock) return hashes(width);
    const ClockTime t = clockTime(static_cast<std::int32_t>(value));
    const CalendarFormat& f = kTimeFormats[static_cast<std::size_t>(c.format)];
    std::string out;
    for (const char* p = f.layout; *p; ++p) {
        switch (*p) {
        case 'h': out += twoDigits(t.hours); break;
        case 'H': out += twoDigits(t.hours % 12 == 0 ? 12 : t.hours % 12); break;
        case 'i': out += twoDigits(t.minutes); break;
        case 's': out += twoDigits(t.seconds); break;
        case 'X': out += t.hours < 12 ? "AM" : "PM"; break;
        case 'S': out += separatorOf(c, f); break;
        default: out += *p; break;
        }
    }
    return out;
}

// An entry split into runs of digits and runs of letters; everything else separates.
struct Token {
    std::string text;
    bool digits;
};

std::optional<std::vector<Token>> tokens(std::string_view text, std::string_view separators) {
    std::vector<Token> out;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (isDigit(c) || isLetter(c)) {
            const bool digits = isDigit(c);
            std::size_t j = i;
            while (j < text.size() && (digits ? isDigit(text[j]) : isLetter(text[j]))) ++j;
            out.push_back({std::string(text.substr(i, j - i)), digits});
            i = j;
        } else if (isBlank(c) || separators.find(c) != std::string_view::npos) {
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return out;
}

int toInt(const std::string& digits) {
    int v = 0;
    for (char c : digits) v = v * 10 + (c - '0');
    return v;
}

// A month typed by name: its first three letters ("дек", "декабря", "ДЕКАБРЬ");
// "мая", the genitive of May, as well.
std::optional<int> monthOfName(const std::string& name) {
    if (name.size() < 3) return std::nullopt;
    const std::string prefix = upper(name.substr(0, 3));
    if (prefix == upper(ru("мая"))) return 5;
    for (std::size_t m = 0; m < 12; ++m)
        if (upper(monthNames()[m].substr(0, 3)) == prefix) return static_cast<int>(m + 1);
    return std::nullopt;
}

std::optional<int> yearOf(const std::string& digits) {
    if (digits.size() <= 2) return expandTwoDigitYear(toInt(digits));
    if (digits.size() == 4) return toInt(digits);
    return std::nullopt;
}

std::optional<std::int32_t> readDate(const Picture::Calendar& c, std::string_view text) {
    text = trimBlanks(text);
    if (text.empty()) return 0;
    const auto parts = tokens(text, "./-,\\");
    if (!parts) return std::nullopt;
    std::string components;  // the fields of the format in order
    for (const char* p = kDateFormats[static_cast<std::size_t>(c.format)].layout; *p; ++p)
        if (std::string_view("dmyYaA").find(*p) != std::string_view::npos) components += *p;

    std::vector<Token> fields = *parts;
    // Digits typed without separators ("081226", "08122026") are cut by position.
    const bool named = components.find_first_of("aA") != std::string::npos;
    if (fields.size() == 1 && fields[0].digits && components.size() > 1 && !named) {
        const std::string all = fields[0].text;
        std::size_t expected = 0;  // with the format's own year length
        for (char k : components) expected += k == 'Y' ? 4 : 2;
        const bool hasShortYear = components.find('y') != std::string::npos;
        if (all.size() != expected && !(hasShortYear && all.size() == expected + 2)) return std::nullopt;
        const bool longYear = all.size() != expected;
        fields.clear();
        std::size_t at = 0;
        for (char k : components) {
            const std::size_t len = (k == 'Y' || (k == 'y' && longYear)) ? 4 : 2;
            fields.push_back({all.substr(at, len), true});
            at += len;
        }
    }
    if (fields.size() != components.size()) return std::nullopt;

    int day = 1, month = 0, year = 0;
    for (std::size_t i = 0; i < components.size(); ++i) {
        const Token& t = fields[i];
        switch (components[i]) {
        case 'd':
            if (!t.digits || t.text.size() > 2) return std::nullopt;
            day = toInt(t.text);
            break;
        case 'm':
        case 'a':
        case 'A':
            if (t.digits) {
                if (t.text.size() > 2) return std::nullopt;
                month = toInt(t.text);
            } else {
                const auto m = monthOfName(t.text);
                if (!m) return std::nullopt;
                month = *m;
            }
            break;
        default: {  // 'y', 'Y'
            if (!t.digits) return std::nullopt;
            const auto y = yearOf(t.text);
            if (!y) return std::nullopt;
            year = *y;
        }
        }
    }
    if (!isValidDate(year, month, day)) return std::nullopt;
    const std::int32_t number = dayNumber(year, month, day);
    if (number == 0) return std::nullopt;
    return number;
}

std::optional<std::int32_t> readTime(std::string_view text) {
    text = trimBlanks(text);
    if (text.empty()) return 0;
    int half = 0;  // 1 AM, 2 PM
    const std::string tail = upper(text.substr(text.size() >= 2 ? text.size() - 2 : 0));
    if (tail == "AM" || tail == "PM") {
        half = tail == "AM" ? 1 : 2;
        text = trimBlanks(text.substr(0, text.size() - 2));
    }
    const auto parts = tokens(text, ":.,-");
    if (!parts || parts->empty() || parts->size() > 3) return std::nullopt;
    std::vector<std::string> fields;
    for (const auto& t : *parts) {
        if (!t.digits) return std::nullopt;
        fields.push_back(t.text);
    }
    if (fields.size() == 1 && fields[0].size() > 2) {
        // hhmm or hhmmss typed without separators
        const std::string all = fields[0];
        if (all.size() > 6) return std::nullopt;
        fields.clear();
        const std::size_t hoursLen = all.size() % 2 == 1 ? 1 : 2;
        fields.push_back(all.substr(0, hoursLen));
        for (std::size_t at = hoursLen; at < all.size(); at += 2) fields.push_back(all.substr(at, 2));
    }
    for (const auto& f : fields)
        if (f.size() > 2) return std::nullopt;
    int hours = toInt(fields[0]);
    const int minutes = fields.size() > 1 ? toInt(fields[1]) : 0;
    const int seconds = fields.size() > 2 ? toInt(fields[2]) : 0;
    if (half != 0) {
        if (hours < 1 || hours > 12) return std::nullopt;
        hours = hours % 12 + (half == 2 ? 12 : 0);
    }
    const std::int32_t value = clockValue(hours, minutes, seconds);
    if (value == 0) return std::nullopt;
    return value;
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
        ok = readCalendar(body, static_cast<int>(kDateFormats.size()) - 1);
        if (ok) {
            kind_ = PictureKind::Date;
            width_ = layoutWidth(kDateFormats[static_cast<std::size_t>(calendar_.format)]);
        }
        break;
    case 'T':
        ok = readCalendar(body, static_cast<int>(kTimeFormats.size()) - 1);
        if (ok) {
            kind_ = PictureKind::Time;
            width_ = layoutWidth(kTimeFormats[static_cast<std::size_t>(calendar_.format)]);
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
