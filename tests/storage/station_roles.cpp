// What a second station does, by role:
//   rewrite <disk name> <code> <name>   reads currency <code>, renames it, puts it;
//                                       prints the result code
//   hold <disk name> write|alone <recover seconds>
//                                       opens (alone: deny all) and, for write, starts a
//                                       transaction; prints the result code, waits for
//                                       a line, ends the transaction, closes, prints "released"
//   addrate <disk name> <currency> <number>
//                                       adds a rate of the currency; prints the result code
//   number <disk name> <count> <station>
//                                       adds <count> currencies, each numbered with the
//                                       highest code + 1 and retried on 40; prints
//                                       "done <retries>" or the failing code
#include "tests/storage/station.h"

#include "storage/data_file.h"
#include "tests/storage/test_layouts.h"

#include <iostream>
#include <string>

namespace storage_tests {

namespace {

int say(const std::string& line) {
    std::cout << line << std::endl;
    return 0;
}

int rewrite(const std::string& disk, int wanted, const std::string& name) {
    storage::DataFile f(currencyLayout());
    f.setName(disk);
    if (int rc = f.open()) {
        say(std::to_string(rc));
        return 1;
    }
    setCurrency(f.record(), wanted, "");
    if (int rc = f.get(*currencyLayout().key("CODE_KEY"))) {
        say(std::to_string(rc));
        return 1;
    }
    f.record().setValue("NAME", name);
    say(std::to_string(f.put()));
    return 0;
}

int hold(const std::string& disk, const std::string& how, const std::string& recover) {
    storage::DataFile f(currencyLayout());
    f.setName(disk);
    f.sendOption("Recover=" + recover);
    int rc = f.open(how == "alone" ? 0x12 : storage::kOpenReadWriteShared);
    if (rc == 0 && how == "write") rc = f.begin();
    say(std::to_string(rc));
    std::string line;
    std::getline(std::cin, line);
    f.commit();
    f.close();
    return say("released");
}

int addRate(const std::string& disk, const std::string& currency, int number) {
    storage::DataFile f(rateLayout());
    f.setName(disk);
    int rc = f.open();
    if (rc == 0) {
        setRate(f.record(), currency, number, 1000 + number);
        rc = f.add();
    }
    return say(std::to_string(rc));
}

int number(const std::string& disk, int count, const std::string& station) {
    storage::DataFile f(currencyLayout());
    f.setName(disk);
    f.sendOption("Recover=30");
    if (int rc = f.open()) {
        say(std::to_string(rc));
        return 1;
    }
    const auto& key = *currencyLayout().key("CODE_KEY");
    int retries = 0;
    for (int i = 0; i < count; ++i) {
        for (;;) {
            f.set(key);
            const int rc = f.previous();
            if (rc != 0 && rc != 33) {
                say("read " + std::to_string(rc) + " " + f.driverErrorText());
                return 1;
            }
            const std::int64_t next = rc == 33 ? 1 : code(f.record()) + 1;
            setCurrency(f.record(), static_cast<int>(next), "N" + std::to_string(next));
            f.record().setValue("NOTE", station);
            const int added = f.add();
            if (added == 0) break;
            if (added != 40) {
                say("add " + std::to_string(added) + " " + f.driverErrorText());
                return 1;
            }
            ++retries;
        }
    }
    return say("done " + std::to_string(retries));
}

}  // namespace

int runStation(int argc, char** argv) {
    const std::vector<std::string> a(argv, argv + argc);
    if (a.size() == 4 && a[0] == "rewrite") return rewrite(a[1], std::stoi(a[2]), a[3]);
    if (a.size() == 4 && a[0] == "hold") return hold(a[1], a[2], a[3]);
    if (a.size() == 4 && a[0] == "addrate") return addRate(a[1], a[2], std::stoi(a[3]));
    if (a.size() == 4 && a[0] == "number") return number(a[1], std::stoi(a[2]), a[3]);
    std::cerr << "unknown station role\n";
    return 2;
}

}  // namespace storage_tests
