// The employee form: numbering (never a code that the change log still
// carries), the superior look-up, the drop lists, the login hidden by the
// category right, the file dialogues, the log tab and its entry form, the
// cascade of a code change and the refusal to delete an employee with a log.
#include "tests/staff/employee_fixture.h"

#include "framework/form/form_view.h"

namespace library_tests {
namespace {

class EmployeeForm : public EmployeeTest {};

TEST_F(EmployeeForm, NumbersAfterTheHighestCodeAndCancelGivesItBack) {
    view.script = [](FormEngine& engine) {
        EXPECT_EQ(*engine.record().value("MOL:SCODE"), "1");
        engine.okPressed();
    };
    runForm(framework::kRequestInsert);
    addEmployee(2, "B");
    addEmployee(7, "C");
    view.script = [](FormEngine& engine) { engine.cancelPressed(); };
    runForm(framework::kRequestInsert);
    EXPECT_EQ(codes(), (std::vector<std::string>{"1", "2", "7"}));
    view.script = [](FormEngine& engine) {
        EXPECT_EQ(*engine.record().value("MOL:SCODE"), "8");
        engine.okPressed();
    };
    runForm(framework::kRequestInsert);
    EXPECT_EQ(codes(), (std::vector<std::string>{"1", "2", "7", "8"}));
}

// A deleted employee's code still names its change log: the next employee is
// numbered above it and does not inherit that history.
TEST_F(EmployeeForm, ANewEmployeeNeverGetsTheCodeOfADeletedOneWithALog) {
    addEmployee(1, "A");
    addEmployee(2, ru("Борисов"));
    openList();
    listView.click(*list, 2);
    view.script = [](FormEngine& engine) { engine.okPressed(); };
    list->deleteButton();
    EXPECT_EQ(codes(), std::vector<std::string>{"1"});
    EXPECT_EQ(logEntries(), std::vector<std::string>{"2:" + ru("Удаление")});

    std::vector<std::vector<std::string>> logRows;
    view.script = [&](FormEngine& engine) {
        EXPECT_EQ(*engine.record().value("MOL:SCODE"), "3");
        view.log.pump(*engine.list(ef::kLog));
        logRows = view.log.shown;
        engine.okPressed();
    };
    list->insertButton();
    EXPECT_TRUE(logRows.empty()) << "the new employee's log tab is empty";
    EXPECT_EQ(codes(), (std::vector<std::string>{"1", "3"}));
}

TEST_F(EmployeeForm, CodeChangeMovesTheLogAndAnEmployeeWithALogIsNotDeleted) {
    addEmployee(5, ru("Петров"));
    addLog(5, 100, ru("Добавление"));
    addLog(5, 200, ru("Изменение"));
    addLog(6, 300, ru("Удаление"));
    openList();
    view.script = [this](FormEngine& engine) {
        view.typed = {{ef::kCode, "9"}};
        engine.okPressed();
    };
    list->changeButton();
    EXPECT_EQ(codes(), std::vector<std::string>{"9"});
    EXPECT_EQ(logEntries(), (std::vector<std::string>{"6:" + ru("Удаление"), "9:" + ru("Добавление"),
                                                      "9:" + ru("Изменение"), "9:" + ru("Изменение")}));

    view.script = [](FormEngine& engine) { engine.okPressed(); };
    list->deleteButton();
    ASSERT_GE(services->shown.size(), 1u);
    EXPECT_NE(box(0).text.find("MolLOG"), std::string::npos) << box(0).text;
    EXPECT_EQ(codes(), std::vector<std::string>{"9"});
    EXPECT_EQ(logEntries().size(), 4u) << "a refused delete writes no entry";
}

TEST_F(EmployeeForm, SuperiorIsLookedUpWithoutDisturbingTheEditedEmployee) {
    addEmployee(3, ru("Начальников"), 0, 0, ru("Олег"));
    addEmployee(4, ru("Петров"));
    openList();
    listView.click(*list, 2);
    pickingReads(3);  // the selection reads other employees into the shared buffer
    view.script = [this](FormEngine& engine) {
        EXPECT_EQ(staff::superiorName(), "");
        engine.record().setValue("MOL:TITLE", ru("Кладовщик"));
        engine.controlPressed(ef::kBossButton);
        EXPECT_EQ(*engine.record().value("MOL:SCODE"), "4");
        EXPECT_EQ(platform::clip(*engine.record().value("MOL:TITLE")), ru("Кладовщик"));
        EXPECT_EQ(staff::superiorName(), ru("Начальников Олег"));

        // A code that names nobody: the message, the code and the name stay.
        engine.record().setValue("MOL:BOSS", "0");
        engine.entryAccepted(ef::kBoss);
        EXPECT_EQ(staff::superiorName(), ru("Начальников Олег"));
        EXPECT_EQ(*engine.record().value("MOL:BOSS"), "0");
        engine.okPressed();
    };
    list->changeButton();
    ASSERT_EQ(services->shown.size(), 1u);
    EXPECT_EQ(box(0).caption, ru(" Ошибка"));
    EXPECT_EQ(box(0).text, ru("Нет такого !"));
    const auto stored4 = stored(files().mol, "MOL:SCODE_KEY").at(1);
    EXPECT_EQ(platform::clip(*stored4.value("MOL:LNAME")), ru("Петров"));
    EXPECT_EQ(platform::clip(*stored4.value("MOL:TITLE")), ru("Кладовщик"));
    EXPECT_EQ(*stored(files().mol, "MOL:SCODE_KEY").at(0).value("MOL:LNAME"),
              *stored(files().mol, "MOL:SCODE_KEY").at(0).value("MOL:LNAME"));
    EXPECT_EQ(platform::clip(*stored(files().mol, "MOL:SCODE_KEY").at(0).value("MOL:TITLE")), "")
        << "the superior's record was not written over";
}

TEST_F(EmployeeForm, DropListsNameTheirRowsAndEmptyFilesLeaveZero) {
    addEmployee(4, ru("Петров"), 7, 2);
    view.script = [](FormEngine& engine) {
        EXPECT_EQ(*engine.record().value("MOL:OTD_ID"), "0");
        EXPECT_EQ(*engine.record().value("MOL:KATEGCODE"), "0");
        engine.cancelPressed();
    };
    openList();
    list->changeButton();

    add(files().otdMol, {{"OMO:OTD_ID", "7"}, {"OMO:NAME", ru("Склад")}});
    add(files().katMol, {{"KTM:COD", "2"}, {"KTM:KATEG", ru("Кладовщик")}});
    const framework::form::FormDefinition form = staff::employeeForm(formCallouts());
    const auto* department = form.fieldOfEntry(ef::kDepartment);
    ASSERT_TRUE(department && department->choices);
    EXPECT_EQ(department->choices(), (std::vector<std::pair<std::string, std::string>>{{"7", " 7  " + ru("Склад")}}));
    files().mol.record().setValue("MOL:OTD_ID", "7");
    EXPECT_EQ(platform::clip(form.fieldOfEntry(ef::kDepartmentName)->shown()), ru("Склад"));
    files().mol.record().setValue("MOL:OTD_ID", "8");
    EXPECT_EQ(platform::clip(form.fieldOfEntry(ef::kDepartmentName)->shown()), "")
        << "a code that names nothing shows no name";
}

TEST_F(EmployeeForm, LoginIsHiddenFromAnOperatorRefusedTheCategories) {
    framework::setRightsCheck([](const std::string& designation) {
        return static_cast<std::int16_t>(designation == "KatMOL" ? framework::kForbidAccess : 0);
    });
    const framework::form::FormDefinition hidden = staff::employeeForm(formCallouts());
    EXPECT_FALSE(hidden.fieldOfEntry(ef::kLogin)->visible());
    framework::setRightsCheck([](const std::string&) { return std::int16_t{0}; });
    const framework::form::FormDefinition shown = staff::employeeForm(formCallouts());
    EXPECT_TRUE(shown.fieldOfEntry(ef::kLogin)->visible());
    EXPECT_EQ(shown.dittoKey, framework::form::kDittoKeyCtrlAltH);
}

TEST_F(EmployeeForm, FileDialoguesCarryTheirTitlesAndFilters) {
    services->fileAnswers = {std::string("/tmp/photo.jpg"), std::nullopt, std::string("hello.wav")};
    view.script = [](FormEngine& engine) {
        engine.controlPressed(ef::kPhotoButton);
        engine.controlPressed(ef::kSignatureButton);
        engine.controlPressed(ef::kSoundButton);
        EXPECT_EQ(platform::clip(*engine.record().value("MOL:PHOTO")), "/tmp/photo.jpg");
        EXPECT_EQ(platform::clip(*engine.record().value("MOL:SIGNATURE")), "");
        EXPECT_EQ(platform::clip(*engine.record().value("MOL:SNDFILE")), "hello.wav");
        engine.cancelPressed();
    };
    runForm(framework::kRequestInsert);
    ASSERT_EQ(services->fileDialogs.size(), 3u);
    EXPECT_EQ(services->fileDialogs[0].caption, ru("  Выбор Файла Фотографии"));
    EXPECT_EQ(services->fileDialogs[1].caption, ru("  Выбор Файла Подписи"));
    EXPECT_EQ(services->fileDialogs[2].caption, ru("  Выбор Файла Звука"));
    EXPECT_EQ(services->fileDialogs[0].filter,
              ru("Все файлы|*.*|БМП-шки|*.bmp|Формат PCX|*.pcx|Формат GIF|*.gif|Формат JPG|*.jpg|"
                 "Иконки|*.ico|Метафайлы|*.wmf|"));
    EXPECT_EQ(services->fileDialogs[2].filter, ru("Все файлы|*.*|Формат WAV|*.wav"));
    EXPECT_TRUE(codes().empty());
}

TEST_F(EmployeeForm, LogTabListsTheEmployeesEntriesWithTheirOperator) {
    addEmployee(4, ru("Петров"));
    addEmployee(5, ru("Сидоров"));
    addLog(4, 200, ru("Изменение"), 12);
    addLog(4, 100, ru("Добавление"), 3);
    addLog(5, 100, ru("Добавление"), 3);
    g_SCode = 7;
    openList();
    std::vector<std::vector<std::string>> rows;
    view.script = [&](FormEngine& engine) {
        BrowseEngine& log = *engine.list(ef::kLog);
        view.log.pump(log);
        rows = view.log.shown;
        // A new entry by hand starts with the employee, the operator and now.
        logView.script = [](FormEngine& entry) {
            EXPECT_EQ(*entry.record().value("MLO:SCODE"), "4");
            EXPECT_EQ(*entry.record().value("MLO:OPERATOR"), "7");
            entry.record().setValue("MLO:OPERATION", ru("Отпуск"));
            entry.okPressed();
        };
        log.insertButton();
        engine.cancelPressed();
    };
    list->changeButton();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(platform::clip(rows[0][2]), ru("Добавление")) << "oldest first";
    EXPECT_EQ(rows[0][4], "  3") << "the operator who made the entry";
    EXPECT_EQ(rows[1][4], " 12");
    EXPECT_EQ(logEntries(), (std::vector<std::string>{"4:" + ru("Добавление"), "4:" + ru("Изменение"),
                                                      "4:" + ru("Отпуск"), "5:" + ru("Добавление")}));
}

TEST_F(EmployeeForm, TwoStationsChangingOneEmployeeGetMessage38AndLoseNothing) {
    addEmployee(4, ru("Петров"));
    openList();
    view.script = [this](FormEngine& engine) {
        changeByAnotherStation(4, "MOL:TITLE", ru("Директор"));  // meanwhile
        engine.record().setValue("MOL:BPHONE", "123");
        engine.okPressed();
        engine.cancelPressed();
    };
    list->changeButton();
    ASSERT_GE(services->shown.size(), 1u);
    EXPECT_EQ(box(0).caption, "Record Was Not Updated") << "message 38";
    const auto kept = stored(files().mol, "MOL:SCODE_KEY").at(0);
    EXPECT_EQ(platform::clip(*kept.value("MOL:TITLE")), ru("Директор")) << "the other station's change stays";
    EXPECT_EQ(platform::clip(*kept.value("MOL:BPHONE")), "");
}

// A burst of entries in one moment takes consecutive hundredths of its own
// employee, each found in a few reads of the key (not one failed add per taken
// hundredth); an entry already ahead of the run is stepped over, and another
// employee's entries are a run of their own.
TEST_F(EmployeeForm, ABurstOfLogEntriesTakesTheNextFreeHundredthsOfItsEmployee) {
    addEmployee(4, ru("Петров"));
    addEmployee(5, ru("Сидоров"));
    const auto times = [this](int code) {
        std::vector<std::int64_t> out;
        for (const storage::Record& r : stored(files().molLog, "MLO:SCODE_KEY"))
            if (r.getInt("MLO:SCODE") == code) out.push_back(r.getInt("MLO:TIME"));
        return out;
    };
    files().mol.record().setValue("MOL:SCODE", "4");
    PUTMOLLOG("first");
    const std::int64_t start = times(4).at(0);
    {
        // An entry of employee 4 ahead of the run to come.
        framework::FileUse use(files().molLog);
        storage::Record& ahead = files().molLog.record();
        ahead.clear();
        ahead.setInt("MLO:SCODE", 4);
        ahead.setInt("MLO:DATE", stored(files().molLog, "MLO:SCODE_KEY").at(0).getInt("MLO:DATE"));
        ahead.setInt("MLO:TIME", start + 150);
        ahead.setValue("MLO:OPERATION", "ahead");
        ASSERT_EQ(files().molLog.add(), 0);
    }
    for (int i = 0; i < 199; ++i) PUTMOLLOG("burst");
    files().mol.record().setValue("MOL:SCODE", "5");
    PUTMOLLOG("other");

    const std::vector<std::int64_t> four = times(4);
    ASSERT_EQ(four.size(), 201u);
    for (std::size_t i = 0; i < four.size(); ++i)
        EXPECT_EQ(four[i], start + static_cast<std::int64_t>(i)) << "no hundredth skipped or taken twice";
    EXPECT_EQ(times(5), std::vector<std::int64_t>{start}) << "another employee's own moment";
}

TEST_F(EmployeeForm, PutMolLogCutsTheOperationAndANameOfFiftyCyrillicLettersIsKept) {
    addEmployee(4, ru("Петров"));
    files().mol.record().setValue("MOL:SCODE", "4");
    PUTMOLLOG(std::string(40, 'x').c_str());
    PUTMOLLOG(nullptr);
    ASSERT_EQ(logEntries().size(), 2u) << "the second entry of the same moment takes the next hundredth";
    EXPECT_EQ(logEntries()[0], "4:" + std::string(32, 'x'));
    EXPECT_EQ(logEntries()[1], "4:");

    // 50 characters with Cyrillic letters: the whole field.
    const std::string longName = ru("/data/Подписи/Подпись_главного_бухгалтера_отд1.bmp");
    ASSERT_EQ(longName.size(), 50u);
    services->fileAnswers = {longName};
    view.script = [&](FormEngine& engine) {
        engine.controlPressed(ef::kSignatureButton);
        engine.okPressed();
    };
    runForm(framework::kRequestInsert);
    EXPECT_EQ(platform::clip(*stored(files().mol, "MOL:SCODE_KEY").at(1).value("MOL:SIGNATURE")),
              longName.substr(0, 50));
}

}  // namespace
}  // namespace library_tests
