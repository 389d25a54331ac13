// The record buffer: the exact bytes of each field type, conversions between
// them, and access to fields by name.
#include "access/access_layouts.h"
#include "platform/cp1251.h"
#include "refbooks/ref_layouts.h"
#include "storage/record.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using storage::Record;

namespace {

std::vector<std::uint8_t> bytesOf(const Record& record, const char* name) {
    const storage::FieldDef* f = record.layout().field(name);
    const auto begin = record.bytes().begin() + static_cast<std::ptrdiff_t>(f->offset);
    return {begin, begin + static_cast<std::ptrdiff_t>(f->size)};
}

std::size_t indexOf(const Record& record, const char* name) {
    const int index = record.layout().fieldIndex(name);
    EXPECT_GE(index, 0) << name;
    return static_cast<std::size_t>(index);
}

using Bytes = std::vector<std::uint8_t>;

}  // namespace

TEST(Record, ClearGivesBlanksZerosAndZeroNumbers) {
    Record sto(refbooks::storeLayout());
    std::fill(sto.data(), sto.data() + sto.size(), 0xAB);
    sto.clear();
    EXPECT_EQ(bytesOf(sto, "STO:NAME"), Bytes(41, 0));      // CSTRING
    EXPECT_EQ(bytesOf(sto, "STO:REZERV"), Bytes(20, ' '));  // STRING
    EXPECT_EQ(bytesOf(sto, "STO:QUANT"), Bytes(8, 0));      // REAL 0.0
    EXPECT_EQ(bytesOf(sto, "STO:COD"), Bytes(2, 0));
    EXPECT_EQ(bytesOf(sto, "STO:BYTE5"), Bytes(1, 0));
    EXPECT_EQ(sto.value("STO:NAME"), "");

    Record mol(dostup::molLayout());
    std::fill(mol.data(), mol.data() + mol.size(), 0x99);
    mol.clear();
    EXPECT_EQ(bytesOf(mol, "MOL:SALARY"), Bytes(7, 0));  // DECIMAL positive zero
    EXPECT_EQ(mol.value("MOL:SALARY"), "0.00");
    EXPECT_EQ(mol.getInt(indexOf(mol, "MOL:KATEGCODE")), 0);

    // A new record starts cleared.
    Record fresh(refbooks::storeLayout());
    EXPECT_EQ(fresh, sto);
}

TEST(Record, IntegersAreLittleEndianAndWrapToTheirWidth) {
    Record val(refbooks::valutLayout());
    const std::size_t cod = indexOf(val, "VAL:COD");      // USHORT
    const std::size_t vequ = indexOf(val, "VAL:VEQU");    // SHORT
    const std::size_t credit = indexOf(val, "VAL:CREDIT");  // BYTE
    val.setInt(cod, 0x1234);
    EXPECT_EQ(bytesOf(val, "VAL:COD"), (Bytes{0x34, 0x12}));
    val.setInt(vequ, -2);
    EXPECT_EQ(bytesOf(val, "VAL:VEQU"), (Bytes{0xFE, 0xFF}));
    EXPECT_EQ(val.getInt(vequ), -2);

    val.setInt(cod, 70000);  // 70000 - 65536
    EXPECT_EQ(val.getInt(cod), 4464);
    val.setInt(cod, -1);
    EXPECT_EQ(val.getInt(cod), 65535);
    val.setInt(vequ, 40000);
    EXPECT_EQ(val.getInt(vequ), -25536);
    val.setInt(credit, 256);
    EXPECT_EQ(val.getInt(credit), 0);
    val.setInt(credit, -1);
    EXPECT_EQ(val.getInt(credit), 255);

    Record kur(refbooks::kursLayout());
    const std::size_t date = indexOf(kur, "KUR:DATE");  // LONG
    kur.setInt(date, 0x01020304);
    EXPECT_EQ(bytesOf(kur, "KUR:DATE"), (Bytes{0x04, 0x03, 0x02, 0x01}));
    kur.setInt(date, -5);
    EXPECT_EQ(bytesOf(kur, "KUR:DATE"), (Bytes{0xFB, 0xFF, 0xFF, 0xFF}));
    kur.setInt(date, 0x80000000LL);
    EXPECT_EQ(kur.getInt(date), std::numeric_limits<std::int32_t>::min());

    Record glo(refbooks::firmLayout());
    const std::size_t beg = indexOf(glo, "GLO:BEGDATE");  // ULONG
    glo.setInt(beg, -1);
    EXPECT_EQ(glo.getInt(beg), 4294967295LL);
    EXPECT_EQ(bytesOf(glo, "GLO:BEGDATE"), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));

    // Numbers given as text or as REAL wrap the same way; fractions are cut.
    EXPECT_TRUE(val.setValue("VAL:COD", "70000"));
    EXPECT_EQ(val.getInt(cod), 4464);
    val.setReal(cod, 65537.9);
    EXPECT_EQ(val.getInt(cod), 1);
    val.setReal(vequ, -3.7);
    EXPECT_EQ(val.getInt(vequ), -3);
    // Values no integer can hold give a defined result instead of garbage.
    val.setReal(cod, std::nan(""));
    EXPECT_EQ(val.getInt(cod), 0);
    val.setReal(cod, 1e30);  // 1e30 is a multiple of 2^16
    EXPECT_EQ(val.getInt(cod), 0);
    val.setReal(cod, -65536.0 * 1e6 - 3);
    EXPECT_EQ(val.getInt(cod), 65533);
    EXPECT_TRUE(val.setValue("VAL:COD", "inf"));
    EXPECT_EQ(val.getInt(cod), 0);
}

TEST(Record, RealIsAnIeeeDoubleLittleEndian) {
    Record pri(refbooks::priceLayout());
    const std::size_t skidka = indexOf(pri, "PRI:SKIDKA");
    pri.setReal(skidka, 1.5);
    EXPECT_EQ(bytesOf(pri, "PRI:SKIDKA"), (Bytes{0, 0, 0, 0, 0, 0, 0xF8, 0x3F}));
    pri.setReal(skidka, -2.0);
    EXPECT_EQ(bytesOf(pri, "PRI:SKIDKA"), (Bytes{0, 0, 0, 0, 0, 0, 0x00, 0xC0}));
    pri.setReal(skidka, 0.1);
    EXPECT_EQ(pri.getReal(skidka), 0.1);
    EXPECT_EQ(pri.value(skidka), "0.1");
    pri.setReal(skidka, 18.0);
    EXPECT_EQ(pri.value(skidka), "18");
    pri.setValue(skidka, " 12.75 ");
    EXPECT_EQ(pri.getReal(skidka), 12.75);
    pri.setValue(skidka, "abc");
    EXPECT_EQ(pri.getReal(skidka), 0.0);
    pri.setReal(skidka, 1e30);
    EXPECT_EQ(pri.getInt(skidka), std::numeric_limits<std::int64_t>::max());
}

TEST(Record, DecimalIsPackedSignThenThirteenDigitsOfHundredths) {
    Record mol(dostup::molLayout());
    const std::size_t salary = indexOf(mol, "MOL:SALARY");

    mol.setDecimalCents(salary, 0);
    EXPECT_EQ(bytesOf(mol, "MOL:SALARY"), Bytes(7, 0));
    mol.setDecimalCents(salary, 1250);
    EXPECT_EQ(bytesOf(mol, "MOL:SALARY"), (Bytes{0x00, 0x00, 0x00, 0x00, 0x00, 0x12, 0x50}));
    EXPECT_EQ(mol.value(salary), "12.50");
    EXPECT_EQ(mol.getReal(salary), 12.5);
    EXPECT_EQ(mol.getInt(salary), 12);
    mol.setDecimalCents(salary, -1);
    EXPECT_EQ(bytesOf(mol, "MOL:SALARY"), (Bytes{0xD0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01}));
    EXPECT_EQ(mol.value(salary), "-0.01");
    EXPECT_EQ(mol.getDecimalCents(salary), -1);
    mol.setDecimalCents(salary, storage::kDecimalMaxCents);
    EXPECT_EQ(bytesOf(mol, "MOL:SALARY"), (Bytes{0x09, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99}));
    EXPECT_EQ(mol.value(salary), "99999999999.99");

    // Beyond the thirteen digits the value stops at the largest one, either sign.
    mol.setDecimalCents(salary, storage::kDecimalMaxCents + 1);
    EXPECT_EQ(mol.getDecimalCents(salary), storage::kDecimalMaxCents);
    mol.setDecimalCents(salary, std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(mol.getDecimalCents(salary), -storage::kDecimalMaxCents);
    mol.setReal(salary, 1e20);
    EXPECT_EQ(mol.getDecimalCents(salary), storage::kDecimalMaxCents);
    mol.setReal(salary, -1e20);
    EXPECT_EQ(mol.getDecimalCents(salary), -storage::kDecimalMaxCents);
    mol.setInt(salary, std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(mol.getDecimalCents(salary), storage::kDecimalMaxCents);
    mol.setValue(salary, "123456789012345");
    EXPECT_EQ(mol.getDecimalCents(salary), storage::kDecimalMaxCents);

    // Text goes in exactly: no binary fraction error, the third place rounds.
    mol.setValue(salary, "0.29");
    EXPECT_EQ(mol.getDecimalCents(salary), 29);
    mol.setValue(salary, "1.005");
    EXPECT_EQ(mol.getDecimalCents(salary), 101);
    mol.setValue(salary, "-1.004");
    EXPECT_EQ(mol.getDecimalCents(salary), -100);
    mol.setValue(salary, "-0.001");  // rounds to zero, which is stored positive
    EXPECT_EQ(bytesOf(mol, "MOL:SALARY"), Bytes(7, 0));
    mol.setValue(salary, "1.5e2");
    EXPECT_EQ(mol.value(salary), "150.00");
    mol.setReal(salary, 0.29);
    EXPECT_EQ(mol.getDecimalCents(salary), 29);

    // Round trips of the packing itself, and the reading of foreign bytes.
    std::uint8_t packed[7];
    for (std::int64_t cents : std::vector<std::int64_t>{0, 1, -1, 1250, -123456789,
                                                        storage::kDecimalMaxCents}) {
        storage::packDecimal(cents, packed);
        EXPECT_EQ(storage::unpackDecimal(packed), cents);
    }
    const std::uint8_t otherSign[7] = {0xB0, 0, 0, 0, 0, 0x01, 0x00};
    EXPECT_EQ(storage::unpackDecimal(otherSign), -100);  // read as negative
}

TEST(Record, StringIsBlankPaddedAndCut) {
    Record val(refbooks::valutLayout());
    const std::size_t obozn = indexOf(val, "VAL:OBOZN");
    val.setText(obozn, "US");
    EXPECT_EQ(bytesOf(val, "VAL:OBOZN"), (Bytes{'U', 'S', ' ', ' '}));
    EXPECT_EQ(val.getText(obozn), "US  ");
    val.setText(obozn, "USDX1");
    EXPECT_EQ(val.getText(obozn), "USDX");
    val.setText(obozn, platform::ru("Руб"));  // three bytes in code page 1251
    EXPECT_EQ(val.getText(obozn), platform::ru("Руб") + " ");
    EXPECT_EQ(bytesOf(val, "VAL:NAME"), Bytes(30, ' '));  // the neighbour is untouched
}

TEST(Record, CStringKeepsItsZeroAndCutsTheRest) {
    Record pri(refbooks::priceLayout());
    const std::size_t name = indexOf(pri, "PRI:NAME");
    const std::string thirty = platform::ru(std::string(15, 'x') + "Оптовая цена ну");
    ASSERT_EQ(thirty.size(), 30u);
    pri.setText(name, thirty);
    Bytes expected(thirty.begin(), thirty.end());
    expected.push_back(0);
    EXPECT_EQ(bytesOf(pri, "PRI:NAME"), expected);
    EXPECT_EQ(pri.getText(name), thirty);

    pri.setText(name, thirty + "Z");  // the 31st character is cut
    EXPECT_EQ(pri.getText(name), thirty);
    EXPECT_EQ(bytesOf(pri, "PRI:NAME").back(), 0);

    pri.setText(name, "Short");  // nothing of the longer value stays behind
    Bytes shortBytes{'S', 'h', 'o', 'r', 't'};
    shortBytes.resize(31, 0);
    EXPECT_EQ(bytesOf(pri, "PRI:NAME"), shortBytes);
    EXPECT_EQ(bytesOf(pri, "PRI:SKIDKA"), Bytes(8, 0));

    pri.setText(name, std::string("ab\0cd", 5));  // a zero ends the value
    EXPECT_EQ(pri.getText(name), "ab");
}

TEST(Record, FieldsByNameInAnyLetterCase) {
    Record val(refbooks::valutLayout());
    EXPECT_TRUE(val.setValue("val:obozn", "EUR"));
    EXPECT_TRUE(val.setValue("Val:KursBanka", "95.5"));
    EXPECT_TRUE(val.setValue("vdecpoint", "2"));
    EXPECT_EQ(val.value("VAL:OBOZN"), "EUR ");
    EXPECT_EQ(val.value("val:kursbanka"), "95.5");
    EXPECT_EQ(val.value("VAL:VDECPOINT"), "2");
    EXPECT_FALSE(val.setValue("VAL:NOSUCH", "1"));
    EXPECT_FALSE(val.setValue("KUR:KURS", "1"));
    EXPECT_EQ(val.value("VAL:NOSUCH"), std::nullopt);

    // Text and number access meet: a number read from a text field and back.
    Record kur(refbooks::kursLayout());
    kur.setReal(indexOf(kur, "KUR:WEEKDAY"), 2.5);
    EXPECT_EQ(kur.value("KUR:WEEKDAY"), "2.5        ");
    EXPECT_EQ(kur.getReal(indexOf(kur, "KUR:WEEKDAY")), 2.5);

    // The MOD view has its own names over the same bytes.
    Record mod(dostup::modLayout());
    EXPECT_TRUE(mod.setValue("mod:lname", platform::ru("Иванов")));
    EXPECT_FALSE(mod.setValue("MOL:LNAME", "x"));
    Record mol(dostup::molLayout());
    mol.assign(mod.bytes());
    EXPECT_EQ(platform::clip(*mol.value("MOL:LNAME")), platform::ru("Иванов"));
}

TEST(Record, ReservedByteOfFirmIsCarriedButClearedLikeAnyByte) {
    Record glo(refbooks::firmLayout());
    std::vector<std::uint8_t> stored = glo.bytes();
    stored[1797] = 0x5A;  // as another program of the suite left it
    glo.assign(stored);
    EXPECT_TRUE(glo.setValue("GLO:SOS", "1"));
    EXPECT_TRUE(glo.setValue("GLO:AUTOHELP", "1"));
    EXPECT_TRUE(glo.setValue("GLO:CURSTORE", "3"));
    EXPECT_EQ(glo.bytes()[1796], 1);
    EXPECT_EQ(glo.bytes()[1797], 0x5A);
    EXPECT_EQ(glo.bytes()[1798], 1);
    EXPECT_EQ(glo.bytes()[1811], 3);
    Record copy = glo;
    EXPECT_EQ(copy.bytes()[1797], 0x5A);
    glo.clear();
    EXPECT_EQ(glo.bytes()[1797], 0);

    EXPECT_THROW(glo.assign(std::vector<std::uint8_t>(10)), std::invalid_argument);
}
