// Data file names on a database server. A data directory setting that holds
// "postgresql://[user@]host[:port]/database/" is written like a folder, and the
// file name that start-up appends names the table:
//
//   postgresql://db.office/suite/MOL          table "mol" in schema "public"
//   postgresql://clerk@db.office:5433/suite/dat/MOL
//                                              table "mol" in schema "dat"
//
// Database, schema and table names are lower-cased (the folders and files they
// stand for ignore letter case, and lower case is how SQL folds unquoted names),
// so "MOL", "Mol" and "mol" name one table. Either slash separates the parts. An
// empty host leaves the choice to libpq's defaults (PGHOST, a service file, the
// local socket). The address never holds a password: libpq takes it from the
// password file (~/.pgpass, PGPASSFILE) or a service file.
#pragma once

#include "storage/errors.h"

#include <string>
#include <string_view>

namespace storage::postgres {

// Where to connect: the parts libpq needs, empty when not given.
struct ServerSettings {
    std::string host;
    std::string port;
    std::string user;
    std::string database;
    // "host:port/database" (with "user@" when given) for messages and as the key
    // of the connection that every file of the address shares.
    std::string display() const;
    bool operator==(const ServerSettings&) const = default;
};

struct ServerAddress {
    ServerSettings server;
    std::string schema = "public";
    std::string table;
};

// The longest name (database, schema, table) the server keeps whole, in bytes of
// UTF-8; it cuts longer ones, which could make two files share one table.
constexpr std::size_t kLongestServerName = 63;

// Parses a disk name; 90 with the reason when it is not a usable address (also a
// name longer than kLongestServerName).
ErrorState parseServerAddress(std::string_view diskName, ServerAddress& address);

}  // namespace storage::postgres
