#include "refbooks/c_valut_rates.h"

#include "framework/file_access.h"
#include "framework/standard_messages.h"
#include "platform/dates.h"
#include "refbooks/c_kurs.h"
#include "refbooks/rate_fields.h"
#include "refbooks/ref_files.h"
#include "storage/data_file.h"

#include <cstdint>
#include <limits>

namespace refbooks {

namespace {

using namespace rates;

// The rates are floating values and are compared exactly: only a rate that is
// exactly 1 (or 0) skips the calculation.
double bankRate(const storage::Record& valut) { return real(valut, "VAL:KURSBANKA"); }

double fromPercent(double bank, double percent) { return bank * (percent / 100 + 1); }

// Rate entries belong to a designation as the keys compare it: without regard to
// letter case or trailing blanks.
bool sameDesignation(const std::string& a, const std::string& b) {
    return platform::upper(platform::clip(a)) == platform::upper(platform::clip(b));
}

// The current time and the currency's three rates into the entry.
void stampRates(storage::Record& entry, const storage::Record& valut) {
    entry.setInt(field(entry, "KUR:TIME"), platform::clock());
    setReal(entry, "KUR:KURSCB", real(valut, "VAL:KURSBANKA"));
    setReal(entry, "KUR:KURS", real(valut, "VAL:KURS"));
    setReal(entry, "KUR:KURSCASH", real(valut, "VAL:KURSCASH"));
}

// The number after the currency's latest-dated entry (1 when it has none), or 0
// after a read error, which is reported.
int numberAfterLatest(storage::DataFile& kurs, const storage::KeyDef& byDate,
                      const std::string& designation) {
    storage::Record& entry = kurs.record();
    entry.clear();
    entry.setValue("KUR:VALUT", designation);
    entry.setInt(field(entry, "KUR:DATE"), std::numeric_limits<std::int32_t>::max());
    int code = kurs.setToValue(byDate);
    if (code == storage::error::kNone) code = kurs.previous();
    if (code == storage::error::kRecordNotAvailable) return 1;
    if (code != storage::error::kNone) {
        framework::standardMessage(35, kurs.label(), kurs.lastError());
        return 0;
    }
    if (!sameDesignation(*entry.value("KUR:VALUT"), designation)) return 1;
    return static_cast<int>(entry.getInt(field(entry, "KUR:NUMBER"))) + 1;
}

}  // namespace

void deriveBothRates(storage::Record& valut) {
    const double bank = bankRate(valut);
    if (bank != 1) setReal(valut, "VAL:KURS", fromPercent(bank, real(valut, "VAL:PROCENT1")));
    if (real(valut, "VAL:KURS") != 1)
        setReal(valut, "VAL:KURSCASH", fromPercent(bank, real(valut, "VAL:PROCENT2")));
}

void deriveWholesaleRate(storage::Record& valut) {
    const double bank = bankRate(valut);
    if (bank != 1) setReal(valut, "VAL:KURS", fromPercent(bank, real(valut, "VAL:PROCENT1")));
}

void deriveRetailRate(storage::Record& valut) {
    const double bank = bankRate(valut);
    if (bank != 1) setReal(valut, "VAL:KURSCASH", fromPercent(bank, real(valut, "VAL:PROCENT2")));
}

void wholesalePercent(storage::Record& valut) {
    const double bank = bankRate(valut);
    if (bank != 0) setReal(valut, "VAL:PROCENT1", (real(valut, "VAL:KURS") / bank - 1) * 100);
}

void retailPercent(storage::Record& valut) {
    const double bank = bankRate(valut);
    if (bank != 0) setReal(valut, "VAL:PROCENT2", (real(valut, "VAL:KURSCASH") / bank - 1) * 100);
}

void writeDayRate() {
    storage::DataFile& kurs = referenceFiles().kurs;
    const storage::Record& valut = referenceFiles().valut.record();
    const std::string designation = *valut.value("VAL:OBOZN");
    const std::int32_t day = platform::today();
    const storage::KeyDef& byDate = *kurs.layout().key("VALUT_KEY");
    framework::FileUse use(kurs);
    storage::Record& entry = kurs.record();

    // Today's entry, when the currency has one already, takes the rates now.
    entry.clear();
    entry.setValue("KUR:VALUT", designation);
    entry.setInt(field(entry, "KUR:DATE"), day);
    const int found = kurs.get(byDate);
    if (found == storage::error::kNone) {
        stampRates(entry, valut);
        kurs.put();
        return;
    }
    if (found != storage::error::kRecordNotFound) {
        framework::standardMessage(35, kurs.label(), kurs.lastError());
        return;
    }

    const int number = numberAfterLatest(kurs, byDate, designation);
    if (number == 0) return;
    entry.clear();
    entry.setValue("KUR:VALUT", designation);
    entry.setInt(field(entry, "KUR:DATE"), day);
    entry.setInt(field(entry, "KUR:NUMBER"), number);
    stampRates(entry, valut);
    setWeekday(entry);
    kurs.clearCurrent();
    kurs.add();
}

}  // namespace refbooks
