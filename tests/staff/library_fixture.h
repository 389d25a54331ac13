// Shared by the tests of the library's screens run through their list and form
// engines: the access files in a temporary data folder, the scripted message
// boxes, the rights the test sets, and records put straight into the files.
#pragma once

#include "access/access_files.h"
#include "access/access_layouts.h"
#include "framework/file_access.h"
#include "framework/form/form_ditto.h"
#include "framework/shared_state.h"
#include "platform/cp1251.h"
#include "platform/user_services.h"
#include "storage/data_file.h"
#include "tests/helpers/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace library_tests {

using platform::ru;

class LibraryTest : public ::testing::Test {
protected:
    LibraryTest() {
        std::filesystem::create_directories(folder.path() / "Dat");
        dostup::AccessFiles& f = files();
        for (storage::DataFile* file : {&f.mol, &f.mod, &f.katMol, &f.otdMol, &f.object, &f.dostup,
                                        &f.molLog, &f.filter, &f.histList, &f.rightsLog, &f.molChange})
            file->setName(".\\Dat\\" + file->label());
        framework::globalRequest() = framework::globalResponse() = framework::vcrRequest() = 0;
        framework::setRightsCheck([this](const std::string& designation) {
            asked.push_back(designation);
            return static_cast<std::int16_t>(rights);
        });
        framework::setHelpOpener([this](const std::string& topic) { help.push_back(topic); });
    }
    ~LibraryTest() override {
        dostup::AccessFiles& f = files();
        for (storage::DataFile* file : {&f.mol, &f.mod, &f.katMol, &f.otdMol, &f.object, &f.dostup,
                                        &f.molLog, &f.filter, &f.histList, &f.rightsLog, &f.molChange})
            while (framework::userCount(*file) > 0) framework::releaseFile(*file);
        framework::setRightsCheck({});
        framework::setHelpOpener({});
        framework::form::forgetDittoRecords();
        framework::globalRequest() = framework::globalResponse() = framework::vcrRequest() = 0;
    }

    static dostup::AccessFiles& files() { return dostup::accessFiles(); }

    // Adds a record through a file object of its own, as another station would.
    void add(storage::DataFile& file, const std::map<std::string, std::string>& values) {
        storage::DataFile station(file.layout());
        station.setName(file.name());
        station.setOwnerPassword(dostup::ownerPasswordOf(file.layout()));
        framework::useFile(station);
        station.record().clear();
        for (const auto& [name, value] : values) ASSERT_TRUE(station.record().setValue(name, value)) << name;
        ASSERT_EQ(station.add(), 0) << station.errorText();
        framework::releaseFile(station);
    }

    // Every record of a file in the order of a key, as stored.
    std::vector<storage::Record> stored(storage::DataFile& file, const char* key) {
        storage::DataFile station(file.layout());
        station.setName(file.name());
        station.setOwnerPassword(dostup::ownerPasswordOf(file.layout()));
        framework::useFile(station);
        std::vector<storage::Record> records;
        station.set(*station.layout().key(key));
        while (station.next() == 0) records.push_back(station.record());
        framework::releaseFile(station);
        return records;
    }

    // One field of every record, without trailing blanks.
    std::vector<std::string> column(storage::DataFile& file, const char* key, const char* field) {
        std::vector<std::string> values;
        for (const storage::Record& r : stored(file, key))
            values.emplace_back(platform::clip(*r.value(field)));
        return values;
    }

    const platform::MessageBoxRequest& box(std::size_t i) { return services->shown.at(i); }

    testing_support::TempFolder folder;
    platform::ScopedScriptedServices services;
    int rights = 0;
    std::vector<std::string> asked;
    std::vector<std::string> help;
};

}  // namespace library_tests
