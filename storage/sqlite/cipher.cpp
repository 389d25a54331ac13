#include "storage/sqlite/cipher.h"

#include "storage/sqlite/pbkdf2_sha1.h"

#include <fstream>
#include <map>
#include <mutex>

namespace storage::sqlite {

namespace {

std::string hex(std::string_view bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 0x0F];
    }
    return out;
}

// The first 16 bytes of an existing database file; empty for a missing or new one.
std::string fileSalt(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string salt(kSaltBytes, '\0');
    if (!in.read(salt.data(), static_cast<std::streamsize>(salt.size()))) return {};
    return salt;
}

std::string derivedKey(std::string_view password, std::string_view salt) {
    static std::mutex mutex;
    static std::map<std::string, std::string> keys;
    std::string id(password);
    id += '\0';
    id += salt;
    std::lock_guard lock(mutex);
    auto it = keys.find(id);
    if (it == keys.end())
        it = keys.emplace(id, pbkdf2HmacSha1(password, salt, kKeyIterations, 32)).first;
    return it->second;
}

}  // namespace

std::string_view applicationSalt() { return "Tarvo/dostup.key"; }

std::string keyStatement(std::string_view password, const std::filesystem::path& file) {
    std::string salt = fileSalt(file);
    const bool fresh = salt.empty();
    if (fresh) salt = std::string(applicationSalt());
    std::string raw = hex(derivedKey(password, salt));
    // A new file takes the salt from the key; an existing one keeps its own.
    if (fresh) raw += hex(salt);
    return "PRAGMA key = \"x'" + raw + "'\"";
}

ErrorState requireCipherSupport(sqlite3* db) {
    static std::mutex mutex;
    static int state = 0;  // 0 not checked, 1 present, 2 missing
    std::lock_guard lock(mutex);
    if (state == 0) {
        sqlite3_stmt* statement = nullptr;
        bool present = false;
        if (sqlite3_prepare_v2(db, "PRAGMA cipher_version", -1, &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW) {
            const unsigned char* version = sqlite3_column_text(statement, 0);
            present = version && *version;
        }
        sqlite3_finalize(statement);
        state = present ? 1 : 2;
    }
    if (state == 1) return success();
    return driverFailure(0,
                         "The storage library cannot encipher (PRAGMA cipher_version is empty): "
                         "it is not SQLCipher, so protected files would be written readable. "
                         "Data files are not opened.");
}

}  // namespace storage::sqlite
