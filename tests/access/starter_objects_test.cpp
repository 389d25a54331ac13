// A new installation: the object file the library creates holds every object the
// screens of the program and the library ask about, so no list greets the
// operator with " Доступ. Нет обьекта: ..."; an object nobody registered still
// says so, and an existing object file is left as it is.
#include "access/access_files.h"
#include "access/dostup.h"
#include "access/starter_objects.h"
#include "framework/file_access.h"
#include "platform/cp1251.h"
#include "platform/fixed_text.h"
#include "platform/user_services.h"
#include "tests/helpers/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace {

class NewInstallation : public ::testing::Test {
protected:
    NewInstallation() {
        std::filesystem::create_directories(folder.path() / "Dat");
        platform::writeCString(g_BasePath, ".\\Dat\\");
        DOSTUP_INITDLL();
        g_SCode = 0;
    }
    testing_support::TempFolder folder;
    platform::ScopedScriptedServices services;
};

TEST_F(NewInstallation, EveryScreensObjectIsRegisteredOnce) {
    // Nobody logged in: the reference books are open, the staff and the rights
    // are not.
    for (const char* designation : {"Firm", "Price", "Valut", "Kurs", "Store", "TypeOp", "Filter", "price"})
        EXPECT_EQ(DOSTOBJ(designation, nullptr), 0) << designation;
    for (const char* designation : {"MOL", "MolLOG", "OtdMOL", "KatMOL", "Dostup", "Object", "OTDMOL"})
        EXPECT_EQ(DOSTOBJ(designation, nullptr), 255) << designation;
    EXPECT_TRUE(services->shown.empty()) << services->shown.at(0).text;

    EXPECT_EQ(DOSTOBJ("Ledger", nullptr), 0);
    ASSERT_EQ(services->shown.size(), 1u);
    EXPECT_EQ(services->shown[0].text, platform::ru(" Доступ. Нет обьекта: ") + "Ledger");

    storage::DataFile& object = dostup::accessFiles().object;
    framework::FileUse use(object);
    std::set<std::string> designations;
    object.set(*object.layout().key("OBJ:ID_KEY"));
    int code = 0;
    while (object.next() == 0) {
        EXPECT_EQ(object.record().getInt(0), ++code) << "codes from 1 without gaps";
        EXPECT_EQ(std::string(platform::clip(*object.record().value("OBJ:TYPE"))), platform::ru("Справочник"));
        EXPECT_FALSE(platform::clip(*object.record().value("OBJ:NAME")).empty());
        designations.insert(std::string(platform::clip(*object.record().value("OBJ:OBOZN"))));
    }
    EXPECT_EQ(designations.size(), dostup::starterObjects().size());
}

TEST_F(NewInstallation, AnExistingObjectFileIsLeftAsItIs) {
    // An installation whose administrator registered one object of his own.
    storage::DataFile station(dostup::accessFiles().object.layout());
    station.setName(dostup::accessFiles().object.name());
    framework::useFile(station);  // this station's own copy: nothing filled in
    station.record().clear();
    station.record().setValue("OBJ:ID", "1");
    station.record().setValue("OBJ:OBOZN", "Ledger");
    ASSERT_EQ(station.add(), 0);
    framework::releaseFile(station);

    EXPECT_EQ(DOSTOBJ("Ledger", nullptr), 0);
    EXPECT_EQ(DOSTOBJ("Price", nullptr), 0);
    ASSERT_EQ(services->shown.size(), 1u) << "Price was never registered here";
    EXPECT_EQ(services->shown[0].text, platform::ru(" Доступ. Нет обьекта: ") + "Price");
}

}  // namespace
