#include "inputaids/d_hist.h"

#include "access/access_files.h"
#include "framework/file_access.h"
#include "framework/form/form_numbering.h"
#include "framework/shared_state.h"
#include "framework/standard_messages.h"
#include "platform/cp1251.h"
#include "storage/data_file.h"

namespace inputaids {

namespace {

using platform::ru;
using Side = framework::browse::CellAlignment::Side;

storage::DataFile& histList() { return dostup::accessFiles().histList; }

std::size_t field(const char* name) {
    return histList().layout().indexOf(name);
}

const storage::KeyDef& numberKey() { return *histList().layout().key("HIS:FIELDNUMBER_KEY"); }

bool sameDesignation(std::string_view a, std::string_view b) {
    return platform::upper(platform::clip(a)) == platform::upper(platform::clip(b));
}

// The designation whose rows the list shows, held from its opening.
std::string& heldField() {
    static std::string field;
    return field;
}

// While a new row's form is open its number is reserved under a value of its
// own: the unique key of field and value would otherwise refuse the blank value
// of a second row reserved for the same field.
void provisionalItem(storage::Record& reserved) {
    reserved.setText(field("HIS:ITEM"), "#" + std::to_string(reserved.getInt(field("HIS:NUMBER"))));
}

}  // namespace

void putHistory(std::string_view fieldName, std::string_view value,
                std::optional<std::string_view> name) {
    storage::DataFile& file = histList();
    framework::useFile(file);
    storage::Record toNumber(file.layout());
    toNumber.setText(field("HIS:FIELD"), fieldName);
    const framework::form::LastNumber last = framework::form::readLastNumber(file, numberKey(), toNumber);
    if (last.failed) {
        framework::standardMessage(35, file.label(), file.lastError());
    } else if (last.value < framework::form::highestNumber(file.layout().fields()[field("HIS:NUMBER")])) {
        storage::Record& record = file.record();
        record.clear();
        record.setText(field("HIS:FIELD"), fieldName);
        record.setInt(field("HIS:NUMBER"), last.value + 1);
        record.setText(field("HIS:ITEM"), value);
        if (name) record.setText(field("HIS:NAME"), *name);
        file.add();  // a value already remembered is refused by its key: nothing to say
    }
    framework::releaseFile(file);
}

void beginHistorySelection(std::string_view fieldName) {
    storage::DataFile& file = histList();
    framework::useFile(file);
    storage::Record& record = file.record();
    record.clear();
    record.setText(field("HIS:FIELD"), fieldName);
    int code = file.setToValue(numberKey());
    if (code == storage::error::kNone) code = file.next();
    // With no row of its own the list still opens on the requested field.
    if (code != storage::error::kNone || !sameDesignation(record.getText(field("HIS:FIELD")), fieldName)) {
        record.clear();
        record.setText(field("HIS:FIELD"), fieldName);
    }
}

std::string endHistorySelection(int response) {
    storage::DataFile& file = histList();
    if (response != framework::kResponseCompleted) file.record().clear();
    std::string chosen(platform::clip(file.record().getText(field("HIS:ITEM"))));
    framework::releaseFile(file);
    return chosen;
}

framework::browse::BrowseDefinition historyList(std::function<void()> updateForm) {
    heldField() = std::string(platform::clip(histList().record().getText(field("HIS:FIELD"))));
    framework::browse::BrowseDefinition list{histList()};
    auto limited = [](int sort) {
        const std::string name = "BRW1::Sort" + std::to_string(sort) + ":Save:his:Field";
        return framework::browse::RangeDefinition{
            [] { return heldField(); }, "HIS:FIELD", name,
            "UPPER(his:Field) = UPPER(" + name + ")"};
    };
    list.sorts = {{"HIS:FIELDNUMBER_KEY", ru("по &Порядку"), "", limited(1)},
                  {"HIS:FIELDITEM_KEY", ru("по &Значениям"), "HIS:ITEM", limited(2)}};
    list.columns = {
        {"HIS:NUMBER", ru("№"), 24, "n4", {Side::Right, 2}, {Side::Centre, 0}},
        {"HIS:ITEM", ru("Значение"), 80, "s20", {Side::Left, 2}, {Side::Left, 2}},
        {"HIS:NAME", ru("Название"), 120, "s80", {Side::Left, 2}, {Side::Left, 2}},
        {"HIS:NOTE", ru("Примечание"), 120, "s80", {Side::Left, 2}, {Side::Left, 2}},
        {"HIS:FIELD", ru("Поле"), 80, "s20", {Side::Left, 2}, {Side::Left, 2}},
    };
    list.title = ru("Список Истории поля");
    list.heading = ru("Обозначение поля: ") + heldField();
    list.buttons.select = true;
    list.labels.insert.tip = ru("Добавить запись");
    list.labels.change.tip = ru("Изменить/Открыть");
    list.labels.remove.tip = ru("Удалить запись");
    list.labels.close = {ru("Выход")};
    list.popup = framework::browse::PopupMenuTexts::standard();
    list.iniSection = "HList_t";
    list.wallpaperSection = "HistList_t";
    list.updateForm = std::move(updateForm);
    return list;
}

framework::form::FormDefinition historyForm() {
    framework::form::FormDefinition form;
    form.file = &histList();
    form.actions = {ru("Новая запись"), ru("Изменение записи"), ru("Изменение записи")};
    form.namingField = "HIS:ITEM";
    form.fields = {
        {2, "HIS:FIELD", "s20", ru("Поле:"), ""},
        {4, "HIS:NUMBER", "n4", ru("Номер:"), ru("Номер для упорядочивания в списке")},
        {6, "HIS:ITEM", "s20", ru("Значение:"), ru("Элемент списка")},
        {8, "HIS:NAME", "s80", ru("Название:"), ""},
        {10, "HIS:NOTE", "s80", ru("Примечание:"), ""},
    };
    form.buttons.ok = ru("Записать");
    form.buttons.okTip = "";
    form.buttons.cancel = ru("Отменить");
    form.numberedKey = "HIS:FIELDNUMBER_KEY";
    form.provisional = provisionalItem;
    form.duplicateKeys = {{"HIS:FIELDNUMBER_KEY", "Field + Number"}, {"HIS:FIELDITEM_KEY", "Field + Item"}};
    form.deletesWithoutWindow = true;
    form.section = "HistList_u";
    return form;
}

}  // namespace inputaids
