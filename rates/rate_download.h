// Fetching a rates file from the address the operator or TARVO.INI gives: only
// http:// and https://, at most 1 MB, abandoned when the server does not answer
// within the timeout. Needs a Qt application object; runs its own event loop.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace rates {

struct Download {
    std::string bytes;
    std::string error;  // empty after a complete answer
    bool cancelled = false;
};

// `progress(received, total)` (total -1 while unknown) is called as bytes arrive
// and every few hundred milliseconds; false cancels.
Download download(const std::string& address, int timeoutMs,
                  const std::function<bool(long long received, long long total)>& progress = {});

// TARVO.INI, section "Rates": the address ("URL", empty when none is kept) with
// "{date}" replaced by the day as DD/MM/YYYY, and the timeout ("Timeout" in
// seconds, 15 by default).
std::string configuredAddress(std::int32_t date);
std::string addressForDate(const std::string& pattern, std::int32_t date);
int downloadTimeoutMs();

// Whether the text is an address to download rather than a file path.
bool isAddress(const std::string& source);

}  // namespace rates
