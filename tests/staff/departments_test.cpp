// The departments: the list (also a picker), numbering, the cascade of a code
// change to the employees, the refusal to delete a department with employees,
// and the form's read-only list of the department's employees.
#include "tests/framework/browse_fixture.h"
#include "tests/framework/form_fixture.h"
#include "tests/staff/library_fixture.h"

#include "access/access_layouts.h"
#include "framework/browse/browse_engine.h"
#include "framework/form/form_engine.h"
#include "staff/d_otdmol.h"

namespace library_tests {
namespace {

using browse_tests::FakeListView;
using framework::browse::BrowseEngine;
using framework::browse::ListButton;
using framework::form::FormEngine;
namespace df = staff::department_form;

class DepartmentFormView : public form_tests::FakeFormView {
public:
    FakeListView employees;
    framework::browse::BrowseView* listView(int control) override {
        return control == df::kEmployees ? &employees : nullptr;
    }
};

class Departments : public LibraryTest {
protected:
    int runForm(int request) {
        framework::globalRequest() = request;
        return framework::form::runForm(form, view);
    }
    BrowseEngine& openList(int request = 0) {
        framework::globalRequest() = request;
        list = std::make_unique<BrowseEngine>(staff::departmentList([this] { framework::form::runForm(form, view); }),
                                              listView);
        if (list->open()) {
            list->windowOpened();
            listView.pump(*list);
        }
        return *list;
    }
    void addDepartment(int code, const std::string& name) {
        add(files().otdMol, {{"OMO:OTD_ID", std::to_string(code)}, {"OMO:NAME", name}});
    }
    void addEmployee(int code, const std::string& surname, int department, int category = 0) {
        add(files().mol, {{"MOL:SCODE", std::to_string(code)}, {"MOL:LNAME", surname},
                          {"MOL:OTD_ID", std::to_string(department)},
                          {"MOL:KATEGCODE", std::to_string(category)}});
    }
    std::vector<std::string> departmentCodes() { return column(files().otdMol, "OMO:ID_KEY", "OMO:OTD_ID"); }
    std::vector<std::string> departmentsOfEmployees() {
        return column(files().mol, "MOL:SCODE_KEY", "MOL:OTD_ID");
    }
    // The shown rows of the form's employee list, one text per row.
    std::vector<std::string> employeeRows() {
        std::vector<std::string> rows;
        for (const auto& row : view.employees.shown) {
            std::string text;
            for (const std::string& cell : row) text += std::string(platform::clip(cell)) + "|";
            rows.push_back(text);
        }
        return rows;
    }

    const framework::form::FormDefinition form = staff::departmentForm();
    DepartmentFormView view;
    FakeListView listView;
    std::unique_ptr<BrowseEngine> list;
};

TEST_F(Departments, NumbersFromOneAndGivesTheHighestCodeAgainAfterItWasDeleted) {
    view.script = [](FormEngine& engine) {
        EXPECT_EQ(*engine.record().value("OMO:OTD_ID"), "1");
        engine.okPressed();
    };
    EXPECT_EQ(runForm(framework::kRequestInsert), framework::kResponseCompleted);
    EXPECT_EQ(view.caption, ru(" Новая запись") + "  (New)");
    for (int code = 2; code <= 4; ++code) addDepartment(code, "D" + std::to_string(code));
    view.script = [](FormEngine& engine) { engine.okPressed(); };
    runForm(framework::kRequestInsert);
    EXPECT_EQ(departmentCodes(), (std::vector<std::string>{"1", "2", "3", "4", "5"}));

    // Deleting department 5 through the list frees its code for the next one.
    openList();
    listView.click(*list, 5);
    view.script = [](FormEngine& engine) { engine.okPressed(); };
    list->deleteButton();
    EXPECT_EQ(departmentCodes(), (std::vector<std::string>{"1", "2", "3", "4"}));
    view.script = [](FormEngine& engine) { engine.okPressed(); };
    runForm(framework::kRequestInsert);
    EXPECT_EQ(departmentCodes(), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    EXPECT_TRUE(services->shown.empty());
}

TEST_F(Departments, ChangingTheCodeMovesTheDepartmentsEmployeesWithIt) {
    addDepartment(3, ru("Склад"));
    addDepartment(4, ru("Бухгалтерия"));
    addEmployee(1, ru("Петров"), 3);
    addEmployee(2, ru("Сидоров"), 4);
    addEmployee(5, ru("Иванов"), 3);
    openList();
    listView.click(*list, 1);
    view.script = [this](FormEngine& engine) {
        EXPECT_EQ(view.caption, ru(" Изменение записи") + "  (3)");
        view.typed = {{df::kCode, "8"}};
        engine.okPressed();
    };
    list->changeButton();
    EXPECT_EQ(departmentCodes(), (std::vector<std::string>{"4", "8"}));
    EXPECT_EQ(departmentsOfEmployees(), (std::vector<std::string>{"8", "4", "8"}));
}

TEST_F(Departments, DepartmentWithAnEmployeeIsNotDeleted) {
    addDepartment(3, ru("Склад"));
    addEmployee(1, ru("Петров"), 3);
    openList();
    view.script = [](FormEngine& engine) { engine.okPressed(); };
    list->deleteButton();
    ASSERT_EQ(services->shown.size(), 2u);
    EXPECT_EQ(box(0).caption, "Referential Integrity Delete Error");
    EXPECT_NE(box(0).text.find("MOL"), std::string::npos) << box(0).text;
    EXPECT_EQ(box(1).caption, "Record Update Error") << "the form offers to try again";
    EXPECT_EQ(departmentCodes(), std::vector<std::string>{"3"});
    EXPECT_EQ(departmentsOfEmployees(), std::vector<std::string>{"3"});
}

TEST_F(Departments, PickerLeavesTheHighlightedDepartmentInTheBuffer) {
    addDepartment(1, ru("Склад"));
    addDepartment(2, ru("Бухгалтерия"));
    openList(framework::kRequestSelect);
    EXPECT_TRUE(listView.visible[ListButton::Select]);
    listView.click(*list, 2);
    list->selectButton();
    EXPECT_EQ(framework::globalResponse(), framework::kResponseCompleted);
    EXPECT_EQ(*files().otdMol.record().value("OMO:OTD_ID"), "2");

    // Closing answers 2 and leaves the highlighted department in the buffer.
    openList(framework::kRequestSelect);
    listView.click(*list, 1);
    list->closeButton();
    EXPECT_EQ(framework::globalResponse(), framework::kResponseCancelled);
    EXPECT_EQ(*files().otdMol.record().value("OMO:OTD_ID"), "1");

    // Opened from the menu the list has no select button.
    openList();
    EXPECT_FALSE(listView.visible[ListButton::Select]);
}

TEST_F(Departments, FormListsTheDepartmentsEmployeesWithTheirCategoryAndNothingForANewOne) {
    add(files().katMol, {{"KTM:COD", "2"}, {"KTM:KATEG", ru("Кладовщик")}});
    addDepartment(3, ru("Склад"));
    addEmployee(0, ru("Никто"), 3);  // code 0 is listed here too
    addEmployee(4, ru("Петров"), 3, 2);
    addEmployee(5, ru("Сидоров"), 5, 2);
    addEmployee(6, ru("Алексеев"), 3, 9);  // a category that does not exist
    openList();
    std::vector<std::string> rows;
    view.script = [&](FormEngine& engine) {
        view.employees.pump(*engine.list(df::kEmployees));
        rows = employeeRows();
        engine.cancelPressed();
    };
    list->changeButton();
    EXPECT_EQ(rows, (std::vector<std::string>{ru("Алексеев||||"), ru("Никто||||"),
                                              ru("Петров|||Кладовщик|")}));
    EXPECT_FALSE(view.employees.visible[ListButton::Insert]);

    view.script = [&](FormEngine& engine) {
        view.employees.pump(*engine.list(df::kEmployees));
        rows = employeeRows();
        engine.cancelPressed();
    };
    list->insertButton();
    EXPECT_TRUE(rows.empty()) << "a new department has no employees";
    EXPECT_EQ(departmentCodes(), std::vector<std::string>{"3"}) << "the cancelled insert left nothing";
}

TEST_F(Departments, RightsHideButtonsAndRefuseTheList) {
    addDepartment(1, ru("Склад"));
    rights = framework::kForbidInsert | framework::kForbidDelete;
    openList();
    EXPECT_FALSE(listView.visible[ListButton::Insert]);
    EXPECT_TRUE(listView.visible[ListButton::Change]);
    EXPECT_FALSE(listView.visible[ListButton::Delete]);
    EXPECT_EQ(asked, std::vector<std::string>{"OtdMOL"});

    rights = framework::kForbidAccess;
    openList();
    ASSERT_EQ(services->shown.size(), 1u);
    EXPECT_EQ(box(0).caption, ru(" Извините"));
    EXPECT_EQ(box(0).text, ru("Доступ запрещен !"));
    EXPECT_TRUE(list->isClosed());
    EXPECT_EQ(framework::userCount(files().otdMol), 0);
}

}  // namespace
}  // namespace library_tests
