// The date and time kinds of display pictures: their formats, and a day number
// or a clock value formatted and read back.
#pragma once

#include "platform/picture.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::picture_detail {

int lastDateFormat();
int lastTimeFormat();
// The characters a format of the kind shows.
int dateWidth(int format);
int timeWidth(int format);

std::string formatDate(const Picture::Calendar& c, int width, std::int64_t value);
std::string formatTime(const Picture::Calendar& c, int width, std::int64_t value);
std::optional<std::int32_t> readDate(const Picture::Calendar& c, std::string_view text);
std::optional<std::int32_t> readTime(std::string_view text);

}  // namespace platform::picture_detail
