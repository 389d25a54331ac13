// The employee categories (numbering, the buttons, "Доступ" for the highlighted
// category, deletes and code changes that leave employees and rights alone) and
// the access objects (the list's orders, numbering before the window opens, the
// primed type, the duplicate names, no rights asked).
#include "tests/framework/browse_fixture.h"
#include "tests/framework/form_fixture.h"
#include "tests/staff/library_fixture.h"

#include "framework/browse/browse_engine.h"
#include "framework/form/form_engine.h"
#include "staff/d_katmol.h"
#include "staff/d_object.h"

namespace library_tests {
namespace {

using browse_tests::FakeListView;
using framework::browse::BrowseEngine;
using framework::browse::ListButton;
using framework::form::FormEngine;
namespace cf = staff::category_form;
namespace of = staff::object_form;

class Categories : public LibraryTest {
protected:
    int runForm(int request) {
        framework::globalRequest() = request;
        return framework::form::runForm(form, view);
    }
    BrowseEngine& openList() {
        framework::globalRequest() = 0;
        list = std::make_unique<BrowseEngine>(
            staff::categoryList([this] { framework::form::runForm(form, view); },
                                [this](std::uint16_t code, const std::string& name) {
                                    granted.push_back(std::to_string(code) + ":" + name);
                                }),
            listView);
        if (list->open()) {
            list->windowOpened();
            listView.pump(*list);
        }
        return *list;
    }
    void addCategory(int code, const std::string& name) {
        add(files().katMol, {{"KTM:COD", std::to_string(code)}, {"KTM:KATEG", name}});
    }
    std::vector<std::string> codes() { return column(files().katMol, "CODE_KEY", "KTM:COD"); }

    const framework::form::FormDefinition form = staff::categoryForm();
    form_tests::FakeFormView view;
    FakeListView listView;
    std::unique_ptr<BrowseEngine> list;
    std::vector<std::string> granted;
};

TEST_F(Categories, NumbersFromOneThenAfterTheHighestAndACancelledInsertLeavesNothing) {
    view.script = [this](FormEngine& engine) {
        EXPECT_EQ(codes(), std::vector<std::string>{"1"}) << "reserved before the window opened";
        engine.okPressed();
    };
    EXPECT_EQ(runForm(framework::kRequestInsert), framework::kResponseCompleted);
    EXPECT_EQ(view.caption, ru(" Новая Категория") + "  (New)");
    EXPECT_EQ(view.dittoKey, framework::form::kDittoKeyCtrlQuote);
    addCategory(2, "B");
    addCategory(3, "C");
    view.script = [](FormEngine& engine) {
        EXPECT_EQ(*engine.record().value("KTM:COD"), "4");
        engine.cancelPressed();
    };
    EXPECT_EQ(runForm(framework::kRequestInsert), framework::kResponseCancelled);
    EXPECT_EQ(codes(), (std::vector<std::string>{"1", "2", "3"}));
}

// A deleted category's code still names employees or rights rows (the files
// keep them): a new category is numbered above every such code, so it inherits
// neither; the same for an object whose rights rows stay.
TEST_F(Categories, NewCodesGoAboveEveryCodeStillInUse) {
    const struct {
        const char* where;
        int employeeCategory;  // 0: none
        int rightsCategory;    // 0: none
        const char* expected;
    } table[] = {
        {"nothing left", 0, 0, "3"},
        {"employees of category 4", 4, 0, "5"},
        {"rights rows of category 6", 0, 6, "7"},
        {"employees above the rights rows", 8, 0, "9"},
    };
    addCategory(1, "A");
    addCategory(2, "B");
    int employee = 0;
    for (const auto& row : table) {
        SCOPED_TRACE(row.where);
        if (row.employeeCategory)
            add(files().mol, {{"MOL:SCODE", std::to_string(++employee)},
                              {"MOL:KATEGCODE", std::to_string(row.employeeCategory)}});
        if (row.rightsCategory)
            add(files().dostup, {{"DOS:KATEGCODE", std::to_string(row.rightsCategory)},
                                 {"DOS:OBJECTID", std::to_string(row.rightsCategory)}});
        std::string numbered;
        view.script = [&numbered](FormEngine& engine) {
            numbered = *engine.record().value("KTM:COD");
            engine.cancelPressed();
        };
        runForm(framework::kRequestInsert);
        EXPECT_EQ(numbered, row.expected);
    }

    form_tests::FakeFormView objectView;
    const framework::form::FormDefinition objects = staff::objectForm();
    ASSERT_EQ(files().object.create(), 0);
    ASSERT_EQ(files().dostup.create(), 0);  // without the rows a new rights file starts with
    add(files().object, {{"OBJ:ID", "1"}, {"OBJ:OBOZN", "Valut"}});
    add(files().dostup, {{"DOS:KATEGCODE", "2"}, {"DOS:OBJECTID", "12"}});  // object 12 was deleted
    std::string numbered;
    objectView.script = [&numbered](FormEngine& engine) {
        numbered = *engine.record().value("OBJ:ID");
        engine.cancelPressed();
    };
    framework::globalRequest() = framework::kRequestInsert;
    framework::form::runForm(objects, objectView);
    EXPECT_EQ(numbered, "13");
}

TEST_F(Categories, ButtonsInOrderAndAccessOpensTheGridOfTheHighlightedCategory) {
    addCategory(1, ru("Админы"));
    addCategory(3, ru("Кассиры"));
    openList();
    const auto& def = list->definition();
    ASSERT_EQ(def.extraButtons.size(), 2u);
    EXPECT_TRUE(def.extraButtons[staff::category_list::kReread].leading);
    EXPECT_EQ(def.extraButtons[staff::category_list::kReread].label.text, ru("Помощь"));
    EXPECT_EQ(def.extraButtons[staff::category_list::kReread].icon, "Print.ico");
    EXPECT_EQ(def.extraButtons[staff::category_list::kRights].label.text, ru("Доступ"));
    EXPECT_FALSE(def.extraButtons[staff::category_list::kRights].leading);
    EXPECT_EQ(def.labels.close.text, ru("закрыть"));
    EXPECT_EQ(def.labels.close.tip, ru("Закрыть окно"));

    listView.click(*list, 2);
    list->extraButton(staff::category_list::kRights);
    EXPECT_EQ(granted, std::vector<std::string>{"3:" + ru("Кассиры")});
    list->extraButton(staff::category_list::kReread);
    EXPECT_EQ(*files().katMol.record().value("KTM:COD"), "3");
    EXPECT_EQ(granted.size(), 1u) << "the first button only re-reads";
    list->helpButton();
    EXPECT_EQ(help, std::vector<std::string>{"Sprav\\KatMOL.htm"});
}

TEST_F(Categories, DeletingOrRenumberingLeavesEmployeesAndRightsRowsAsTheyAre) {
    addCategory(2, ru("Кладовщик"));
    addCategory(5, ru("Кассиры"));
    add(files().mol, {{"MOL:SCODE", "7"}, {"MOL:LNAME", ru("Петров")}, {"MOL:KATEGCODE", "2"}});
    add(files().mol, {{"MOL:SCODE", "8"}, {"MOL:LNAME", ru("Сидоров")}, {"MOL:KATEGCODE", "5"}});
    add(files().dostup, {{"DOS:KATEGCODE", "2"}, {"DOS:OBJECTID", "1"}, {"DOS:CHANGEFLAG", "1"}});
    openList();
    view.script = [](FormEngine& engine) { engine.okPressed(); };
    list->deleteButton();  // the first row: category 2
    EXPECT_EQ(codes(), std::vector<std::string>{"5"});

    listView.click(*list, 1);
    view.script = [this](FormEngine& engine) {
        EXPECT_EQ(view.caption, ru(" Изменение Категории") + "  (" + ru("Кассиры") + ")");
        view.typed = {{cf::kCode, "6"}};
        engine.okPressed();
    };
    list->changeButton();
    EXPECT_EQ(codes(), std::vector<std::string>{"6"});
    EXPECT_EQ(column(files().mol, "SCODE_KEY", "MOL:KATEGCODE"), (std::vector<std::string>{"2", "5"}));
    EXPECT_EQ(column(files().dostup, "KATEG_KEY", "DOS:KATEGCODE"), std::vector<std::string>{"2"});
    EXPECT_TRUE(services->shown.empty());
}

TEST_F(Categories, RightsOnKatMolHideButtonsAndACodeInUseIsReportedAsCode) {
    addCategory(1, "A");
    addCategory(2, "B");
    rights = framework::kForbidInsert;
    openList();
    EXPECT_FALSE(listView.visible[ListButton::Insert]);
    EXPECT_TRUE(listView.visible[ListButton::Change]);
    EXPECT_EQ(asked, std::vector<std::string>{"KatMOL"});

    rights = 0;
    view.script = [this](FormEngine& engine) {
        view.typed = {{cf::kCode, "1"}, {cf::kName, "C"}};
        engine.okPressed();
        engine.cancelPressed();
    };
    runForm(framework::kRequestInsert);
    ASSERT_FALSE(services->shown.empty());
    EXPECT_EQ(box(0).caption, "Duplicate Key Error");
    EXPECT_NE(box(0).text.find(":Code"), std::string::npos) << box(0).text;
    EXPECT_EQ(codes(), (std::vector<std::string>{"1", "2"}));
}

class Objects : public LibraryTest {
protected:
    // An empty object file, not a new installation's (which starts with the
    // objects the screens ask for).
    Objects() { EXPECT_EQ(files().object.create(), 0); }
    int runForm(int request) {
        framework::globalRequest() = request;
        return framework::form::runForm(form, view);
    }
    const framework::form::FormDefinition form = staff::objectForm();
    form_tests::FakeFormView view;
};

TEST_F(Objects, FirstObjectIsNumberedOneWithTheTypePrimedAndCancellingLeavesTheFileEmpty) {
    std::vector<std::string> during;
    view.script = [&](FormEngine& engine) {
        during = column(files().object, "ID_KEY", "OBJ:ID");
        EXPECT_EQ(platform::clip(*engine.record().value("OBJ:TYPE")), ru("Справочник"));
        engine.cancelPressed();
    };
    EXPECT_EQ(runForm(framework::kRequestInsert), framework::kResponseCancelled);
    EXPECT_EQ(during, std::vector<std::string>{"1"}) << "numbered before the window opened";
    EXPECT_TRUE(column(files().object, "ID_KEY", "OBJ:ID").empty());
    EXPECT_EQ(view.caption, ru(" Новый Обьект") + "  (New)");
    EXPECT_EQ(asked, std::vector<std::string>{"Object"});
}

TEST_F(Objects, SavedObjectKeepsItsTypedValuesAndADuplicateDesignationIsObozn) {
    view.script = [this](FormEngine& engine) {
        view.typed = {{of::kDesignation, "Price"}, {of::kName, ru("Цены")}};
        engine.okPressed();
    };
    EXPECT_EQ(runForm(framework::kRequestInsert), framework::kResponseCompleted);
    EXPECT_EQ(column(files().object, "ID_KEY", "OBJ:OBOZN"), std::vector<std::string>{"Price"});
    EXPECT_EQ(column(files().object, "ID_KEY", "OBJ:TYPE"), std::vector<std::string>{ru("Справочник")});

    view.script = [this](FormEngine& engine) {
        view.typed = {{of::kDesignation, "Price"}};
        engine.okPressed();
        engine.cancelPressed();
    };
    runForm(framework::kRequestInsert);
    ASSERT_FALSE(services->shown.empty());
    EXPECT_EQ(box(0).caption, "Duplicate Key Error");
    EXPECT_NE(box(0).text.find(":Obozn"), std::string::npos) << box(0).text;
    EXPECT_EQ(column(files().object, "ID_KEY", "OBJ:OBOZN"), std::vector<std::string>{"Price"});
    EXPECT_EQ(asked, std::vector<std::string>(2, "Object"));
}

TEST_F(Objects, ListHasTwoOrdersAndAsksItsRights) {
    add(files().object, {{"OBJ:ID", "1"}, {"OBJ:OBOZN", "Valut"}});
    add(files().object, {{"OBJ:ID", "2"}, {"OBJ:OBOZN", "Firm"}});
    FakeListView listView;
    BrowseEngine list(staff::objectList({}), listView);
    ASSERT_TRUE(list.open());
    list.windowOpened();
    listView.pump(list);
    EXPECT_EQ(platform::clip(listView.shown.at(0).at(1)), "Valut");
    listView.tab = 2;
    list.tabChanged();
    listView.pump(list);
    EXPECT_EQ(platform::clip(listView.shown.at(0).at(1)), "Firm");
    EXPECT_EQ(list.definition().sorts.at(1).tabCaption, ru("по &Обозначению"));
    EXPECT_EQ(asked, std::vector<std::string>{"Object"});
    list.closeButton();
}

}  // namespace
}  // namespace library_tests
