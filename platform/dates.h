// Day numbers and clock values of the runtime's TODAY and CLOCK numbering.
// Day 0 is 28 December 1800, a Sunday, so day % 7 is the weekday (0 Sunday ...
// 6 Saturday). A clock value is hundredths of a second since midnight, plus one.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

struct CivilDate {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    bool operator==(const CivilDate&) const = default;
};

struct ClockTime {
    int hours = 0, minutes = 0, seconds = 0, hundredths = 0;
    bool operator==(const ClockTime&) const = default;
};

std::int32_t dayNumber(int year, int month, int day);  // an invalid date gives 0
CivilDate civilDate(std::int32_t dayNumber);            // day 0 and below give {0,0,0}
bool isValidDate(int year, int month, int day);
int weekday(std::int32_t dayNumber);                    // 0 Sunday ... 6 Saturday

// Russian weekday name of a day number in code page 1251: 1 "Понедельник" ...
// 6 "Суббота", 0 "Воскресенье" (day % 7); empty for day 0 (no date).
std::string weekdayName(std::int32_t dayNumber);

std::int32_t clockValue(int hours, int minutes, int seconds, int hundredths = 0);
ClockTime clockTime(std::int32_t clockValue);  // 0 and out-of-range give {0,0,0,0}

// The current date and time. Tests set a fixed moment; nullptr-equivalent reset
// returns to the system clock.
std::int32_t today();
std::int32_t clock();
void setTestNow(std::int32_t dayNumber, std::int32_t clockValue);
void clearTestNow();

}  // namespace platform
