// The employee lists: rows with their department and category, code 0 never
// listed, the saved filter, the surname search and its history, the department
// tab, rights, printing, the change log after every completed form, and the
// selection list's department drop list.
#include "tests/staff/employee_fixture.h"

#include "storage/kept_files.h"

#include <chrono>

namespace library_tests {
namespace {

class EmployeeLists : public EmployeeTest {
protected:
    void addStaff() {
        add(files().otdMol, {{"OMO:OTD_ID", "4"}, {"OMO:NAME", ru("Склад")}});
        add(files().otdMol, {{"OMO:OTD_ID", "5"}, {"OMO:NAME", ru("Бухгалтерия")}});
        add(files().katMol, {{"KTM:COD", "3"}, {"KTM:KATEG", ru("Кладовщик")}});
        addEmployee(0, ru("Администратор"), 4, 3);
        addEmployee(1, ru("Сидоров"), 5, 1, ru("Пётр"));
        addEmployee(2, ru("Абрамов"), 4, 3, ru("Иван Ильич"));
        addEmployee(3, ru("Иванов"), 4, 1);
        addEmployee(4, ru("Яковлев"), 9, 3);  // a department that does not exist
    }
};

TEST_F(EmployeeLists, RowsJoinDepartmentAndCategoryAndCodeZeroIsNeverListed) {
    addStaff();
    openList();
    EXPECT_EQ(names(), (std::vector<std::string>{ru("Абрамов Иван Ильич"), ru("Иванов"),
                                                 ru("Сидоров Пётр"), ru("Яковлев")}));
    ASSERT_EQ(listView.shown.size(), 4u);
    EXPECT_EQ(platform::clip(listView.shown[0][2]), ru("Склад"));
    EXPECT_EQ(platform::clip(listView.shown[0][3]), ru("Кладовщик"));
    EXPECT_EQ(platform::clip(listView.shown[3][2]), "") << "a missing department shows empty";
    EXPECT_EQ(listView.setup.iniSection, "MOL_t");

    // The selection shows department before telephone, and no code 0 either.
    openList(true, framework::kRequestSelect);
    EXPECT_EQ(names().size(), 4u);
    EXPECT_EQ(platform::clip(listView.shown[0][1]), ru("Склад"));
    EXPECT_EQ(listView.setup.iniSection, "MOL_");
    EXPECT_FALSE(list->definition().buttons.insert);
    EXPECT_TRUE(list->definition().extraButtons.empty()) << "no print";
    EXPECT_TRUE(list->definition().accessObject.empty()) << "no rights asked";
}

TEST_F(EmployeeLists, ADepartmentRenamedElsewhereShowsOnceTheListRegainsFocus) {
    addStaff();
    openList();
    storage::DataFile station(files().otdMol.layout());
    station.setName(files().otdMol.name());
    framework::useFile(station);
    station.record().setValue("OMO:OTD_ID", "4");
    ASSERT_EQ(station.get(*station.layout().key("ID_KEY")), 0);
    station.record().setValue("OMO:NAME", ru("Склад N2"));
    ASSERT_EQ(station.put(), 0);
    framework::releaseFile(station);
    list->gainFocus();
    listView.pump(*list);
    EXPECT_EQ(platform::clip(listView.shown.at(0).at(2)), ru("Склад N2"));
}

// A list opened again takes the names the last one read only while nothing
// was written to their file: a rename here or at another station shows at once,
// whether the closed files were kept open underneath or not.
TEST_F(EmployeeLists, ADepartmentRenamedBetweenTwoOpeningsShowsInTheSecond) {
    struct Case {
        const char* what;
        bool keeping;
        bool here;  // through the program's own department file, else another station's
    };
    const Case cases[] = {{"here, files kept", true, true},
                          {"another station, files kept", true, false},
                          {"here, nothing kept", false, true},
                          {"another station, nothing kept", false, false}};
    addStaff();
    int round = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        storage::keepClosedFiles(c.keeping ? storage::kKeptByThePrograms : std::chrono::milliseconds(0));
        openList();
        ASSERT_FALSE(listView.shown.empty());
        const std::string before(platform::clip(listView.shown.at(0).at(2)));
        list.reset();
        storage::DataFile station(files().otdMol.layout());
        station.setName(files().otdMol.name());
        storage::DataFile& writer = c.here ? files().otdMol : station;
        framework::useFile(writer);
        writer.record().setValue("OMO:OTD_ID", "4");
        ASSERT_EQ(writer.get(*writer.layout().key("ID_KEY")), 0);
        const std::string renamed = ru("Склад ") + std::to_string(++round);
        writer.record().setValue("OMO:NAME", renamed);
        ASSERT_EQ(writer.put(), 0);
        framework::releaseFile(writer);
        openList();
        EXPECT_EQ(platform::clip(listView.shown.at(0).at(2)), renamed) << "before: " << before;
    }
    storage::keepClosedFiles(std::chrono::milliseconds(0));
}

TEST_F(EmployeeLists, SavedFilterAppliesWhileTheBoxIsOnAndEveryOpeningStartsOff) {
    addStaff();
    openList();
    filterAnswer = "MOL:KATEGCODE = 3|" + ru("Кладовщики") + "   ";
    control(el::kFilters);
    EXPECT_EQ(filterTables, std::vector<std::string>{"MOL_t"});
    EXPECT_EQ(shownControl(el::kFilterName), ru("Кладовщики"));
    EXPECT_EQ(names().size(), 4u) << "the box is still off";
    control(el::kFilterOn, "1");
    EXPECT_EQ(names(), (std::vector<std::string>{ru("Абрамов Иван Ильич"), ru("Яковлев")}));
    control(el::kFilterOn, "0");
    EXPECT_EQ(names().size(), 4u);

    // A text without "|" is the whole expression and keeps the name.
    control(el::kFilterOn, "1");
    filterAnswer = "MOL:KATEGCODE = 1";
    control(el::kFilters);
    EXPECT_EQ(names(), (std::vector<std::string>{ru("Иванов"), ru("Сидоров Пётр")}));
    EXPECT_EQ(shownControl(el::kFilterName), ru("Кладовщики"));

    // An expression that does not parse cannot be used: the operator is told
    // once, the box goes off and every row is shown; ticking it again tells again.
    filterAnswer = "MOL:KATEGCODE = = (";
    control(el::kFilters);
    EXPECT_EQ(names().size(), 4u);
    ASSERT_EQ(services->shown.size(), 1u);
    EXPECT_EQ(box(0).caption, ru(" Ошибка"));
    EXPECT_EQ(shownControl(el::kFilterOn), "0");
    control(el::kFilterOn, "1");
    EXPECT_EQ(services->shown.size(), 2u);
    EXPECT_EQ(shownControl(el::kFilterOn), "0");
    EXPECT_EQ(names().size(), 4u);

    // Cancelling the filter list empties expression and name.
    filterAnswer = "|";
    control(el::kFilters);
    control(el::kFilterOn, "1");
    EXPECT_EQ(std::string(G_FilterStr), "");
    EXPECT_EQ(shownControl(el::kFilterName), "");
    EXPECT_EQ(names().size(), 4u);

    filterAnswer = "MOL:KATEGCODE = 3|x";
    control(el::kFilters);
    EXPECT_EQ(names().size(), 2u);
    openList();
    EXPECT_EQ(shownControl(el::kFilterOn), "0");
    EXPECT_EQ(names().size(), 4u);
}

// The list reads only the fields it shows and its hooks need; a saved filter
// that names others has them read while it is on.
TEST_F(EmployeeLists, ASavedFilterOnFieldsTheListDoesNotShowStillFilters) {
    addStaff();
    for (const char* code : {"1", "3"}) {
        storage::DataFile& mol = files().mol;
        framework::FileUse use(mol);
        mol.record().clear();
        mol.record().setValue("MOL:SCODE", code);
        ASSERT_EQ(mol.get(*mol.layout().key("SCODE_KEY")), 0);
        mol.record().setValue("MOL:CITY", "Tver");
        mol.record().setValue("MOL:SALARY", "100.00");
        ASSERT_EQ(mol.put(), 0) << mol.driverErrorText();
    }
    openList();
    const struct {
        std::string expression;
        std::vector<std::string> shown;
    } cases[] = {
        {"MOL:CITY = 'Tver'", {ru("Иванов"), ru("Сидоров Пётр")}},
        {"MOL:SALARY > 50 AND MOL:KATEGCODE = 1", {ru("Иванов"), ru("Сидоров Пётр")}},
        {"MOL:CITY <> 'Tver' AND OMO:NAME = '" + ru("Склад") + "'", {ru("Абрамов Иван Ильич")}},
    };
    for (const auto& c : cases) {
        filterAnswer = c.expression + "|x";
        control(el::kFilters);
        control(el::kFilterOn, "1");
        EXPECT_EQ(names(), c.shown) << c.expression;
        control(el::kFilterOn, "0");
        EXPECT_EQ(names().size(), 4u) << c.expression;
    }
}

// Another station changes an employee the list shows: the next refresh shows it.
TEST_F(EmployeeLists, AnEmployeeChangedByAnotherStationShowsOnTheNextRefresh) {
    addStaff();
    openList();
    ASSERT_EQ(platform::clip(listView.shown.at(1).at(1)), "");
    storage::DataFile station(files().mol.layout());
    station.setName(files().mol.name());
    station.setOwnerPassword(dostup::ownerPasswordOf(files().mol.layout()));
    framework::useFile(station);
    station.record().setValue("MOL:SCODE", "3");
    ASSERT_EQ(station.get(*station.layout().key("SCODE_KEY")), 0);
    station.record().setValue("MOL:BPHONE", "22-33-44");
    station.record().setValue("MOL:FNAME", ru("Олег"));
    ASSERT_EQ(station.put(), 0) << station.driverErrorText();
    framework::releaseFile(station);
    list->gainFocus();
    listView.pump(*list);
    EXPECT_EQ(names().at(1), ru("Иванов Олег"));
    EXPECT_EQ(platform::clip(listView.shown.at(1).at(1)), "22-33-44");
}

TEST_F(EmployeeLists, TabChangeShowsTheHighlightedEmployeesDepartment) {
    addStaff();
    openList();
    listView.click(*list, 2);  // Иванов, department 4
    listView.tab = 2;
    list->tabChanged();
    listView.pump(*list);
    EXPECT_EQ(staff::listDepartment(), 4);
    EXPECT_EQ(names(), (std::vector<std::string>{ru("Абрамов Иван Ильич"), ru("Иванов")}));

    // The code entry and the department picker choose another department.
    control(el::kDepartment, "5");
    EXPECT_EQ(names(), std::vector<std::string>{ru("Сидоров Пётр")});
    departmentAnswer = 9;
    control(el::kPickDepartment);
    EXPECT_EQ(names(), std::vector<std::string>{ru("Яковлев")});
    EXPECT_EQ(framework::globalRequest(), 0) << "the picker's request is not left behind";

    // A new employee on the department tab starts in that department.
    control(el::kDepartment, "5");
    std::string department;
    view.script = [&](FormEngine& engine) {
        department = *engine.record().value("MOL:OTD_ID");
        engine.cancelPressed();
    };
    list->insertButton();
    EXPECT_EQ(department, "5");
}

TEST_F(EmployeeLists, SurnameSearchLocatesIgnoringCaseAndFeedsTheHistory) {
    addStaff();
    addEmployee(5, ru("ивашов"), 4);
    openList();
    control(el::kSearch, ru("Ив"));
    ASSERT_GE(listView.highlighted, 1);
    EXPECT_EQ(platform::clip(listView.shown.at(listView.highlighted - 1).at(0)), ru("Иванов"));
    control(el::kSearch, "");
    EXPECT_EQ(history, (std::vector<std::pair<std::string, std::string>>{
                           {"MOL:LNAME", ru("Ив")}, {"MOL:LNAME", ""}}));

    // A character typed on the first tab goes into the search entry.
    list->character(ru("Я")[0]);
    EXPECT_EQ(shownControl(el::kSearch), ru("Я"));

    // The history button locates on the chosen value.
    historyAnswer = ru("Яковлев");
    control(el::kHistory);
    EXPECT_EQ(platform::clip(listView.shown.at(listView.highlighted - 1).at(0)), ru("Яковлев"));
    EXPECT_EQ(shownControl(el::kSearch), ru("Яковлев"));
}

TEST_F(EmployeeLists, RightsRefuseWithTheirTexts) {
    addStaff();
    rights = framework::kForbidInsert | framework::kForbidChange | framework::kForbidDelete;
    openList();
    EXPECT_FALSE(listView.visible[ListButton::Insert]);
    rights = framework::kForbidChange;
    list->changeButton();
    rights = framework::kForbidInsert;
    list->insertButton();
    rights = framework::kForbidDelete;
    list->deleteButton();
    ASSERT_EQ(services->shown.size(), 3u);
    EXPECT_EQ(box(0).caption, ru(" Ошибка"));
    EXPECT_EQ(box(0).text, ru("Изменение запрещено "));
    EXPECT_EQ(box(1).caption, ru(" Извините"));
    EXPECT_EQ(box(1).text, ru("Добавленение запрещено"));
    EXPECT_EQ(box(2).text, ru("Удаление запрещено"));
    EXPECT_TRUE(logEntries().empty());

    rights = framework::kForbidAccess;
    openList();
    EXPECT_TRUE(list->isClosed());
    EXPECT_EQ(box(3).text, ru("Доступ запрещен !"));
}

TEST_F(EmployeeLists, EveryCompletedFormAddsALogEntryAndACancelledOneNone) {
    addStaff();
    g_SCode = 2;
    openList();
    listView.click(*list, 2);  // Иванов, code 3
    view.script = [](FormEngine& engine) { engine.okPressed(); };
    list->changeButton();  // nothing altered
    view.script = [](FormEngine& engine) { engine.cancelPressed(); };
    list->changeButton();
    view.script = [this](FormEngine& engine) {
        view.typed = {{ef::kSurname, ru("Новиков")}};
        engine.okPressed();
    };
    list->insertButton();
    EXPECT_EQ(logEntries(), (std::vector<std::string>{"3:" + ru("Изменение"), "5:" + ru("Добавление")}));
    const auto entries = stored(files().molLog, "MLO:SCODE_KEY");
    EXPECT_EQ(*entries[0].value("MLO:OPERATOR"), "2");
    EXPECT_EQ(*entries[0].value("MLO:DATE"), std::to_string(platform::dayNumber(2024, 3, 15)));
    // The unchanged employee carries the date of its last save.
    for (const storage::Record& r : stored(files().mol, "MOL:SCODE_KEY")) {
        if (*r.value("MOL:SCODE") == "3") {
            EXPECT_EQ(*r.value("MOL:CHDATE"), std::to_string(platform::dayNumber(2024, 3, 15)));
        }
    }
}

TEST_F(EmployeeLists, PrintHandsTheHighlightedEmployeeToTheReports) {
    addStaff();
    openList();
    listView.click(*list, 3);
    list->extraButton(0);
    EXPECT_EQ(printed, std::vector<std::string>{"1"});
}

TEST_F(EmployeeLists, SelectionPicksFromTheDepartmentDropList) {
    addStaff();
    openList(true, framework::kRequestSelect);
    const auto choices = list->definition().controls.at(el::kDepartment).choices();
    ASSERT_EQ(choices.size(), 2u);
    EXPECT_EQ(choices[0].first, "4");
    EXPECT_EQ(choices[0].second, " 4  " + ru("Склад"));
    listView.tab = 2;
    list->tabChanged();
    control(el::kDepartment, "5");
    EXPECT_EQ(names(), std::vector<std::string>{ru("Сидоров Пётр")});
    list->selectButton();
    EXPECT_EQ(framework::globalResponse(), framework::kResponseCompleted);
    EXPECT_EQ(*files().mol.record().value("MOL:SCODE"), "1");
}

TEST_F(EmployeeLists, AnEmptyDepartmentFileLeavesTheSelectionOnDepartmentZero) {
    addEmployee(1, ru("Сидоров"), 5);
    staff::listDepartment() = 5;
    openList(true, framework::kRequestSelect);
    EXPECT_TRUE(list->definition().controls.at(el::kDepartment).choices().empty());
    EXPECT_EQ(staff::listDepartment(), 0);
}

}  // namespace
}  // namespace library_tests
