// The layouts of the reference and access files, checked against the declared
// record sizes, field order, keys and file properties.
#include "access/access_layouts.h"
#include "refbooks/ref_layouts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using storage::FieldType;
using storage::RecordLayout;

namespace {

struct FileFacts {
    const RecordLayout* layout;
    const char* label;
    const char* prefix;
    const char* diskName;
    const char* builtIn;
    std::size_t size;
    bool isProtected;
};

std::vector<FileFacts> allFiles() {
    return {
        {&refbooks::firmLayout(), "Firm", "GLO", "Firm", ".\\dat\\Firm", 1813, false},
        {&refbooks::priceLayout(), "Price", "PRI", "Price", ".\\DAT\\Price", 170, false},
        {&refbooks::valutLayout(), "Valut", "VAL", "Valut", ".\\dat\\Valut", 154, false},
        {&refbooks::kursLayout(), "Kurs", "KUR", "KursVal", ".\\DAT\\KURS", 49, false},
        {&refbooks::storeLayout(), "Store", "STO", "Store", ".\\dat\\Store", 192, false},
        {&refbooks::typeOpLayout(), "TypeOp", "TOP", "TypeOp", ".\\DAT\\TypeOp", 46, false},
        {&dostup::molLayout(), "MOL", "MOL", "MOL", ".\\dat\\MOL", 1094, true},
        {&dostup::katMolLayout(), "KatMOL", "KTM", "KatMOL", ".\\DAT\\KatMOL", 22, false},
        {&dostup::otdMolLayout(), "OtdMOL", "OMO", "OtdMOL", "", 222, false},
        {&dostup::objectLayout(), "Object", "OBJ", "Object", "", 88, false},
        {&dostup::dostupLayout(), "Dostup", "DOS", "Dostup", ".\\dat\\Dostup", 20, true},
        {&dostup::molLogLayout(), "MolLOG", "MLO", "MolLog", "", 204, true},
        {&dostup::filterLayout(), "Filter", "FIL", "Filter", "", 324, false},
        {&dostup::histListLayout(), "HistList", "HIS", "HistList", ".\\dat\\HistList", 206, false},
    };
}

std::vector<std::string> componentNames(const RecordLayout& layout, const storage::KeyDef& key) {
    std::vector<std::string> names;
    for (std::size_t index : key.components) names.push_back(layout.fields()[index].name);
    return names;
}

}  // namespace

TEST(Layouts, FilePropertiesAndRecordSizes) {
    for (const FileFacts& f : allFiles()) {
        SCOPED_TRACE(f.label);
        EXPECT_EQ(f.layout->label(), f.label);
        EXPECT_EQ(f.layout->prefix(), f.prefix);
        EXPECT_EQ(f.layout->diskName(), f.diskName);
        EXPECT_EQ(f.layout->builtInName(), f.builtIn);
        EXPECT_EQ(f.layout->isProtected(), f.isProtected);
        EXPECT_EQ(f.layout->recordSize(), f.size);
        // Fields follow each other without gaps and fill the record exactly.
        std::size_t offset = 0;
        for (const storage::FieldDef& field : f.layout->fields()) {
            EXPECT_EQ(field.offset, offset) << field.name;
            if (!field.name.empty()) {
                EXPECT_EQ(field.name.rfind(std::string(f.prefix) + ":", 0), 0u);
            }
            offset += field.size;
        }
        EXPECT_EQ(offset, f.size);
        EXPECT_STREQ(dostup::ownerPasswordOf(*f.layout), f.isProtected ? "QZX" : "");
    }
    EXPECT_STREQ(dostup::kOwnerPassword, "QZX");
}

TEST(Layouts, ListsHoldEveryFileOnce) {
    const auto& refs = refbooks::referenceLayouts();
    ASSERT_EQ(refs.size(), 6u);
    EXPECT_EQ(refs[0], &refbooks::firmLayout());
    EXPECT_EQ(refs[3], &refbooks::kursLayout());
    EXPECT_EQ(refs[5], &refbooks::typeOpLayout());
    const auto& access = dostup::accessLayouts();
    ASSERT_EQ(access.size(), 8u);
    EXPECT_EQ(access[0], &dostup::molLayout());
    EXPECT_EQ(access[7], &dostup::histListLayout());
    for (const RecordLayout* layout : access) EXPECT_NE(layout, &dostup::modLayout());
}

TEST(Layouts, FieldCountsAndTheReservedByteOfFirm) {
    const RecordLayout& firm = refbooks::firmLayout();
    ASSERT_EQ(firm.fields().size(), 69u);  // 68 named fields and the reserved flag
    int unnamed = 0;
    for (const storage::FieldDef& field : firm.fields()) unnamed += field.name.empty() ? 1 : 0;
    EXPECT_EQ(unnamed, 1);
    const storage::FieldDef& reserved = firm.fields()[firm.fieldIndex("GLO:SOS") + 1];
    EXPECT_TRUE(reserved.name.empty());
    EXPECT_EQ(reserved.type, FieldType::Byte);
    EXPECT_EQ(reserved.offset, 1797u);
    EXPECT_EQ(firm.fieldIndex("GLO:AUTOHELP"), firm.fieldIndex("GLO:SOS") + 2);
    EXPECT_EQ(firm.fieldIndex(""), -1);  // the reserved byte has no name

    EXPECT_EQ(dostup::molLayout().fields().size(), 41u);
    EXPECT_EQ(dostup::modLayout().fields().size(), 41u);
}

TEST(Layouts, OffsetsAndTypesFollowTheDeclaredOrder) {
    struct Expect {
        const RecordLayout* layout;
        const char* name;
        FieldType type;
        std::size_t offset;
        std::size_t size;
    };
    const RecordLayout& glo = refbooks::firmLayout();
    const RecordLayout& mol = dostup::molLayout();
    const Expect expected[] = {
        {&glo, "GLO:BASEPATH", FieldType::String, 2, 80},
        {&glo, "GLO:PHONE", FieldType::String, 642, 60},
        {&glo, "GLO:BIK_CODE", FieldType::String, 962, 25},
        {&glo, "GLO:BANK1", FieldType::String, 1122, 120},
        {&glo, "GLO:BVOBOZN", FieldType::String, 1722, 4},
        {&glo, "GLO:NACVAL", FieldType::Byte, 1734, 1},
        {&glo, "GLO:NDS", FieldType::Real, 1743, 8},
        {&glo, "GLO:PLATDOPUSK", FieldType::Real, 1757, 8},
        {&glo, "GLO:SKIDKMODE", FieldType::String, 1765, 1},
        {&glo, "GLO:PRIORCODE", FieldType::String, 1777, 1},
        {&glo, "GLO:EDNOVES", FieldType::String, 1785, 6},
        {&glo, "GLO:SOS", FieldType::Byte, 1796, 1},
        {&glo, "GLO:AUTOHELP", FieldType::Byte, 1798, 1},
        {&glo, "GLO:BEGDATE", FieldType::ULong, 1799, 4},
        {&glo, "GLO:BLOKDATE", FieldType::ULong, 1807, 4},
        {&glo, "GLO:CURSTORE", FieldType::UShort, 1811, 2},
        {&refbooks::priceLayout(), "PRI:NAME", FieldType::CString, 2, 31},
        {&refbooks::priceLayout(), "PRI:NOTE", FieldType::CString, 49, 121},
        {&refbooks::valutLayout(), "VAL:VEQU", FieldType::Short, 37, 2},
        {&refbooks::valutLayout(), "VAL:PROCENT1", FieldType::Real, 79, 8},
        {&refbooks::valutLayout(), "VAL:PROCENT4", FieldType::Real, 103, 8},
        {&refbooks::valutLayout(), "VAL:HOTKEY", FieldType::Short, 111, 2},
        {&refbooks::valutLayout(), "VAL:SUMMSK", FieldType::Real, 146, 8},
        {&refbooks::kursLayout(), "KUR:DATE", FieldType::Long, 6, 4},
        {&refbooks::kursLayout(), "KUR:WEEKDAY", FieldType::String, 38, 11},
        {&refbooks::storeLayout(), "STO:QUANT", FieldType::Real, 162, 8},
        {&refbooks::storeLayout(), "STO:SCODE", FieldType::UShort, 170, 2},
        {&refbooks::typeOpLayout(), "TOP:PRICHODFLAG", FieldType::Byte, 45, 1},
        {&mol, "MOL:KATEGCODE", FieldType::Short, 69, 2},
        {&mol, "MOL:PASPDATE", FieldType::Long, 189, 4},
        {&mol, "MOL:SALARY", FieldType::Decimal, 534, 7},
        {&mol, "MOL:STAVKA", FieldType::Decimal, 541, 7},
        {&mol, "MOL:BOSS", FieldType::UShort, 548, 2},
        {&mol, "MOL:CHDATE", FieldType::Long, 840, 4},
        {&mol, "MOL:NOTE", FieldType::String, 894, 200},
        {&dostup::otdMolLayout(), "OMO:NOTE", FieldType::String, 102, 120},
        {&dostup::objectLayout(), "OBJ:NAME", FieldType::String, 38, 50},
        {&dostup::dostupLayout(), "DOS:OPENFLAG", FieldType::Byte, 4, 1},
        {&dostup::dostupLayout(), "DOS:PRINTFLAG", FieldType::Byte, 11, 1},
        {&dostup::dostupLayout(), "DOS:REZSTR", FieldType::String, 13, 7},
        {&dostup::molLogLayout(), "MLO:OPERATOR", FieldType::UShort, 10, 2},
        {&dostup::molLogLayout(), "MLO:NOTE", FieldType::CString, 53, 151},
        {&dostup::filterLayout(), "FIL:NUMBER", FieldType::Short, 20, 2},
        {&dostup::filterLayout(), "FIL:EXPRESSION", FieldType::CString, 123, 201},
        {&dostup::histListLayout(), "HIS:NUMBER", FieldType::ULong, 20, 4},
        {&dostup::histListLayout(), "HIS:NOTE", FieldType::CString, 125, 81},
    };
    for (const Expect& e : expected) {
        SCOPED_TRACE(e.name);
        const storage::FieldDef* field = e.layout->field(e.name);
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->name, e.name);
        EXPECT_EQ(field->type, e.type);
        EXPECT_EQ(field->offset, e.offset);
        EXPECT_EQ(field->size, e.size);
    }
}

TEST(Layouts, KeysWithComponentsUniquenessAndPrimaryFlag) {
    struct Expect {
        const RecordLayout* layout;
        const char* name;
        std::vector<std::string> components;
        bool unique;
        bool primary;
    };
    const Expect expected[] = {
        {&refbooks::firmLayout(), "GLO:FIRM_KEY", {"GLO:FIRM"}, true, true},
        {&refbooks::priceLayout(), "PRI:ID_KEY", {"PRI:ID"}, true, true},
        {&refbooks::valutLayout(), "VAL:CODE_KEY", {"VAL:COD"}, true, true},
        {&refbooks::valutLayout(), "VAL:OBOZN_KEY", {"VAL:OBOZN"}, true, false},
        {&refbooks::kursLayout(), "KUR:VALUTNUMBER_KEY", {"KUR:VALUT", "KUR:NUMBER"}, true, true},
        {&refbooks::kursLayout(), "KUR:VALUT_KEY", {"KUR:VALUT", "KUR:DATE"}, true, false},
        {&refbooks::storeLayout(), "STO:CODE_KEY", {"STO:COD"}, true, true},
        {&refbooks::typeOpLayout(), "TOP:ID_KEY", {"TOP:ID"}, true, true},
        {&dostup::molLayout(), "MOL:SCODE_KEY", {"MOL:SCODE"}, true, true},
        {&dostup::molLayout(), "MOL:NAME_KEY", {"MOL:LNAME"}, false, false},
        {&dostup::molLayout(), "MOL:OTD_KEY", {"MOL:OTD_ID", "MOL:LNAME"}, false, false},
        {&dostup::katMolLayout(), "KTM:CODE_KEY", {"KTM:COD"}, true, true},
        {&dostup::otdMolLayout(), "OMO:ID_KEY", {"OMO:OTD_ID"}, true, true},
        {&dostup::objectLayout(), "OBJ:ID_KEY", {"OBJ:ID"}, true, true},
        {&dostup::objectLayout(), "OBJ:OBOZN_KEY", {"OBJ:OBOZN"}, true, false},
        {&dostup::dostupLayout(), "DOS:KATEG_KEY", {"DOS:KATEGCODE", "DOS:OBJECTID"}, true, true},
        {&dostup::molLogLayout(), "MLO:SCODE_KEY", {"MLO:SCODE", "MLO:DATE", "MLO:TIME"}, true, true},
        {&dostup::filterLayout(), "FIL:TABLE_KEY", {"FIL:TABLE", "FIL:NUMBER"}, true, true},
        {&dostup::histListLayout(), "HIS:FIELDNUMBER_KEY", {"HIS:FIELD", "HIS:NUMBER"}, true, true},
        {&dostup::histListLayout(), "HIS:FIELDITEM_KEY", {"HIS:FIELD", "HIS:ITEM"}, true, false},
    };
    std::size_t keyCount = 0;
    for (const FileFacts& f : allFiles()) keyCount += f.layout->keys().size();
    EXPECT_EQ(keyCount, std::size(expected));  // no file declares a key beyond these

    for (const Expect& e : expected) {
        SCOPED_TRACE(e.name);
        const storage::KeyDef* key = e.layout->key(e.name);
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(key->name, e.name);
        EXPECT_EQ(componentNames(*e.layout, *key), e.components);
        EXPECT_EQ(key->unique, e.unique);
        EXPECT_EQ(key->primary, e.primary);
        if (e.primary) {
            EXPECT_EQ(e.layout->primaryKey(), key);
        }
    }
}

TEST(Layouts, ModViewIsTheEmployeeFileUnderItsOwnNames) {
    const RecordLayout& mol = dostup::molLayout();
    const RecordLayout& mod = dostup::modLayout();
    EXPECT_EQ(mod.prefix(), "MOD");
    EXPECT_EQ(mod.diskName(), "MOL");
    EXPECT_EQ(mod.builtInName(), mol.builtInName());
    EXPECT_TRUE(mod.isProtected());
    EXPECT_EQ(mod.recordSize(), 1094u);
    ASSERT_EQ(mod.fields().size(), mol.fields().size());
    for (std::size_t i = 0; i < mol.fields().size(); ++i) {
        EXPECT_EQ(mod.fields()[i].name, "MOD" + mol.fields()[i].name.substr(3));
        EXPECT_EQ(mod.fields()[i].offset, mol.fields()[i].offset);
        EXPECT_EQ(mod.fields()[i].type, mol.fields()[i].type);
    }
    ASSERT_EQ(mod.keys().size(), 3u);
    EXPECT_EQ(mod.keys()[0].name, "MOD:SCODE_KEY");
    EXPECT_EQ(mod.keys()[1].name, "MOD:NAME_KEY");
    EXPECT_EQ(mod.keys()[2].name, "MOD:OTD_KEY");
    const storage::KeyDef* otd = mod.key("mod:otd_key");
    ASSERT_NE(otd, nullptr);
    EXPECT_EQ(componentNames(mod, *otd), (std::vector<std::string>{"MOD:OTD_ID", "MOD:LNAME"}));
    EXPECT_EQ(mod.primaryKey()->name, "MOD:SCODE_KEY");
    // Each object answers to its own prefix only.
    EXPECT_EQ(mod.fieldIndex("MOL:SCODE"), -1);
    EXPECT_EQ(mol.fieldIndex("MOD:SCODE"), -1);
    EXPECT_EQ(mod.key("MOL:SCODE_KEY"), nullptr);
    // The MOL layout itself is untouched by the view.
    EXPECT_EQ(mol.keys()[0].name, "MOL:SCODE_KEY");
}

TEST(Layouts, NamesAnswerInAnyLetterCaseWithOrWithoutPrefix) {
    const RecordLayout& val = refbooks::valutLayout();
    const int obozn = val.fieldIndex("VAL:OBOZN");
    ASSERT_GE(obozn, 0);
    EXPECT_EQ(val.fieldIndex("val:obozn"), obozn);
    EXPECT_EQ(val.fieldIndex("Val:Obozn"), obozn);
    EXPECT_EQ(val.fieldIndex("obozn"), obozn);
    EXPECT_EQ(val.fieldIndex("KUR:OBOZN"), -1);  // another file's prefix
    EXPECT_EQ(val.fieldIndex("VAL:OBOZ"), -1);
    EXPECT_EQ(val.fieldIndex("VAL:"), -1);
    EXPECT_NE(val.key("val:obozn_key"), nullptr);
    EXPECT_EQ(val.key("obozn_KEY"), val.key("VAL:OBOZN_KEY"));
    EXPECT_EQ(val.key("VAL:NAME_KEY"), nullptr);
    // Kurs has both KUR:KURS and KUR:KURSCASH; neither name swallows the other.
    const RecordLayout& kur = refbooks::kursLayout();
    EXPECT_NE(kur.fieldIndex("kur:kurs"), kur.fieldIndex("KUR:KURSCASH"));
}

TEST(Layouts, DeclarationMistakesAreRefused) {
    RecordLayout layout("Test", "TST", "Test", "");
    layout.uint16("ID").string("NAME", 10);
    EXPECT_THROW(layout.byte("name"), std::logic_error);
    EXPECT_THROW(layout.key("X_KEY", {"MISSING"}, true), std::logic_error);
    layout.key("ID_KEY", {"ID"}, true, true);
    EXPECT_THROW(layout.key("id_key", {"NAME"}, false), std::logic_error);
    EXPECT_EQ(layout.keys().size(), 1u);
}
