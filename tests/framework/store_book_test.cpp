// The store book as the program declares it, run by the list and form engines
// over a real Store file: the responsible employee's name looked up on opening
// and on accepting the code, the employee picker (a cancelled pick changes
// nothing), a code that names nobody, numbering, the duplicate "Cod", the form's
// toolbar, ditto key and placement, and the printed list's lines.
#include "book_fixture.h"

#include "framework/report_procedure.h"
#include "refbooks/c_store.h"
#include "refbooks/ref_files.h"

namespace {

using namespace book_tests;
namespace sf = refbooks::store_form;
namespace r = framework::report;

// The staff directory as the form sees it: employees 7 and 9 have names.
struct FakeStaff {
    std::vector<std::uint16_t> picks;  // what the picker answers, in turn
    std::vector<std::uint16_t> named;  // the codes looked up
    refbooks::StoreStaff services() {
        return {[this]() -> std::uint16_t {
                    const std::uint16_t answer = picks.empty() ? 0 : picks.front();
                    if (!picks.empty()) picks.erase(picks.begin());
                    return answer;
                },
                [this](std::uint16_t code) {
                    named.push_back(code);
                    return code == 7 ? ru("Петров П.П.") : code == 9 ? ru("Иванов И.И.") : std::string();
                }};
    }
};

FakeStaff fakeStaff;

class StoreBook : public BookTest {
protected:
    StoreBook()
        : BookTest(refbooks::referenceFiles().store, ".\\Dat\\Store", refbooks::storeList,
                   refbooks::storeForm(fakeStaff.services())) {
        fakeStaff = {};
    }
    ~StoreBook() override { framework::setReportRunner({}); }

    void addStore(int code, const std::string& name, int responsible = 0) {
        framework::FileUse use(file);
        file.record().clear();
        file.record().setValue("STO:COD", std::to_string(code));
        file.record().setValue("STO:NAME", name);
        file.record().setValue("STO:SCODE", std::to_string(responsible));
        ASSERT_EQ(file.add(), 0);
    }
    std::string shownName() const {
        for (const auto& field : form.fields)
            if (field.entry == sf::kEmployeeName) return field.shown();
        return "?";
    }
    std::string storedResponsible() {
        storage::DataFile other(file.layout());
        other.setName(file.name());
        if (other.open() != 0) return "?";
        other.set(*file.layout().key("STO:CODE_KEY"));
        std::string out;
        while (other.next() == 0) out += *other.record().value("STO:SCODE") + ";";
        return out;
    }
};

TEST_F(StoreBook, NameOnOpeningOnAcceptingAndThroughThePickerWhoseCancelChangesNothing) {
    addStore(1, ru("Склад"), 7);
    openList();
    std::vector<std::string> names;
    formView.script = [&](FormEngine& engine) {
        names.push_back(shownName());
        fakeStaff.picks = {0};
        engine.controlPressed(sf::kPickEmployee);  // cancelled
        names.push_back(shownName() + "/" + *engine.record().value("STO:SCODE"));
        fakeStaff.picks = {9};
        engine.controlPressed(sf::kPickEmployee);
        names.push_back(shownName() + "/" + *engine.record().value("STO:SCODE"));
        engine.record().setValue("STO:SCODE", "7");
        engine.entryAccepted(sf::kResponsible);
        names.push_back(shownName());
        engine.record().setValue("STO:SCODE", "9");
        engine.okPressed();
    };
    list->changeButton();
    EXPECT_EQ(names, (std::vector<std::string>{ru("Петров П.П."), ru("Петров П.П.") + "/7",
                                               ru("Иванов И.И.") + "/9", ru("Петров П.П.")}));
    EXPECT_EQ(fakeStaff.named, (std::vector<std::uint16_t>{7, 9, 7}))
        << "no look-up during the final check of all fields";
    EXPECT_EQ(storedResponsible(), "9;");
    EXPECT_EQ(formView.caption, ru("  Изменение Участка") + "  (1)");
}

TEST_F(StoreBook, CodeThatNamesNobodyIsSavedAsTyped) {
    formView.script = [&](FormEngine& engine) {
        EXPECT_EQ(*engine.record().value("STO:COD"), "1") << "the first store gets 1";
        formView.typed = {{sf::kName, ru("Магазин")}, {sf::kResponsible, "55"}};
        engine.record().setValue("STO:SCODE", "55");
        engine.entryAccepted(sf::kResponsible);
        EXPECT_EQ(shownName(), "");
        engine.okPressed();
    };
    openList();
    list->insertButton();
    EXPECT_EQ(storedResponsible(), "55;");
    EXPECT_EQ(formView.caption, ru("  Новый Участок") + "  (New)");
}

TEST_F(StoreBook, FormAnswersOnlyThePreviousValueButtonAndKeepsNoPlacement) {
    addStore(1, ru("Склад"));
    openList();
    formView.script = [&](FormEngine& engine) {
        for (int button : {2000, 2004, 2005, 2006, 2007, 2008, 2009, 2012}) engine.toolbarPressed(button);
        EXPECT_FALSE(engine.closed());
        engine.cancelPressed();
    };
    list->changeButton();
    EXPECT_EQ(formView.dittoKey, framework::form::kDittoKeyCtrlAltH);
    EXPECT_EQ(formView.closes, std::vector<bool>{false});

    // 2011 recalls the field's value from the store saved last.
    formView.script = [&](FormEngine& engine) {
        formView.typed = {{sf::kName, ru("Магазин")}};
        engine.okPressed();
    };
    list->changeButton();
    std::string recalled;
    formView.script = [&](FormEngine& engine) {
        formView.focused = sf::kName;
        engine.toolbarPressed(2011);
        recalled = *engine.record().value("STO:NAME");
        engine.cancelPressed();
    };
    list->insertButton();
    EXPECT_EQ(recalled, ru("Магазин"));
    EXPECT_EQ(form.section, "Store_up");
    EXPECT_EQ(asked, std::vector<std::string>(7, "Store"))
        << "the list opening, then the list and the form for each of three forms";
}

TEST_F(StoreBook, DuplicateCodeIsReportedAsCod) {
    addStore(1, "A");
    addStore(2, "B");
    openList();
    formView.script = [&](FormEngine& engine) {
        formView.typed = {{sf::kCode, "1"}};
        engine.okPressed();
        engine.cancelPressed();
    };
    list->insertButton();
    ASSERT_FALSE(services->shown.empty());
    EXPECT_EQ(box(0).caption, "Duplicate Key Error");
    EXPECT_NE(box(0).text.find(":Cod"), std::string::npos) << box(0).text;
}

// The printed list's detail lines, each item's text joined by "|".
struct PrintedLines : framework::ReportPages {
    const r::Layout* layout = nullptr;
    std::vector<std::string> lines;
    void open() override {}
    void printDetail() override {
        std::string line;
        for (const r::Item& item : layout->detail.items) {
            if (!line.empty()) line += '|';
            line += trimmed(r::itemText(item, 1));
        }
        lines.push_back(line);
    }
    void endPage() override {}
    std::size_t pageCount() const override { return lines.empty() ? 0 : 1; }
    void print() override {}
    void close() override {}
};

TEST_F(StoreBook, PrintedListHasEveryStoreInCodeOrderAndNoLineForAnEmptyFile) {
    PrintedLines printed;
    std::vector<std::string> headings;
    framework::setReportRunner(
        [&](const framework::ReportDefinition& report, framework::RecordSource& source) {
            EXPECT_EQ(source.label(), "Store");
            headings.clear();
            for (const r::Item& item : report.layout.pageHeader.items)
                if (item.kind != r::Item::Kind::Line) headings.push_back(r::itemText(item, 3));
            printed.layout = &report.layout;
            framework::SilentProgressView silent;
            return framework::runReportCycle(source, printed, silent, report.cycle);
        });
    refbooks::printStoreList();
    EXPECT_TRUE(printed.lines.empty()) << "an empty file prints no detail line";

    addStore(2, ru("Склад"));
    addStore(1, ru("Магазин"));
    {
        framework::FileUse use(file);
        file.record().clear();
        file.record().setValue("STO:COD", "1");
        ASSERT_EQ(file.get(*file.layout().key("STO:CODE_KEY")), 0);
        file.record().setValue("STO:ADRESS1", ru("ул. Ленина, 1"));
        file.record().setValue("STO:PHONE", "123-45-67");
        ASSERT_EQ(file.put(), 0);
    }
    openList();
    list->extraButton(0);
    EXPECT_EQ(headings, (std::vector<std::string>{ru("Справочник Участков"), ru("Страница  3"),
                                                  ru("Код"), ru("Участок"), ru("Адрес"),
                                                  ru("Телефон")}));
    EXPECT_EQ(printed.lines,
              (std::vector<std::string>{"1|" + ru("Магазин") + "|" + ru("ул. Ленина, 1") + "|123-45-67",
                                        "2|" + ru("Склад") + "||"}));
}

}  // namespace
