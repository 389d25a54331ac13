// PBKDF2 with HMAC-SHA1: the key derivation SQLCipher 3 applies to a passphrase
// (64000 iterations over the 16-byte salt at the start of the file). Computing it
// here lets the engine derive a file's key once per process and open the file
// with the raw key afterwards.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace storage::sqlite {

std::array<std::uint8_t, 20> sha1(std::string_view data);
std::string pbkdf2HmacSha1(std::string_view password, std::string_view salt, unsigned iterations,
                           std::size_t length);

}  // namespace storage::sqlite
