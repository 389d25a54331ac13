// Errors of the database server as storage errors, by SQLSTATE:
//   23505 unique violation                       40
//   42P01 undefined table                         2
//   55P03 lock not available, 40P01 deadlock     32 (the wait for another station ran out)
//   XX001 data corrupted, XX002 index corrupted  46
//   anything else                                90
// The driver code is PostgreSQL's own number for the SQLSTATE (six bits a
// character, as the server packs it) and the driver text begins with the SQLSTATE,
// so "(23505)" style states can be looked up in the server's documentation.
#pragma once

#include "storage/errors.h"

#include <string>
#include <string_view>

struct pg_result;

namespace storage::postgres {

// A message of the server or of libpq on one line, for the error texts.
std::string oneLine(std::string_view message);

// The server's numeric code of a five-character SQLSTATE; 0 for anything else.
int sqlstateCode(std::string_view sqlstate);

// The storage error of a SQLSTATE and the server's message.
ErrorState errorFromState(std::string_view sqlstate, std::string_view message,
                          std::string_view doing = {});
// The storage error of a failed result (`result` may be null: then `fallback` is
// the message, the connection's).
ErrorState errorFromResult(const pg_result* result, std::string_view fallback,
                           std::string_view doing = {});

}  // namespace storage::postgres
