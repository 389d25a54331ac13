// Data file access as the screens use it: the file-open check, user counts, the
// standard messages, and the delete and update rules between parents and children.
#include "access/access_layouts.h"
#include "framework/file_access.h"
#include "framework/referential_rules.h"
#include "framework/standard_messages.h"
#include "platform/cp1251.h"
#include "platform/user_services.h"
#include "refbooks/ref_layouts.h"
#include "storage/data_file.h"
#include "tests/helpers/raw_database.h"
#include "tests/helpers/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using platform::kButtonNo;
using platform::ProgramStopped;
using storage::DataFile;

class DataAccess : public ::testing::Test {
protected:
    DataAccess() {
        std::filesystem::create_directories(folder.path() / "Dat");
        valut.setName(".\\Dat\\Valut");
        kurs.setName(".\\Dat\\KursVal");
        otdMol.setName(".\\Dat\\OtdMOL");
        mol.setName(".\\Dat\\MOL");
        mol.setOwnerPassword(dostup::kOwnerPassword);
        framework::setChildLinks(valut, {{&kurs, "VAL:OBOZN", "KUR:VALUT",
                                          kurs.layout().key("VALUT_KEY"), false}});
        framework::setChildLinks(otdMol, {{&mol, "OMO:OTD_ID", "MOL:OTD_ID",
                                           mol.layout().key("OTD_KEY"), true}});
    }
    ~DataAccess() override {
        framework::setChildLinks(valut, {});
        framework::setChildLinks(otdMol, {});
        framework::clearSavedError();
    }

    void addCurrency(int code, const std::string& designation) {
        valut.record().clear();
        valut.record().setValue("VAL:COD", std::to_string(code));
        valut.record().setValue("VAL:OBOZN", designation);
        ASSERT_EQ(valut.add(), 0) << valut.driverErrorText();
    }
    void addRate(const std::string& designation, int number) {
        kurs.record().clear();
        kurs.record().setValue("KUR:VALUT", designation);
        kurs.record().setValue("KUR:NUMBER", std::to_string(number));
        kurs.record().setValue("KUR:DATE", std::to_string(80000 + number));
        ASSERT_EQ(kurs.add(), 0) << kurs.driverErrorText();
    }
    // Reads the currency with this code into the buffer as the current record.
    void fetchCurrency(int code) {
        valut.record().setValue("VAL:COD", std::to_string(code));
        ASSERT_EQ(valut.get(*valut.layout().key("CODE_KEY")), 0);
    }
    std::string lastText() { return services->shown.empty() ? "" : services->shown.back().text; }

    testing_support::TempFolder folder;
    platform::ScopedScriptedServices services;
    DataFile valut{refbooks::valutLayout()};
    DataFile kurs{refbooks::kursLayout()};
    DataFile otdMol{dostup::otdMolLayout()};
    DataFile mol{dostup::molLayout()};
};

TEST_F(DataAccess, MissingFileIsCreatedEmptyAndOpened) {
    framework::FileUse use(valut);
    EXPECT_TRUE(valut.isOpen());
    EXPECT_TRUE(services->shown.empty());
    valut.set(*valut.layout().key("CODE_KEY"));
    EXPECT_EQ(valut.next(), storage::error::kRecordNotAvailable);
}

TEST_F(DataAccess, UserCountsOpenOnceAndCloseWithTheLastUser) {
    framework::useFile(valut);
    framework::useFile(valut);
    EXPECT_EQ(framework::userCount(valut), 2);
    framework::releaseFile(valut);
    EXPECT_TRUE(valut.isOpen()) << "a file stays open across nested procedures";
    framework::releaseFile(valut);
    EXPECT_FALSE(valut.isOpen());
    EXPECT_EQ(framework::userCount(valut), 0);
    framework::releaseFile(valut);  // one release too many changes nothing
    EXPECT_EQ(framework::userCount(valut), 0);
    {
        framework::FileUse early(valut);
    }  // a procedure that ends early still releases its files
    EXPECT_FALSE(valut.isOpen());
}

TEST_F(DataAccess, FileThatCannotBeCreatedEndsTheProgram) {
    valut.setName(".\\NoSuchFolder\\Valut");
    EXPECT_THROW(framework::useFile(valut), ProgramStopped);
    ASSERT_EQ(services->shown.size(), 1u);
    EXPECT_EQ(services->shown[0].caption, "File Creation Error");
    EXPECT_EQ(lastText().rfind("Error: (", 0), 0u);
    EXPECT_NE(lastText().find(") creating .\\NoSuchFolder\\Valut.  Press OK to end this application."),
              std::string::npos);
    EXPECT_EQ(services->stops, std::vector<std::string>{"File Creation Error!"});
}

TEST_F(DataAccess, TableThatDoesNotMatchTheLayoutEndsWithInvalidFile) {
    {
        framework::FileUse use(valut);  // creates Valut
    }
    // Another program's idea of the file: the same table with other fields.
    storage::RecordLayout other("Valut", "VAL", "Valut", "");
    other.uint16("COD").string("NAME", 10).key("CODE_KEY", {"COD"}, true, true);
    DataFile impostor(other);
    impostor.setName(".\\Dat\\Valut");
    EXPECT_THROW(framework::useFile(impostor), ProgramStopped);
    ASSERT_EQ(services->shown.size(), 1u);
    EXPECT_EQ(services->shown[0].caption, "Invalid File");
    EXPECT_NE(lastText().find("(47)) accessing .\\Dat\\Valut.  Press OK to end this application."),
              std::string::npos);
    EXPECT_EQ(services->stops, std::vector<std::string>{"Invalid File!"});
}

TEST_F(DataAccess, DamagedKeysAreRebuiltAfterAskingAndNoEndsTheProgram) {
    {
        framework::FileUse use(valut);
        addCurrency(1, "USD");
    }
    const auto dropKey = [this] {
        testing_support::RawDatabase raw(folder.path() / "Dat" / "Valut.db");
        ASSERT_EQ(raw.exec("DROP INDEX \"Valut_OBOZN_KEY\""), 0) << raw.error();
    };
    dropKey();
    services->answers = {platform::kButtonYes};
    {
        framework::FileUse use(valut);
        ASSERT_EQ(services->shown.size(), 1u);
        EXPECT_EQ(services->shown[0].caption, "Invalid Key");
        EXPECT_EQ(lastText(), ".\\Dat\\Valut key file is invalid.  Do you want to rebuild the key?");
        valut.record().setValue("VAL:OBOZN", "usd");
        EXPECT_EQ(valut.get(*valut.layout().key("OBOZN_KEY")), 0) << "the key works again";
    }

    dropKey();
    services->answers = {kButtonNo};
    EXPECT_THROW(framework::useFile(valut), ProgramStopped);
    EXPECT_EQ(services->stops, std::vector<std::string>{"Invalid Key!"});
}

TEST_F(DataAccess, CurrencyWithRatesCannotBeDeleted) {
    framework::FileUse useValut(valut);
    framework::FileUse useKurs(kurs);
    addCurrency(1, "USD");
    addCurrency(2, "EUR");
    addRate("usd", 1);  // case-insensitive link

    fetchCurrency(1);
    EXPECT_NE(framework::deleteRecord(valut), 0);
    ASSERT_EQ(services->shown.size(), 1u);
    EXPECT_EQ(services->shown[0].caption, "Referential Integrity Delete Error");
    EXPECT_EQ(lastText(),
              "This record is referenced from the file Kurs.  This record cannot be deleted while "
              "these references exist.");
    EXPECT_EQ(services->shown[0].icon, platform::Icon::Information);
    fetchCurrency(1);  // still there

    fetchCurrency(2);
    EXPECT_EQ(framework::deleteRecord(valut), 0);
    valut.record().setValue("VAL:COD", "2");
    EXPECT_EQ(valut.get(*valut.layout().key("CODE_KEY")), storage::error::kRecordNotFound);
    EXPECT_TRUE(kurs.isOpen()) << "the rule gives back only its own use of the child";
}

TEST_F(DataAccess, DesignationChangeWithRatesIsRefusedAndPutBack) {
    framework::FileUse useValut(valut);
    framework::FileUse useKurs(kurs);
    addCurrency(1, "USD");
    addRate("USD", 1);
    fetchCurrency(1);
    const storage::Record original = valut.record();
    valut.record().setValue("VAL:OBOZN", "USX");
    valut.record().setValue("VAL:NAME", "changed");

    EXPECT_EQ(framework::updateRecord(valut, original), framework::kUpdateError);
    EXPECT_EQ(services->shown.back().caption, "Referential Integrity Update Error");
    EXPECT_EQ(lastText(),
              "This record is referenced from the file Kurs.  Linking field(s) have been restricted "
              "from change and have been reset to original values.");
    EXPECT_EQ(*valut.record().value("VAL:OBOZN"), "USD ");
    fetchCurrency(1);
    EXPECT_EQ(platform::clip(*valut.record().value("VAL:NAME")), "") << "nothing was written";

    // Changing another field, or the designation of a currency without rates, is written.
    valut.record().setValue("VAL:NAME", "Dollar");
    EXPECT_EQ(framework::updateRecord(valut, valut.record()), framework::kUpdateDone);
}

TEST_F(DataAccess, DepartmentCodeChangeIsCarriedToItsEmployees) {
    framework::FileUse useOtd(otdMol);
    framework::FileUse useMol(mol);
    otdMol.record().clear();
    otdMol.record().setValue("OMO:OTD_ID", "5");
    ASSERT_EQ(otdMol.add(), 0);
    for (int code = 1; code <= 3; ++code) {
        mol.record().clear();
        mol.record().setValue("MOL:SCODE", std::to_string(code));
        mol.record().setValue("MOL:OTD_ID", code == 3 ? "6" : "5");
        mol.record().setValue("MOL:LNAME", platform::ru("Петров"));
        ASSERT_EQ(mol.add(), 0);
    }
    otdMol.record().setValue("OMO:OTD_ID", "5");
    ASSERT_EQ(otdMol.get(*otdMol.layout().primaryKey()), 0);
    const storage::Record original = otdMol.record();
    otdMol.record().setValue("OMO:OTD_ID", "9");
    EXPECT_EQ(framework::updateRecord(otdMol, original), framework::kUpdateDone);

    std::vector<std::string> departments;
    mol.set(*mol.layout().primaryKey());
    while (mol.next() == 0) departments.push_back(*mol.record().value("MOL:OTD_ID"));
    EXPECT_EQ(departments, (std::vector<std::string>{"9", "9", "6"}));

    // The department with employees cannot be deleted.
    EXPECT_NE(framework::deleteRecord(otdMol), 0);
    EXPECT_NE(lastText().find("referenced from the file MOL."), std::string::npos);
}

TEST_F(DataAccess, PutAfterAnotherStationsRewriteLoadsTheirValues) {
    framework::FileUse useValut(valut);
    addCurrency(1, "USD");
    DataFile other(refbooks::valutLayout());
    other.setName(valut.name());
    ASSERT_EQ(other.open(), 0);

    fetchCurrency(1);
    valut.watch();
    fetchCurrency(1);  // the list re-reads the record with the watch armed
    const storage::Record original = valut.record();

    other.record().setValue("VAL:COD", "1");
    ASSERT_EQ(other.get(*other.layout().key("CODE_KEY")), 0);
    other.record().setValue("VAL:NAME", "Theirs");
    ASSERT_EQ(other.put(), 0);

    valut.record().setValue("VAL:NAME", "Mine");
    EXPECT_EQ(framework::updateRecord(valut, original), framework::kUpdateChangedElsewhere) << services->shown.back().text;
    EXPECT_EQ(services->shown.back().caption, "Record Was Not Updated");
    EXPECT_EQ(platform::clip(*valut.record().value("VAL:NAME")), "Theirs");
    EXPECT_FALSE(framework::hasSavedError());

    // Without the detail flag the change is reported by message 15.
    other.record().setValue("VAL:NAME", "Theirs again");
    ASSERT_EQ(other.put(), 0);
    valut.record().setValue("VAL:NAME", "Mine again");
    EXPECT_EQ(framework::updateRecord(valut, original, false), framework::kUpdateChangedElsewhere);
    EXPECT_EQ(services->shown.back().caption, "Update Operation Error");
    EXPECT_EQ(lastText(), "This record was changed by another station.");

    // Having seen the other values, the next put goes through.
    valut.record().setValue("VAL:NAME", "Mine at last");
    EXPECT_EQ(framework::updateRecord(valut, original), framework::kUpdateDone);
}

TEST(StandardMessages, TextsCaptionsButtonsAndIcons) {
    platform::ScopedScriptedServices services;
    services->answers = {platform::kButtonCancel, platform::kButtonYes, platform::kButtonOk};
    EXPECT_EQ(framework::standardMessage(16), platform::kButtonCancel);
    EXPECT_EQ(services->shown[0].caption, "Record Update Error");
    EXPECT_EQ(services->shown[0].buttons,
              platform::kButtonYes | platform::kButtonNo | platform::kButtonCancel);
    EXPECT_EQ(services->shown[0].defaultButton, platform::kButtonCancel);

    framework::standardMessage(23);
    EXPECT_EQ(services->shown[1].text, "Are you sure you want to cancel?");
    EXPECT_EQ(services->shown[1].icon, platform::Icon::Exclamation);
    EXPECT_EQ(services->shown[1].defaultButton, platform::kButtonNo);

    framework::standardMessage(24, "Id   ");
    EXPECT_EQ(services->shown[2].text, "Adding this record creates a duplicate entry for the key:Id");

    framework::standardMessage(32);
    EXPECT_EQ(services->shown[3].caption, "Confirm Delete");
    EXPECT_EQ(services->shown[3].buttons, platform::kButtonOk | platform::kButtonCancel);
    EXPECT_EQ(services->shown[3].icon, platform::Icon::Exclamation);
}

TEST(StandardMessages, ErrorDescriptionPrefersTheSavedErrorAndConsumesIt) {
    platform::ScopedScriptedServices services;
    const storage::ErrorState current = storage::failure(35);
    EXPECT_EQ(framework::errorDescription(current), current.text + " (35)");

    testing_support::TempFolder folder;
    DataFile valut(refbooks::valutLayout());
    valut.setName(".\\Missing\\Valut");
    valut.open();
    const std::string expected = valut.errorText() + " (" + std::to_string(valut.errorCode()) + ")";
    framework::saveError(valut);
    EXPECT_TRUE(framework::hasSavedError());
    framework::standardMessage(35, "Valut  ", current);
    EXPECT_EQ(services->shown.back().text,
              "Error: (" + expected + ") attempting to access a record from the Valut file.  Returning to previous "
                  "window.");
    EXPECT_FALSE(framework::hasSavedError());

    const storage::ErrorState driver = storage::driverFailure(11, "database disk image is malformed");
    EXPECT_EQ(framework::errorDescription(driver), "database disk image is malformed (11)");
}

TEST(StandardMessages, InvalidKeyAnsweredNoEndsTheProgram) {
    platform::ScopedScriptedServices services;
    services->answers = {kButtonNo};
    EXPECT_THROW(framework::standardMessage(2, ".\\Dat\\Valut"), ProgramStopped);
    EXPECT_EQ(services->shown[0].text,
              ".\\Dat\\Valut key file is invalid.  Do you want to rebuild the key?");
    EXPECT_EQ(services->stops, std::vector<std::string>{"Invalid Key!"});
}

}  // namespace
