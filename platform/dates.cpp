#include "platform/dates.h"

#include "platform/cp1251.h"

#include <chrono>
#include <ctime>

namespace platform {

namespace {

// Days since 1 January 1970 of a proleptic Gregorian date (H. Hinnant's algorithm).
constexpr std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

CivilDate civilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return CivilDate{static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

// Constant-initialised, so day numbers are right even in other files' static initialisers.
constexpr std::int64_t kDayZero = daysFromCivil(1800, 12, 28);
constexpr int kLastYear = 9999;

bool testNowSet = false;
std::int32_t testDay = 0;
std::int32_t testClock = 0;

}  // namespace

bool isValidDate(int year, int month, int day) {
    if (year < 1800 || year > kLastYear || month < 1 || month > 12 || day < 1) return false;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int limit = (month == 2 && leap) ? 29 : kDays[month - 1];
    if (day > limit) return false;
    return daysFromCivil(year, month, day) > kDayZero;
}

std::int32_t dayNumber(int year, int month, int day) {
    if (!isValidDate(year, month, day)) return 0;
    return static_cast<std::int32_t>(daysFromCivil(year, static_cast<unsigned>(month),
                                                   static_cast<unsigned>(day)) - kDayZero);
}

CivilDate civilDate(std::int32_t number) {
    if (number <= 0) return {};
    const CivilDate date = civilFromDays(kDayZero + number);
    if (date.year > kLastYear) return {};
    return date;
}

int weekday(std::int32_t number) {
    const int w = number % 7;
    return w < 0 ? w + 7 : w;
}

std::string weekdayName(std::int32_t number) {
    if (number == 0) return {};
    static const char* const kNames[] = {"Воскресенье", "Понедельник", "Вторник", "Среда",
                                         "Четверг",     "Пятница",     "Суббота"};
    return ru(kNames[weekday(number)]);
}

std::int32_t clockValue(int hours, int minutes, int seconds, int hundredths) {
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59 ||
        hundredths < 0 || hundredths > 99)
        return 0;
    return ((hours * 60 + minutes) * 60 + seconds) * 100 + hundredths + 1;
}

ClockTime clockTime(std::int32_t value) {
    constexpr std::int32_t kDayClock = 24 * 60 * 60 * 100;
    if (value <= 0 || value > kDayClock) return {};
    std::int32_t v = value - 1;
    ClockTime t;
    t.hundredths = v % 100;
    v /= 100;
    t.seconds = v % 60;
    v /= 60;
    t.minutes = v % 60;
    t.hours = v / 60;
    return t;
}

std::int32_t today() {
    if (testNowSet) return testDay;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return dayNumber(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

std::int32_t clock() {
    if (testNowSet) return testClock;
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto hundredths =
        duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000 / 10;
    return clockValue(local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(hundredths));
}

void setTestNow(std::int32_t dayNumberValue, std::int32_t clockValueValue) {
    testNowSet = true;
    testDay = dayNumberValue;
    testClock = clockValueValue;
}

void clearTestNow() { testNowSet = false; }

}  // namespace platform
