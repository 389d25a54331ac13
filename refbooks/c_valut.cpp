#include "refbooks/c_valut.h"

#include "framework/browse/browse_engine.h"
#include "framework/form/form_engine.h"
#include "framework/form/form_view.h"
#include "refbooks/c_valut_rates.h"
#include "refbooks/rate_fields.h"
#include "refbooks/ref_files.h"

namespace refbooks {

namespace {

using framework::form::FieldControl;
using framework::form::FormEngine;
using platform::ru;
using namespace rates;

constexpr const char* kAccessObject = "Valut";
constexpr const char* kHelpTopic = "Sprav\\Valut.htm";
constexpr const char* kCodePicture = "n_2";
constexpr const char* kRange = "BRW2::Sort1:Reset:Val:Obozn";

// The rates of the currency being edited: the list inside the currency form,
// which follows the designation in the Valut buffer. Read-only.
framework::browse::BrowseDefinition ratesOfCurrency() {
    framework::browse::BrowseDefinition list{referenceFiles().kurs};
    list.listNumber = 2;
    list.sorts = {{"KUR:VALUT_KEY", {}, {},
                   framework::browse::RangeDefinition{
                       [] { return *referenceFiles().valut.record().value("VAL:OBOZN"); },
                       "KUR:VALUT", kRange, std::string("UPPER(Kur:Valut) = UPPER(") + kRange + ")"}}};
    list.columns = {numberColumn(), dateColumn(), rateColumn("KUR:KURSCB", ru("Курс ЦБ")),
                    rateColumn("KUR:KURS", ru("Опт. Курс")),
                    rateColumn("KUR:KURSCASH", ru("Розн. Курс"))};
    list.buttons = {false, false, false, false};
    list.helpTopic = kHelpTopic;  // the frame's help button presses the form's F1
    list.embedded = true;
    return list;
}

// A new currency: 3 % on both derived rates, no decimal places set; the engine
// then numbers its code.
void primeCurrency(FormEngine& form) {
    storage::Record& valut = form.record();
    setReal(valut, "VAL:PROCENT1", 3);
    setReal(valut, "VAL:PROCENT2", 3);
    valut.setInt(field(valut, "VAL:VDECPOINT"), 0);
}

void reserveUnderProvisionalDesignation(storage::Record& reserved) {
    const auto code = reserved.getInt(field(reserved, "VAL:COD"));
    reserved.setText(field(reserved, "VAL:OBOZN"), provisionalDesignation(static_cast<std::uint16_t>(code)));
}

void rateButton(FormEngine& form, int control) {
    storage::Record& valut = form.record();
    switch (control) {
        case valut_form::kBankRateButton: deriveBothRates(valut); break;
        case valut_form::kWholesaleButton: deriveWholesaleRate(valut); break;
        case valut_form::kRetailButton: deriveRetailRate(valut); break;
        default: return;
    }
    form.view().showRecord();
}

void rateEntered(FormEngine& form, int entry) {
    if (entry == valut_form::kWholesaleRate) wholesalePercent(form.record());
    if (entry == valut_form::kRetailRate) retailPercent(form.record());
}

}  // namespace

std::string provisionalDesignation(std::uint16_t code) {
    // Codes up to 999 read as themselves ("#5", "#573"). Higher codes take three
    // characters in base 45 whose first is never a digit, so they differ from
    // those and from each other; none of the characters changes when the key
    // upper-cases, and none is a blank.
    if (code < 1000) return "#" + std::to_string(code);
    static constexpr std::string_view kDigits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ!$%&+-=?@";
    static constexpr std::string_view kLeads = kDigits.substr(10);
    const unsigned n = code - 1000u;  // below 35 * 45 * 45
    std::string text = "#";
    text += kLeads[n / (45 * 45)];
    text += kDigits[n / 45 % 45];
    text += kDigits[n % 45];
    return text;
}

framework::browse::BrowseDefinition valutList(std::function<void()> updateForm,
                                              std::function<void()> openRateHistory,
                                              std::function<void()> loadOfficialRates) {
    framework::browse::BrowseDefinition list{referenceFiles().valut};
    list.title = ru("Справочник Валют");
    list.sorts = {{"VAL:OBOZN_KEY", ru(" по &Обозначению"), "VAL:OBOZN"},
                  {"VAL:CODE_KEY", ru(" по &Коду"), "VAL:COD"}};
    list.columns = {
        {"VAL:COD", ru("Код"), 20, kCodePicture, {Side::Right, 2}, {Side::Centre, 0}},
        {"VAL:OBOZN", ru("Обозн."), 28, "s4", {Side::Left, 2}, {Side::Left, 2}},
        {"VAL:NAME", ru("Наименование"), 100, "s25", {Side::Left, 2}, {Side::Left, 2}},
        {"VAL:KURSBANKA", ru("Курс ЦБ"), 52, "n11.5", {Side::Right, 2}, {Side::Centre, 0}},
        {"VAL:KURS", ru("Опт. Курс"), 52, "n11.5", {Side::Right, 2}, {Side::Centre, 0}},
        {"VAL:KURSCASH", ru("Курс магазина"), 56, "n11.4", {Side::Right, 2}, {Side::Centre, 0}},
        {"VAL:CREDIT", ru("Кредит"), 28, "n1B", {Side::Centre, 0}, {Side::Centre, 0}},
    };
    list.accessObject = kAccessObject;
    list.iniSection = "Valut_t";
    list.helpTopic = kHelpTopic;
    list.extraButtons = {
        {{ru("История курса"), ru("История курса валюты")},
         [openRateHistory](framework::browse::BrowseEngine& engine) {
             if (engine.page().empty() || !openRateHistory) return;
             engine.readHighlightedRecord();
             openRateHistory();
             engine.forceRefresh();
         }},
        {{ru("Печатать"), {}}, {}},  // starts nothing
    };
    if (loadOfficialRates)
        list.extraButtons.push_back(
            {{ru("Курсы ЦБ"), ru("Загрузить официальные курсы на дату")},
             [loadOfficialRates](framework::browse::BrowseEngine& engine) {
                 loadOfficialRates();
                 engine.forceRefresh();
             }});
    list.updateForm = std::move(updateForm);
    return list;
}

framework::form::FormDefinition valutForm() {
    using namespace valut_form;
    const std::string currencyTab = ru(" &Валюта");
    const std::string ratesTab = ru(" &История Курса");
    const std::string fromPercent = ru("Вычисление Курса по Проценту Скидки");

    framework::form::FormDefinition form;
    form.file = &referenceFiles().valut;
    form.accessObject = kAccessObject;
    form.actions = {ru("Новая Валюта"), ru("Изменение Валюты"), ru("Удаление  Валюты")};
    form.namingField = "VAL:OBOZN";
    form.buttons.ok.clear();  // icon buttons
    form.buttons.okTip = ru("Записать в базу и выход");
    form.buttons.cancel.clear();
    form.buttons.cancelTip = ru("Выход без записи ");
    form.buttons.helpTip = ru("Вызов Помощи");
    form.fields = {
        {kObozn, "VAL:OBOZN", "s4", ru("Обозначение:"), {}, FieldControl::Entry, {}, currencyTab},
        {kName, "VAL:NAME", "s25", ru("*Наименование:"), {}, FieldControl::Entry, {}, currencyTab},
        {kBankRate, "VAL:KURSBANKA", kRatePicture, ru("Курс Банка:"), {}, FieldControl::Entry, {},
         currencyTab},
        {kBankRateButton, {}, {}, fromPercent, {}, FieldControl::Button, {}, currencyTab},
        {kWholesaleRate, "VAL:KURS", kRatePicture, ru("Оптовой торговли:"), {}, FieldControl::Entry,
         {}, currencyTab},
        {kWholesalePercent, "VAL:PROCENT1", kPercentPicture, "%", {}, FieldControl::Entry, {},
         currencyTab},
        {kWholesaleButton, {}, {}, fromPercent, {}, FieldControl::Button, {}, currencyTab},
        {kRetailRate, "VAL:KURSCASH", kRatePicture, ru("Розничной торговли:"), {},
         FieldControl::Entry, {}, currencyTab},
        {kRetailPercent, "VAL:PROCENT2", kPercentPicture, "%", {}, FieldControl::Entry, {},
         currencyTab},
        {kRetailButton, {}, {}, fromPercent, {}, FieldControl::Button, {}, currencyTab},
        {kCredit, "VAL:CREDIT", {}, ru(" Кредит"), {}, FieldControl::Check, {}, currencyTab},
        {kCode, "VAL:COD", kCodePicture, ru("Код валюты:"), {}, FieldControl::Entry, {},
         currencyTab},
    };
    // The three rates stand in the group " Курсы ", each percentage beside its
    // rate and each derivation button beside the value it starts from.
    for (framework::form::FormField& field : form.fields) {
        switch (field.entry) {
            case kBankRate: case kWholesaleRate: case kRetailRate: field.group = ru(" Курсы "); break;
            case kBankRateButton: case kWholesalePercent: case kWholesaleButton:
            case kRetailPercent: case kRetailButton:
                field.group = ru(" Курсы ");
                field.beside = true;
                break;
            default: break;
        }
    }
    form.lists = {{kRates, ratesTab, ratesOfCurrency, true}};
    form.numberedKey = "VAL:CODE_KEY";
    form.provisional = reserveUnderProvisionalDesignation;
    form.duplicateKeys = {{"VAL:OBOZN_KEY", "Obozn"}, {"VAL:CODE_KEY", "Code"}};
    form.dittoKey = framework::form::kDittoKeyCtrlAltH;
    form.preparesToolbar = false;  // the toolbar belongs to the rate list
    form.section = "Valut_u";
    form.helpTopic = kHelpTopic;
    form.hooks.prime = primeCurrency;
    form.hooks.control = rateButton;
    form.hooks.accepted = rateEntered;
    // Every save writes the day's rate entry first, whatever the save then does.
    form.hooks.beforeFieldCheck = [](FormEngine&) { writeDayRate(); };
    return form;
}

}  // namespace refbooks
