// Shared by the tests of the employee screens: the lists MOL_T and MOL_ and the
// form MOL_up run through their engines with fake views, the callouts recorded,
// the change log written by the library's own PUTMOLLOG.
#pragma once

#include "tests/framework/browse_fixture.h"
#include "tests/framework/form_fixture.h"
#include "tests/staff/library_fixture.h"

#include "access/access_layouts.h"
#include "access/dostup.h"
#include "framework/browse/browse_engine.h"
#include "framework/form/form_engine.h"
#include "platform/dates.h"
#include "staff/d_mol.h"
#include "staff/d_mol_form.h"
#include "staff/d_mollog.h"

#include <cstring>
#include <memory>

namespace library_tests {

using browse_tests::FakeListView;
using framework::browse::BrowseEngine;
using framework::browse::ListButton;
using framework::form::FormEngine;
namespace el = staff::employee_list;
namespace ef = staff::employee_form;

class EmployeeFormView : public form_tests::FakeFormView {
public:
    FakeListView log;
    framework::browse::BrowseView* listView(int control) override {
        return control == ef::kLog ? &log : nullptr;
    }
};

class EmployeeTest : public LibraryTest {
protected:
    EmployeeTest() {
        platform::setTestNow(platform::dayNumber(2024, 3, 15), platform::clockValue(10, 0, 0));
        G_FilterFlag = 0;
        G_FilterStr[0] = G_FilterName[0] = '\0';
        g_SCode = 0;
        staff::listDepartment() = 0;
        staff::surnameSearch().clear();
    }
    ~EmployeeTest() override {
        list.reset();
        platform::clearTestNow();
    }

    staff::EmployeeCallouts callouts() {
        staff::EmployeeCallouts c;
        c.updateForm = [this] { runEmployeeForm(); };
        c.pickFilter = [this](const std::string& table) {
            filterTables.push_back(table);
            return filterAnswer;
        };
        c.pickHistory = [this](const std::string&) { return historyAnswer; };
        c.putHistory = [this](const std::string& field, const std::string& value) {
            history.emplace_back(field, value);
        };
        c.pickDepartment = [this] {
            files().otdMol.record().setValue("OMO:OTD_ID", std::to_string(departmentAnswer));
        };
        c.print = [this] { printed.push_back(*files().mol.record().value("MOL:SCODE")); };
        return c;
    }
    staff::EmployeeFormCallouts formCallouts() {
        staff::EmployeeFormCallouts c;
        c.pickEmployee = [this] { return pickEmployee ? pickEmployee() : std::uint16_t{0}; };
        c.logEntryForm = [this] { framework::form::runForm(logForm, logView); };
        return c;
    }
    int runEmployeeForm() {
        const framework::form::FormDefinition form = staff::employeeForm(formCallouts());
        return framework::form::runForm(form, view);
    }
    int runForm(int request) {
        framework::globalRequest() = request;
        return runEmployeeForm();
    }

    BrowseEngine& openList(bool selection = false, int request = 0) {
        list.reset();
        framework::globalRequest() = request;
        list = std::make_unique<BrowseEngine>(
            selection ? staff::employeeSelection(callouts()) : staff::employeeList(callouts()), listView);
        if (list->open()) {
            list->windowOpened();
            listView.pump(*list);
        }
        return *list;
    }
    void control(std::size_t which, const std::string& text = {}) {
        list->definition().controls.at(which).set(*list, text);
        listView.pump(*list);
    }
    std::string shownControl(std::size_t which) { return list->definition().controls.at(which).get(); }

    void addEmployee(int code, const std::string& surname, int department = 0, int category = 0,
                     const std::string& first = {}) {
        add(files().mol, {{"MOL:SCODE", std::to_string(code)}, {"MOL:LNAME", surname},
                          {"MOL:FNAME", first}, {"MOL:OTD_ID", std::to_string(department)},
                          {"MOL:KATEGCODE", std::to_string(category)}});
    }
    void addLog(int employee, int time, const std::string& operation, int operatorCode = 0) {
        add(files().molLog, {{"MLO:SCODE", std::to_string(employee)}, {"MLO:DATE", "80000"},
                             {"MLO:TIME", std::to_string(time)}, {"MLO:OPERATION", operation},
                             {"MLO:OPERATOR", std::to_string(operatorCode)}});
    }
    // The first cell of every shown row, without padding.
    std::vector<std::string> names() {
        std::vector<std::string> out;
        for (const auto& row : listView.shown) out.emplace_back(platform::clip(row.at(0)));
        return out;
    }
    std::vector<std::string> codes() { return column(files().mol, "MOL:SCODE_KEY", "MOL:SCODE"); }
    // The superior's selection as MOL_S behaves: it reads the employee it returns
    // into the shared MOL buffer.
    void pickingReads(int code) {
        pickEmployee = [this, code] {
            files().mol.record().clear();
            files().mol.record().setValue("MOL:SCODE", std::to_string(code));
            files().mol.get(*files().mol.layout().key("SCODE_KEY"));
            return static_cast<std::uint16_t>(code);
        };
    }
    // Another station (a file object of its own) rewrites one field of an employee.
    void changeByAnotherStation(int code, const char* field, const std::string& value) {
        storage::DataFile station(files().mol.layout());
        station.setName(files().mol.name());
        station.setOwnerPassword(dostup::ownerPasswordOf(files().mol.layout()));
        ASSERT_EQ(station.open(), 0);
        station.record().setValue("MOL:SCODE", std::to_string(code));
        ASSERT_EQ(station.get(*station.layout().key("SCODE_KEY")), 0);
        station.record().setValue(field, value);
        ASSERT_EQ(station.put(), 0);
        station.close();
    }
    // "code:operation" of every change-log entry, in key order.
    std::vector<std::string> logEntries() {
        std::vector<std::string> out;
        for (const storage::Record& r : stored(files().molLog, "MLO:SCODE_KEY"))
            out.push_back(std::string(*r.value("MLO:SCODE")) + ":" +
                          std::string(platform::clip(*r.value("MLO:OPERATION"))));
        return out;
    }

    EmployeeFormView view;
    FakeListView listView;
    form_tests::FakeFormView logView;
    const framework::form::FormDefinition logForm = staff::logEntryForm();
    std::unique_ptr<BrowseEngine> list;

    std::string filterAnswer = "|";
    std::vector<std::string> filterTables;
    std::string historyAnswer;
    std::vector<std::pair<std::string, std::string>> history;
    int departmentAnswer = 0;
    std::vector<std::string> printed;
    std::function<std::uint16_t()> pickEmployee;
};

}  // namespace library_tests
