#include "rates/rate_loading.h"

#include "framework/file_access.h"
#include "framework/shared_state.h"
#include "platform/cp1251.h"
#include "platform/ini_file.h"
#include "rates/book_access.h"
#include "refbooks/c_valut_rates.h"
#include "refbooks/ref_files.h"
#include "storage/data_file.h"

#include <algorithm>
#include <map>

namespace rates {

namespace {

using storage::DataFile;
using storage::Record;

// The held pair of a currency whose history is written and whose current rates
// are not yet: its rates before, and the record to write.
constexpr const char* kHeldBefore = "Valut/before";
constexpr const char* kHeldAfter = "Valut/after";

std::string say(std::string_view utf8) { return platform::ru(utf8); }

std::function<void()>& afterHistoryCommitted() {
    static std::function<void()> hook;
    return hook;
}

// Takes the two files into use for the lifetime of the object and puts their
// buffers and current records back afterwards: a list window of the same
// program may be showing them.
class BookUse {
public:
    BookUse() {
        for (DataFile* file : {&files().valut, &files().kurs}) {
            if (!framework::tryUseFile(*file)) {
                error_ = say("Файл не открыт: ") + book::failure(*file);
                return;
            }
            used_.push_back({file, file->record(), file->current()});
        }
    }
    ~BookUse() {
        for (Saved& saved : used_) {
            saved.file->record() = saved.record;
            saved.file->restoreCurrent(saved.current);
            framework::releaseFile(*saved.file);
        }
    }
    BookUse(const BookUse&) = delete;
    BookUse& operator=(const BookUse&) = delete;
    const std::string& error() const { return error_; }
    static refbooks::ReferenceFiles& files() { return refbooks::referenceFiles(); }

private:
    struct Saved {
        DataFile* file;
        Record record;
        DataFile::Current current;
    };
    std::vector<Saved> used_;
    std::string error_;
};

// What a load writes for one currency.
struct CurrencyWrite {
    std::string designation;
    std::vector<const MatchedRate*> days;  // by date
};

std::vector<CurrencyWrite> byCurrency(const Matching& matching) {
    std::vector<CurrencyWrite> writes;
    for (const MatchedRate& rate : matching.rates) {
        auto same = std::find_if(writes.begin(), writes.end(), [&](const CurrencyWrite& write) {
            return currencyKey(write.designation) == currencyKey(rate.designation);
        });
        if (same == writes.end()) same = writes.insert(writes.end(), {rate.designation, {}});
        same->days.push_back(&rate);
    }
    for (CurrencyWrite& write : writes)
        std::stable_sort(write.days.begin(), write.days.end(),
                         [](const MatchedRate* a, const MatchedRate* b) { return a->date < b->date; });
    return writes;
}

// A currency's current rates to change, once the history is written.
struct CurrentChange {
    Record before;
    Record after;
};

// The rates of `currency` with this bank rate and the others derived from it.
Record derived(const Record& currency, double bank) {
    Record rates = currency;
    rates.setReal(rates.layout().indexOf("VAL:KURSBANKA"), bank);
    refbooks::deriveBothRates(rates);
    return rates;
}

double real(const Record& record, const char* name) { return record.getReal(record.layout().indexOf(name)); }

// Puts each change's rates into its currency, the currency unchanged since
// `before` (watched on PostgreSQL, locked on SQLite). 0 or the error code.
int changeCurrencies(DataFile& valut, const std::vector<CurrentChange>& changes, std::string& error) {
    for (const CurrentChange& change : changes) {
        const std::string designation = change.before.getText("VAL:OBOZN");
        const int code = book::readCurrency(valut, designation);
        if (code == storage::error::kNone && !book::sameRates(valut.record(), change.before)) {
            error = say("Валюта ") + std::string(platform::clip(designation)) +
                    say(" изменена с другой станции во время загрузки");
            return storage::error::kChangedByAnotherStation;
        }
        if (code != storage::error::kNone) return code;
        book::copyRates(change.after, valut.record());
        if (int failed = valut.put()) return failed;
    }
    return storage::error::kNone;
}

LoadOutcome failed(DataFile& valut, DataFile& kurs, DataFile& culprit, const std::string& why = {}) {
    const std::string reason = why.empty() ? book::failure(culprit) : why;
    valut.abandon();
    kurs.abandon();
    return {{}, say("Курсы не записаны, справочник не изменён: ") + reason};
}

}  // namespace

std::string loadRefusal() {
    for (const char* object : {"Valut", "Kurs"}) {
        const std::int16_t mask = framework::rightsOf(object);
        if (mask & 1) return say("Доступ запрещен !");
        if (mask & 2) return say("Добавленение запрещено");
        if (mask & 4) return say("Изменение запрещено");
    }
    return {};
}

std::string bookBaseCurrency() {
    const std::string base = platform::readIni("Rates", "Base", say("Руб"), ".\\TARVO.INI");
    return platform::clip(base).empty() ? say("Руб") : base;
}

std::vector<BookCurrency> readBook(std::string& error) {
    std::vector<BookCurrency> currencies;
    BookUse use;
    error = use.error();
    if (!error.empty()) return {};
    DataFile& valut = BookUse::files().valut;
    DataFile& kurs = BookUse::files().kurs;
    if (book::readCurrencies(valut, kurs, currencies) != 0)
        error = say("Справочник валют не прочитан: ") + book::failure(valut.errorCode() != 0 ? valut : kurs);
    return currencies;
}

LoadPreview previewLoad(const RateSheet& sheet, std::string_view periodCurrency) {
    LoadPreview preview{sheet, {}};
    preview.matching.error = loadRefusal();
    if (!preview.matching.error.empty()) return preview;
    const std::vector<BookCurrency> currencies = readBook(preview.matching.error);
    if (!preview.matching.error.empty()) return preview;
    preview.matching = sheet.kind == SheetKind::Daily
                           ? matchDaily(sheet, currencies, bookBaseCurrency())
                           : matchPeriod(sheet, currencies, bookBaseCurrency(), periodCurrency);
    return preview;
}

LoadOutcome applyLoad(const LoadPreview& preview) {
    if (!preview.matching.error.empty()) return {{}, preview.matching.error};
    if (std::string refusal = loadRefusal(); !refusal.empty()) return {{}, refusal};
    BookUse use;
    if (!use.error().empty()) return {{}, use.error()};
    DataFile& valut = BookUse::files().valut;
    DataFile& kurs = BookUse::files().kurs;
    const bool daily = preview.sheet.kind == SheetKind::Daily;
    const bool together = valut.sharesTransactionWith(kurs);

    // Valut first: on SQLite its write lock is held from here to the end, so the
    // currencies cannot change between the history's commit and their own.
    if (valut.begin() != 0) return failed(valut, kurs, valut);
    if (kurs.begin() != 0) return failed(valut, kurs, kurs);
    LoadOutcome outcome;
    std::vector<CurrentChange> changes;
    for (const CurrencyWrite& write : byCurrency(preview.matching)) {
        const std::string shown(platform::clip(write.designation));
        const int read = book::readCurrency(valut, write.designation);
        if (read == storage::error::kRecordNotFound)
            return failed(valut, kurs, valut, say("валюта ") + shown + say(" удалена с другой станции"));
        if (read != 0) return failed(valut, kurs, valut);
        const Record before = valut.record();
        std::int32_t latest = 0;
        int number = 0;
        if (book::latestEntry(kurs, write.designation, latest, number) != 0)
            return failed(valut, kurs, kurs);
        for (const MatchedRate* day : write.days) {
            const Record rates = derived(before, day->rate);
            if (book::writeEntry(kurs, write.designation, day->date, rates, daily) != 0)
                return failed(valut, kurs, kurs, say("курс ") + shown + ", " + book::failure(kurs));
            const bool current = day == write.days.back() && day->date >= latest;
            outcome.written.push_back({shown, day->date, real(rates, "VAL:KURSBANKA"),
                                       real(rates, "VAL:KURS"), real(rates, "VAL:KURSCASH"), current});
            if (current) changes.push_back({before, rates});
        }
    }

    std::string why;
    if (together) {
        if (changeCurrencies(valut, changes, why) != 0) return failed(valut, kurs, valut, why);
        if (valut.commit() != 0 || kurs.commit() != 0) return failed(valut, kurs, valut);
        return outcome;
    }
    // Separate files: the currencies' changes are held in the history's file in
    // its transaction; a process killed after that commit leaves them for the
    // next opening of the history (installHeldRatesCompletion).
    std::vector<std::int64_t> held;
    for (const CurrentChange& change : changes)
        for (const auto& [target, record] : {std::pair{kHeldBefore, &change.before},
                                             std::pair{kHeldAfter, &change.after}}) {
            std::int64_t id = 0;
            if (kurs.holdEntry(target, *record, id) != 0) return failed(valut, kurs, kurs);
            held.push_back(id);
        }
    if (kurs.commit() != 0) return failed(valut, kurs, kurs);
    if (afterHistoryCommitted()) afterHistoryCommitted()();
    if (changeCurrencies(valut, changes, why) != 0 || valut.commit() != 0) {
        const std::string reason = why.empty() ? book::failure(valut) : why;
        valut.abandon();
        return {{}, say("История курсов записана, а текущие курсы валют — нет: ") + reason +
                        say(". Они будут записаны при следующем открытии истории курсов")};
    }
    for (const std::int64_t id : held) kurs.dropHeldEntry(id);  // left, it is found done next time
    return outcome;
}

void installHeldRatesCompletion() {
    framework::setOpenedHook(refbooks::referenceFiles().kurs, [](DataFile& kurs) {
        std::vector<storage::HeldEntry> before, after;
        if (kurs.heldEntries(kHeldBefore, before) != 0 || kurs.heldEntries(kHeldAfter, after) != 0 ||
            (before.empty() && after.empty()))
            return;
        DataFile& valut = refbooks::referenceFiles().valut;
        if (!framework::tryUseFile(valut)) return;  // tried again at the next opening
        const Record saved = valut.record();
        const DataFile::Current current = valut.current();
        std::vector<CurrentChange> changes;
        for (std::size_t i = 0; i < before.size() && i < after.size(); ++i) {
            CurrentChange change{Record(valut.layout()), Record(valut.layout())};
            if (before[i].bytes.size() != change.before.size() || after[i].bytes.size() != change.after.size())
                continue;
            change.before.assign(before[i].bytes);
            change.after.assign(after[i].bytes);
            changes.push_back(change);
        }
        std::string why;
        bool done = valut.begin() == 0;
        // A currency that another station changed since keeps that change; one
        // that has the rates already was completed before the held pair was dropped.
        std::vector<CurrentChange> pending;
        for (const CurrentChange& change : changes) {
            const int read = book::readCurrency(valut, change.before.getText("VAL:OBOZN"));
            if (done && read == storage::error::kNone && book::sameRates(valut.record(), change.before))
                pending.push_back(change);
            else if (read != storage::error::kNone && read != storage::error::kRecordNotFound)
                done = false;
        }
        done = done && changeCurrencies(valut, pending, why) == 0 && valut.commit() == 0;
        if (!done) valut.abandon();
        valut.record() = saved;
        valut.restoreCurrent(current);
        framework::releaseFile(valut);
        if (!done) return;
        for (const auto* list : {&before, &after})
            for (const storage::HeldEntry& entry : *list) kurs.dropHeldEntry(entry.id);
    });
}

void setAfterHistoryCommitted(std::function<void()> hook) { afterHistoryCommitted() = std::move(hook); }

}  // namespace rates
