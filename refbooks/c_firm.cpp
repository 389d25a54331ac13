#include "refbooks/c_firm.h"

#include "framework/browse/browse_engine.h"
#include "framework/form/form_engine.h"
#include "refbooks/ref_files.h"
#include "storage/record.h"

namespace refbooks {

namespace {

using framework::form::FieldControl;
using framework::form::FormEngine;
using framework::form::FormField;
using platform::ru;
using Side = framework::browse::CellAlignment::Side;

constexpr const char* kAccessObject = "Firm";
constexpr const char* kHelpTopic = "Sprav\\Firm.htm";
constexpr const char* kDatePicture = "d5.";  // day.month.two-digit year

void setText(storage::Record& record, const char* name, const std::string& cp1251) {
    record.setText(name, cp1251);
}

// The defaults of a new organisation, also laid over a copied one.
void primeFirm(FormEngine& form) {
    storage::Record& firm = form.record();
    setText(firm, "GLO:INIFILENAME", ".\\COMP.INI");
    setText(firm, "GLO:BVOBOZN", "USD");
    setText(firm, "GLO:NVOBOZN", ru("Руб"));
    setText(firm, "GLO:PVOBOZN", ru("Руб"));
}

FormField entry(int control, const char* field, const char* picture, const char* prompt,
                const char* tip, const std::string& tab) {
    return {control, field, picture, ru(prompt), ru(tip), FieldControl::Entry, {}, tab};
}

FormField check(int control, const char* field, const char* text, const char* tip,
                const std::string& tab) {
    return {control, field, {}, ru(text), ru(tip), FieldControl::Check, {}, tab};
}

FormField options(int control, const char* field, const char* caption,
                  std::vector<std::pair<std::string, std::string>> choices,
                  const std::string& tab) {
    return {control, field, {}, ru(caption), {}, FieldControl::Options, std::move(choices), tab};
}

// The same control in the right-hand column of its page.
FormField right(FormField field) {
    field.column = 1;
    return field;
}

std::vector<FormField> organisationTab() {
    const std::string tab = ru("&Организация");
    return {
        entry(2, "GLO:FIRM", "n3", "Фирма:", "Код Фирмы", tab),
        entry(4, "GLO:SHOPNAME", "s80", "Наименование:", "Наименование Организации", tab),
        entry(6, "GLO:ADRESS", "s80", "Фактический адрес:", "Фактический адрес", tab),
        entry(8, "GLO:ADRESS2", "s80", "Юридический адрес:", "Юридический адрес", tab),
        entry(10, "GLO:PHONE", "s60", "Телефоны:", "Телефоны", tab),
        entry(12, "GLO:FAX", "s60", "Факс:", "Номер Факса", tab),
        entry(14, "GLO:DIRECTOR", "s40", "Директор:", "Директор", tab),
        entry(16, "GLO:TECHDIRECTOR", "s40", "Технич. директор:", "Технический Директор", tab),
        entry(18, "GLO:DIRECTOR2", "s40", "Коммерч. директор:", "Директор2", tab),
        entry(20, "GLO:GLAVBUCH", "s40", "Главный бухгалтер:", "Главный бухгалтер", tab),
        entry(22, "GLO:KASSIR", "s40", "Кассир:", "Кассир", tab),
        right(entry(24, "GLO:SCHET", "s25", "Расчетный Счет:", "Счет в банке", tab)),
        right(entry(26, "GLO:KSCHET", "s25", "Корсчет:", "Корсчет в банке", tab)),
        right(entry(28, "GLO:BANK1", "s120", "Банк:", "Банк", tab)),
        right(entry(30, "GLO:BIK_CODE", "s25", "Код БИК:", "Код БИК", tab)),
        right(entry(32, "GLO:INN_CODE", "s25", "Код ИНН:", "Код ИНН", tab)),
        right(entry(34, "GLO:OKONX_CODE", "s30", "Код ОКОНХ:", "Код ОКОНХ", tab)),
        right(entry(36, "GLO:OKPO_CODE", "s30", "Код ОКПО:", "Код ОКПО", tab)),
    };
}

std::vector<FormField> pathsTab() {
    const std::string tab = ru(" &Пути");
    FormField storeFile{firm_form::kStoreFile, {}, "s80", ru("Файл \"Store\":"), {},
                        FieldControl::Display, {}, tab};
    // The stores file this program works with, as start-up named it.
    storeFile.shown = [] { return referenceFiles().store.name(); };
    return {
        entry(40, "GLO:BASEPATH", "s80", "Путь к базе данных:", "Путь к основной базе данных", tab),
        entry(42, "GLO:ARCPATH", "s80", "Путь к базе архивной копии:", "Путь к базе архивной копии",
              tab),
        entry(44, "GLO:INIFILENAME", "s80", "Имя INI-файла:", "Имя INI-файла", tab),
        storeFile,
    };
}

std::vector<FormField> accountingTab() {
    const std::string tab = ru(" &Учет");
    // The prices-include-VAT box repeats the tip of the box above it, as the book has it.
    return {
        check(50, "GLO:NDSFLAG", " Использовать НДС каждого товара",
              "Использовать НДС каждого товара", tab),
        entry(52, "GLO:BVOBOZN", "s4", "Базовая валюта:", "Обозначение Базовой валюты", tab),
        check(53, "GLO:NDSPRICEFLAG", " Цены включают НДС", "Использовать НДС каждого товара", tab),
        entry(55, "GLO:NVOBOZN", "s4", "Национальная валюта:", "Обозначение Национальной валюты",
              tab),
        entry(57, "GLO:PVOBOZN", "s4", "Валюта Цен:", "Обозначение валюты Цен", tab),
        check(58, "GLO:NOROUNDRUB", " Методика \"Через Суммы\"", "Не округлять цены в Руб без НДС",
              tab),
        check(59, "GLO:NOKOPFLAG", " Без Копеек", "Признак \"Без Копеек\"", tab),
        entry(61, "GLO:SPECNALOG", "n5.2", "Налог с продаж (%):", "Спецналог (%)", tab),
        entry(63, "GLO:NDS", "n5.2", "НДС (%):", "НДС (%)", tab),
        entry(65, "GLO:SKIDKMODE", "s1", " Режим работы со Скидками:", "Режим работы со Скидками",
              tab),
    };
}

std::vector<FormField> goodsTab() {
    const std::string tab = ru(" &Товар");
    // The units take 8 characters in their entries; the fields keep the first 6.
    return {
        check(70, "GLO:EAN13", " Наличие кнопки \"EAN\"", "", tab),
        right(entry(72, "GLO:EDVES", "s8", " Единица весового товара:", "Единица весового товара",
                    tab)),
        check(73, "GLO:IZGOTFLAG", " Наличие поля \"Изготовитель\"", "", tab),
        right(entry(75, "GLO:EDNOVES", "s8", " Единица невесового товара:",
                    "Единица невесового товара", tab)),
        check(76, "GLO:OTDELFLAG", " Наличие поля \"Отделение\"", "", tab),
        check(77, "GLO:KOMPLEKTFLAG", " Наличие \"Комплектов товаров\"", "", tab),
        check(78, "GLO:VESFLAG", " Наличие Весовых товаров", "", tab),
        right(options(79, "GLO:PRIORCODE", " Основной код товара",
                      {{ru("A - Артикул"), "A"},
                       {ru("B - Штрих код"), "B"},
                       {ru("C - Учетный код"), "C"}},
                      tab)),
        check(83, "GLO:SHOWFLAG", " Дополнительные поля описания товара", "", tab),
        check(84, "GLO:POSTPRICEFLAG", " Видимость цены Поставщика", "", tab),
        check(85, "GLO:PRICEFLAG", " Видимость Закупочной цены", "", tab),
        right(options(86, "GLO:CODEALGOR", "Алгоритм форм. учетного кода",
                      {{ru("1 - Простой инкремент"), "1"},
                       {ru("2 - Группа + Подгр. + Инкремент"), "2"},
                       {ru("3 - Пользовательский"), "3"}},
                      tab)),
        check(90, "GLO:SPRICEFLAG", " Видимость Базовой цены", "", tab),
        check(91, "GLO:OPTPRICEFLAG", " Видимость Оптовых цен", "", tab),
        check(92, "GLO:UCHBCODE", " Штрихкод = Учетному коду", "", tab),
    };
}

std::vector<FormField> otherTab() {
    const std::string tab = ru(" &Разное");
    return {
        check(100, "GLO:SOS", " Аварийный режим", "", tab),
        entry(102, "GLO:BLOKDATE", kDatePicture, "Блокировать документы по:",
              "Дата блокировки документов", tab),
        entry(104, "GLO:CURSTORE", "n3", "Участок по умолчанию:", "Участок по умолчанию", tab),
        entry(106, "GLO:PLATDOPUSK", "n15.2", " Допуск \"Оплачено\" в Счетах:",
              "Допуск для флага \"Оплачено\" в Счетах", tab),
        check(107, "GLO:SUMMTTN", " Считать сумму после ввода цены в прих.накладных", "", tab),
        entry(109, "GLO:BEGDATE", kDatePicture, "Дата начала периода:", "Дата начала периода", tab),
        entry(111, "GLO:ENDDATE", kDatePicture, "Дата конца периода:", "Дата конца периода", tab),
    };
}

}  // namespace

void prepareFirmCopy(storage::Record& firm) {
    firm.setInt("GLO:FIRM", 0);
}

framework::browse::BrowseDefinition firmList(std::function<void()> updateForm) {
    framework::browse::BrowseDefinition list{referenceFiles().firm};
    list.title = ru(" Фирмы");
    list.sorts = {{"GLO:FIRM_KEY", {}, "GLO:FIRM"}};
    // The code column has room for one digit; wider codes show as "#".
    list.columns = {
        {"GLO:FIRM", {}, 10, "n1", {Side::Centre, 0}, {Side::Centre, 0}},
        {"GLO:SHOPNAME", ru("Наименование"), 100, "s80", {Side::Left, 2}, {Side::Left, 2}},
        {"GLO:ADRESS", ru("Адрес"), 80, "s80", {Side::Left, 2}, {Side::Left, 2}},
        {"GLO:BASEPATH", ru("Путь к базе данных"), 100, "s80", {Side::Left, 2}, {Side::Left, 2}},
    };
    list.accessObject = kAccessObject;
    list.iniSection = "Firm_t";
    list.helpTopic = kHelpTopic;
    list.buttons.select = true;  // enabled only when the list was opened for select
    list.labels.select = {ru("Выбрать"), ru("Выбор Фирмы и выход из окна")};
    list.labels.insert = {ru("Добавить"), ru("Добавить Фирму")};
    list.labels.change = {ru("Изменить"), ru("Изменить фирму")};
    list.labels.remove = {ru("Удалить"), ru("Удалить фирму")};
    list.labels.close = {ru("Выход"), ru("Выход из окна")};
    list.extraButtons = {
        {{ru("Копировать"), ru("Копировать в новую запись")},
         [](framework::browse::BrowseEngine& engine) { engine.copyButton(prepareFirmCopy); },
         "Copy_rec.ico"},
    };
    list.updateForm = std::move(updateForm);
    return list;
}

framework::form::FormDefinition firmForm() {
    framework::form::FormDefinition form;
    form.file = &referenceFiles().firm;
    form.accessObject = kAccessObject;
    form.actions = {ru(" Новая Фирма"), ru(" Изменение Фирмы"), ru(" Удаление Фирмы")};
    form.namingField = "GLO:SHOPNAME";
    form.buttons.ok = ru("Выход с записью");
    form.buttons.okTip = ru("Выход с записью изменений");
    form.buttons.helpTip = ru("Вызов Помощи");
    for (auto tab : {organisationTab, pathsTab, accountingTab, goodsTab, otherTab})
        for (FormField& field : tab()) form.fields.push_back(std::move(field));
    // Below the tab sheet, on every page.
    form.fields.push_back(
        entry(firm_form::kLogoFile, "GLO:LOGOFILE", "s80", "Файл Логотипа:", "Файл Логотипа", {}));
    form.numberedKey = "GLO:FIRM_KEY";
    form.duplicateKeys = {{"GLO:FIRM_KEY", "Firm"}};
    form.deletesWithoutWindow = true;
    form.showsWallpaper = false;
    form.section = "Firm_u";
    form.helpTopic = kHelpTopic;
    form.hooks.prime = primeFirm;
    return form;
}

}  // namespace refbooks
