#include "access/access_layouts.h"

namespace dostup {

using storage::RecordLayout;

namespace {
constexpr bool kProtected = true;
}

const RecordLayout& molLayout() {
    static const RecordLayout layout = [] {
        RecordLayout l("MOL", "MOL", "MOL", ".\\dat\\MOL", kProtected);
        l.uint16("SCODE")
            .string("LNAME", 25)
            .string("FNAME", 40)
            .uint16("OTD_ID")
            .int16("KATEGCODE")
            .uint16("STORE")
            .string("LOGIN", 20)
            .string("PASSWORD", 16)
            .string("NUMBER", 10)
            .string("ICQ", 20)
            .string("TABNUM", 20)
            .string("PASPSER", 15)
            .string("PASPNUMBER", 15)
            .int32("PASPDATE")
            .string("PASPOTDEL", 40)
            .string("CITY", 20)
            .string("POSTINDEX", 10)
            .string("ADRESS1", 40)
            .string("ADRESS2", 40)
            .string("BPHONE", 15)
            .string("HPHONE", 15)
            .string("CPHONE", 15)
            .string("FPHONE", 15)
            .string("PHONE5DEC", 8)
            .string("PHONE5", 15)
            .string("EMALE", 50)
            .int32("BDATE")
            .int32("NDATE")
            .string("TITLE", 50)
            .decimal("SALARY")
            .decimal("STAVKA")
            .uint16("BOSS")
            .string("SUPRUG", 50)
            .string("SUPRUGPHONE", 40)
            .string("PHOTO", 50)
            .string("SIGNATURE", 50)
            .string("PICFILE", 50)
            .string("SNDFILE", 50)
            .int32("CHDATE")
            .string("REZERV", 50)
            .string("NOTE", 200);
        l.key("SCODE_KEY", {"SCODE"}, true, true);
        l.key("NAME_KEY", {"LNAME"}, false);
        l.key("OTD_KEY", {"OTD_ID", "LNAME"}, false);
        return l;
    }();
    return layout;
}

const RecordLayout& modLayout() {
    static const RecordLayout layout = molLayout().view("MOD");
    return layout;
}

const RecordLayout& katMolLayout() {
    static const RecordLayout layout = [] {
        RecordLayout l("KatMOL", "KTM", "KatMOL", ".\\DAT\\KatMOL");
        l.uint16("COD").string("KATEG", 20);
        l.key("CODE_KEY", {"COD"}, true, true);
        return l;
    }();
    return layout;
}

const RecordLayout& otdMolLayout() {
    static const RecordLayout layout = [] {
        RecordLayout l("OtdMOL", "OMO", "OtdMOL", "");
        l.uint16("OTD_ID").string("NAME", 60).string("LIDER", 40).string("NOTE", 120);
        l.key("ID_KEY", {"OTD_ID"}, true, true);
        return l;
    }();
    return layout;
}

const RecordLayout& objectLayout() {
    static const RecordLayout layout = [] {
        RecordLayout l("Object", "OBJ", "Object", "");
        l.uint16("ID").string("TYPE", 16).string("OBOZN", 20).string("NAME", 50);
        l.key("ID_KEY", {"ID"}, true, true);
        l.key("OBOZN_KEY", {"OBOZN"}, true);
        return l;
    }();
    return layout;
}

const RecordLayout& dostupLayout() {
    static const RecordLayout layout = [] {
        RecordLayout l("Dostup", "DOS", "Dostup", ".\\dat\\Dostup", kProtected);
        // The first eight flags, in this order, are the bits of the rights mask.
        l.uint16("KATEGCODE")
            .uint16("OBJECTID")
            .byte("OPENFLAG")
            .byte("INSERTFLAG")
            .byte("CHANGEFLAG")
            .byte("DELETEFLAG")
            .byte("OKFLAG")
            .byte("UTWFLAG")
            .byte("RUTWFLAG")
            .byte("PRINTFLAG")
            .byte("R2_FLAG")
            .string("REZSTR", 7);
        l.key("KATEG_KEY", {"KATEGCODE", "OBJECTID"}, true, true);
        return l;
    }();
    return layout;
}

const RecordLayout& molLogLayout() {
    static const RecordLayout layout = [] {
        RecordLayout l("MolLOG", "MLO", "MolLog", "", kProtected);
        l.int32("DATE")
            .int32("TIME")
            .uint16("SCODE")
            .uint16("OPERATOR")
            .cstring("OPERATION", 41)
            .cstring("NOTE", 151);
        l.key("SCODE_KEY", {"SCODE", "DATE", "TIME"}, true, true);
        return l;
    }();
    return layout;
}

const RecordLayout& filterLayout() {
    static const RecordLayout layout = [] {
        RecordLayout l("Filter", "FIL", "Filter", "");
        l.string("TABLE", 20).int16("NUMBER").cstring("NAME", 101).cstring("EXPRESSION", 201);
        l.key("TABLE_KEY", {"TABLE", "NUMBER"}, true, true);
        return l;
    }();
    return layout;
}

const RecordLayout& histListLayout() {
    static const RecordLayout layout = [] {
        RecordLayout l("HistList", "HIS", "HistList", ".\\dat\\HistList");
        l.string("FIELD", 20)
            .uint32("NUMBER")
            .string("ITEM", 20)
            .cstring("NAME", 81)
            .cstring("NOTE", 81);
        l.key("FIELDNUMBER_KEY", {"FIELD", "NUMBER"}, true, true);
        l.key("FIELDITEM_KEY", {"FIELD", "ITEM"}, true);
        return l;
    }();
    return layout;
}

const RecordLayout& rightsLogLayout() {
    static const RecordLayout layout = [] {
        RecordLayout l("RightsLog", "RLG", "RightsLog", "", kProtected);
        l.int32("DATE")
            .int32("TIME")
            .uint16("OPERATOR")
            .byte("KIND")
            .int16("KATEGCODE")
            .string("KATEG", 20)
            .uint16("OBJECTID")
            .string("OBOZN", 20)
            .cstring("ACTION", 41)
            .cstring("OLDVALUE", 81)
            .cstring("NEWVALUE", 81)
            .byte("MASK")
            .uint32("COUNT")
            // Tells apart two entries alike in every other field (a ban set and
            // lifted twice within one hundredth of a second): a held entry is
            // recognised in the journal by all of its fields.
            .uint32("UNIQUE");
        l.key("DATE_KEY", {"DATE", "TIME"}, true, true);
        // The refusals of one operator and object, latest last.
        l.key("OPERATOR_KEY", {"OPERATOR", "OBJECTID", "DATE", "TIME"}, false);
        return l;
    }();
    return layout;
}

const RecordLayout& molChangeLayout() {
    static const RecordLayout layout = [] {
        RecordLayout l("MolChange", "MCH", "MolChange", "", kProtected);
        l.uint16("SCODE")
            .int32("DATE")
            .int32("TIME")
            .uint16("NUMBER")
            .string("LABEL", 30)
            .cstring("OLDVALUE", 201)
            .cstring("NEWVALUE", 201);
        l.key("ENTRY_KEY", {"SCODE", "DATE", "TIME", "NUMBER"}, true, true);
        return l;
    }();
    return layout;
}

const std::vector<const RecordLayout*>& accessLayouts() {
    static const std::vector<const RecordLayout*> all = {
        &molLayout(),    &katMolLayout(), &otdMolLayout(), &objectLayout(),
        &dostupLayout(), &molLogLayout(), &filterLayout(), &histListLayout(),
    };
    return all;
}

const char* ownerPasswordOf(const RecordLayout& layout) {
    return layout.isProtected() ? kOwnerPassword : "";
}

}  // namespace dostup
