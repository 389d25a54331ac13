#include "inputaids/d_filter.h"

#include "access/access_files.h"
#include "access/access_layouts.h"
#include "framework/file_access.h"
#include "framework/form/form_engine.h"
#include "framework/form/form_view.h"
#include "framework/record_binding.h"
#include "framework/shared_state.h"
#include "platform/cp1251.h"
#include "platform/expression.h"
#include "storage/data_file.h"

namespace inputaids {

namespace {

using platform::ru;
using Side = framework::browse::CellAlignment::Side;

storage::DataFile& filters() { return dostup::accessFiles().filter; }

std::size_t field(const char* name) {
    return filters().layout().indexOf(name);
}

bool sameDesignation(std::string_view a, std::string_view b) {
    return platform::upper(platform::clip(a)) == platform::upper(platform::clip(b));
}

// loc:Tabl, the designation whose filters the list shows (20 characters).
std::string& tableDesignation() {
    static std::string table;
    return table;
}

ExpressionCheck& lastCheck() {
    static ExpressionCheck check = ExpressionCheck::NotChecked;
    return check;
}

// The layout of the table a designation names: its label before the first "_"
// ("MOL_t" is MOL), among the library's files; nullptr for another table.
const storage::RecordLayout* tableLayout(std::string_view table) {
    std::string label(platform::clip(table));
    label = label.substr(0, label.find('_'));
    for (const storage::RecordLayout* layout : dostup::accessLayouts())
        if (platform::upper(layout->label()) == platform::upper(label)) return layout;
    return nullptr;
}

}  // namespace

ExpressionCheck checkExpression(std::string_view expression, std::string_view table) {
    // The fields of the named table, blank, and those of the filter itself.
    const storage::RecordLayout* layout = tableLayout(table);
    storage::Record blank(layout ? *layout : filters().layout());
    blank.clear();
    const framework::RecordBinding tableFields(blank);
    const framework::RecordBinding filterFields(filters().record());
    const platform::ResolverChain names{&tableFields, &filterFields};
    const platform::ExpressionResult result =
        platform::evaluateExpression(platform::clip(expression), names);
    if (result.ok() && (result.text == "0" || result.text == "1")) return ExpressionCheck::Valid;
    if (!result.ok() && result.text.empty()) return ExpressionCheck::Invalid;
    return ExpressionCheck::NotChecked;
}

void beginFilterSelection(std::string_view table) {
    storage::DataFile& file = filters();
    framework::useFile(file);
    storage::Record& record = file.record();
    record.clear();
    record.setText(field("FIL:TABLE"), table);
    int code = file.setToValue(*file.layout().key("FIL:TABLE_KEY"));
    if (code == storage::error::kNone) code = file.next();
    if (code != storage::error::kNone || !sameDesignation(record.getText(field("FIL:TABLE")), table)) {
        record.clear();
        record.setText(field("FIL:TABLE"), table);
    }
}

std::string endFilterSelection(int response) {
    storage::DataFile& file = filters();
    if (response != framework::kResponseCompleted) file.record().clear();
    const storage::Record& record = file.record();
    std::string result(platform::clip(record.getText(field("FIL:EXPRESSION"))));
    result += '|';
    result += platform::clip(record.getText(field("FIL:NAME")));
    framework::releaseFile(file);
    return result;
}

framework::browse::BrowseDefinition filterList(std::function<void()> updateForm) {
    tableDesignation() = std::string(platform::clip(filters().record().getText(field("FIL:TABLE"))));
    framework::browse::BrowseDefinition list{filters()};
    list.sorts = {{"FIL:TABLE_KEY", "", "",
                   framework::browse::RangeDefinition{[] { return tableDesignation(); }, "FIL:TABLE",
                                                      "loc:Tabl", "UPPER(fil:Table) = UPPER(loc:Tabl)"}}};
    list.columns = {
        {"FIL:NUMBER", "", 16, "n2", {Side::Right, 2}, {Side::Centre, 0}},
        {"FIL:NAME", ru("Фильтр"), 160, "s50", {Side::Left, 2}, {Side::Left, 2}},
        {"FIL:EXPRESSION", ru("Выражение фильтра"), 200, "s70", {Side::Left, 2}, {Side::Left, 2}},
    };
    list.title = ru("Список Фильтров");
    list.entry = framework::browse::ListEntry{
        ru("Обозначение таблицы"), 20, [] { return tableDesignation(); },
        [](const std::string& text) {
            tableDesignation() = std::string(platform::clip(text.substr(0, 20)));
        }};
    list.accessObject = "Filter";
    list.reaskRights = false;  // the form asks
    list.refusals.caption = ru(" Ошибка");
    list.refusals.access = ru("Доступ запрещен ");
    list.popup = framework::browse::PopupMenuTexts::standard();
    list.buttons.select = true;
    list.labels.select = {ru("Выбор")};
    list.labels.insert.tip = ru("Добавить новый фильтр");
    list.labels.change.tip = ru("Изменить (открыть)  запись о фильтре");
    list.labels.remove.tip = ru("Удалить фильтр");
    list.labels.close = {ru("Выход")};
    list.extraButtons = {{{ru("Печатать"), {}}, {}, {}}};  // starts nothing
    list.iniSection = "Filter_t";
    list.helpTopic = "Sprav\\Filter";
    list.updateForm = std::move(updateForm);
    return list;
}

framework::form::FormDefinition filterForm() {
    namespace ff = filter_form;
    using framework::form::FieldControl;
    framework::form::FormDefinition form;
    form.file = &filters();
    form.accessObject = "Filter";
    form.refusals.caption = ru(" Ошибка");
    form.actions = {ru("Новый Фильтр"), ru("Изменение Фильтра"), ru("УДАЛЕНИЕ ФИЛЬТРА")};
    form.namingField = "FIL:NUMBER";
    form.fields = {
        {ff::kTable, "FIL:TABLE", "s20", ru("Таблица:"), ""},
        {ff::kNumber, "FIL:NUMBER", "n2", ru("Номер:"), ru("Номер фильтра для упорядочивания в списке")},
        {ff::kName, "FIL:NAME", "s50", ru("Фильтр:"), ""},
        {ff::kExpression, "FIL:EXPRESSION", "s200", ru("Выражение:"), "", FieldControl::TextBox},
        {ff::kCheck, "", "", ru("Проверка"), ru("Проверка Выражения фильтра"), FieldControl::Button},
    };
    // The two pictures stand beside the check button.
    framework::form::FormField valid{ff::kValidPicture, "", "check", "", "", FieldControl::Picture};
    valid.visible = [] { return lastCheck() == ExpressionCheck::Valid; };
    valid.beside = true;
    framework::form::FormField invalid{ff::kInvalidPicture, "", "cross", "", "", FieldControl::Picture};
    invalid.visible = [] { return lastCheck() == ExpressionCheck::Invalid; };
    invalid.beside = true;
    form.fields.push_back(std::move(valid));
    form.fields.push_back(std::move(invalid));
    form.buttons.ok = ru("Выход с записью");
    form.buttons.okTip = "";
    form.buttons.cancel = ru("Выход без записи");
    form.numberedKey = "FIL:TABLE_KEY";
    form.duplicateKeys = {{"FIL:TABLE_KEY", "Table + Number"}};
    form.detail = false;  // a change by another station: message 15
    form.keepsPlacement = false;
    form.section = "Filter_u";
    form.helpTopic = "Filter.htm";
    form.hooks.prime = [](framework::form::FormEngine& engine) {
        engine.record().setText(field("FIL:TABLE"), tableDesignation());
    };
    form.hooks.opened = [](framework::form::FormEngine& engine) {
        lastCheck() = ExpressionCheck::NotChecked;  // both pictures hidden at first
        engine.view().showRecord();
    };
    form.hooks.control = [](framework::form::FormEngine& engine, int control) {
        if (control != ff::kCheck) return;
        engine.view().readEntries();
        const storage::Record& record = engine.record();
        const ExpressionCheck check =
            checkExpression(record.getText(field("FIL:EXPRESSION")), record.getText(field("FIL:TABLE")));
        if (check != ExpressionCheck::NotChecked) lastCheck() = check;
        engine.view().showRecord();
    };
    return form;
}

}  // namespace inputaids
