// The rights inspector over the sample data: for every sample login and every
// access object its marks are the mask the rights check answers, with the
// source of the mask; the object mode lists exactly the employees whose
// category bans anything on the object.
#include "tests/framework/browse_fixture.h"
#include "tests/staff/library_fixture.h"

#include "access/dostup.h"
#include "access/rights.h"
#include "demo/sample_logins.h"
#include "demo/staff/staff_writer.h"
#include "framework/browse/browse_engine.h"
#include "platform/dates.h"
#include "staff/d_rights_inspector.h"

#include <set>

namespace library_tests {
namespace {

using browse_tests::FakeListView;
using framework::browse::BrowseEngine;

class RightsInspector : public LibraryTest {
protected:
    RightsInspector() {
        platform::setTestNow(platform::dayNumber(2026, 3, 2), platform::clockValue(9, 15, 0));
        EXPECT_EQ(demo::writeSampleStaff(), demo::kStaffWritten);
        services->shown.clear();
    }
    ~RightsInspector() override { platform::clearTestNow(); }

    // Every row the list shows, page after page: its cells.
    std::vector<std::vector<std::string>> everyRow(framework::browse::BrowseDefinition definition) {
        list = std::make_unique<framework::browse::BrowseDefinition>(std::move(definition));
        engine = std::make_unique<BrowseEngine>(*list, view);
        view.rows = 200;
        if (engine->open()) {
            engine->windowOpened();
            view.pump(*engine);
        }
        return view.shown;
    }

    FakeListView view;
    std::unique_ptr<framework::browse::BrowseDefinition> list;
    std::unique_ptr<BrowseEngine> engine;
};

TEST_F(RightsInspector, MarksAreTheMaskOfTheRightsCheckForEveryObjectAndLogin) {
    for (const demo::SampleLogin& login : demo::sampleLogins()) {
        SCOPED_TRACE(login.login);
        const std::int16_t category = *dostup::readEmployeeCategory(login.employee);
        const std::vector<std::vector<std::string>> rows =
            everyRow(staff::rightsInspector(login.employee, {}));
        EXPECT_NE(list->heading.find(std::to_string(category)), std::string::npos);
        const std::size_t objects = column(files().object, "ID_KEY", "OBJ:ID").size();
        ASSERT_EQ(rows.size(), objects) << "one row per object";
        int banned = 0;
        for (const std::vector<std::string>& cells : rows) {
            const std::string designation(platform::clip(cells.at(0)));
            SCOPED_TRACE(designation);
            const std::int16_t mask = dostup::rightsMask(designation, category);
            int shown = 0;
            for (std::size_t i = 0; i < staff::inspectedBans().size(); ++i)
                if (cells.at(3 + i) == "X") shown |= staff::inspectedBans()[i].bit;
            EXPECT_EQ(shown, mask & ~framework::kForbidWrite) << "the seven bans, writing aside";
            const dostup::RightsReading reading = dostup::readRights(designation, category);
            const std::string source(platform::clip(cells.at(3 + staff::inspectedBans().size())));
            EXPECT_EQ(source == ru("нет строки — всё разрешено"), !reading.hasRow) << source;
            banned += mask != 0;
        }
        if (login.login == std::string("sklad")) EXPECT_GT(banned, 0);
    }
    EXPECT_TRUE(services->shown.empty()) << "no object unregistered, nothing unread";
}

TEST_F(RightsInspector, ObjectModeListsExactlyTheEmployeesBannedFromIt) {
    const std::vector<std::vector<std::string>> rows = everyRow(staff::objectBans(0, "Firm"));
    EXPECT_TRUE(rows.empty()) << "an object nobody has rows for";

    std::set<std::string> expected;
    storage::DataFile& object = files().object;
    framework::FileUse use(object);
    object.record().setText("OBJ:OBOZN", "Firm");
    ASSERT_EQ(object.get(*object.layout().key("OBOZN_KEY")), 0);
    const auto id = static_cast<std::uint16_t>(object.record().getInt("OBJ:ID"));
    for (const storage::Record& employee : stored(files().mol, "SCODE_KEY"))
        if (dostup::rightsMask("Firm", static_cast<std::int16_t>(employee.getInt("MOL:KATEGCODE"))) != 0)
            expected.insert(std::to_string(employee.getInt("MOL:SCODE")));
    ASSERT_FALSE(expected.empty()) << "the sample bans the firms to somebody";

    std::set<std::string> listed;
    for (const std::vector<std::string>& cells : everyRow(staff::objectBans(id, "Firm")))
        listed.insert(std::to_string(std::stol(cells.at(0))));
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(list->heading, ru("Объект «Firm»: кому запрещён"));
}

}  // namespace
}  // namespace library_tests
