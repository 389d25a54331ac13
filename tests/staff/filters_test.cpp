// Saved filters: numbering within a designation, the selection's "expression|name"
// and "|", the list limited to loc:Tabl and re-filled when it changes, the
// expression check with the fields of the named table, rights with " Ошибка",
// and a change by another station reported without the detail.
#include "tests/framework/browse_fixture.h"
#include "tests/framework/form_fixture.h"
#include "tests/staff/library_fixture.h"

#include "framework/browse/browse_engine.h"
#include "framework/form/form_engine.h"
#include "inputaids/d_filter.h"

#include <random>

namespace library_tests {
namespace {

using browse_tests::FakeListView;
using framework::browse::BrowseEngine;
using framework::browse::ListButton;
using framework::form::FormEngine;
using inputaids::ExpressionCheck;
namespace ff = inputaids::filter_form;

class Filters : public LibraryTest {
protected:
    void addFilter(const std::string& table, int number, const std::string& name, const std::string& expression) {
        add(files().filter, {{"FIL:TABLE", table},
                             {"FIL:NUMBER", std::to_string(number)},
                             {"FIL:NAME", name},
                             {"FIL:EXPRESSION", expression}});
    }
    BrowseEngine& openList(int request) {
        framework::globalRequest() = request;
        list = std::make_unique<BrowseEngine>(
            inputaids::filterList([this] { framework::form::runForm(form, formView); }), listView);
        if (list->open()) {
            list->windowOpened();
            listView.pump(*list);
        }
        return *list;
    }
    std::vector<std::string> shownNames() {
        std::vector<std::string> names;
        for (const auto& row : listView.shown) names.emplace_back(platform::clip(row.at(1)));
        return names;
    }
    std::vector<std::string> stored() {
        std::vector<std::string> all;
        for (const storage::Record& r : LibraryTest::stored(files().filter, "FIL:TABLE_KEY"))
            all.push_back(std::string(platform::clip(*r.value("FIL:TABLE"))) + "#" + *r.value("FIL:NUMBER") +
                          "=" + *r.value("FIL:NAME"));
        return all;
    }

    const framework::form::FormDefinition form = inputaids::filterForm();
    form_tests::FakeFormView formView;
    FakeListView listView;
    std::unique_ptr<BrowseEngine> list;
};

TEST_F(Filters, NewFilterIsNumberedWithinItsDesignationAndPrimedWithIt) {
    for (int n = 1; n <= 10; ++n) addFilter("Store_t", n, "S" + std::to_string(n), "1");
    inputaids::beginFilterSelection("MOL_t");
    openList(framework::kRequestSelect);
    EXPECT_TRUE(listView.shown.empty()) << "only the filters of MOL_t";
    EXPECT_EQ(list->definition().entry->get(), "MOL_t");
    formView.script = [&](FormEngine& engine) {
        EXPECT_EQ(formView.caption, ru("Новый Фильтр") + "  (New)");
        formView.typed = {{ff::kName, ru("Работают")}, {ff::kExpression, "mol:SCode>0"}};
        engine.okPressed();
    };
    list->insertButton();
    formView.script = [&](FormEngine& engine) {
        formView.typed = {{ff::kName, ru("Все")}};
        engine.okPressed();
    };
    list->insertButton();
    EXPECT_EQ(shownNames(), (std::vector<std::string>{ru("Работают"), ru("Все")}));
    list->closeButton();
    inputaids::endFilterSelection(framework::globalResponse());
    const std::vector<std::string> all = stored();
    EXPECT_EQ(all.at(0), ru("MOL_t#1=Работают"));
    EXPECT_EQ(all.at(1), ru("MOL_t#2=Все"));
    EXPECT_EQ(all.size(), 12u);
    EXPECT_EQ(asked, (std::vector<std::string>{"Filter", "Filter", "Filter"}))
        << "the list asks once, each form asks for itself";
}

TEST_F(Filters, SelectionGivesExpressionAndNameOrABarWhenCancelled) {
    addFilter("MOL_t", 1, ru("Работают  "), "mol:SCode>0  ");
    addFilter("MOL_t", 2, ru("Склад"), "mol:Otd_ID = 3");
    addFilter("Store_t", 1, "S", "1");

    inputaids::beginFilterSelection("mol_t");
    openList(framework::kRequestSelect);
    EXPECT_TRUE(listView.enabled[ListButton::Select]);
    listView.click(*list, 2);
    list->selectButton();
    EXPECT_EQ(inputaids::endFilterSelection(framework::globalResponse()), ru("mol:Otd_ID = 3|Склад"));
    EXPECT_EQ(framework::userCount(files().filter), 0);

    inputaids::beginFilterSelection("MOL_t");
    openList(framework::kRequestSelect);
    listView.click(*list, 1);
    list->closeButton();
    EXPECT_EQ(inputaids::endFilterSelection(framework::globalResponse()), "|");
}

TEST_F(Filters, ChangingTheDesignationRefillsTheList) {
    addFilter("MOL_t", 1, "M1", "1");
    addFilter("Store_t", 1, "S1", "1");
    addFilter("Store_t", 2, "S2", "1");
    inputaids::beginFilterSelection("MOL_t");
    openList(0);
    EXPECT_EQ(shownNames(), std::vector<std::string>{"M1"});
    EXPECT_FALSE(listView.visible[ListButton::Select] && listView.enabled[ListButton::Select]);
    list->definition().entry->set("store_t");
    list->forceRefresh();
    listView.pump(*list);
    EXPECT_EQ(shownNames(), (std::vector<std::string>{"S1", "S2"}));
    list->definition().entry->set("Nothing");
    list->forceRefresh();
    listView.pump(*list);
    EXPECT_TRUE(listView.shown.empty());
}

TEST_F(Filters, CheckBindsTheFieldsOfTheNamedTable) {
    EXPECT_EQ(inputaids::checkExpression("mol:SCode>0", "MOL_t"), ExpressionCheck::Valid);
    EXPECT_EQ(inputaids::checkExpression("UPPER(MOL:LNAME) = 'A' AND mol:Otd_ID = 3", "MOL_t"),
              ExpressionCheck::Valid);
    EXPECT_EQ(inputaids::checkExpression("mol:SCode>0", "Store_t"), ExpressionCheck::Invalid)
        << "MOL is not the table of Store_t";
    EXPECT_EQ(inputaids::checkExpression("nosuch:Field = 1", "MOL_t"), ExpressionCheck::Invalid);
    EXPECT_EQ(inputaids::checkExpression("mol:SCode >", "MOL_t"), ExpressionCheck::Invalid);
    EXPECT_EQ(inputaids::checkExpression("mol:LNAME", "MOL_t"), ExpressionCheck::NotChecked)
        << "a text result leaves the pictures as they are";
    EXPECT_EQ(inputaids::checkExpression("fil:Number = 0", "Whatever"), ExpressionCheck::Valid)
        << "the filter's own fields are bound too";

    // Any 200 characters never crash the check.
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::string text(200, ' ');
        for (char& c : text) c = static_cast<char>(random() % 256);
        inputaids::checkExpression(text, "MOL_t");
    }
}

TEST_F(Filters, CheckButtonShowsOnePictureAndTheOtherHides) {
    addFilter("MOL_t", 1, "M", "mol:SCode>0");
    inputaids::beginFilterSelection("MOL_t");
    openList(0);
    const auto visible = [&](int control) { return form.fieldOfEntry(control)->visible(); };
    formView.script = [&](FormEngine& engine) {
        EXPECT_FALSE(visible(ff::kValidPicture));
        EXPECT_FALSE(visible(ff::kInvalidPicture)) << "both hidden at first";
        engine.controlPressed(ff::kCheck);
        EXPECT_TRUE(visible(ff::kValidPicture));
        EXPECT_FALSE(visible(ff::kInvalidPicture));
        formView.typed = {{ff::kExpression, "mol:SCode >"}};
        engine.controlPressed(ff::kCheck);
        EXPECT_FALSE(visible(ff::kValidPicture));
        EXPECT_TRUE(visible(ff::kInvalidPicture));
        formView.typed = {{ff::kExpression, "mol:LNAME"}};
        engine.controlPressed(ff::kCheck);
        EXPECT_TRUE(visible(ff::kInvalidPicture)) << "an undecided result changes nothing";
        formView.typed = {{ff::kExpression, "junk((("}};
        engine.okPressed();  // an expression that does not parse is saved as typed
    };
    list->changeButton();
    EXPECT_EQ(*LibraryTest::stored(files().filter, "FIL:TABLE_KEY").at(0).value("FIL:EXPRESSION"), "junk(((");
    inputaids::endFilterSelection(0);
}

TEST_F(Filters, ChangeByAnotherStationIsReportedWithMessage15AndTheFormStays) {
    addFilter("MOL_t", 1, "M", "1");
    inputaids::beginFilterSelection("MOL_t");
    openList(0);
    formView.script = [&](FormEngine& engine) {
        storage::DataFile other(files().filter.layout());
        other.setName(files().filter.name());
        framework::useFile(other);
        other.record().setValue("FIL:TABLE", "MOL_t");
        other.record().setValue("FIL:NUMBER", "1");
        ASSERT_EQ(other.get(*other.layout().key("FIL:TABLE_KEY")), 0);
        other.record().setValue("FIL:NAME", "Theirs");
        ASSERT_EQ(other.put(), 0);
        framework::releaseFile(other);
        formView.typed = {{ff::kName, "Mine"}};
        engine.okPressed();
        EXPECT_FALSE(engine.closed()) << "the form stays open";
        engine.cancelPressed();
    };
    list->changeButton();
    ASSERT_FALSE(services->shown.empty());
    EXPECT_EQ(box(0).caption, "Update Operation Error");
    EXPECT_EQ(box(0).text, "This record was changed by another station.");
    EXPECT_EQ(stored(), std::vector<std::string>{"MOL_t#1=Theirs"});
    inputaids::endFilterSelection(0);
}

TEST_F(Filters, RightsRefuseWithTheErrorCaptionAndTheListDoesNotAskAgain) {
    addFilter("MOL_t", 1, "M", "1");
    rights = framework::kForbidAccess;
    inputaids::beginFilterSelection("MOL_t");
    openList(framework::kRequestSelect);
    ASSERT_EQ(services->shown.size(), 1u);
    EXPECT_EQ(box(0).caption, ru(" Ошибка"));
    EXPECT_EQ(box(0).text, ru("Доступ запрещен "));
    EXPECT_EQ(inputaids::endFilterSelection(framework::globalResponse()), "|");

    services->shown.clear();
    rights = framework::kForbidChange;
    inputaids::beginFilterSelection("MOL_t");
    openList(0);
    EXPECT_FALSE(listView.visible[ListButton::Change]);
    rights = framework::kForbidDelete;
    list->deleteButton();
    EXPECT_TRUE(services->shown.size() >= 1u);
    EXPECT_EQ(box(0).caption, ru(" Ошибка")) << "the form refuses, not the list";
    EXPECT_EQ(box(0).text, ru("Удалениие запрещено "));
    EXPECT_EQ(stored().size(), 1u);
    inputaids::endFilterSelection(0);
}

}  // namespace
}  // namespace library_tests
