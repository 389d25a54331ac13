#include "platform/picture_calendar.h"

#include "platform/cp1251.h"
#include "platform/dates.h"
#include "platform/picture_text.h"

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

namespace platform::picture_detail {

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

int lastDateFormat() { return static_cast<int>(kDateFormats.size()) - 1; }
int lastTimeFormat() { return static_cast<int>(kTimeFormats.size()) - 1; }
int dateWidth(int format) { return layoutWidth(kDateFormats[static_cast<std::size_t>(format)]); }
int timeWidth(int format) { return layoutWidth(kTimeFormats[static_cast<std::size_t>(format)]); }

}  // namespace platform::picture_detail
