#include "storage/postgres/server_address.h"

#include "platform/cp1251.h"

#include <vector>

namespace storage::postgres {

namespace {

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

// A name part of the address as the server spells it: code page 1251 lower case,
// in UTF-8.
std::string nameOf(std::string_view part) { return platform::cp1251ToUtf8(platform::lower(part)); }

ErrorState malformed(std::string_view diskName, const std::string& why) {
    return driverFailure(0,
                         "Invalid database server address " + std::string(diskName) + ": " + why);
}

}  // namespace

std::string ServerSettings::display() const {
    std::string out;
    if (!user.empty()) out += user + "@";
    out += host.empty() ? std::string("(default host)") : host;
    if (!port.empty()) out += ":" + port;
    return out + "/" + database;
}

ErrorState parseServerAddress(std::string_view diskName, ServerAddress& address) {
    address = {};
    std::string_view rest = platform::clip(diskName);
    if (startsWithIgnoringCase(rest, "postgresql://"))
        rest.remove_prefix(13);
    else if (startsWithIgnoringCase(rest, "postgres://"))
        rest.remove_prefix(11);
    else
        return malformed(diskName, "it does not begin with postgresql://");

    const std::size_t slash = rest.find_first_of("/\\");
    if (slash == std::string_view::npos) return malformed(diskName, "no database is named");
    std::string_view authority = rest.substr(0, slash);
    rest.remove_prefix(slash + 1);

    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
        const std::string_view user = authority.substr(0, at);
        if (user.find(':') != std::string_view::npos)  // the address itself is not repeated
            return driverFailure(0,
                                 "A password must not be written into a database server "
                                 "address; keep it in the password file (~/.pgpass or "
                                 "PGPASSFILE) or a service file");
        address.server.user = std::string(user);
        authority.remove_prefix(at + 1);
    }
    // "[::1]:5432", "host:5432" or a bare host.
    std::string_view host = authority, port;
    if (!authority.empty() && authority.front() == '[') {
        const std::size_t close = authority.find(']');
        if (close == std::string_view::npos) return malformed(diskName, "unclosed [ in the host");
        host = authority.substr(1, close - 1);
        std::string_view after = authority.substr(close + 1);
        if (!after.empty()) {
            if (after.front() != ':') return malformed(diskName, "unexpected text after the host");
            port = after.substr(1);
        }
    } else if (const std::size_t colon = authority.rfind(':'); colon != std::string_view::npos) {
        host = authority.substr(0, colon);
        port = authority.substr(colon + 1);
    }
    for (char c : port)
        if (c < '0' || c > '9') return malformed(diskName, "the port is not a number");
    address.server.host = std::string(host);
    address.server.port = std::string(port);

    std::vector<std::string_view> parts;
    while (!rest.empty()) {
        const std::size_t end = rest.find_first_of("/\\");
        const std::string_view part = rest.substr(0, end);
        if (!part.empty()) parts.push_back(part);
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    if (parts.size() < 2) return malformed(diskName, "it names no database and file");
    if (parts.size() > 3)
        return malformed(diskName, "only a database, a schema and a file may follow the host");
    address.server.database = nameOf(parts.front());
    if (parts.size() == 3) address.schema = nameOf(parts[1]);
    address.table = nameOf(parts.back());
    // The server would cut a longer name, and two files would share one table.
    for (const std::string* name : {&address.server.database, &address.schema, &address.table})
        if (name->size() > kLongestServerName)
            return malformed(diskName, "the name " + *name + " is longer than the " +
                                           std::to_string(kLongestServerName) +
                                           " bytes a database server name may have");
    return success();
}

}  // namespace storage::postgres
