#include "tests/storage/test_layouts.h"

#include "platform/cp1251.h"

#include <string>

namespace storage_tests {

using storage::RecordLayout;

const RecordLayout& currencyLayout() {
    static const RecordLayout layout = [] {
        RecordLayout l("Curr", "CUR", "Curr", ".\\dat\\Curr");
        l.uint16("COD")
            .string("OBOZN", 4)
            .string("NAME", 30)
            .byte("CREDIT")
            .real("RATE")
            .decimal("AMOUNT")
            .cstring("NOTE", 21)
            .reservedByte()
            .int32("DAY");
        l.key("CODE_KEY", {"COD"}, true, true);
        l.key("OBOZN_KEY", {"OBOZN"}, true);
        return l;
    }();
    return layout;
}

const RecordLayout& otherCurrencyLayout() {
    static const RecordLayout layout = [] {
        RecordLayout l("Curr", "CUR", "Curr", ".\\dat\\Curr");
        l.uint16("COD").string("OBOZN", 4).real("NAME");
        l.key("CODE_KEY", {"COD"}, true, true);
        return l;
    }();
    return layout;
}

namespace {

RecordLayout personFields(std::string label, std::string prefix, bool isProtected) {
    RecordLayout l(label, prefix, label, ".\\dat\\" + label, isProtected);
    l.uint16("SCODE").string("LNAME", 25).string("FNAME", 40).uint16("OTD_ID").decimal("SALARY");
    l.key("SCODE_KEY", {"SCODE"}, true, true);
    l.key("NAME_KEY", {"LNAME"}, false);
    l.key("OTD_KEY", {"OTD_ID", "LNAME"}, false);
    return l;
}

}  // namespace

const RecordLayout& personLayout() {
    static const RecordLayout layout = personFields("Pers", "PER", false);
    return layout;
}

const RecordLayout& secretLayout() {
    static const RecordLayout layout = personFields("Secret", "SEC", true);
    return layout;
}

const RecordLayout& secretView() {
    static const RecordLayout layout = secretLayout().view("SEV");
    return layout;
}

const RecordLayout& rateLayout() {
    static const RecordLayout layout = [] {
        RecordLayout l("Rate", "RAT", "Rate", ".\\dat\\Rate");
        l.string("VALUT", 4).uint16("NUMBER").int32("DATE").real("KURS");
        l.key("VALUTNUMBER_KEY", {"VALUT", "NUMBER"}, true, true);
        l.key("VALUT_KEY", {"VALUT", "DATE"}, true);
        return l;
    }();
    return layout;
}

void setCurrency(storage::Record& r, int code, std::string_view obozn, std::string_view name) {
    r.clear();
    r.setValue("COD", std::to_string(code));
    r.setValue("OBOZN", obozn);
    r.setValue("NAME",
               name.empty() ? std::string("Currency ") + std::to_string(code) : std::string(name));
}

void setPerson(storage::Record& r, int code, std::string_view lname, int otd) {
    r.clear();
    r.setValue("SCODE", std::to_string(code));
    r.setValue("LNAME", lname);
    r.setValue("FNAME", "First " + std::to_string(code));
    r.setValue("OTD_ID", std::to_string(otd));
}

void setRate(storage::Record& r, std::string_view valut, int number, int date) {
    r.clear();
    r.setValue("VALUT", valut);
    r.setValue("NUMBER", std::to_string(number));
    r.setValue("DATE", std::to_string(date));
    r.setValue("KURS", std::to_string(number * 1.5));
}

std::int64_t code(const storage::Record& r) { return r.getInt(0); }

std::string text(const storage::Record& r, std::string_view field) {
    return std::string(platform::clip(*r.value(field)));
}

}  // namespace storage_tests
