// Fixed-size text buffers shared with other programs of the suite: CSTRING(n)
// (zero-ended, at most n-1 characters) and STRING(n) (blank-padded, no zero).
#pragma once

#include <cstring>
#include <string>
#include <string_view>

namespace platform {

inline std::string readCString(const char* buffer, std::size_t size) {
    return std::string(buffer, strnlen(buffer, size));
}

inline void writeCString(char* buffer, std::size_t size, std::string_view value) {
    if (size == 0) return;
    std::size_t n = std::min(value.size(), size - 1);
    if (const void* zero = std::memchr(value.data(), 0, n))
        n = static_cast<std::size_t>(static_cast<const char*>(zero) - value.data());
    std::memcpy(buffer, value.data(), n);
    std::memset(buffer + n, 0, size - n);
}

inline std::string readString(const char* buffer, std::size_t size) {
    return std::string(buffer, size);
}

inline void writeString(char* buffer, std::size_t size, std::string_view value) {
    const std::size_t n = std::min(value.size(), size);
    std::memcpy(buffer, value.data(), n);
    std::memset(buffer + n, ' ', size - n);
}

template <std::size_t N>
std::string readCString(const char (&buffer)[N]) { return readCString(buffer, N); }
template <std::size_t N>
void writeCString(char (&buffer)[N], std::string_view value) { writeCString(buffer, N, value); }
template <std::size_t N>
std::string readString(const char (&buffer)[N]) { return readString(buffer, N); }
template <std::size_t N>
void writeString(char (&buffer)[N], std::string_view value) { writeString(buffer, N, value); }

}  // namespace platform
