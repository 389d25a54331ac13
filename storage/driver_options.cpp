#include "storage/driver_options.h"

#include "storage/record_layout.h"

#include <charconv>
#include <cstdlib>
#include <mutex>
#include <string>

namespace storage {

namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::mutex& defaultsMutex() {
    static std::mutex m;
    return m;
}

DriverOptions fromEnvironment() {
    DriverOptions options;
    if (const char* list = std::getenv("TARVO_STORAGE_OPTIONS")) applyDriverOptions(options, list);
    return options;
}

DriverOptions& defaults() {
    static DriverOptions options = fromEnvironment();
    return options;
}

}  // namespace

bool applyDriverOption(DriverOptions& options, std::string_view option) {
    const std::size_t eq = option.find('=');
    if (eq == std::string_view::npos) return false;
    const std::string name = upperAsciiName(trim(option.substr(0, eq)));
    const std::string value = upperAsciiName(trim(option.substr(eq + 1)));
    if (name == "RECOVER") {
        double seconds = 0;
        auto res = std::from_chars(value.data(), value.data() + value.size(), seconds);
        if (res.ec != std::errc() || res.ptr != value.data() + value.size() ||
            !(seconds >= 0))  // negative, or not a number
            return false;
        options.busyWaitMs = seconds * 1000.0 >= kMaxBusyWaitMs
                                 ? kMaxBusyWaitMs
                                 : static_cast<int>(seconds * 1000.0 + 0.5);
        return true;
    }
    if (name == "JOURNAL") {
        if (value == "WAL")
            options.journal = JournalMode::Wal;
        else if (value == "ROLLBACK" || value == "DELETE")
            options.journal = JournalMode::Rollback;
        else
            return false;
        return true;
    }
    if (name == "SYNC") {
        if (value == "NORMAL")
            options.sync = SyncMode::Normal;
        else if (value == "FULL")
            options.sync = SyncMode::Full;
        else
            return false;
        return true;
    }
    return false;
}

bool applyDriverOptions(DriverOptions& options, std::string_view list) {
    bool all = true;
    while (!list.empty()) {
        const std::size_t end = list.find(';');
        const std::string_view one = trim(list.substr(0, end));
        if (!one.empty() && !applyDriverOption(options, one)) all = false;
        if (end == std::string_view::npos) break;
        list.remove_prefix(end + 1);
    }
    return all;
}

DriverOptions defaultDriverOptions() {
    std::lock_guard lock(defaultsMutex());
    return defaults();
}

bool setDefaultDriverOption(std::string_view option) {
    std::lock_guard lock(defaultsMutex());
    return applyDriverOption(defaults(), option);
}

void resetDefaultDriverOptions() {
    std::lock_guard lock(defaultsMutex());
    defaults() = fromEnvironment();
}

}  // namespace storage
