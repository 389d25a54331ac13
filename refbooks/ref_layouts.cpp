#include "refbooks/ref_layouts.h"

namespace refbooks {

using storage::RecordLayout;

const RecordLayout& firmLayout() {
    static const RecordLayout layout = [] {
        RecordLayout l("Firm", "GLO", "Firm", ".\\dat\\Firm");
        l.uint16("FIRM")
            .string("BASEPATH", 80)
            .string("SHOPNAME", 80)
            .string("SHOPNAME1", 80)
            .string("SHOPNAME2", 80)
            .string("BANKPP", 80)
            .string("ADRESS", 80)
            .string("ADRESS2", 80)
            .string("ADRESS3", 80)
            .string("PHONE", 60)
            .string("FAX", 60)
            .string("DIRECTOR", 40)
            .string("TECHDIRECTOR", 40)
            .string("DIRECTOR2", 40)
            .string("GLAVBUCH", 40)
            .string("KASSIR", 40)
            .string("BIK_CODE", 25)
            .string("INN_CODE", 25)
            .string("OKONX_CODE", 30)
            .string("OKPO_CODE", 30)
            .string("SCHET", 25)
            .string("KSCHET", 25)
            .string("BANK1", 120)
            .string("BANK2", 120)
            .string("BANK3", 120)
            .string("ARCPATH", 80)
            .string("INIFILENAME", 80)
            .string("LOGOFILE", 80)
            .string("BVOBOZN", 4)
            .string("NVOBOZN", 4)
            .string("PVOBOZN", 4)
            .byte("NACVAL")
            .real("SPECNALOG")
            .real("NDS")
            .byte("NDSFLAG")
            .byte("NDSPRICEFLAG")
            .byte("NPSFLAG")
            .byte("NPPRICEFLAG")
            .byte("NOROUNDRUB")
            .byte("NOKOPFLAG")
            .real("PLATDOPUSK")
            .string("SKIDKMODE", 1)
            .byte("EAN13")
            .byte("VESFLAG")
            .byte("IZGOTFLAG")
            .byte("OTDELFLAG")
            .byte("KOMPLEKTFLAG")
            .byte("SHOWFLAG")
            .byte("POSTPRICEFLAG")
            .byte("PRICEFLAG")
            .byte("SPRICEFLAG")
            .byte("OPTPRICEFLAG")
            .byte("UCHBCODE")
            .string("PRIORCODE", 1)
            .byte("CODEALGOR")
            .string("EDVES", 6)
            .string("EDNOVES", 6)
            .byte("SUMMTTN")
            .byte("SOUND")
            .byte("SOUNDINPUT")
            .byte("SOUNDCALC")
            .byte("SOUNDCALEND")
            .byte("SOS")
            .reservedByte()  // a flag of other programs of the suite, never written here
            .byte("AUTOHELP")
            .uint32("BEGDATE")
            .uint32("ENDDATE")
            .uint32("BLOKDATE")
            .uint16("CURSTORE");
        l.key("FIRM_KEY", {"FIRM"}, true, true);
        return l;
    }();
    return layout;
}

const RecordLayout& priceLayout() {
    static const RecordLayout layout = [] {
        RecordLayout l("Price", "PRI", "Price", ".\\DAT\\Price");
        l.uint16("ID").cstring("NAME", 31).real("SKIDKA").real("KOEF").cstring("NOTE", 121);
        l.key("ID_KEY", {"ID"}, true, true);
        return l;
    }();
    return layout;
}

const RecordLayout& valutLayout() {
    static const RecordLayout layout = [] {
        RecordLayout l("Valut", "VAL", "Valut", ".\\dat\\Valut");
        l.uint16("COD")
            .string("OBOZN", 4)
            .string("NAME", 30)
            .byte("CREDIT")
            .int16("VEQU")
            .real("KURSBANKA")
            .real("KURS")
            .real("KURSCASH")
            .real("KURSPOK")
            .real("KURSPROD")
            .real("PROCENT1")
            .real("PROCENT2")
            .real("PROCENT3")
            .real("PROCENT4")
            .int16("HOTKEY")
            .byte("VDECPOINT")
            .real("SUMM")
            .real("RSUMM")
            .real("SSUMM")
            .real("RSSUMM")
            .real("SUMMSK");
        l.key("CODE_KEY", {"COD"}, true, true);
        l.key("OBOZN_KEY", {"OBOZN"}, true);
        return l;
    }();
    return layout;
}

const RecordLayout& kursLayout() {
    static const RecordLayout layout = [] {
        RecordLayout l("Kurs", "KUR", "KursVal", ".\\DAT\\KURS");
        l.string("VALUT", 4)
            .uint16("NUMBER")
            .int32("DATE")
            .int32("TIME")
            .real("KURSCB")
            .real("KURS")
            .real("KURSCASH")
            .string("WEEKDAY", 11);
        l.key("VALUTNUMBER_KEY", {"VALUT", "NUMBER"}, true, true);
        l.key("VALUT_KEY", {"VALUT", "DATE"}, true);
        return l;
    }();
    return layout;
}

const RecordLayout& storeLayout() {
    static const RecordLayout layout = [] {
        RecordLayout l("Store", "STO", "Store", ".\\dat\\Store");
        l.uint16("COD")
            .cstring("NAME", 41)
            .cstring("ADRESS1", 41)
            .cstring("ADRESS2", 41)
            .cstring("PHONE", 16)
            .cstring("FAX", 16)
            .byte("ROZNFLAG")
            .byte("REMOTEFLAG")
            .byte("NUMPR")
            .byte("BYTE4")
            .byte("BYTE5")
            .real("QUANT")
            .uint16("SCODE")
            .string("REZERV", 20);
        l.key("CODE_KEY", {"COD"}, true, true);
        return l;
    }();
    return layout;
}

const RecordLayout& typeOpLayout() {
    static const RecordLayout layout = [] {
        RecordLayout l("TypeOp", "TOP", "TypeOp", ".\\DAT\\TypeOp");
        l.uint16("ID")
            .string("OBOZN", 5)
            .string("NAME", 36)
            .byte("TOWFLAG")
            .byte("MANYFLAG")
            .byte("PRICHODFLAG");
        l.key("ID_KEY", {"ID"}, true, true);
        return l;
    }();
    return layout;
}

const std::vector<const RecordLayout*>& referenceLayouts() {
    static const std::vector<const RecordLayout*> all = {
        &firmLayout(), &priceLayout(), &valutLayout(),
        &kursLayout(), &storeLayout(), &typeOpLayout(),
    };
    return all;
}

}  // namespace refbooks
