#include "refbooks/c_kurs.h"

#include "framework/form/form_engine.h"
#include "platform/dates.h"
#include "refbooks/rate_fields.h"
#include "refbooks/ref_files.h"

namespace refbooks {

namespace {

using framework::form::FormEngine;
using platform::ru;
using namespace rates;

constexpr const char* kAccessObject = "Kurs";
constexpr const char* kHelpTopic = "Sprav\\Kurs.htm";
constexpr const char* kRange = "BRW1::Sort1:Reset:Val:Obozn";

// A new entry belongs to the currency in the Valut buffer and starts from its
// current rates, stamped with the time of day; the date stays empty.
void primeEntry(FormEngine& form) {
    const storage::Record& valut = referenceFiles().valut.record();
    storage::Record& kurs = form.record();
    kurs.setValue("KUR:VALUT", *valut.value("VAL:OBOZN"));
    kurs.setInt(field(kurs, "KUR:TIME"), platform::clock());
    setReal(kurs, "KUR:KURSCB", real(valut, "VAL:KURSBANKA"));
    setReal(kurs, "KUR:KURS", real(valut, "VAL:KURS"));
    setReal(kurs, "KUR:KURSCASH", real(valut, "VAL:KURSCASH"));
    setWeekday(kurs);
}

// While a new entry's form is open its number is reserved under a date of its
// own, minus the number: the unique key of currency and date would otherwise
// refuse the empty date of a second entry reserved for the same currency by
// another station, or left behind by a station that died. A negative date shows
// as "#" in the list.
void provisionalDate(storage::Record& reserved) {
    reserved.setInt(field(reserved, "KUR:DATE"), -reserved.getInt(field(reserved, "KUR:NUMBER")));
}

}  // namespace

void setWeekday(storage::Record& kurs) {
    const auto day = static_cast<std::int32_t>(kurs.getInt(rates::field(kurs, "KUR:DATE")));
    if (day != 0) kurs.setValue("KUR:WEEKDAY", platform::weekdayName(day));
}

framework::browse::BrowseDefinition kursList(std::function<void()> updateForm) {
    const storage::Record& valut = referenceFiles().valut.record();
    const std::string designation = *valut.value("VAL:OBOZN");

    framework::browse::BrowseDefinition list{referenceFiles().kurs};
    list.title = ru("История Курса Валюты");
    list.heading = std::string(platform::clip(*valut.value("VAL:NAME"))) + "  (" +
                   std::string(platform::clip(designation)) + ")";
    list.sorts = {{"KUR:VALUT_KEY", {}, {},
                   framework::browse::RangeDefinition{
                       [designation] { return designation; }, "KUR:VALUT", kRange,
                       std::string("UPPER(Kur:Valut) = UPPER(") + kRange + ")"}}};
    list.columns = {
        numberColumn(),
        dateColumn(),
        {"KUR:WEEKDAY", ru("День недели"), 52, "s11", {Side::Left, 2}, {Side::Left, 2}},
        rateColumn("KUR:KURSCB", ru("Курс ЦБ")),
        rateColumn("KUR:KURS", ru("Опт. Курс")),
        rateColumn("KUR:KURSCASH", ru("Розн. Курс")),
    };
    list.accessObject = kAccessObject;
    list.iniSection = "KursValut_t";
    list.helpTopic = kHelpTopic;
    list.wallpaper = framework::browse::ListWallpaper::Tabl2;
    list.extraButtons = {{{ru("Печатать"), {}}, {}}};  // starts nothing
    list.updateForm = std::move(updateForm);
    return list;
}

framework::form::FormDefinition kursForm() {
    using namespace kurs_form;
    framework::form::FormDefinition form;
    form.file = &referenceFiles().kurs;
    form.accessObject = kAccessObject;
    form.actions = {ru("Новая запись Курса"), ru("Изменение записи Курса"),
                    ru("Удаление записи Курса")};
    form.namingField = "KUR:VALUT";
    form.buttons.ok.clear();  // icon buttons
    form.buttons.okTip = ru("Записать в базу и Выход");
    form.buttons.cancel.clear();
    form.buttons.cancelTip = ru("Выход без записи");
    form.buttons.helpTip = ru("Вызов Помощь");
    form.fields = {
        {kDate, "KUR:DATE", kDatePicture, ru("Дата:")},
        {kTime, "KUR:TIME", "t1", ru("Время:")},
        {kNumber, "KUR:NUMBER", kNumberPicture, ru("Номер банковского дня:")},
        {kBankRate, "KUR:KURSCB", kRatePicture, ru("Курс ЦБ:")},
        {kWholesaleRate, "KUR:KURS", kRatePicture, ru("Оптовый Курс:")},
        {kRetailRate, "KUR:KURSCASH", kRatePicture, ru("Розничный Курс:")},
        {kWeekday, "KUR:WEEKDAY", "s11", ru("Примечание:")},
        {kValut, "KUR:VALUT", "s4", ru("Валюта:")},
    };
    // Numbered within the currency: the highest number of its entries plus one.
    form.numberedKey = "KUR:VALUTNUMBER_KEY";
    form.provisional = provisionalDate;
    form.duplicateKeys = {{"KUR:VALUT_KEY", "Valut + Date"},
                          {"KUR:VALUTNUMBER_KEY", "Valut + Number"}};
    form.dittoKey = framework::form::kDittoKeyCtrlAltH;
    form.preparesToolbar = false;  // answers only the previous-value button
    form.section = "Kurs_u";
    form.helpTopic = kHelpTopic;
    form.hooks.prime = primeEntry;
    // The weekday follows the date as the user accepts it.
    form.hooks.accepted = [](FormEngine& engine, int entry) {
        if (entry == kDate) setWeekday(engine.record());
    };
    return form;
}

}  // namespace refbooks
