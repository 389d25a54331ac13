// The owner password of protected files on the server. The data itself is
// protected by the database's access control (only the suite's role is granted
// the tables); the engine still asks for the owner password, as it does on the
// embedded backend, so a protected file never opens without it. A table of the
// schema, "tarvo_owners", keeps per protected table a random salt and a
// PBKDF2-HMAC-SHA1 verifier of the password, never the password itself.
//
//   protected layout, verifier matches                opens
//   protected layout, no password / another password  90
//   protected layout over a table without an owner    90 (never used unprotected)
//   plain layout over a table that has an owner       90
#pragma once

#include "storage/errors.h"
#include "storage/postgres/schema.h"
#include "storage/postgres/session.h"

#include <string_view>

namespace storage::postgres {

ErrorState checkOwner(Session& session, const TableSchema& schema, bool ownersTableExists,
                      std::string_view password);
// Records the owner of a table being created (or forgets it for a plain layout).
// Runs inside the creating transaction.
ErrorState recordOwner(Session& session, const TableSchema& schema, std::string_view password);

}  // namespace storage::postgres
