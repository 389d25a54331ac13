#include "storage/postgres/pg_errors.h"

#include <libpq-fe.h>

namespace storage::postgres {

std::string oneLine(std::string_view message) {
    std::string out;
    bool blank = false;
    for (char c : message) {
        if (c == '\n' || c == '\t' || c == '\r' || c == ' ') {
            blank = !out.empty();
            continue;
        }
        if (blank) out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

int sqlstateCode(std::string_view sqlstate) {
    if (sqlstate.size() != 5) return 0;
    int code = 0;
    for (std::size_t i = 0; i < 5; ++i) code += ((sqlstate[i] - '0') & 0x3F) << (6 * i);
    return code;
}

ErrorState errorFromState(std::string_view sqlstate, std::string_view message,
                          std::string_view doing) {
    std::string text;
    if (!doing.empty()) text = std::string(doing) + ": ";
    if (!sqlstate.empty()) text += std::string(sqlstate) + ": ";
    text += oneLine(message);
    const int driverCode = sqlstateCode(sqlstate);
    if (sqlstate == "23505") return failure(error::kDuplicateKey, driverCode, std::move(text));
    if (sqlstate == "42P01") return failure(error::kFileNotFound, driverCode, std::move(text));
    if (sqlstate == "55P03" || sqlstate == "40P01")
        return failure(error::kFileLocked, driverCode, std::move(text));
    if (sqlstate == "XX001" || sqlstate == "XX002")
        return failure(error::kKeyFileInvalid, driverCode, std::move(text));
    return driverFailure(driverCode, std::move(text));
}

ErrorState errorFromResult(const pg_result* result, std::string_view fallback,
                           std::string_view doing) {
    if (!result) return errorFromState("08006", fallback, doing);
    const char* state = PQresultErrorField(result, PG_DIAG_SQLSTATE);
    const char* message = PQresultErrorMessage(result);
    std::string_view text = message && *message ? std::string_view(message) : fallback;
    // libpq's own failures (a lost connection) carry no SQLSTATE.
    return errorFromState(state ? std::string_view(state) : std::string_view("08006"), text, doing);
}

}  // namespace storage::postgres
