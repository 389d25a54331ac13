#include "demo/refbooks/reference_writer.h"

#include "demo/refbooks/sample_rates.h"
#include "demo/refbooks/sample_references.h"
#include "framework/file_access.h"
#include "framework/standard_messages.h"
#include "platform/cp1251.h"
#include "platform/dates.h"
#include "platform/ini_file.h"
#include "refbooks/c_kurs.h"
#include "refbooks/c_valut_rates.h"
#include "refbooks/ref_files.h"
#include "storage/data_file.h"

#include <string>

namespace demo {

namespace {

using platform::ru;

refbooks::ReferenceFiles& files() { return refbooks::referenceFiles(); }

std::size_t field(const storage::Record& record, const char* name) {
    return record.layout().indexOf(name);
}
void setNumber(storage::Record& record, const char* name, std::int64_t value) {
    record.setInt(field(record, name), value);
}
void setReal(storage::Record& record, const char* name, double value) {
    record.setReal(field(record, name), value);
}

bool add(storage::DataFile& file) {
    if (file.add() == storage::error::kNone) return true;
    framework::standardMessage(14, file.label(), file.lastError());
    return false;
}

// The settings every sample organisation shares, as a trading company keeps them.
void setAccounting(storage::Record& firm, const SampleFirm& sample) {
    firm.setValue("GLO:INIFILENAME", ".\\COMP.INI");
    firm.setValue("GLO:ARCPATH", ".\\Arc\\");
    for (const char* currency : {"GLO:BVOBOZN", "GLO:NVOBOZN", "GLO:PVOBOZN"})
        firm.setValue(currency, ru("Руб"));
    setNumber(firm, "GLO:NDSFLAG", sample.vat);
    setNumber(firm, "GLO:NDSPRICEFLAG", sample.vat);
    setReal(firm, "GLO:NDS", sample.vat ? 20 : 0);
    firm.setValue("GLO:SKIDKMODE", "1");
    setNumber(firm, "GLO:EAN13", 1);
    setNumber(firm, "GLO:VESFLAG", sample.weighedGoods);
    firm.setValue("GLO:EDVES", ru("кг"));
    firm.setValue("GLO:EDNOVES", ru("шт"));
    firm.setValue("GLO:PRIORCODE", "A");
    setNumber(firm, "GLO:CODEALGOR", 1);
    setNumber(firm, "GLO:PRICEFLAG", 1);
    setNumber(firm, "GLO:SPRICEFLAG", 1);
    setNumber(firm, "GLO:OPTPRICEFLAG", 1);
    setReal(firm, "GLO:PLATDOPUSK", 1);
    // The working period is this year; documents are locked up to the end of
    // last month.
    const platform::CivilDate now = platform::civilDate(platform::today());
    setNumber(firm, "GLO:BEGDATE", platform::dayNumber(now.year, 1, 1));
    setNumber(firm, "GLO:ENDDATE", platform::dayNumber(now.year, 12, 31));
    setNumber(firm, "GLO:BLOKDATE", platform::dayNumber(now.year, now.month, 1) - 1);
    setNumber(firm, "GLO:CURSTORE", sample.store);
}

bool writeFirms() {
    storage::DataFile& file = files().firm;
    framework::FileUse use(file);
    for (const SampleFirm& sample : sampleFirms()) {
        storage::Record& firm = file.record();
        firm.clear();
        setNumber(firm, "GLO:FIRM", sample.code);
        firm.setValue("GLO:BASEPATH", sample.basePath);
        firm.setValue("GLO:SHOPNAME", ru(sample.name));
        firm.setValue("GLO:SHOPNAME1", ru(sample.fullName));
        firm.setValue("GLO:ADRESS", ru(sample.address));
        firm.setValue("GLO:ADRESS2", ru(sample.legalAddress));
        firm.setValue("GLO:PHONE", ru(sample.phones));
        firm.setValue("GLO:FAX", ru(sample.fax));
        firm.setValue("GLO:DIRECTOR", ru(sample.director));
        firm.setValue("GLO:DIRECTOR2", ru(sample.commercialDirector));
        firm.setValue("GLO:GLAVBUCH", ru(sample.chiefAccountant));
        firm.setValue("GLO:KASSIR", ru(sample.cashier));
        firm.setValue("GLO:INN_CODE", sample.inn);
        firm.setValue("GLO:OKONX_CODE", "71100");
        firm.setValue("GLO:OKPO_CODE", sample.okpo);
        firm.setValue("GLO:SCHET", sample.account);
        firm.setValue("GLO:KSCHET", sample.correspondentAccount);
        firm.setValue("GLO:BANK1", ru(sample.bank));
        firm.setValue("GLO:BANKPP", ru(sample.bank));
        firm.setValue("GLO:BIK_CODE", sample.bik);
        setAccounting(firm, sample);
        if (!add(file)) return false;
    }
    return true;
}

bool writePrices() {
    storage::DataFile& file = files().price;
    framework::FileUse use(file);
    for (const SamplePrice& sample : samplePrices()) {
        storage::Record& price = file.record();
        price.clear();
        setNumber(price, "PRI:ID", sample.code);
        price.setValue("PRI:NAME", ru(sample.name));
        setReal(price, "PRI:SKIDKA", sample.discount);
        setReal(price, "PRI:KOEF", sample.coefficient);
        price.setValue("PRI:NOTE", ru(sample.note));
        if (!add(file)) return false;
    }
    return true;
}

// The bank rate of the day into the currency's buffer, the two others derived
// by the book's own rule.
void setDayRates(storage::Record& valut, const SampleCurrency& sample, std::int32_t day) {
    setReal(valut, "VAL:KURSBANKA", sampleBankRate(sample, day));
    refbooks::deriveBothRates(valut);
}

// The entries before today, numbered from 1, each stamped at half past three
// in the afternoon, when the central bank has set the rate; today's entry is
// the one a save of the currency writes.
bool writeRateHistory(storage::Record& valut, const SampleCurrency& sample) {
    storage::DataFile& kurs = files().kurs;
    const std::int32_t today = platform::today();
    for (int number = 1; number < kRateDays; ++number) {
        const std::int32_t day = today - kRateDays + number;
        setDayRates(valut, sample, day);
        storage::Record& entry = kurs.record();
        entry.clear();
        entry.setValue("KUR:VALUT", *valut.value("VAL:OBOZN"));
        setNumber(entry, "KUR:NUMBER", number);
        setNumber(entry, "KUR:DATE", day);
        setNumber(entry, "KUR:TIME", platform::clockValue(15, 30, 0));
        setReal(entry, "KUR:KURSCB", valut.getReal(field(valut, "VAL:KURSBANKA")));
        setReal(entry, "KUR:KURS", valut.getReal(field(valut, "VAL:KURS")));
        setReal(entry, "KUR:KURSCASH", valut.getReal(field(valut, "VAL:KURSCASH")));
        refbooks::setWeekday(entry);
        if (!add(kurs)) return false;
    }
    setDayRates(valut, sample, today);
    refbooks::writeDayRate();
    return true;
}

bool writeCurrencies() {
    storage::DataFile& file = files().valut;
    framework::FileUse use(file);
    framework::FileUse rates(files().kurs);
    files().kurs.begin();
    for (const SampleCurrency& sample : sampleCurrencies()) {
        storage::Record& valut = file.record();
        valut.clear();
        setNumber(valut, "VAL:COD", sample.code);
        valut.setValue("VAL:OBOZN", ru(sample.designation));
        valut.setValue("VAL:NAME", ru(sample.name));
        setNumber(valut, "VAL:VEQU", sample.isoNumber);
        setNumber(valut, "VAL:VDECPOINT", 2);
        setReal(valut, "VAL:PROCENT1", sample.wholesale);
        setReal(valut, "VAL:PROCENT2", sample.retail);
        if (sample.level == 1) {
            for (const char* rate : {"VAL:KURSBANKA", "VAL:KURS", "VAL:KURSCASH"})
                setReal(valut, rate, 1);
        } else if (!writeRateHistory(valut, sample)) {
            files().kurs.rollback();
            return false;
        }
        if (!add(file)) {
            files().kurs.rollback();
            return false;
        }
    }
    files().kurs.commit();
    return true;
}

bool writeStores() {
    storage::DataFile& file = files().store;
    framework::FileUse use(file);
    for (const SampleStore& sample : sampleStores()) {
        storage::Record& store = file.record();
        store.clear();
        setNumber(store, "STO:COD", sample.code);
        store.setValue("STO:NAME", ru(sample.name));
        store.setValue("STO:ADRESS1", ru(sample.address));
        store.setValue("STO:ADRESS2", ru(sample.city));
        store.setValue("STO:PHONE", sample.phone);
        store.setValue("STO:FAX", sample.fax);
        setNumber(store, "STO:ROZNFLAG", sample.retail);
        setNumber(store, "STO:REMOTEFLAG", sample.remote);
        setNumber(store, "STO:NUMPR", sample.price);
        setNumber(store, "STO:SCODE", sample.responsible);
        if (!add(file)) return false;
    }
    return true;
}

bool writeOperationTypes() {
    storage::DataFile& file = files().typeOp;
    framework::FileUse use(file);
    for (const SampleOperationType& sample : sampleOperationTypes()) {
        storage::Record& type = file.record();
        type.clear();
        setNumber(type, "TOP:ID", sample.code);
        type.setValue("TOP:OBOZN", ru(sample.designation));
        type.setValue("TOP:NAME", ru(sample.name));
        setNumber(type, "TOP:TOWFLAG", sample.goods);
        setNumber(type, "TOP:MANYFLAG", sample.money);
        setNumber(type, "TOP:PRICHODFLAG", sample.receipt);
        if (!add(file)) return false;
    }
    return true;
}

}  // namespace

std::vector<DataFileRef> programDataFiles() {
    std::vector<DataFileRef> refs;
    refbooks::ReferenceFiles& f = files();
    for (storage::DataFile* file : {&f.firm, &f.price, &f.valut, &f.kurs, &f.store, &f.typeOp})
        refs.push_back({&file->layout(), file->name(), {}});
    return refs;
}

bool writeSampleReferenceBooks() {
    return writeFirms() && writePrices() && writeCurrencies() && writeStores() &&
           writeOperationTypes();
}

void writeSampleRequisites(const std::string& iniFile) {
    const SampleFirm& firm = sampleFirms().front();
    const std::pair<const char*, const char*> keys[] = {
        {"ShopName", firm.name},      {"Adress", firm.address},   {"Adress2", firm.legalAddress},
        {"Phone", firm.phones},       {"Fax", firm.fax},          {"Director", firm.director},
        {"GlavBuch", firm.chiefAccountant}, {"Schet", firm.account}, {"Bank", firm.bank},
        {"BIK", firm.bik},            {"INN", firm.inn},          {"OKPO", firm.okpo},
        {"KSchet", firm.correspondentAccount}};
    const std::string absent = "\x01";
    for (const auto& [key, value] : keys)
        if (platform::readIni("KELM", key, absent, iniFile) == absent)
            platform::writeIni("KELM", key, platform::ru(value), iniFile);
}

}  // namespace demo
