// The rights journal over real files: a ban toggled in the grid, a category and
// an object added, renamed and deleted through their forms, each with its entry
// and the old and new values; refusals counted within a minute and explained
// only to an operator who may see the rights; a journal that cannot be written
// refuses the change; the journal cut to its last days.
#include "tests/framework/browse_fixture.h"
#include "tests/framework/form_fixture.h"
#include "tests/staff/library_fixture.h"

#include "access/dostup.h"
#include "access/rights.h"
#include "access/rights_journal.h"
#include "framework/browse/browse_engine.h"
#include "framework/form/form_engine.h"
#include "platform/dates.h"
#include "staff/d_katmol.h"
#include "staff/d_object.h"
#include "staff/d_rights_grid.h"

#include <fstream>

namespace library_tests {
namespace {

using framework::form::FormEngine;
namespace cf = staff::category_form;
namespace of = staff::object_form;

class RightsJournal : public LibraryTest {
protected:
    RightsJournal() {
        platform::setTestNow(platform::dayNumber(2026, 12, 9), platform::clockValue(10, 0, 0));
        g_SCode = 7;
        add(files().object, {{"OBJ:ID", "1"}, {"OBJ:OBOZN", "Firm"}, {"OBJ:NAME", ru("Фирмы")},
                             {"OBJ:TYPE", ru("Справочник")}});
        add(files().object, {{"OBJ:ID", "2"}, {"OBJ:OBOZN", "KatMOL"}, {"OBJ:TYPE", ru("Справочник")}});
        add(files().object, {{"OBJ:ID", "3"}, {"OBJ:OBOZN", "Dostup"}, {"OBJ:TYPE", ru("Справочник")}});
        add(files().katMol, {{"KTM:COD", "1"}, {"KTM:KATEG", ru("Администраторы")}});
        add(files().katMol, {{"KTM:COD", "2"}, {"KTM:KATEG", ru("Склад")}});
        add(files().mol, {{"MOL:SCODE", "7"}, {"MOL:LNAME", ru("Орлова")}, {"MOL:KATEGCODE", "1"}});
        add(files().mol, {{"MOL:SCODE", "8"}, {"MOL:LNAME", ru("Кладов")}, {"MOL:KATEGCODE", "2"}});
    }
    ~RightsJournal() override {
        platform::clearTestNow();
        g_SCode = 0;
    }
    int runForm(const framework::form::FormDefinition& form, int request) {
        framework::globalRequest() = request;
        return framework::form::runForm(form, view);
    }
    // Each entry as "operator|kind|category|object|action|old|new|count".
    std::vector<std::string> entries() {
        std::vector<std::string> out;
        for (const storage::Record& r : stored(files().rightsLog, "DATE_KEY")) {
            std::string text;
            for (const char* field : {"RLG:OPERATOR", "RLG:KIND", "RLG:KATEG", "RLG:OBOZN", "RLG:ACTION",
                                      "RLG:OLDVALUE", "RLG:NEWVALUE", "RLG:COUNT"})
                text += std::string(platform::clip(*r.value(field))) + "|";
            out.push_back(text.substr(0, text.size() - 1));
        }
        return out;
    }

    form_tests::FakeFormView view;
};

TEST_F(RightsJournal, EveryChangeOfBansCategoriesAndObjectsLeavesItsEntry) {
    const std::string allowed = ru("разрешено"), banned = ru("запрещено");
    struct Step {
        const char* what;
        std::function<void()> run;
        std::string entry;  // the entry it adds; empty: none
    };
    const framework::form::FormDefinition categories = staff::categoryForm();
    const framework::form::FormDefinition objects = staff::objectForm();
    const std::vector<Step> steps = {
        {"a first ban creates the row", [] { ASSERT_TRUE(staff::toggleBan(2, 1, 0)); },
         "7|1|" + ru("Склад") + "|Firm|" + ru("Доступ") + "|" + allowed + "|" + banned + "|0"},
        {"the same ban lifted", [] { ASSERT_TRUE(staff::toggleBan(2, 1, 0)); },
         "7|1|" + ru("Склад") + "|Firm|" + ru("Доступ") + "|" + banned + "|" + allowed + "|0"},
        {"a ban of printing", [] { ASSERT_TRUE(staff::toggleBan(2, 1, 7)); },
         "7|1|" + ru("Склад") + "|Firm|" + ru("Печать") + "|" + allowed + "|" + banned + "|0"},
        {"a category renamed",
         [&] {
             files().katMol.record().clear();
             files().katMol.record().setInt("KTM:COD", 2);
             framework::FileUse use(files().katMol);
             ASSERT_EQ(files().katMol.get(*files().katMol.layout().key("CODE_KEY")), 0);
             view.script = [this](FormEngine& engine) {
                 view.typed = {{cf::kName, ru("Кладовая")}};
                 engine.okPressed();
             };
             EXPECT_EQ(runForm(categories, framework::kRequestChange), framework::kResponseCompleted);
         },
         "7|2|" + ru("Кладовая") + "||" + ru("Изменение") + "|2 " + ru("Склад") + "|2 " + ru("Кладовая") + "|0"},
        {"a change that altered nothing",
         [&] {
             framework::FileUse use(files().katMol);
             ASSERT_EQ(files().katMol.get(*files().katMol.layout().key("CODE_KEY")), 0);
             view.script = [](FormEngine& engine) { engine.okPressed(); };
             EXPECT_EQ(runForm(categories, framework::kRequestChange), framework::kResponseCompleted);
         },
         ""},
        {"a category added",
         [&] {
             view.script = [this](FormEngine& engine) {
                 view.typed = {{cf::kName, ru("Кассиры")}};
                 engine.okPressed();
             };
             EXPECT_EQ(runForm(categories, framework::kRequestInsert), framework::kResponseCompleted);
         },
         "7|2|" + ru("Кассиры") + "||" + ru("Добавление") + "||3 " + ru("Кассиры") + "|0"},
        {"an object renamed",
         [&] {
             files().object.record().clear();
             files().object.record().setInt("OBJ:ID", 1);
             framework::FileUse use(files().object);
             ASSERT_EQ(files().object.get(*files().object.layout().key("ID_KEY")), 0);
             view.script = [this](FormEngine& engine) {
                 view.typed = {{of::kDesignation, "Firms"}};
                 engine.okPressed();
             };
             EXPECT_EQ(runForm(objects, framework::kRequestChange), framework::kResponseCompleted);
         },
         "7|3||Firms|" + ru("Изменение") + "|1 Firm " + ru("Фирмы") + " (" + ru("Справочник") + ")|1 Firms " +
             ru("Фирмы") + " (" + ru("Справочник") + ")|0"},
        {"an object deleted",
         [&] {
             framework::FileUse use(files().object);
             ASSERT_EQ(files().object.get(*files().object.layout().key("ID_KEY")), 0);
             view.script = [](FormEngine& engine) { engine.okPressed(); };
             EXPECT_EQ(runForm(objects, framework::kRequestDelete), framework::kResponseCompleted);
         },
         "7|3||Firms|" + ru("Удаление") + "|1 Firms " + ru("Фирмы") + " (" + ru("Справочник") + ")||0"},
    };
    std::vector<std::string> expected;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.run();
        platform::setTestNow(platform::today(), platform::clock() + 100);
        if (!step.entry.empty()) expected.push_back(step.entry);
        EXPECT_EQ(entries(), expected);
    }
    EXPECT_TRUE(services->shown.empty());
}

// The refusal of one operator, object and ban is one entry counting its repeats
// within a minute; the explanation goes only to a category that may open the
// categories and the rights.
TEST_F(RightsJournal, RefusalsAreCountedWithinAMinuteAndExplainedOnlyToThoseWhoMaySeeRights) {
    add(files().dostup, {{"DOS:KATEGCODE", "2"}, {"DOS:OBJECTID", "1"}, {"DOS:OPENFLAG", "1"}});
    add(files().dostup, {{"DOS:KATEGCODE", "2"}, {"DOS:OBJECTID", "2"}, {"DOS:OPENFLAG", "1"}});
    const std::string explained = ru("Объект «Firm», категория «Администраторы»: запрет изменения");
    EXPECT_EQ(dostup::noteRefusal("Firm", framework::kForbidChange), explained);
    platform::setTestNow(platform::today(), platform::clock() + 5'900);  // 59 s later
    EXPECT_EQ(dostup::noteRefusal("Firm", framework::kForbidChange), explained);
    g_SCode = 8;  // "Склад" may not open the categories: the box stays as it was
    EXPECT_EQ(dostup::noteRefusal("Firm", framework::kForbidAccess), "");
    platform::setTestNow(platform::today(), platform::clock() + 6'100);  // past the minute
    EXPECT_EQ(dostup::noteRefusal("Firm", framework::kForbidAccess), "");
    EXPECT_EQ(dostup::noteRefusal("Firm", framework::kForbidDelete), "") << "another ban, another entry";

    const std::string refusal = ru("Отказ");
    EXPECT_EQ(entries(), (std::vector<std::string>{
                             "7|4|" + ru("Администраторы") + "|Firm|" + refusal + "|||2",
                             "8|4|" + ru("Склад") + "|Firm|" + refusal + "|||1",
                             "8|4|" + ru("Склад") + "|Firm|" + refusal + "|||1",
                             "8|4|" + ru("Склад") + "|Firm|" + refusal + "|||1",
                         }));
    EXPECT_EQ(dostup::refusalExplanation("Firm", 3), "") << "not one ban";
    EXPECT_TRUE(services->shown.empty());
}

// No change without its record: a journal that cannot be opened or created
// refuses the toggle and the category's save with the storage's message, and
// the rights and categories stay as they were.
TEST_F(RightsJournal, AJournalThatCannotBeWrittenRefusesTheChange) {
    std::ofstream(folder.path() / "Dat" / "plain") << "not a folder";
    files().rightsLog.setName(".\\Dat\\plain\\RightsLog");
    EXPECT_FALSE(staff::toggleBan(2, 1, 3));
    for (const storage::Record& row : stored(files().dostup, "KATEG_KEY"))
        EXPECT_EQ(row.getInt("DOS:KATEGCODE"), 0) << "only a new file's own bans";
    ASSERT_EQ(services->shown.size(), 1u);
    EXPECT_NE(services->shown[0].text.find("Dat/plain"), std::string::npos) << "the storage's message";
    const std::size_t shown = services->shown.size();

    const framework::form::FormDefinition categories = staff::categoryForm();
    files().katMol.record().clear();
    files().katMol.record().setInt("KTM:COD", 2);
    {
        framework::FileUse use(files().katMol);
        ASSERT_EQ(files().katMol.get(*files().katMol.layout().key("CODE_KEY")), 0);
        view.script = [this](FormEngine& engine) {
            view.typed = {{cf::kName, ru("Кладовая")}};
            engine.okPressed();
            engine.cancelPressed();
        };
        EXPECT_EQ(runForm(categories, framework::kRequestChange), framework::kResponseCancelled);
    }
    EXPECT_EQ(column(files().katMol, "CODE_KEY", "KTM:KATEG"),
              (std::vector<std::string>{ru("Администраторы"), ru("Склад")}));
    EXPECT_GT(services->shown.size(), shown);
}

TEST_F(RightsJournal, CompressionKeepsTheLastDaysAndJournalsItself) {
    const std::int32_t today = platform::today();
    for (int daysAgo : {400, 31, 30, 0}) {
        platform::setTestNow(today - daysAgo, platform::clockValue(9, 0, 0));
        ASSERT_TRUE(staff::toggleBan(2, 1, 1));
    }
    platform::setTestNow(today, platform::clockValue(12, 0, 0));
    EXPECT_EQ(dostup::compressRightsLog(30), 2);
    const std::vector<storage::Record> left = stored(files().rightsLog, "DATE_KEY");
    ASSERT_EQ(left.size(), 3u);
    EXPECT_EQ(left[0].getInt("RLG:DATE"), today - 30);
    EXPECT_EQ(left[2].getInt("RLG:KIND"), static_cast<int>(dostup::RightsLogKind::Compression));
    EXPECT_EQ(std::string(platform::clip(left[2].getText("RLG:OLDVALUE"))), "2");
    EXPECT_EQ(dostup::compressRightsLog(30), 0) << "nothing more to remove";

    // The employees' changed fields: the old ones go, with an entry saying so.
    for (int daysAgo : {40, 31, 30, 2})
        add(files().molChange, {{"MCH:SCODE", "7"}, {"MCH:DATE", std::to_string(today - daysAgo)},
                                {"MCH:TIME", "1"}, {"MCH:NUMBER", "1"}, {"MCH:LABEL", ru("Должность")}});
    EXPECT_EQ(dostup::compressEmployeeChanges(30), 2);
    const std::vector<storage::Record> kept = stored(files().molChange, "ENTRY_KEY");
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].getInt("MCH:DATE"), today - 30);
    const std::vector<storage::Record> journaled = stored(files().rightsLog, "DATE_KEY");
    ASSERT_EQ(journaled.size(), 5u);
    EXPECT_EQ(std::string(platform::clip(journaled.back().getText("RLG:ACTION"))), ru("Сжатие изменений сотрудников"));
    EXPECT_EQ(std::string(platform::clip(journaled.back().getText("RLG:OLDVALUE"))), "2");
}

}  // namespace
}  // namespace library_tests
