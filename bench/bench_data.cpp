#include "bench/bench_data.h"

#include <cstdlib>

#include <fstream>
#include <sstream>

namespace bench {

const storage::RecordLayout& itemLayout() {
    static const storage::RecordLayout layout = [] {
        storage::RecordLayout l("Item", "ITM", "Item", ".\\Item");
        l.uint32("CODE")
            .string("NAME", 30)
            .real("PRICE")
            .decimal("AMOUNT")
            .cstring("NOTE", 41)
            .byte("FLAG");
        l.key("CODE_KEY", {"CODE"}, true, true);
        l.key("NAME_KEY", {"NAME"}, true);
        return l;
    }();
    return layout;
}

const storage::RecordLayout& numberedLayout() {
    static const storage::RecordLayout layout = [] {
        storage::RecordLayout l("Numbered", "NUM", "Numbered", ".\\Numbered");
        l.uint32("CODE").string("STATION", 4);
        l.key("CODE_KEY", {"CODE"}, true, true);
        return l;
    }();
    return layout;
}

std::string itemName(std::int64_t code) {
    std::uint64_t x = static_cast<std::uint64_t>(code) * 0x9E3779B97F4A7C15ull;
    std::string name;
    for (int i = 0; i < 6; ++i) {
        x ^= x >> 29;
        x *= 0xBF58476D1CE4E5B9ull;
        name += static_cast<char>('A' + (x >> 59) % 26);
    }
    return name + " " + std::to_string(code);
}

void setItem(storage::Record& r, std::int64_t code) {
    r.clear();
    r.setInt(0, code);
    r.setText(1, itemName(code));
    r.setReal(2, static_cast<double>(code % 1000) / 10.0);
    r.setDecimalCents(3, code * 7 % 100000);
    r.setText(4, "note " + std::to_string(code % 97));
    r.setInt(5, code % 2);
}

int buildItems(const std::string& diskName, std::int64_t count) {
    storage::DataFile f(itemLayout());
    f.setName(diskName);
    if (int rc = f.create()) return rc;
    if (int rc = f.open()) return rc;
    constexpr std::int64_t kBatch = 20000;
    for (std::int64_t first = 1; first <= count; first += kBatch) {
        if (int rc = f.begin()) return rc;
        for (std::int64_t code = first; code < first + kBatch && code <= count; ++code) {
            setItem(f.record(), code);
            if (int rc = f.add()) return rc;
        }
        if (int rc = f.commit()) return rc;
    }
    return 0;
}

std::int64_t residentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stoll(line.substr(6));
    return 0;
}

std::filesystem::path benchFolder(const std::string& name, bool& owned) {
    owned = false;
    if (const char* keep = std::getenv("TARVO_BENCH_DIR")) {
        std::filesystem::create_directories(keep);
        return keep;
    }
    std::string pattern = (std::filesystem::temp_directory_path() / ("tarvo-" + name + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) std::abort();
    owned = true;
    return pattern;
}

}  // namespace bench
