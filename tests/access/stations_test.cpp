// The library under failure and between stations, on the embedded files and on
// the database server: the rights check refuses when it cannot read, a writer
// killed at any moment leaves an employee and its change-log entry together or
// not at all, and of two stations at a first run only one creates the first
// administrator. The other stations are forked processes, so that each has its
// own connections, as a second workstation has.
#include "access/access_files.h"
#include "access/access_layouts.h"
#include "access/dostup.h"
#include "access/employee_log.h"
#include "access/first_administrator.h"
#include "access/rights.h"
#include "framework/file_access.h"
#include "platform/cp1251.h"
#include "platform/fixed_text.h"
#include "platform/user_services.h"
#include "storage/data_file.h"
#include "storage/driver_options.h"
#include "tests/access/station_process.h"
#include "tests/helpers/temp_folder.h"
#include "tests/storage/postgres_cluster.h"
#include "tests/storage/storage_target.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <map>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using platform::ru;
using storage_tests::StorageTarget;

using access_tests::finish;
using access_tests::runStation;
using access_tests::startStation;

class Stations : public ::testing::TestWithParam<StorageTarget> {
protected:
    static void TearDownTestSuite() { storage_tests::PostgresCluster::instance().stop(); }
    void SetUp() override {
        storage::setDefaultDriverOption("Recover=1");
        space = GetParam().makeSpace();
    }
    void TearDown() override { storage::resetDefaultDriverOptions(); }
    std::string dataDirectory() const { return space->diskName(""); }

    testing_support::TempFolder folder;  // the INI files of the stations
    std::unique_ptr<storage_tests::TargetSpace> space;
};

// The sample's shape: object MOL registered, employee 15 in category 14, which
// has no rights row (everything allowed), and category 0 banned everything.
int writeRightsFixture() {
    dostup::AccessFiles& files = dostup::accessFiles();
    framework::setNewFileFiller(files.object, {});
    framework::setNewFileFiller(files.dostup, {});
    framework::FileUse mol(files.mol), object(files.object), rights(files.dostup);
    files.mol.record().clear();
    files.mol.record().setInt("MOL:SCODE", 15);
    files.mol.record().setInt("MOL:KATEGCODE", 14);
    files.object.record().clear();
    files.object.record().setInt("OBJ:ID", 1);
    files.object.record().setText("OBJ:OBOZN", "MOL");
    files.dostup.record().clear();
    files.dostup.record().setInt("DOS:KATEGCODE", 0);
    files.dostup.record().setInt("DOS:OBJECTID", 1);
    files.dostup.record().setInt("DOS:OPENFLAG", 1);
    return files.mol.add() | files.object.add() | files.dostup.add();
}

// A file another station holds alone while operator 15 asks for "MOL": every
// ban, one message, and the host goes on; once it is released the next check
// reads and grants. The operator's category is never taken for category 0's.
TEST_P(Stations, RightsCheckRefusesWhileAFileIsHeldAndReadsAgainAfter) {
    if (IsSkipped()) return;
    ASSERT_EQ(runStation(dataDirectory(), writeRightsFixture), 0);
    for (const char* held : {"Object", "Dostup", "MOL"}) {
        SCOPED_TRACE(held);
        const int code = runStation(dataDirectory(), [held] {
            platform::ScopedScriptedServices services;
            dostup::AccessFiles& files = dostup::accessFiles();
            storage::DataFile* named = std::string(held) == "Object"   ? &files.object
                                       : std::string(held) == "Dostup" ? &files.dostup
                                                                       : &files.mol;
            storage::DataFile holder(named->layout());
            holder.setName(named->name());
            holder.setOwnerPassword(dostup::ownerPasswordOf(named->layout()));
            if (holder.open(0x12) != 0) return 10;  // read and write, deny all
            g_SCode = 15;
            if (DOSTOBJ("MOL", nullptr) != 255) return 11;
            if (services->shown.size() != 1 || services->shown[0].caption != ru(" Ошибка")) return 12;
            if (std::string(held) == "MOL" && GETMOL_KATEG(15) != dostup::kUnreadCategory) return 13;
            holder.close();
            if (DOSTOBJ("MOL", nullptr) != 0) return 14;
            if (GETMOL_KATEG(15) != 14) return 15;
            g_SCode = 0;
            return DOSTOBJ("MOL", nullptr) == 1 ? 0 : 16;
        });
        EXPECT_EQ(code, 0);
    }
}

// Employees with their entries, as the sample data and the first administrator
// add them; killed at random moments, the files always hold each employee with
// exactly one "Добавление" entry and no entry without its employee, once the
// employee file is taken into use again.
TEST_P(Stations, KilledWriterLeavesEachEmployeeWithItsEntry) {
    if (IsSkipped()) return;
    std::mt19937 random(20261209);
    int killedMidway = 0;
    for (int round = 0; round < 12; ++round) {
        const pid_t writer = startStation(dataDirectory(), [round] {
            dostup::AccessFiles& files = dostup::accessFiles();
            framework::FileUse mol(files.mol), log(files.molLog);
            for (int i = 1; i <= 40; ++i) {
                files.mol.record().clear();
                files.mol.record().setInt("MOL:SCODE", round * 40 + i);
                files.mol.record().setText("MOL:LNAME", "Kill" + std::to_string(i));
                if (dostup::addEmployeeLogged(ru("Добавление")) != 0) return 1;
            }
            return 0;
        });
        usleep(static_cast<useconds_t>(random() % 60000));
        kill(writer, SIGKILL);
        if (finish(writer) != 0) ++killedMidway;
        const int checked = runStation(dataDirectory(), [] {
            dostup::AccessFiles& files = dostup::accessFiles();
            framework::FileUse mol(files.mol), log(files.molLog);  // the hook moves held entries
            std::map<std::int64_t, int> entries;
            files.molLog.set(*files.molLog.layout().key("SCODE_KEY"));
            while (files.molLog.next() == 0) ++entries[files.molLog.record().getInt("MLO:SCODE")];
            std::size_t employees = 0;
            files.mol.set(*files.mol.layout().key("SCODE_KEY"));
            while (files.mol.next() == 0) {
                ++employees;
                if (entries[files.mol.record().getInt("MOL:SCODE")] != 1) return 20;
            }
            return entries.size() == employees ? 0 : 21;
        });
        ASSERT_EQ(checked, 0) << "round " << round;
    }
    RecordProperty("killed_midway", killedMidway);
}

// Two stations at a first run, each finding the employee file empty and
// creating an administrator: one wins, the other creates nothing, and the files
// hold one category, one employee and one entry.
TEST_P(Stations, OneOfTwoStationsCreatesTheFirstAdministrator) {
    if (IsSkipped()) return;
    // The loser waits for the winner's write, however loaded the machine.
    storage::setDefaultDriverOption("Recover=30");
    for (int round = 0; round < 8; ++round) {
        SCOPED_TRACE(round);
        const std::unique_ptr<storage_tests::TargetSpace> fresh = GetParam().makeSpace();
        const std::string directory = fresh->diskName("");
        const auto create = [] {
            return dostup::createFirstAdministrator({ru("Иванов"), "admin", "secret"}) ? 0 : 1;
        };
        const pid_t first = startStation(directory, create);
        const pid_t second = startStation(directory, create);
        EXPECT_EQ(finish(first) + finish(second), 1) << "exactly one created";
        EXPECT_EQ(runStation(directory, [] {
                      dostup::AccessFiles& files = dostup::accessFiles();
                      int counts = 0;
                      for (storage::DataFile* file : {&files.mol, &files.katMol, &files.molLog}) {
                          framework::FileUse use(*file);
                          file->set();
                          int n = 0;
                          while (file->next() == 0) ++n;
                          counts = counts * 10 + n;
                      }
                      return counts;
                  }),
                  111);
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, Stations, ::testing::ValuesIn(storage_tests::storageTargets()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
