// Shared by the tests of the currency book and the rate history: the program's
// own Valut and Kurs files in a temporary folder, a fixed date and time, fake list
// and form windows (the currency form's window shows its rate list), and the
// records as stored.
#pragma once

#include "browse_fixture.h"
#include "form_fixture.h"

#include "framework/browse/browse_engine.h"
#include "platform/dates.h"
#include "refbooks/c_kurs.h"
#include "refbooks/c_valut.h"
#include "refbooks/ref_files.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace rate_book_tests {

using browse_tests::FakeListView;
using form_tests::FakeFormView;
using framework::browse::BrowseEngine;
using framework::form::FormEngine;
using platform::ru;

// A form window that also shows the lists inside the form.
class BookFormView : public FakeFormView {
public:
    FakeListView rates;
    bool showsLists = true;
    framework::browse::BrowseView* listView(int) override { return showsLists ? &rates : nullptr; }
};

// A stored rate entry, as the tests look at it.
struct Rate {
    std::string valut;
    int number = 0;
    std::int32_t date = 0;
    std::int32_t time = 0;
    double bank = 0, wholesale = 0, retail = 0;
    std::string weekday;
};

class RateBookTest : public ::testing::Test {
protected:
    RateBookTest() {
        std::filesystem::create_directories(folder.path() / "Dat");
        valut.setName(".\\Dat\\Valut");
        kurs.setName(".\\Dat\\KursVal");
        platform::setTestNow(kSunday, platform::clockValue(10, 30, 0));
        framework::setRightsCheck([this](const std::string& designation) {
            asked.push_back(designation);
            return rights;
        });
        framework::setHelpOpener([this](const std::string& topic) { help.push_back(topic); });
    }
    ~RateBookTest() override {
        list.reset();
        for (storage::DataFile* file : {&valut, &kurs})
            while (framework::userCount(*file) > 0) framework::releaseFile(*file);
        platform::clearTestNow();
        framework::setRightsCheck({});
        framework::setHelpOpener({});
        framework::form::forgetDittoRecords();
        framework::clearSavedError();
        framework::globalRequest() = framework::globalResponse() = framework::vcrRequest() = 0;
    }

    void addCurrency(int code, const std::string& designation, double bank = 0,
                     double wholesale = 0, double retail = 0) {
        framework::FileUse use(valut);
        storage::Record& r = valut.record();
        r.clear();
        r.setValue("VAL:COD", std::to_string(code));
        r.setValue("VAL:OBOZN", designation);
        r.setValue("VAL:NAME", "Name of " + designation);
        setReal(r, "VAL:KURSBANKA", bank);
        setReal(r, "VAL:KURS", wholesale);
        setReal(r, "VAL:KURSCASH", retail);
        setReal(r, "VAL:PROCENT1", 1.5 * code);
        ASSERT_EQ(valut.add(), 0) << valut.driverErrorText();
    }
    void addRate(const std::string& designation, int number, std::int32_t date, double bank = 0) {
        framework::FileUse use(kurs);
        storage::Record& r = kurs.record();
        r.clear();
        r.setValue("KUR:VALUT", designation);
        r.setValue("KUR:NUMBER", std::to_string(number));
        r.setValue("KUR:DATE", std::to_string(date));
        setReal(r, "KUR:KURSCB", bank);
        ASSERT_EQ(kurs.add(), 0) << kurs.driverErrorText();
    }

    // What a list does before it hands a currency to its form: holds the file and
    // re-reads the record with the watch armed.
    void pickCurrency(const std::string& designation) {
        if (framework::userCount(valut) == 0) framework::useFile(valut);  // released at the end
        valut.record().clear();
        valut.record().setValue("VAL:OBOZN", designation);
        valut.watch();
        ASSERT_EQ(valut.get(*valut.layout().key("OBOZN_KEY")), 0);
    }

    // Runs a form as a list calls it; returns GlobalResponse.
    int run(const framework::form::FormDefinition& form, int request) {
        framework::globalRequest() = request;
        framework::vcrRequest() = 0;
        return framework::form::runForm(form, view);
    }

    // The user types into an entry and leaves it.
    void accept(FormEngine& engine, int entry, const std::string& text) {
        const auto* field = engine.definition().fieldOfEntry(entry);
        ASSERT_NE(field, nullptr);
        ASSERT_TRUE(framework::form::storeEntry(engine.record(), *field, text)) << text;
        engine.entryAccepted(entry);
    }
    // An entry as the form shows it, without padding.
    std::string shown(FormEngine& engine, int entry) {
        std::string text = framework::form::entryText(engine.record(), *engine.definition().fieldOfEntry(entry));
        const auto begin = text.find_first_not_of(' ');
        return begin == std::string::npos ? std::string() : text.substr(begin);
    }

    // The stored rate entries, in KUR:VALUT_KEY order (designation, date).
    std::vector<Rate> rates() {
        storage::DataFile other(kurs.layout());
        other.setName(kurs.name());
        std::vector<Rate> result;
        if (other.open() != 0) return result;
        other.set(*kurs.layout().key("VALUT_KEY"));
        while (other.next() == 0) {
            const storage::Record& r = other.record();
            result.push_back({std::string(platform::clip(*r.value("KUR:VALUT"))),
                              static_cast<int>(r.getInt(index(r, "KUR:NUMBER"))),
                              static_cast<std::int32_t>(r.getInt(index(r, "KUR:DATE"))),
                              static_cast<std::int32_t>(r.getInt(index(r, "KUR:TIME"))),
                              real(r, "KUR:KURSCB"), real(r, "KUR:KURS"), real(r, "KUR:KURSCASH"),
                              std::string(platform::clip(*r.value("KUR:WEEKDAY")))});
        }
        return result;
    }
    std::optional<storage::Record> storedCurrency(int code) {
        storage::DataFile other(valut.layout());
        other.setName(valut.name());
        if (other.open() != 0) return std::nullopt;
        other.record().setValue("VAL:COD", std::to_string(code));
        if (other.get(*valut.layout().key("CODE_KEY")) != 0) return std::nullopt;
        return other.record();
    }

    static std::size_t index(const storage::Record& r, const char* name) {
        return static_cast<std::size_t>(r.layout().fieldIndex(name));
    }
    static double real(const storage::Record& r, const char* name) { return r.getReal(index(r, name)); }
    static void setReal(storage::Record& r, const char* name, double value) {
        r.setReal(index(r, name), value);
    }

    // Opens a list over the book's definition and handles its open event.
    BrowseEngine& start(framework::browse::BrowseDefinition definition) {
        list = std::make_unique<BrowseEngine>(std::move(definition), listView);
        if (list->open()) {
            list->windowOpened();
            listView.pump(*list);
        }
        return *list;
    }
    // A column of the list's page, without padding.
    std::vector<std::string> column(const FakeListView& v, std::size_t c) const {
        std::vector<std::string> out;
        for (const auto& row : v.shown) {
            const std::string& text = row.at(c);
            const auto begin = text.find_first_not_of(' ');
            out.push_back(begin == std::string::npos ? std::string()
                                                     : std::string(platform::clip(text.substr(begin))));
        }
        return out;
    }
    const platform::MessageBoxRequest& box(std::size_t i) { return services->shown.at(i); }

    // 5 January 2025, a Sunday, and the day after.
    const std::int32_t kSunday = platform::dayNumber(2025, 1, 5);
    const std::int32_t kMonday = kSunday + 1;

    testing_support::TempFolder folder;
    platform::ScopedScriptedServices services;
    storage::DataFile& valut = refbooks::referenceFiles().valut;
    storage::DataFile& kurs = refbooks::referenceFiles().kurs;
    BookFormView view;
    FakeListView listView;
    std::unique_ptr<BrowseEngine> list;
    std::int16_t rights = 0;
    std::vector<std::string> asked;
    std::vector<std::string> help;
};

}  // namespace rate_book_tests
