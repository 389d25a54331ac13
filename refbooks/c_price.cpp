#include "refbooks/c_price.h"

#include "refbooks/ref_files.h"

namespace refbooks {

namespace {

using platform::ru;
using Side = framework::browse::CellAlignment::Side;

// Codes 2 characters wide; the discount and the coefficient 9 characters with 2
// decimals, a leading minus and blank when zero.
constexpr const char* kCodePicture = "n2";
constexpr const char* kPercentPicture = "n-9.2b";

}  // namespace

framework::browse::BrowseDefinition priceList(std::function<void()> updateForm) {
    framework::browse::BrowseDefinition list{referenceFiles().price};
    list.sorts = {{"PRI:ID_KEY", "", "PRI:ID"}};
    list.columns = {
        {"PRI:ID", ru("Код"), 16, kCodePicture, {Side::Right, 3}, {Side::Centre, 0}},
        {"PRI:NAME", ru("Название"), 80, "s24", {Side::Left, 1}, {Side::Left, 6}},
        {"PRI:SKIDKA", ru("Скидка (%)"), 41, kPercentPicture, {Side::Right, 4}, {Side::Centre, 0}},
        {"PRI:NOTE", ru("Примечание"), 80, "s120", {Side::Left, 1}, {Side::Left, 5}},
    };
    list.title = ru(" Цены");
    list.labels.close = {ru("Закрыть")};
    list.accessObject = "Price";
    list.iniSection = "Price_t";
    list.helpTopic = "Sprav\\Price.htm";
    list.updateForm = std::move(updateForm);
    return list;
}

framework::form::FormDefinition priceForm() {
    framework::form::FormDefinition form;
    form.file = &referenceFiles().price;
    form.accessObject = "Price";
    form.actions = {ru(" Новая запись"), ru(" Изменение записи"), ru(" УДАЛЕНИЕ ЗАПИСИ")};
    form.namingField = "PRI:NAME";
    form.fields = {
        {4, "PRI:ID", kCodePicture, ru("Код цены:"), ru("Код Цены")},
        {6, "PRI:NAME", "s24", ru("Название:"), ru("Название цены")},
        {8, "PRI:SKIDKA", kPercentPicture, ru("Скидка (%):"), ru("Скидка (%)")},
        {10, "PRI:KOEF", kPercentPicture, ru("Коеффициент:"), ru("Коеффициент")},
        {12, "PRI:NOTE", "s120", ru("Примечание:"), ru("Примечание")},
    };
    form.numberedKey = "PRI:ID_KEY";
    form.duplicateKeys = {{"PRI:ID_KEY", "Id"}};
    form.section = "Price_u";
    return form;
}

}  // namespace refbooks
