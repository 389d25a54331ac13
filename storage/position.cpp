#include "storage/position.h"

#include <charconv>
#include <cstring>

namespace storage {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void appendHex(std::string& out, std::string_view bytes) {
    for (unsigned char c : bytes) {
        out += kHex[c >> 4];
        out += kHex[c & 0x0F];
    }
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

void appendInt(std::string& out, std::int64_t v) {
    char buf[24];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, res.ptr);
}

// Reads a decimal integer up to the next delimiter.
bool readInt(std::string_view& in, std::int64_t& v) {
    auto res = std::from_chars(in.data(), in.data() + in.size(), v);
    if (res.ec != std::errc()) return false;
    in.remove_prefix(static_cast<std::size_t>(res.ptr - in.data()));
    return true;
}

bool readHex(std::string_view& in, std::string& bytes) {
    while (in.size() >= 2 && hexDigit(in[0]) >= 0 && hexDigit(in[1]) >= 0) {
        bytes += static_cast<char>(hexDigit(in[0]) * 16 + hexDigit(in[1]));
        in.remove_prefix(2);
    }
    return true;
}

std::string filePosition(std::int64_t rowId) {
    std::string out = "R";
    appendInt(out, rowId);
    out += ';';
    return out;
}

}  // namespace

std::string encodePosition(const Position& position) {
    if (position.key < 0) return filePosition(position.rowId);
    std::string out = "K";
    appendInt(out, position.key);
    out += '.';
    appendInt(out, position.rowId);
    for (const KeyPart& part : position.value.parts) {
        out += ',';
        if (const auto* i = std::get_if<std::int64_t>(&part)) {
            out += 'i';
            appendInt(out, *i);
        } else if (const auto* d = std::get_if<double>(&part)) {
            out += 'f';
            char bits[sizeof(double)];
            std::memcpy(bits, d, sizeof bits);
            appendHex(out, std::string_view(bits, sizeof bits));
        } else {
            out += 's';
            appendHex(out, std::get<std::string>(part));
        }
    }
    out += ';';
    if (out.size() > kMaxPositionLength) return filePosition(position.rowId);
    return out;
}

std::optional<Position> decodePosition(std::string_view in) {
    Position p;
    if (in.empty()) return std::nullopt;
    const char kind = in.front();
    in.remove_prefix(1);
    if (kind == 'R') {
        if (!readInt(in, p.rowId) || in.empty() || in.front() != ';') return std::nullopt;
        return p;
    }
    if (kind != 'K') return std::nullopt;
    std::int64_t key = 0;
    if (!readInt(in, key) || key < 0 || in.empty() || in.front() != '.') return std::nullopt;
    in.remove_prefix(1);
    p.key = static_cast<int>(key);
    if (!readInt(in, p.rowId)) return std::nullopt;
    while (!in.empty() && in.front() == ',') {
        in.remove_prefix(1);
        if (in.empty()) return std::nullopt;
        const char tag = in.front();
        in.remove_prefix(1);
        if (tag == 'i') {
            std::int64_t v = 0;
            if (!readInt(in, v)) return std::nullopt;
            p.value.parts.emplace_back(v);
        } else if (tag == 'f' || tag == 's') {
            std::string bytes;
            readHex(in, bytes);
            if (tag == 's') {
                p.value.parts.emplace_back(std::move(bytes));
            } else {
                if (bytes.size() != sizeof(double)) return std::nullopt;
                double d;
                std::memcpy(&d, bytes.data(), sizeof d);
                p.value.parts.emplace_back(d);
            }
        } else {
            return std::nullopt;
        }
    }
    if (in.empty() || in.front() != ';') return std::nullopt;
    return p;
}

}  // namespace storage
