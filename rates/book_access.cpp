#include "rates/book_access.h"

#include "platform/cp1251.h"
#include "platform/dates.h"
#include "refbooks/c_kurs.h"
#include "storage/data_file.h"

#include <limits>

namespace rates::book {

namespace {

constexpr const char* kRateFields[] = {"VAL:KURSBANKA", "VAL:KURS", "VAL:KURSCASH"};
constexpr const char* kEntryFields[] = {"KUR:KURSCB", "KUR:KURS", "KUR:KURSCASH"};
constexpr int kHighestNumber = 65535;

double real(const storage::Record& record, const char* name) {
    return record.getReal(record.layout().indexOf(name));
}

void setReal(storage::Record& record, const char* name, double value) {
    record.setReal(record.layout().indexOf(name), value);
}

bool sameDesignation(const std::string& a, const std::string& b) {
    return platform::upper(platform::clip(a)) == platform::upper(platform::clip(b));
}

// Whether the designation has an entry with this number: 0 / 35 / an error.
int numberTaken(storage::DataFile& kurs, const std::string& designation, int number) {
    storage::Record& entry = kurs.record();
    entry.clear();
    entry.setText("KUR:VALUT", designation);
    entry.setInt("KUR:NUMBER", number);
    return kurs.get(*kurs.layout().key("VALUTNUMBER_KEY"));
}

// The highest number the designation's entries have, 0 without one.
int highestNumber(storage::DataFile& kurs, const std::string& designation, int& number) {
    number = 0;
    const int last = numberTaken(kurs, designation, kHighestNumber);
    if (last == storage::error::kNone) number = kHighestNumber;
    if (last != storage::error::kRecordNotFound) return last;
    // The entry before the highest number possible.
    storage::Record& entry = kurs.record();
    entry.clear();
    entry.setText("KUR:VALUT", designation);
    entry.setInt("KUR:NUMBER", kHighestNumber);
    int code = kurs.setToValue(*kurs.layout().key("VALUTNUMBER_KEY"));
    if (code == storage::error::kNone) code = kurs.previous();
    if (code == storage::error::kRecordNotAvailable) return storage::error::kNone;
    if (code != storage::error::kNone) return code;
    if (sameDesignation(entry.getText("KUR:VALUT"), designation))
        number = static_cast<int>(entry.getInt("KUR:NUMBER"));
    return storage::error::kNone;
}

}  // namespace

int readCurrencies(storage::DataFile& valut, storage::DataFile& kurs,
                   std::vector<BookCurrency>& currencies) {
    currencies.clear();
    int code = valut.set();
    while (code == storage::error::kNone && (code = valut.next()) == storage::error::kNone) {
        const storage::Record& record = valut.record();
        currencies.push_back({record.getText("VAL:OBOZN"),
                              std::string(platform::clip(record.getText("VAL:NAME"))),
                              real(record, "VAL:KURSBANKA"), 0});
    }
    if (code != storage::error::kRecordNotAvailable) return code;
    for (BookCurrency& currency : currencies) {
        int number = 0;
        if (int failed = latestEntry(kurs, currency.designation, currency.latestEntry, number))
            return failed;
    }
    return storage::error::kNone;
}

int latestEntry(storage::DataFile& kurs, const std::string& designation, std::int32_t& date,
                int& number) {
    date = 0;
    number = 0;
    storage::Record& entry = kurs.record();
    entry.clear();
    entry.setText("KUR:VALUT", designation);
    entry.setInt("KUR:DATE", std::numeric_limits<std::int32_t>::max());
    int code = kurs.setToValue(*kurs.layout().key("VALUT_KEY"));
    if (code == storage::error::kNone) code = kurs.previous();
    if (code == storage::error::kRecordNotAvailable) return storage::error::kNone;
    if (code != storage::error::kNone) return code;
    if (!sameDesignation(entry.getText("KUR:VALUT"), designation)) return storage::error::kNone;
    date = static_cast<std::int32_t>(entry.getInt("KUR:DATE"));
    number = static_cast<int>(entry.getInt("KUR:NUMBER"));
    return storage::error::kNone;
}

int readCurrency(storage::DataFile& valut, const std::string& designation) {
    valut.record().clear();
    valut.record().setText("VAL:OBOZN", designation);
    valut.watch();
    return valut.get(*valut.layout().key("OBOZN_KEY"));
}

int writeEntry(storage::DataFile& kurs, const std::string& designation, std::int32_t date,
               const storage::Record& rates, bool daily) {
    storage::Record& entry = kurs.record();
    auto stamp = [&] {
        entry.setInt("KUR:TIME", platform::clock());
        for (int i = 0; i < 3; ++i) setReal(entry, kEntryFields[i], real(rates, kRateFields[i]));
    };
    entry.clear();
    entry.setText("KUR:VALUT", designation);
    entry.setInt("KUR:DATE", date);
    const int found = kurs.get(*kurs.layout().key("VALUT_KEY"));
    if (found == storage::error::kNone) {
        stamp();
        return kurs.put();
    }
    if (found != storage::error::kRecordNotFound) return found;

    int number = 0;
    if (daily) {
        std::int32_t latest = 0;
        if (int code = latestEntry(kurs, designation, latest, number)) return code;
        ++number;
        const int taken = numberTaken(kurs, designation, number);
        if (taken == storage::error::kNone) number = 0;  // out of order: after the highest
        else if (taken != storage::error::kRecordNotFound) return taken;
    }
    if (number == 0) {
        if (int code = highestNumber(kurs, designation, number)) return code;
        ++number;
    }
    entry.clear();
    entry.setText("KUR:VALUT", designation);
    entry.setInt("KUR:DATE", date);
    if (number > kHighestNumber) {
        // The numbers of the currency's entries are used up: the add fails as a
        // duplicate of the highest one.
        number = kHighestNumber;
    }
    entry.setInt("KUR:NUMBER", number);
    stamp();
    refbooks::setWeekday(entry);
    kurs.clearCurrent();
    return kurs.add();
}

void copyRates(const storage::Record& from, storage::Record& to) {
    for (const char* name : kRateFields) setReal(to, name, real(from, name));
}

bool sameRates(const storage::Record& a, const storage::Record& b) {
    for (const char* name : kRateFields)
        if (real(a, name) != real(b, name)) return false;
    return true;
}

std::string failure(const storage::DataFile& file) {
    std::string text = file.label() + ": " + file.errorText() + " (" +
                       std::to_string(file.errorCode()) + ")";
    if (!file.driverErrorText().empty()) text += " " + file.driverErrorText();
    return text;
}

}  // namespace rates::book
