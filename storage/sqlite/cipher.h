// Enciphering of protected files with SQLCipher (its default settings: AES-256,
// key from PBKDF2-HMAC-SHA1 with 64000 iterations over a 16-byte salt kept at the
// start of the file).
//
// Deriving a key costs tens of milliseconds, so it is done once per process and
// salt, and files are keyed with the raw key. New files are created with one fixed
// application salt, so one derivation serves every protected file; a file
// enciphered elsewhere with its own salt (created by the sqlcipher tool with
// PRAGMA key = 'QZX') gets its own derivation. Because the raw key is exactly what
// SQLCipher derives from the password, the sqlcipher tool opens these files with
// the owner password as passphrase.
#pragma once

#include "storage/errors.h"
#include "storage/sqlite/sqlite_api.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace storage::sqlite {

constexpr std::size_t kSaltBytes = 16;
constexpr unsigned kKeyIterations = 64000;
std::string_view applicationSalt();

// The statement that keys a connection to `file` with the password.
std::string keyStatement(std::string_view password, const std::filesystem::path& file);

// Refuses to work (90) when the linked library cannot encipher: checked on the
// first connection of the process, remembered for the others.
ErrorState requireCipherSupport(sqlite3* db);

}  // namespace storage::sqlite
