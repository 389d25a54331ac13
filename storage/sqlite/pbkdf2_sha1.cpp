#include "storage/sqlite/pbkdf2_sha1.h"

#include <openssl/evp.h>

namespace storage::sqlite {

// OpenSSL's libcrypto does the work: SQLCipher loads it into every process
// already, and its PBKDF2 gives the same keys as SQLCipher's own derivation, so
// every file written before keeps opening.
std::array<std::uint8_t, 20> sha1(std::string_view data) {
    std::array<std::uint8_t, 20> digest{};
    unsigned int length = 0;
    EVP_Digest(data.data(), data.size(), digest.data(), &length, EVP_sha1(), nullptr);
    return digest;
}

std::string pbkdf2HmacSha1(std::string_view password, std::string_view salt, unsigned iterations,
                           std::size_t length) {
    std::string key(length, '\0');
    PKCS5_PBKDF2_HMAC_SHA1(password.data(), static_cast<int>(password.size()),
                           reinterpret_cast<const unsigned char*>(salt.data()), static_cast<int>(salt.size()),
                           static_cast<int>(iterations), static_cast<int>(length),
                           reinterpret_cast<unsigned char*>(key.data()));
    return key;
}

}  // namespace storage::sqlite
