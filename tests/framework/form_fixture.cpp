#include "tests/framework/form_fixture.h"

#include <filesystem>

namespace form_tests {

FormDefinition priceForm(storage::DataFile& price) {
    FormDefinition form;
    form.file = &price;
    form.accessObject = "Price";
    form.actions = {ru(" Новая запись"), ru(" Изменение записи"), ru(" УДАЛЕНИЕ ЗАПИСИ")};
    form.namingField = "PRI:NAME";
    form.fields = {{4, "PRI:ID", "n2"}, {6, "PRI:NAME", "s24"}, {8, "PRI:SKIDKA", "n-9.2b"},
                   {10, "PRI:KOEF", "n-9.2b"}, {12, "PRI:NOTE", "s120"}};
    form.numberedKey = "PRI:ID_KEY";
    form.duplicateKeys = {{"PRI:ID_KEY", "Id"}};
    form.section = "Price_u";
    form.helpTopic = "Sprav\\Price.htm";
    return form;
}

FormDefinition valutForm(storage::DataFile& valut) {
    FormDefinition form;
    form.file = &valut;
    form.accessObject = "Valut";
    form.actions = {ru("Новая Валюта"), ru("Изменение Валюты"), ru("Удаление  Валюты")};
    form.namingField = "VAL:OBOZN";
    form.fields = {{2, "VAL:OBOZN", "s4"}, {4, "VAL:NAME", "s25"}, {10, "VAL:COD", "n_2"}};
    form.numberedKey = "VAL:CODE_KEY";
    form.duplicateKeys = {{"VAL:OBOZN_KEY", "Obozn"}, {"VAL:CODE_KEY", "Code"}};
    form.dittoKey = framework::form::kDittoKeyCtrlAltH;
    form.preparesToolbar = false;
    form.section = "Valut_u";
    form.hooks.prime = [](FormEngine& engine) { engine.record().setValue("VAL:PROCENT1", "3"); };
    return form;
}

FormDefinition kursForm(storage::DataFile& kurs) {
    FormDefinition form;
    form.file = &kurs;
    form.accessObject = "Kurs";
    form.fields = {{2, "KUR:DATE", "d5."}, {4, "KUR:NUMBER", "n3"}};
    form.numberedKey = "KUR:VALUTNUMBER_KEY";
    form.duplicateKeys = {{"KUR:VALUT_KEY", "Valut + Date"},
                          {"KUR:VALUTNUMBER_KEY", "Valut + Number"}};
    form.preparesToolbar = false;
    form.section = "Kurs_u";
    return form;
}

FormDefinition storeForm(storage::DataFile& store) {
    FormDefinition form;
    form.file = &store;
    form.fields = {{2, "STO:COD", "n2"}, {4, "STO:NAME", "s40"}};
    form.numberedKey = "STO:CODE_KEY";
    form.asksBeforeCancel = true;
    form.preparesToolbar = false;
    form.keepsPlacement = false;
    form.section = "Store_up";
    return form;
}

FormTest::FormTest() {
    std::filesystem::create_directories(folder.path() / "Dat");
    price.setName(".\\Dat\\Price");
    valut.setName(".\\Dat\\Valut");
    kurs.setName(".\\Dat\\KursVal");
    store.setName(".\\Dat\\Store");
    framework::setChildLinks(valut, {{&kurs, "VAL:OBOZN", "KUR:VALUT",
                                      kurs.layout().key("VALUT_KEY"), false}});
}

FormTest::~FormTest() {
    for (storage::DataFile* file : {&price, &valut, &kurs, &store})
        while (framework::userCount(*file) > 0) framework::releaseFile(*file);
    framework::setChildLinks(valut, {});
    framework::setRightsCheck({});
    framework::setHelpOpener({});
    framework::form::setFormEnvironment({});
    framework::form::forgetDittoRecords();
    framework::clearSavedError();
    framework::globalRequest() = framework::globalResponse() = framework::vcrRequest() = 0;
}

int FormTest::run(const FormDefinition& form, int request) {
    framework::globalRequest() = request;
    framework::vcrRequest() = 0;
    return framework::form::runForm(form, view);
}

std::optional<storage::Record> FormTest::stored(storage::DataFile& file, const std::string& field,
                                                const std::string& value) {
    storage::DataFile other(file.layout());
    other.setName(file.name());
    if (other.open() != 0) return std::nullopt;
    other.record().setValue(field, value);
    if (other.get(*file.layout().primaryKey()) != 0) return std::nullopt;
    return other.record();
}

std::string FormTest::storedName(int priceId) {
    const auto record = stored(price, "PRI:ID", std::to_string(priceId));
    return record ? *record->value("PRI:NAME") : "<none>";
}

std::vector<int> FormTest::codes(storage::DataFile& file) {
    storage::DataFile other(file.layout());
    other.setName(file.name());
    std::vector<int> result;
    if (other.open() != 0) return result;
    const storage::KeyDef& key = *file.layout().primaryKey();
    other.set(key);
    while (other.next() == 0)
        result.push_back(static_cast<int>(other.record().getInt(key.components.back())));
    return result;
}

void FormTest::add(storage::DataFile& file, const std::map<std::string, std::string>& values) {
    framework::FileUse use(file);
    file.record().clear();
    for (const auto& [field, value] : values) file.record().setValue(field, value);
    ASSERT_EQ(file.add(), 0);
}

void FormTest::pick(storage::DataFile& file, const std::string& field, const std::string& value) {
    if (framework::userCount(file) == 0) framework::useFile(file);  // released at the end
    file.record().clear();
    file.record().setValue(field, value);
    file.watch();
    ASSERT_EQ(file.get(*file.layout().primaryKey()), 0);
}

void FormTest::restrictRights(std::int16_t rights) {
    framework::setRightsCheck([rights](const std::string&) { return rights; });
}

}  // namespace form_tests
