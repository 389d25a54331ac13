// The rights journal between stations, on the embedded files and on the
// database server: a station killed right after a ban committed leaves the ban
// with its entry (moved by the next station that opens the rights), one killed
// at random moments never leaves a ban without its entry or an entry without
// its ban, and two stations toggling the same cell each leave their entry, the
// last of which is what the rights file holds.
#include "access/access_files.h"
#include "access/dostup.h"
#include "access/rights_journal.h"
#include "framework/file_access.h"
#include "platform/cp1251.h"
#include "platform/fixed_text.h"
#include "platform/user_services.h"
#include "staff/d_rights_grid.h"
#include "storage/data_file.h"
#include "storage/driver_options.h"
#include "storage/journaled_write.h"
#include "tests/access/station_process.h"
#include "tests/storage/postgres_cluster.h"
#include "tests/storage/storage_target.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <functional>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using platform::ru;
using storage_tests::StorageTarget;

using access_tests::finish;
using access_tests::runStation;
using access_tests::startStation;

// What the files hold once a station took the rights into use (which moves the
// entries a killed station left held): the rows and the journal's entries.
struct Stored {
    std::vector<std::string> rows;     // "object:change flag"
    std::vector<std::string> entries;  // "object:old>new"
};

class RightsJournalStations : public ::testing::TestWithParam<StorageTarget> {
protected:
    static void TearDownTestSuite() { storage_tests::PostgresCluster::instance().stop(); }
    void SetUp() override {
        storage::setDefaultDriverOption("Recover=30");
        space = GetParam().makeSpace();
    }
    void TearDown() override { storage::resetDefaultDriverOptions(); }
    std::string dataDirectory() const { return space->diskName(""); }

    // Reads the files in a station of its own; the result travels through a pipe.
    Stored stored() {
        int fds[2];
        if (pipe(fds) != 0) return {};
        const pid_t reader = startStation(dataDirectory(), [fds] {
            close(fds[0]);
            dostup::AccessFiles& files = dostup::accessFiles();
            framework::FileUse rights(files.dostup), journal(files.rightsLog);
            std::string text;
            files.dostup.set(*files.dostup.layout().key("KATEG_KEY"));
            while (files.dostup.next() == 0)
                if (files.dostup.record().getInt("DOS:KATEGCODE") == 2)  // not a new file's own bans
                    text += "R" + std::to_string(files.dostup.record().getInt("DOS:OBJECTID")) + ":" +
                        std::to_string(files.dostup.record().getInt("DOS:CHANGEFLAG")) + "\n";
            files.rightsLog.set(*files.rightsLog.layout().key("DATE_KEY"));
            while (files.rightsLog.next() == 0) {
                const storage::Record& e = files.rightsLog.record();
                text += "E" + std::to_string(e.getInt("RLG:OBJECTID")) + ":" +
                        std::string(platform::clip(e.getText("RLG:OLDVALUE"))) + ">" +
                        std::string(platform::clip(e.getText("RLG:NEWVALUE"))) + "\n";
            }
            const bool written = write(fds[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
            return written ? 0 : 1;
        });
        close(fds[1]);
        std::string text;
        char buffer[4096];
        for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
        close(fds[0]);
        EXPECT_EQ(finish(reader), 0);
        Stored result;
        std::size_t start = 0;
        for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
            const std::string line = text.substr(start + 1, end - start - 1);
            (text[start] == 'R' ? result.rows : result.entries).push_back(line);
        }
        return result;
    }

    std::unique_ptr<storage_tests::TargetSpace> space;
};

const std::string kAllowed = ru("разрешено");
const std::string kBanned = ru("запрещено");

TEST_P(RightsJournalStations, KilledRightAfterTheBanCommittedLeavesTheBanWithItsEntry) {
    if (IsSkipped()) return;
    const int killed = runStation(dataDirectory(), [] {
        storage::setAfterJournaledCommit([] { raise(SIGKILL); });
        staff::toggleBan(2, 1, 2);
        return 0;
    });
    EXPECT_EQ(killed, 128 + SIGKILL);
    const Stored files = stored();
    EXPECT_EQ(files.rows, std::vector<std::string>{"1:1"});
    EXPECT_EQ(files.entries, std::vector<std::string>{"1:" + kAllowed + ">" + kBanned}) << "exactly once";
}

TEST_P(RightsJournalStations, KilledAtRandomNeverLeavesABanWithoutItsEntry) {
    if (IsSkipped()) return;
    std::mt19937 random(20261209);
    for (int round = 0; round < 6; ++round) {
        const pid_t writer = startStation(dataDirectory(), [round] {
            for (int i = 1; i <= 30; ++i)
                if (!staff::toggleBan(2, static_cast<std::uint16_t>(round * 30 + i), 2)) return 1;
            return 0;
        });
        usleep(static_cast<useconds_t>(random() % 80000));
        kill(writer, SIGKILL);
        finish(writer);
    }
    const Stored files = stored();
    // Every row was made by one toggle: one entry each, for the same object.
    ASSERT_EQ(files.entries.size(), files.rows.size());
    for (std::size_t i = 0; i < files.rows.size(); ++i) {
        const std::string object = files.rows[i].substr(0, files.rows[i].find(':'));
        EXPECT_EQ(std::count(files.entries.begin(), files.entries.end(), object + ":" + kAllowed + ">" + kBanned), 1)
            << object;
    }
}

TEST_P(RightsJournalStations, TwoStationsTogglingOneCellEachLeaveTheirEntryAndTheLastWins) {
    if (IsSkipped()) return;
    const auto toggler = [] {
        int done = 0;
        for (int i = 0; i < 8; ++i) done += staff::toggleBan(2, 1, 2) ? 1 : 0;
        return done;
    };
    const pid_t first = startStation(dataDirectory(), toggler);
    const pid_t second = startStation(dataDirectory(), toggler);
    const int done = finish(first) + finish(second);
    ASSERT_GT(done, 0);
    const Stored files = stored();
    ASSERT_EQ(files.entries.size(), static_cast<std::size_t>(done)) << "one entry per toggle that was written";
    ASSERT_EQ(files.rows.size(), 1u);
    EXPECT_EQ(files.rows[0], "1:" + std::to_string(done % 2));
    // In the journal's order each entry starts from what the one before left.
    std::string value = kAllowed;
    for (const std::string& entry : files.entries) {
        EXPECT_EQ(entry.substr(0, entry.find('>')), "1:" + value);
        value = entry.substr(entry.find('>') + 1);
    }
    EXPECT_EQ(value, done % 2 ? kBanned : kAllowed) << "the last entry is what the grid shows";
}

INSTANTIATE_TEST_SUITE_P(Backends, RightsJournalStations, ::testing::ValuesIn(storage_tests::storageTargets()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
