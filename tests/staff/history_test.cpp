// Input history: PUTHLIST's numbering within a field, values remembered once,
// designations in another letter case, texts longer than their fields, the
// selection around the history list, and the history form's numbering.
#include "tests/framework/browse_fixture.h"
#include "tests/framework/form_fixture.h"
#include "tests/staff/library_fixture.h"

#include "access/dostup.h"
#include "framework/browse/browse_engine.h"
#include "framework/form/form_engine.h"
#include "inputaids/d_hist.h"

namespace library_tests {
namespace {

using browse_tests::FakeListView;
using framework::browse::BrowseEngine;
using framework::form::FormEngine;

class History : public LibraryTest {
protected:
    // "FIELD#NUMBER=ITEM" of every row, in field and number order.
    std::vector<std::string> rows() {
        std::vector<std::string> all;
        for (const storage::Record& r : stored(files().histList, "HIS:FIELDNUMBER_KEY"))
            all.push_back(std::string(platform::clip(*r.value("HIS:FIELD"))) + "#" + *r.value("HIS:NUMBER") +
                          "=" + std::string(platform::clip(*r.value("HIS:ITEM"))));
        return all;
    }
    BrowseEngine& openList(int request) {
        framework::globalRequest() = request;
        list = std::make_unique<BrowseEngine>(
            inputaids::historyList([this] { framework::form::runForm(form, formView); }), listView);
        if (list->open()) {
            list->windowOpened();
            listView.pump(*list);
        }
        return *list;
    }
    std::vector<std::string> shownItems() {
        std::vector<std::string> items;
        for (const auto& row : listView.shown) items.emplace_back(platform::clip(row.at(1)));
        return items;
    }

    const framework::form::FormDefinition form = inputaids::historyForm();
    form_tests::FakeFormView formView;
    FakeListView listView;
    std::unique_ptr<BrowseEngine> list;
};

TEST_F(History, ValuesAreNumberedWithinTheirFieldAndRememberedOnce) {
    PUTHLIST("MOL:LNAME", ru("Петров").c_str(), nullptr);
    PUTHLIST("TOV:NAME", ru("Гвозди").c_str(), ru("Крепёж").c_str());
    PUTHLIST("MOL:LNAME", ru("Сидоров").c_str(), nullptr);
    PUTHLIST("MOL:LNAME", ru("Петров").c_str(), "again");  // already there: nothing changes
    EXPECT_EQ(rows(), (std::vector<std::string>{ru("MOL:LNAME#1=Петров"), ru("MOL:LNAME#2=Сидоров"),
                                                ru("TOV:NAME#1=Гвозди")}));
    EXPECT_TRUE(services->shown.empty()) << "a repeated value is not reported";
    const auto stored = this->stored(files().histList, "HIS:FIELDNUMBER_KEY");
    EXPECT_EQ(*stored.at(2).value("HIS:NAME"), ru("Крепёж"));
    EXPECT_EQ(*stored.at(0).value("HIS:NAME"), "") << "the omitted name stays empty";
    EXPECT_EQ(framework::userCount(files().histList), 0) << "the file is released";
}

// The keys ignore letter case: a designation typed otherwise continues the
// field's numbering instead of starting at 1 again, where number 1 is taken
// and every value would be refused for good.
TEST_F(History, DesignationInAnotherLetterCaseContinuesTheFieldsNumbers) {
    PUTHLIST("MOL:LNAME", "A", nullptr);
    PUTHLIST("mol:lname", "B", nullptr);
    PUTHLIST("Mol:LName", "C", nullptr);
    EXPECT_EQ(rows(), (std::vector<std::string>{"MOL:LNAME#1=A", "mol:lname#2=B", "Mol:LName#3=C"}));
}

TEST_F(History, NullAndOverlongArgumentsAreCutToTheirFields) {
    const std::string longValue(5000, 'x');
    PUTHLIST(longValue.c_str(), longValue.c_str(), longValue.c_str());
    PUTHLIST(nullptr, nullptr, nullptr);
    std::string everyByte;
    for (int b = 1; b < 256; ++b) everyByte += static_cast<char>(b);
    PUTHLIST("BYTES", everyByte.c_str(), everyByte.c_str());
    const auto stored = this->stored(files().histList, "HIS:FIELDNUMBER_KEY");
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(*stored.at(0).value("HIS:FIELD"), std::string(20, ' '));
    EXPECT_EQ(*stored.at(1).value("HIS:ITEM"), everyByte.substr(0, 20));
    EXPECT_EQ(*stored.at(1).value("HIS:NAME"), everyByte.substr(0, 80));
    EXPECT_EQ(*stored.at(2).value("HIS:FIELD"), std::string(20, 'x'));
    EXPECT_EQ(*stored.at(2).value("HIS:ITEM"), std::string(20, 'x'));
    EXPECT_EQ(*stored.at(2).value("HIS:NAME"), std::string(80, 'x'));
}

TEST_F(History, ListShowsOnlyTheFieldsRowsInBothOrdersAndSelects) {
    for (const char* value : {"Zeta", "Alpha", "Mu"}) PUTHLIST("MOL:LNAME", value, nullptr);
    PUTHLIST("MOL:FNAME", "Other", nullptr);
    PUTHLIST("A", "First", nullptr);

    inputaids::beginHistorySelection("mol:lname");
    openList(framework::kRequestSelect);
    EXPECT_EQ(shownItems(), (std::vector<std::string>{"Zeta", "Alpha", "Mu"}));
    EXPECT_EQ(list->definition().heading, ru("Обозначение поля: ") + "MOL:LNAME");
    listView.tab = 2;
    list->tabChanged();
    listView.pump(*list);
    EXPECT_EQ(shownItems(), (std::vector<std::string>{"Alpha", "Mu", "Zeta"}));
    listView.click(*list, 2);
    list->selectButton();
    EXPECT_EQ(inputaids::endHistorySelection(framework::globalResponse()), "Mu");
    EXPECT_EQ(framework::userCount(files().histList), 0);

    inputaids::beginHistorySelection("MOL:LNAME");
    openList(framework::kRequestSelect);
    list->closeButton();
    EXPECT_EQ(inputaids::endHistorySelection(framework::globalResponse()), "") << "cancelled";

    // A field without rows opens an empty list on its own designation, not on
    // the rows of the next field.
    inputaids::beginHistorySelection("B");
    openList(framework::kRequestSelect);
    EXPECT_TRUE(listView.shown.empty());
    EXPECT_EQ(list->definition().heading, ru("Обозначение поля: ") + "B");
    list->closeButton();
    inputaids::endHistorySelection(framework::globalResponse());
}

TEST_F(History, FormNumbersANewRowWithinTheFieldAndTwoStationsGetTwoNumbers) {
    PUTHLIST("MOL:LNAME", "A", nullptr);
    PUTHLIST("Z", "A", nullptr);
    files().histList.record().clear();
    files().histList.record().setValue("HIS:FIELD", "MOL:LNAME");
    framework::useFile(files().histList);

    // A second station opens the form for the same field meanwhile: both
    // reserved rows have a blank value, yet both are numbered.
    storage::DataFile other(files().histList.layout());
    other.setName(files().histList.name());
    framework::form::FormDefinition otherForm = inputaids::historyForm();
    otherForm.file = &other;
    form_tests::FakeFormView otherView;
    int otherNumber = 0;
    otherView.script = [&](FormEngine& engine) {
        otherNumber = static_cast<int>(engine.record().getInt(1));
        formView.typed = {};
        engine.cancelPressed();
    };
    formView.script = [&](FormEngine& engine) {
        EXPECT_EQ(engine.record().getInt(1), 2);
        other.record().clear();
        other.record().setValue("HIS:FIELD", "MOL:LNAME");
        framework::globalRequest() = framework::kRequestInsert;
        framework::form::runForm(otherForm, otherView);
        formView.typed = {{6, "B"}};
        engine.okPressed();
    };
    framework::globalRequest() = framework::kRequestInsert;
    EXPECT_EQ(framework::form::runForm(form, formView), framework::kResponseCompleted);
    EXPECT_EQ(otherNumber, 3);
    EXPECT_EQ(formView.caption, ru("Новая запись") + "  (New)");
    EXPECT_TRUE(services->shown.empty());
    EXPECT_EQ(rows(), (std::vector<std::string>{"MOL:LNAME#1=A", "MOL:LNAME#2=B", "Z#1=A"}));
    while (framework::userCount(other) > 0) framework::releaseFile(other);
}

TEST_F(History, DuplicateValueInTheFormIsReportedUnderItsKeyName) {
    PUTHLIST("MOL:LNAME", "A", nullptr);
    files().histList.record().clear();
    files().histList.record().setValue("HIS:FIELD", "MOL:LNAME");
    formView.script = [&](FormEngine& engine) {
        formView.typed = {{6, "a"}};
        engine.okPressed();
        engine.cancelPressed();
    };
    framework::globalRequest() = framework::kRequestInsert;
    framework::form::runForm(form, formView);
    ASSERT_FALSE(services->shown.empty());
    EXPECT_NE(box(0).text.find("Field + Item"), std::string::npos) << box(0).text;
    EXPECT_EQ(rows(), std::vector<std::string>{"MOL:LNAME#1=A"});
}

}  // namespace
}  // namespace library_tests
