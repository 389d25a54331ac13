// The employee form against another station: what a completed form wrote is
// visible to it at once, a look-up inside the form never hides its change, and
// the change log keeps every entry.
#include "tests/staff/employee_fixture.h"

#include "access/access_layouts.h"
#include "access/employee_log.h"

namespace library_tests {
namespace {

class EmployeeStations : public EmployeeTest {
protected:
    // Another station's view of a file: a file object of its own (its own
    // connection), opened and closed around each look.
    static std::vector<std::string> seenByAnotherStation(storage::DataFile& file, const char* key,
                                                         const char* field) {
        storage::DataFile station(file.layout());
        station.setName(file.name());
        station.setOwnerPassword(dostup::ownerPasswordOf(file.layout()));
        EXPECT_EQ(station.open(), 0);
        std::vector<std::string> values;
        station.set(*station.layout().key(key));
        while (station.next() == 0) values.emplace_back(platform::clip(*station.record().value(field)));
        station.close();
        return values;
    }
};

// A change saved without changing anything, then a new employee: both entries
// and the new employee are stored and seen by another station at once.
TEST_F(EmployeeStations, CompletedFormsAreSeenByAnotherStationAtOnce) {
    addEmployee(4, ru("Петров"));
    openList();
    view.script = [](FormEngine& engine) { engine.okPressed(); };
    list->changeButton();
    view.script = [](FormEngine& engine) {
        engine.record().setValue("MOL:LNAME", ru("Новиков"));
        engine.okPressed();
    };
    list->insertButton();
    EXPECT_EQ(seenByAnotherStation(files().mol, "SCODE_KEY", "MOL:SCODE"),
              (std::vector<std::string>{"4", "5"}));
    EXPECT_EQ(seenByAnotherStation(files().molLog, "SCODE_KEY", "MLO:OPERATION"),
              (std::vector<std::string>{ru("Изменение"), ru("Добавление")}));
}

// The superior's selection list reads other employees through the same file;
// the form's watch stays the one armed when it read its record, so a change
// another station made meanwhile is reported (message 38), never overwritten.
TEST_F(EmployeeStations, SuperiorLookUpDoesNotHideAnotherStationsChange) {
    addEmployee(3, ru("Начальников"));
    addEmployee(4, ru("Петров"));
    openList();
    listView.click(*list, 2);
    pickingReads(3);
    view.script = [this](FormEngine& engine) {
        changeByAnotherStation(4, "MOL:TITLE", ru("Директор"));
        engine.controlPressed(ef::kBossButton);
        engine.record().setValue("MOL:BPHONE", "123");
        engine.okPressed();
        engine.cancelPressed();
    };
    list->changeButton();
    ASSERT_GE(services->shown.size(), 1u);
    EXPECT_EQ(box(0).caption, "Record Was Not Updated");
    EXPECT_EQ(seenByAnotherStation(files().mol, "SCODE_KEY", "MOL:TITLE"),
              (std::vector<std::string>{"", ru("Директор")}));
}

// A thousand entries for one employee in the same hundredth of a second: every
// one is kept, in the order written, each at the next free hundredth.
TEST_F(EmployeeStations, EntriesOfOneMomentAreAllKeptInOrder) {
    addEmployee(4, ru("Петров"));
    files().mol.record().setValue("MOL:SCODE", "4");
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(dostup::putEmployeeLog(std::to_string(i)), 0);
    const std::vector<std::string> kept = seenByAnotherStation(files().molLog, "SCODE_KEY", "MLO:OPERATION");
    ASSERT_EQ(kept.size(), 1000u);
    for (int i = 0; i < 1000; ++i) EXPECT_EQ(kept[static_cast<std::size_t>(i)], std::to_string(i));
    EXPECT_TRUE(services->shown.empty());
}

// Numbering never goes beyond what "Личный Код:" shows, and a hand-typed entry
// may not name a code it cannot show.
TEST_F(EmployeeStations, CodesStayWithinThreeDigits) {
    addLog(998, 100, ru("Удаление"));
    view.script = [](FormEngine& engine) {
        EXPECT_EQ(*engine.record().value("MOL:SCODE"), "999");
        engine.okPressed();
    };
    runForm(framework::kRequestInsert);
    view.script = [](FormEngine& engine) { engine.okPressed(); };
    EXPECT_EQ(runForm(framework::kRequestInsert), framework::kResponseCancelled);
    ASSERT_EQ(services->shown.size(), 1u);
    EXPECT_EQ(box(0).caption, "Auto Increment Error");
    EXPECT_EQ(codes(), std::vector<std::string>{"999"});

    services->shown.clear();
    files().molLog.record().clear();
    form_tests::FakeFormView entryView;
    entryView.script = [](FormEngine& engine) {
        engine.record().setValue("MLO:SCODE", "9999");
        engine.okPressed();
        engine.cancelPressed();
    };
    framework::globalRequest() = framework::kRequestInsert;
    EXPECT_EQ(framework::form::runForm(logForm, entryView), framework::kResponseCancelled);
    ASSERT_EQ(services->shown.size(), 1u);
    EXPECT_EQ(box(0).text, ru("Личный код сотрудника не может быть больше 999"));
}

}  // namespace
}  // namespace library_tests
