#include "storage/postgres/owner_password.h"

#include "storage/sqlite/pbkdf2_sha1.h"

#include <map>
#include <mutex>
#include <random>
#include <utility>

namespace storage::postgres {

namespace {

constexpr unsigned kIterations = 10000;
constexpr std::size_t kSaltBytes = 16, kVerifierBytes = 20;

// The derivation costs milliseconds: once per password and salt in a process.
std::string verifierOf(std::string_view password, const std::string& salt) {
    static std::mutex mutex;
    static std::map<std::pair<std::string, std::string>, std::string> known;
    std::lock_guard lock(mutex);
    auto key = std::make_pair(std::string(password), salt);
    auto it = known.find(key);
    if (it != known.end()) return it->second;
    std::string verifier = sqlite::pbkdf2HmacSha1(password, salt, kIterations, kVerifierBytes);
    known.emplace(std::move(key), verifier);
    return verifier;
}

std::string randomSalt() {
    std::random_device device;
    std::string salt(kSaltBytes, '\0');
    for (char& c : salt) c = static_cast<char>(device() & 0xFF);
    return salt;
}

std::string ownersTable(const TableSchema& schema) { return schema.qualified("tarvo_owners"); }

ErrorState refused(const TableSchema& schema, const std::string& why) {
    return driverFailure(0, "File " + schema.schema() + "." + schema.table() + " " + why);
}

}  // namespace

ErrorState checkOwner(Session& session, const TableSchema& schema, bool ownersTableExists,
                      std::string_view password) {
    const bool isProtected = schema.layout().isProtected();
    Rows rows;
    if (ownersTableExists) {
        if (ErrorState e = session.run(
                "SELECT salt, verifier FROM " + ownersTable(schema) + " WHERE table_name = $1",
                {textParam(schema.table())}, &rows, "opening"))
            return e;
    }
    const bool hasOwner = rows.count() > 0;
    if (!isProtected) {
        if (hasOwner) return refused(schema, "is protected by an owner password");
        return success();
    }
    if (!hasOwner) return refused(schema, "is stored without an owner but must be protected");
    if (password.empty()) return refused(schema, "needs its owner password");
    if (verifierOf(password, rows.bytes(0, 0)) != rows.bytes(0, 1))
        return refused(schema, "does not open with this owner password");
    return success();
}

ErrorState recordOwner(Session& session, const TableSchema& schema, std::string_view password) {
    const std::string table = ownersTable(schema);
    if (!schema.layout().isProtected()) {
        Rows rows;
        if (ErrorState e = session.run(
                "SELECT 1 FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace WHERE "
                "n.nspname = $1 AND c.relname = 'tarvo_owners'",
                {textParam(schema.schema())}, &rows, "creating"))
            return e;
        if (rows.count() == 0) return success();
        return session.write("DELETE FROM " + table + " WHERE table_name = $1",
                             {textParam(schema.table())}, nullptr, "creating");
    }
    if (password.empty()) return refused(schema, "needs its owner password");
    if (ErrorState e = session.command(
            "CREATE TABLE IF NOT EXISTS " + table +
                " (table_name text PRIMARY KEY, salt bytea NOT NULL, verifier bytea NOT NULL)",
            "creating"))
        return e;
    if (ErrorState e = session.write("DELETE FROM " + table + " WHERE table_name = $1",
                                     {textParam(schema.table())}, nullptr, "creating"))
        return e;
    const std::string salt = randomSalt();
    return session.write(
        "INSERT INTO " + table + " (table_name, salt, verifier) VALUES ($1, $2, $3)",
        {textParam(schema.table()), bytesParam(salt), bytesParam(verifierOf(password, salt))},
        nullptr, "creating");
}

}  // namespace storage::postgres
