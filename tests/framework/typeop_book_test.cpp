// The operation-type book as the program declares it, run by the list and form
// engines over a real TypeOp file: flag columns, the user-typed code and its
// duplicate, save-and-move through the records, the rights on "TypeOp", and the
// "Печатать" button with the printed list's lines.
#include "book_fixture.h"

#include "framework/report_procedure.h"
#include "refbooks/c_typeop.h"
#include "refbooks/ref_files.h"
#include "refbooks/typeop_report.h"

namespace {

using namespace book_tests;
using framework::browse::ListButton;
namespace r = framework::report;

struct TypeOp {
    int id = 0;
    std::string obozn;
    std::string name;
    int goods = 0, money = 0, receipt = 0;
};

class TypeOpBook : public book_tests::BookTest {
protected:
    TypeOpBook()
        : BookTest(refbooks::referenceFiles().typeOp, ".\\Dat\\TypeOp", refbooks::typeOpList,
                   refbooks::typeOpForm()) {}
    ~TypeOpBook() override { framework::setReportRunner({}); }

    void add(const std::vector<TypeOp>& types) {
        framework::FileUse use(file);
        for (const TypeOp& t : types) {
            file.record().clear();
            file.record().setValue("TOP:ID", std::to_string(t.id));
            file.record().setValue("TOP:OBOZN", t.obozn);
            file.record().setValue("TOP:NAME", t.name);
            file.record().setValue("TOP:TOWFLAG", std::to_string(t.goods));
            file.record().setValue("TOP:MANYFLAG", std::to_string(t.money));
            file.record().setValue("TOP:PRICHODFLAG", std::to_string(t.receipt));
            ASSERT_EQ(file.add(), 0) << file.driverErrorText();
        }
    }
    void addCodes(int count) {
        std::vector<TypeOp> types;
        for (int i = 1; i <= count; ++i)
            types.push_back({i, "T" + std::to_string(i), "Type " + std::to_string(i)});
        add(types);
    }

    // The stored records, "id:name" in code order, read through a file object of its own.
    std::vector<std::string> stored() {
        storage::DataFile other(file.layout());
        other.setName(file.name());
        std::vector<std::string> out;
        if (other.open() != 0) return out;
        other.set(*file.layout().key("TOP:ID_KEY"));
        while (other.next() == 0)
            out.push_back(*other.record().value("TOP:ID") + ":" +
                          std::string(platform::clip(*other.record().value("TOP:NAME"))));
        return out;
    }
};

TEST_F(TypeOpBook, ListShowsFlagsAsOneOrBlankAndSelectsOnlyWhenAskedTo) {
    add({{7, "PR", ru("Приход товара"), 1, 0, 1}, {3, "NONE", ru("Пустая"), 0, 0, 0},
         {12, "CASH", ru("Оплата"), 0, 1, 0}});
    BrowseEngine& engine = openList();
    ASSERT_EQ(listView.shown.size(), 3u);
    EXPECT_EQ(cell(1, 1), "3") << "TOP:ID_KEY order";
    EXPECT_EQ(cell(1, 2), "NONE");
    EXPECT_EQ(cell(1, 3), ru("Пустая"));
    EXPECT_EQ(cell(1, 4) + cell(1, 5) + cell(1, 6), "") << "flags of 0 stay blank";
    EXPECT_EQ(cell(2, 1), "7");
    EXPECT_EQ(cell(2, 4), "1");
    EXPECT_EQ(cell(2, 5), "");
    EXPECT_EQ(cell(2, 6), "1");
    EXPECT_EQ(cell(3, 5), "1");
    EXPECT_EQ(listView.shown[0][0], "  3") << "the code is 3 characters wide";

    EXPECT_FALSE(listView.visible[ListButton::Select]);
    EXPECT_FALSE(listView.enabled[ListButton::Select]);
    EXPECT_FALSE(listView.toolbar[framework::kToolSelect].enabled);
    engine.selectButton();
    EXPECT_FALSE(engine.isClosed()) << "select does nothing unless opened for select";
    engine.closeButton();

    // Opened for select: on the caller's record, and double click chooses.
    file.record().clear();
    file.record().setValue("TOP:ID", "12");
    BrowseEngine& selecting = openList(framework::kRequestSelect);
    EXPECT_TRUE(listView.visible[ListButton::Select]);
    EXPECT_TRUE(listView.enabled[ListButton::Select]);
    EXPECT_EQ(cell(listView.highlighted, 1), "12");
    selecting.key(framework::browse::ListKey::DoubleClick);
    EXPECT_TRUE(selecting.isClosed());
    EXPECT_EQ(framework::globalResponse(), framework::kResponseCompleted);
    EXPECT_EQ(trimmed(*file.record().value("TOP:OBOZN")), "CASH");
}

TEST_F(TypeOpBook, TypedCodeIsAddedAndADuplicateIsRefusedNamingId) {
    add({{5, "OLD", "Existing"}});
    int calls = 0;
    formView.script = [&](FormEngine& engine) {
        ++calls;
        EXPECT_EQ(engine.record().getInt(0), 0) << "a new type starts empty, nothing primed";
        EXPECT_EQ(stored().size(), 1u) << "nothing is written before OK";
        formView.typed = {{2, "5"}, {4, "DUP"}, {6, "Duplicate"}, {7, "1"}};
        engine.okPressed();
        EXPECT_FALSE(engine.closed()) << "the duplicate keeps the form open";
        formView.typed = {{2, "9"}};
        engine.okPressed();
    };
    BrowseEngine& engine = openList();
    engine.insertButton();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(formView.caption, ru(" Новый Тип Операции") + "  (New)");
    ASSERT_EQ(services->shown.size(), 1u);
    EXPECT_NE(box(0).text.find("Adding this record creates a duplicate entry for the key:"),
              std::string::npos);
    EXPECT_NE(box(0).text.find("Id"), std::string::npos);
    EXPECT_EQ(stored(), (std::vector<std::string>{"5:Existing", "9:Duplicate"}));
    EXPECT_EQ(cell(listView.highlighted, 1), "9") << "the list shows the new type";
    EXPECT_EQ(cell(listView.highlighted, 4), "1");
}

TEST_F(TypeOpBook, FormCaptionsEndWithTheClippedName) {
    add({{4, "X", ru("Возврат")}});
    std::vector<std::string> captions;
    formView.script = [&](FormEngine& engine) {
        captions.push_back(formView.caption);
        engine.cancelPressed();
    };
    BrowseEngine& engine = openList();
    engine.changeButton();
    engine.deleteButton();
    EXPECT_EQ(captions, (std::vector<std::string>{ru(" Изменение Типа Операции  (Возврат)"),
                                                  ru(" Удаление Типа операции  (Возврат)")}));
    EXPECT_EQ(formView.dittoKey, framework::form::kDittoKeyCtrlQuote);
    EXPECT_EQ(formView.opening.section, "TypeOp_u");
}

TEST_F(TypeOpBook, SaveAndMoveWalksThroughTheRecordsFromTheFrameToolbar) {
    addCodes(8);
    std::vector<int> handed;
    std::map<int, std::pair<bool, std::string>> changeToolbar;
    int step = 0;
    formView.script = [&](FormEngine& engine) {
        handed.push_back(static_cast<int>(engine.record().getInt(0)));
        const int button = ++step == 1 ? framework::kToolNextRecord
                           : step == 2 ? framework::kToolLastPage
                           : step == 3 ? framework::kToolPriorRecord
                                       : 0;
        if (step == 1) changeToolbar = formView.toolbar;
        if (button == 0) {
            engine.cancelPressed();
            return;
        }
        engine.record().setValue("TOP:NAME", "Seen " + std::to_string(step));
        engine.toolbarPressed(button);
    };
    BrowseEngine& engine = openList();
    listView.click(engine, 2);
    engine.toolbar(framework::kToolChange);  // the frame's change button
    EXPECT_EQ(handed, (std::vector<int>{2, 3, 8, 7}));
    EXPECT_EQ(stored(), (std::vector<std::string>{"1:Type 1", "2:Seen 1", "3:Seen 2", "4:Type 4",
                                                  "5:Type 5", "6:Type 6", "7:Type 7",
                                                  "8:Seen 3"}));
    for (int button = framework::kToolLastPage; button <= framework::kToolPriorRecord; ++button)
        EXPECT_TRUE(changeToolbar[button].first) << button;
    EXPECT_EQ(changeToolbar[framework::kToolInsert].second, "Save this record and add a new one");

    // Inserting: save and add another, then cancel the empty third form.
    std::vector<std::map<int, std::pair<bool, std::string>>> insertToolbars;
    int inserted = 0;
    formView.script = [&](FormEngine& engine) {
        insertToolbars.push_back(formView.toolbar);
        if (++inserted == 3) {
            engine.cancelPressed();
            return;
        }
        formView.typed = {{2, std::to_string(20 + inserted)}, {6, "New"}};
        engine.toolbarPressed(inserted == 1 ? framework::kToolInsert : framework::kToolNextRecord);
    };
    engine.insertButton();
    EXPECT_EQ(inserted, 3);
    EXPECT_EQ(stored().size(), 10u);
    EXPECT_EQ(stored().back(), "22:New");
    EXPECT_EQ(insertToolbars[0][framework::kToolInsert].second, "Save record and add another");
    EXPECT_FALSE(insertToolbars[0][framework::kToolLastPage].first);
}

TEST_F(TypeOpBook, RightsOnTypeOpHideRefuseAndDisable) {
    addCodes(3);
    rights = framework::kForbidInsert | framework::kForbidChange | framework::kForbidDelete;
    BrowseEngine& engine = openList();
    EXPECT_FALSE(engine.isClosed());
    EXPECT_FALSE(listView.visible[ListButton::Insert]);
    EXPECT_FALSE(listView.visible[ListButton::Change]);
    EXPECT_FALSE(listView.visible[ListButton::Delete]);
    int forms = 0;
    formView.script = [&](FormEngine& engine) {
        ++forms;
        engine.cancelPressed();
    };
    engine.key(framework::browse::ListKey::Insert);
    engine.changeButton();
    engine.deleteButton();
    EXPECT_EQ(forms, 0);
    ASSERT_EQ(services->shown.size(), 3u);
    EXPECT_EQ(box(0).text, ru("Добавленение запрещено"));
    EXPECT_EQ(box(1).text, ru("Изменение запрещено"));
    EXPECT_EQ(box(2).text, ru("Удаление запрещено"));
    EXPECT_EQ(box(2).caption, ru(" Извините"));
    EXPECT_EQ(box(2).icon, platform::Icon::Information);

    // The form asks for itself; bit 4 leaves it open with "Записать" disabled.
    rights = framework::kForbidWrite;
    engine.changeButton();
    EXPECT_EQ(forms, 1);
    EXPECT_FALSE(formView.ok);
    rights = framework::kForbidChange;
    framework::globalRequest() = framework::kRequestChange;
    EXPECT_EQ(framework::form::runForm(form, formView), framework::kResponseCancelled);
    EXPECT_EQ(services->shown.back().text, ru("Изменение запрещено "));
    engine.closeButton();

    rights = framework::kForbidAccess;
    services->shown.clear();
    BrowseEngine& refused = openList();
    EXPECT_TRUE(refused.isClosed());
    ASSERT_EQ(services->shown.size(), 1u);
    EXPECT_EQ(box(0).text, ru("Доступ запрещен !"));
    for (const std::string& designation : asked) EXPECT_EQ(designation, "TypeOp");
    EXPECT_GE(asked.size(), 8u);
}

// The printed list's lines as the report engine would print them: each item's text
// or check-box state, read from the record buffer when the line prints.
struct PrintedLines : framework::ReportPages {
    const r::Layout* layout = nullptr;
    std::vector<std::string> lines;
    void open() override {}
    void printDetail() override {
        std::string line;
        for (const r::Item& item : layout->detail.items) {
            if (!line.empty()) line += '|';
            line += item.kind == r::Item::Kind::CheckBox ? (item.checked() ? "x" : "o")
                                                         : trimmed(r::itemText(item, 1));
        }
        lines.push_back(line);
    }
    void endPage() override {}
    std::size_t pageCount() const override { return lines.empty() ? 0 : 1; }
    void print() override {}
    void close() override {}
};

TEST_F(TypeOpBook, PrintButtonPrintsEveryTypeInCodeOrderThenRefreshesTheList) {
    add({{30, "C", ru("Третья"), 0, 0, 0}, {2, "A", ru("Первая"), 1, 1, 1},
         {15, "B", ru("Вторая"), 1, 0, 0}});
    std::vector<std::string> headings;
    PrintedLines printed;
    long usersDuringRun = 0;
    framework::setReportRunner(
        [&](const framework::ReportDefinition& report, framework::RecordSource& source) {
            EXPECT_EQ(source.label(), "TypeOp");
            usersDuringRun = framework::userCount(file);
            for (const r::Item& item : report.layout.pageHeader.items)
                if (item.kind != r::Item::Kind::Line) headings.push_back(r::itemText(item, 7));
            printed.layout = &report.layout;
            framework::SilentProgressView silent;
            return framework::runReportCycle(source, printed, silent, report.cycle);
        });
    BrowseEngine& engine = openList();
    listView.click(engine, 2);
    engine.extraButton(0);

    EXPECT_EQ(headings, (std::vector<std::string>{ru("Типы Операций"), ru("Страница  7"), ru("Код"),
                                                  ru("Обозначение"), ru("Наименование"),
                                                  ru("Товарная"), "C" + ru(" деньгами"),
                                                  ru("Приход")}));
    EXPECT_EQ(printed.lines, (std::vector<std::string>{"2|A|" + ru("Первая") + "|x|x|x",
                                                       "15|B|" + ru("Вторая") + "|x|o|o",
                                                       "30|C|" + ru("Третья") + "|o|o|o"}));
    EXPECT_EQ(usersDuringRun, 2) << "the report takes the file into use beside the list";
    EXPECT_EQ(framework::userCount(file), 1) << "and releases it";
    EXPECT_EQ(framework::globalResponse(), framework::kResponseCompleted);
    EXPECT_FALSE(file.quickScan());
    EXPECT_FALSE(engine.isClosed());
    EXPECT_EQ(cell(listView.highlighted, 1), "15") << "the list stays on its record";
    EXPECT_EQ(*file.record().value("TOP:ID"), "15") << "the refresh puts the highlighted row back";
    EXPECT_EQ(asked.size(), 1u) << "printing asks no rights";
}

}  // namespace
