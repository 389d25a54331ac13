#include "storage/sqlite/pbkdf2_sha1.h"

#include <cstring>

namespace storage::sqlite {

namespace {

struct Sha1State {
    std::uint32_t h[5] = {0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u, 0xC3D2E1F0u};
};

inline std::uint32_t rotl(std::uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

void compress(Sha1State& s, const std::uint8_t* block) {
    std::uint32_t w[80];
    for (int i = 0; i < 16; ++i)
        w[i] = (std::uint32_t(block[4 * i]) << 24) | (std::uint32_t(block[4 * i + 1]) << 16) |
               (std::uint32_t(block[4 * i + 2]) << 8) | std::uint32_t(block[4 * i + 3]);
    for (int i = 16; i < 80; ++i) w[i] = rotl(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
    std::uint32_t a = s.h[0], b = s.h[1], c = s.h[2], d = s.h[3], e = s.h[4];
    for (int i = 0; i < 80; ++i) {
        std::uint32_t f, k;
        if (i < 20) {
            f = (b & c) | (~b & d);
            k = 0x5A827999u;
        } else if (i < 40) {
            f = b ^ c ^ d;
            k = 0x6ED9EBA1u;
        } else if (i < 60) {
            f = (b & c) | (b & d) | (c & d);
            k = 0x8F1BBCDCu;
        } else {
            f = b ^ c ^ d;
            k = 0xCA62C1D6u;
        }
        const std::uint32_t t = rotl(a, 5) + f + e + k + w[i];
        e = d;
        d = c;
        c = rotl(b, 30);
        b = a;
        a = t;
    }
    s.h[0] += a;
    s.h[1] += b;
    s.h[2] += c;
    s.h[3] += d;
    s.h[4] += e;
}

// Hashes `data` after `prefixBytes` (whole blocks) already absorbed into `s`.
std::array<std::uint8_t, 20> finish(Sha1State s, std::uint64_t prefixBytes,
                                    const std::uint8_t* data, std::size_t size) {
    const std::uint64_t totalBits = (prefixBytes + size) * 8;
    while (size >= 64) {
        compress(s, data);
        data += 64;
        size -= 64;
    }
    std::uint8_t block[128] = {};
    std::memcpy(block, data, size);
    block[size] = 0x80;
    const std::size_t blocks = size + 9 > 64 ? 2 : 1;
    for (int i = 0; i < 8; ++i)
        block[blocks * 64 - 1 - i] = static_cast<std::uint8_t>(totalBits >> (8 * i));
    for (std::size_t i = 0; i < blocks; ++i) compress(s, block + 64 * i);
    std::array<std::uint8_t, 20> out;
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 4; ++j)
            out[4 * i + j] = static_cast<std::uint8_t>(s.h[i] >> (24 - 8 * j));
    return out;
}

// HMAC with the key's inner and outer pads absorbed once.
struct Hmac {
    Sha1State inner, outer;
    explicit Hmac(std::string_view key) {
        std::uint8_t k[64] = {};
        if (key.size() > 64) {
            const auto digest = sha1(key);
            std::memcpy(k, digest.data(), digest.size());
        } else {
            std::memcpy(k, key.data(), key.size());
        }
        std::uint8_t pad[64];
        for (int i = 0; i < 64; ++i) pad[i] = k[i] ^ 0x36;
        compress(inner, pad);
        for (int i = 0; i < 64; ++i) pad[i] = k[i] ^ 0x5C;
        compress(outer, pad);
    }
    std::array<std::uint8_t, 20> operator()(const std::uint8_t* data, std::size_t size) const {
        const auto inside = finish(inner, 64, data, size);
        return finish(outer, 64, inside.data(), inside.size());
    }
};

}  // namespace

std::array<std::uint8_t, 20> sha1(std::string_view data) {
    return finish(Sha1State{}, 0, reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
}

std::string pbkdf2HmacSha1(std::string_view password, std::string_view salt, unsigned iterations,
                           std::size_t length) {
    const Hmac hmac(password);
    std::string out;
    for (std::uint32_t block = 1; out.size() < length; ++block) {
        std::string first(salt);
        for (int i = 3; i >= 0; --i) first += static_cast<char>(block >> (8 * i));
        auto u = hmac(reinterpret_cast<const std::uint8_t*>(first.data()), first.size());
        auto t = u;
        for (unsigned i = 1; i < iterations; ++i) {
            u = hmac(u.data(), u.size());
            for (std::size_t j = 0; j < t.size(); ++j) t[j] ^= u[j];
        }
        out.append(reinterpret_cast<const char*>(t.data()),
                   std::min(t.size(), length - out.size()));
    }
    return out;
}

}  // namespace storage::sqlite
