// The employees' changed fields: each completed request of the employee form
// keeps, under its change-log entry, the fields it altered with their old and
// new values (never a password), the log tab shows them under the entry, and a
// code change takes them along with the employee.
#include "tests/staff/employee_fixture.h"

#include "access/employee_changes.h"

namespace library_tests {
namespace {

class EmployeeChanges : public EmployeeTest {
protected:
    // "code|label|old|new" for every changed field, in key order.
    std::vector<std::string> changes() {
        std::vector<std::string> out;
        for (const storage::Record& r : stored(files().molChange, "ENTRY_KEY")) {
            std::string text = *r.value("MCH:SCODE");
            for (const char* field : {"MCH:LABEL", "MCH:OLDVALUE", "MCH:NEWVALUE"})
                text += "|" + std::string(platform::clip(*r.value(field)));
            out.push_back(text);
        }
        return out;
    }
    // Every byte the changed fields' file holds, as one text.
    std::string everything() {
        std::string all;
        for (const storage::Record& r : stored(files().molChange, "ENTRY_KEY"))
            for (const char* field : {"MCH:LABEL", "MCH:OLDVALUE", "MCH:NEWVALUE"}) all += *r.value(field) + "\n";
        return all;
    }
};

TEST_F(EmployeeChanges, EachRequestKeepsItsFieldsUnderItsEntryAndNoPassword) {
    struct Step {
        const char* what;
        int request;
        std::map<std::string, std::string> typed;  // fields set before OK
        std::vector<std::string> added;             // the changed fields it keeps
    };
    add(files().mol, {{"MOL:SCODE", "5"}, {"MOL:LNAME", ru("Петров")}, {"MOL:TITLE", ru("Кладовщик")},
                      {"MOL:BPHONE", "111-11"}, {"MOL:PASSWORD", "old-secret"}});
    const std::vector<Step> steps = {
        {"title, telephone and password changed", framework::kRequestChange,
         {{"MOL:TITLE", ru("Старший кладовщик")}, {"MOL:BPHONE", "222-22"}, {"MOL:PASSWORD", "new-secret"}},
         {"5|" + ru("Пароль") + "||" + ru("изменён"),
          "5|" + ru("Должность") + "|" + ru("Кладовщик") + "|" + ru("Старший кладовщик"),
          "5|" + ru("Рабочий телефон") + "|111-11|222-22"}},
        {"saved as it was", framework::kRequestChange, {}, {}},
        {"a date and a salary", framework::kRequestChange,
         {{"MOL:BDATE", std::to_string(platform::dayNumber(1980, 5, 17))}, {"MOL:SALARY", "1234.5"}},
         {"5|" + ru("Дата рождения") + "||17.05.1980", "5|" + ru("Зарплата") + "|0.00|1234.50"}},
    };
    std::vector<std::string> expected;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        openList();
        view.script = [&step](FormEngine& engine) {
            for (const auto& [field, value] : step.typed) engine.record().setValue(field, value);
            engine.okPressed();
        };
        list->changeButton();
        platform::setTestNow(platform::today(), platform::clock() + 100);
        expected.insert(expected.end(), step.added.begin(), step.added.end());
        EXPECT_EQ(changes(), expected);
    }
    EXPECT_EQ(logEntries().size(), 3u) << "the change log as it always was: one entry per completed request";
    const std::string all = everything();
    EXPECT_EQ(all.find("secret"), std::string::npos) << "no password, old or new";
    EXPECT_TRUE(services->shown.empty());

    // The log tab shows each entry's changes under it.
    std::vector<std::vector<std::string>> rows;
    view.script = [&](FormEngine& engine) {
        BrowseEngine& log = *engine.list(ef::kLog);
        view.log.pump(log);
        rows = view.log.shown;
        engine.cancelPressed();
    };
    list->changeButton();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(platform::clip(rows[0].at(5)), ru("Пароль: изменён; Должность: Кладовщик -> Старший кладовщик; "
                                                 "Рабочий телефон: 111-11 -> 222-22"));
    EXPECT_EQ(platform::clip(rows[1].at(5)), "") << "a save that altered nothing";

    // A new code takes the history along.
    openList();
    view.script = [this](FormEngine& engine) {
        view.typed = {{ef::kCode, "9"}};
        engine.okPressed();
    };
    list->changeButton();
    const std::vector<std::string> moved = changes();
    ASSERT_EQ(moved.size(), 6u);
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(moved[i], "9" + expected[i].substr(1)) << i;
    EXPECT_EQ(moved[5], "9|" + ru("Личный Код") + "|5|9");
}

TEST_F(EmployeeChanges, InsertKeepsTheFilledFieldsAndAFullWidthTextWhole) {
    const std::string note(200, '\xFF');  // "я" two hundred times: the note's full width
    openList();
    view.script = [&note](FormEngine& engine) {
        engine.record().setValue("MOL:LNAME", ru("Новикова"));
        engine.record().setValue("MOL:PASSWORD", "typed");
        engine.record().setValue("MOL:NOTE", note);
        engine.okPressed();
    };
    list->insertButton();
    const std::vector<std::string> kept = changes();
    EXPECT_EQ(kept, (std::vector<std::string>{"1|" + ru("Личный Код") + "||1", "1|" + ru("Фамилия") + "||" + ru("Новикова"),
                                              "1|" + ru("Пароль") + "||" + ru("задан"),
                                              "1|" + ru("Примечание") + "||" + note}));
    EXPECT_EQ(everything().find("typed"), std::string::npos);
}

}  // namespace
}  // namespace library_tests
