// The form window built from a book's definition, run as a list runs it (with
// GlobalRequest set), and driven through its entries, keys and buttons.
#include "tests/ui/book_window_fixture.h"

#include "framework/form/form_environment.h"
#include "platform/ini_file.h"
#include "refbooks/c_firm.h"
#include "refbooks/c_valut.h"
#include "refbooks/ref_files.h"
#include "ui/focus_frame_widget.h"
#include "ui/list_panel.h"
#include "ui/title_width.h"

#include <QGroupBox>
#include <QLabel>
#include <QScrollBar>
#include <QMdiSubWindow>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

namespace book_windows_tests {
namespace {

class FormWindowTest : public BookWindowTest {
protected:
    // A control of the form by its number: an entry, or a button of the book's own.
    static QWidget* controlWidget(ui::FormWindow& form, int number) {
        for (QWidget* widget : form.findChildren<QWidget*>())
            if (widget->property("controlId").toInt() == number) return widget;
        return nullptr;
    }
    static int middle(QWidget* widget, QWidget* in) {
        return widget->mapTo(in, QPoint(0, widget->height() / 2)).y();
    }

    // The form procedure as a list calls it: inside the frame when `inFrame`.
    int runForm(int request, bool inFrame = true) {
        // A new record starts empty, as the list leaves it.
        if (request == framework::kRequestInsert) price.record().clear();
        framework::globalRequest() = request;
        ui::FormHostScope host(inFrame ? &area : nullptr, nullptr);
        return ui::runFormWindow(form);
    }
    // A record picked as the list leaves it for a change or delete.
    void pick(int code) {
        if (framework::userCount(price) == 0) framework::useFile(price);
        price.record().clear();
        price.record().setValue("PRI:ID", std::to_string(code));
        price.watch();
        ASSERT_EQ(price.get(*price.layout().primaryKey()), 0);
    }
    std::vector<int> storedCodes() {
        storage::DataFile other(price.layout());
        other.setName(price.name());
        std::vector<int> codes;
        if (other.open() != 0) return codes;
        other.set(*price.layout().primaryKey());
        while (other.next() == 0) codes.push_back(static_cast<int>(other.record().getInt(0)));
        return codes;
    }
};

TEST_F(FormWindowTest, BuiltFromTheDefinitionWithPromptsTipsTabOrderAndButtons) {
    onForm([&](ui::FormWindow& form) {
        EXPECT_EQ(form.entries(), (std::vector<int>{4, 6, 8, 10, 12}));
        EXPECT_EQ(form.prompt(4)->text(), qt("Код цены:"));
        EXPECT_EQ(form.prompt(10)->text(), qt("Коеффициент:"));
        EXPECT_EQ(form.entryWidget(6)->toolTip(), qt("Название цены"));
        EXPECT_EQ(form.okButton()->text(), qt("Выход с записью"));
        EXPECT_EQ(form.okButton()->toolTip(), qt("Выход с записью изменений"));
        EXPECT_EQ(form.cancelButton()->text(), qt("Отменить"));
        EXPECT_EQ(form.lineEdit(6)->maxLength(), 24);
        EXPECT_TRUE(form.lineEdit(8)->alignment() & Qt::AlignRight);
        // The record buffer through the pictures: the new number, a blank discount.
        EXPECT_EQ(form.lineEdit(4)->text(), "1");
        EXPECT_EQ(form.lineEdit(8)->text(), "");
        // Tab order: the fields as declared, then OK and cancel.
        std::vector<QWidget*> chain{form.lineEdit(4)};
        while (chain.size() < 7) {
            QWidget* next = chain.back()->nextInFocusChain();
            while (!(next->focusPolicy() & Qt::TabFocus) || next->isHidden())
                next = next->nextInFocusChain();
            chain.push_back(next);
        }
        EXPECT_EQ(chain[1], form.lineEdit(6));
        EXPECT_EQ(chain[4], form.lineEdit(12));
        EXPECT_EQ(chain[5], form.okButton());
        EXPECT_EQ(chain[6], form.cancelButton());
        // Inside the frame, the form is an MDI child with the frame's toolbar.
        EXPECT_NE(form.subWindow(), nullptr);
        EXPECT_EQ(area.activeSubWindow(), form.subWindow());
        EXPECT_EQ(form.focusedEntry(), 4);
        auto states = form.toolbarStates();
        EXPECT_TRUE(states[2000].enabled);
        EXPECT_EQ(states[2000].tip, "Save record and add another");
        EXPECT_TRUE(states[2008].enabled);
        EXPECT_FALSE(states[2004].enabled);
        EXPECT_TRUE(states[2011].enabled);
        click(form.cancelButton());
    });
    EXPECT_EQ(runForm(framework::kRequestInsert), framework::kResponseCancelled);
    // The numbered placeholder is gone again; the window too.
    EXPECT_TRUE(storedCodes().empty());
    EXPECT_TRUE(area.subWindowList().isEmpty());
    EXPECT_EQ(ui::FormWindow::running(), nullptr);
}

TEST_F(FormWindowTest, RefusedEntryBeepsKeepsFocusAndTheFormStays) {
    addPrice(1, "A");
    pick(1);
    int attempts = 0;
    onForm([&](ui::FormWindow& form) {
        type(form, 8, "abc");
        click(form.okButton());
        ++attempts;
        EXPECT_TRUE(form.opened());
        EXPECT_EQ(form.focusedEntry(), 8);
        EXPECT_TRUE(form.lineEdit(8)->hasSelectedText());
        type(form, 8, "7.5");
        click(form.okButton());
    });
    EXPECT_EQ(runForm(framework::kRequestChange), framework::kResponseCompleted);
    EXPECT_EQ(attempts, 1);
    framework::FileUse use(price);
    price.record().setValue("PRI:ID", "1");
    ASSERT_EQ(price.get(*price.layout().primaryKey()), 0);
    EXPECT_DOUBLE_EQ(price.record().getReal(price.layout().fieldIndex("PRI:SKIDKA")), 7.5);
}

TEST_F(FormWindowTest, WriteProhibitionDisablesOkAndTheSaveButtons) {
    addPrice(1, "A");
    pick(1);
    rights = 16;
    onForm([&](ui::FormWindow& form) {
        EXPECT_FALSE(form.okButton()->isEnabled());
        type(form, 6, "B");
        QTest::keyClick(form.lineEdit(6), Qt::Key_Return);  // OK is disabled: nothing
        static_cast<ui::ToolbarTarget&>(form).toolbarPressed(2008);
        EXPECT_TRUE(form.opened());
        click(form.cancelButton());
    });
    EXPECT_EQ(runForm(framework::kRequestChange), framework::kResponseCancelled);
    EXPECT_EQ(framework::vcrRequest(), 0);
}

// A delete form on its wallpaper can only be confirmed: the focus is on OK, so
// Return deletes as in every other form.
TEST_F(FormWindowTest, DeleteFormConfirmsWithReturn) {
    addPrice(1, "A");
    addPrice(2, "B");
    pick(1);
    framework::form::setFormEnvironment([] {
        framework::form::FormEnvironment environment;
        environment.wallpaper.patternOn = true;
        return environment;
    });
    onForm([&](ui::FormWindow& form) {
        EXPECT_GE(form.minimumWidth(), ui::titleBarWidth(&form)) << "the caption is never cut";
        EXPECT_FALSE(form.lineEdit(6)->isEnabled());
        EXPECT_EQ(QApplication::focusWidget(), form.okButton());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(runForm(framework::kRequestDelete), framework::kResponseCompleted);
    framework::form::setFormEnvironment({});
    EXPECT_EQ(storedCodes(), std::vector<int>{2});
}

TEST_F(FormWindowTest, DittoKeyRecallsThePreviousValueOfTheFocusedField) {
    onForm([&](ui::FormWindow& form) {
        type(form, 6, "Первая");
        type(form, 12, "Заметка");
        click(form.okButton());
    });
    ASSERT_EQ(runForm(framework::kRequestInsert), framework::kResponseCompleted);

    onForm([&](ui::FormWindow& form) {
        EXPECT_EQ(form.lineEdit(6)->text(), "");
        form.focusEntry(6);
        QTest::keyClick(form.lineEdit(6), Qt::Key_Apostrophe, Qt::ControlModifier);
        EXPECT_EQ(form.lineEdit(6)->text(), qt("Первая"));
        EXPECT_EQ(form.lineEdit(12)->text(), "");  // only the focused field
        // The frame's "Previous value" button does the same for the focused field.
        form.focusEntry(12);
        static_cast<ui::ToolbarTarget&>(form).toolbarPressed(2011);
        EXPECT_EQ(form.lineEdit(12)->text(), qt("Заметка"));
        click(form.cancelButton());
    });
    runForm(framework::kRequestInsert);

    // A book whose ditto key is Ctrl+Alt+H ignores Ctrl+'.
    form.dittoKey = framework::form::kDittoKeyCtrlAltH;
    onForm([&](ui::FormWindow& form) {
        form.focusEntry(6);
        QTest::keyClick(form.lineEdit(6), Qt::Key_Apostrophe, Qt::ControlModifier);
        EXPECT_EQ(form.lineEdit(6)->text(), "");
        QTest::keyClick(form.lineEdit(6), Qt::Key_H, Qt::ControlModifier | Qt::AltModifier);
        EXPECT_EQ(form.lineEdit(6)->text(), qt("Первая"));
        click(form.cancelButton());
    });
    runForm(framework::kRequestInsert);
}

TEST_F(FormWindowTest, FocusFrameEnclosesTheSelectedControl) {
    area.activateWindow();
    onForm([&](ui::FormWindow& form) {
        form.focusEntry(6);
        settle();
        ui::FocusFrameWidget* frame = form.focusFrame();
        EXPECT_TRUE(frame->isVisible());
        EXPECT_EQ(frame->enclosed(), form.lineEdit(6));
        const QWidget* entry = form.lineEdit(6);
        const QRect expected(entry->mapTo(&form, QPoint(-2, -2)), entry->size() + QSize(4, 4));
        EXPECT_EQ(frame->geometry(), expected);
        form.focusEntry(10);
        EXPECT_EQ(frame->enclosed(), form.lineEdit(10));
        click(form.cancelButton());
    });
    runForm(framework::kRequestInsert);
}

TEST_F(FormWindowTest, CloseBoxIsAClosingRequestThatMayAskFirst) {
    addPrice(1, "A");
    pick(1);
    form.asksBeforeCancel = true;
    int stillOpen = 0;
    onForm([&](ui::FormWindow& window) {
        type(window, 6, "B");
        services->answers = {platform::kButtonNo, platform::kButtonYes};
        window.subWindow()->close();  // message 23, No: the form stays
        if (window.opened()) ++stillOpen;
        window.subWindow()->close();  // Yes: cancelled
    });
    EXPECT_EQ(runForm(framework::kRequestChange), framework::kResponseCancelled);
    EXPECT_EQ(stillOpen, 1);
    ASSERT_EQ(services->shown.size(), 2u);
    EXPECT_EQ(services->shown[0].caption, "Update Cancelled");

    // The placement of a form that was on screen is kept in its "_u" section.
    EXPECT_NE(platform::readIni("Price_u", "XPosit", "", ".\\TARVO.INI"), "");
}

TEST_F(FormWindowTest, WithoutAFrameTheFormIsAModalTopLevelWindow) {
    addPrice(1, "Розничная");
    pick(1);
    onForm([&](ui::FormWindow& form) {
        EXPECT_EQ(form.subWindow(), nullptr);
        EXPECT_TRUE(form.isWindow());
        EXPECT_EQ(form.windowModality(), Qt::ApplicationModal);
        EXPECT_EQ(form.windowTitle(), qt(" УДАЛЕНИЕ ЗАПИСИ  (Розничная)"));
        click(form.okButton());
    });
    EXPECT_EQ(runForm(framework::kRequestDelete, false), framework::kResponseCompleted);
    EXPECT_TRUE(storedCodes().empty());
}

TEST_F(FormWindowTest, ListInsideTheFormShowsItsPageAndCallsItsOwnFormOverTheForm) {
    for (int code = 1; code <= 12; ++code) addPrice(code, "Price " + std::to_string(code));
    pick(1);
    // A second buffer over the same file, for the list inside the form and its form.
    storage::DataFile others(refbooks::priceLayout());
    others.setName(price.name());
    const framework::form::FormDefinition otherForm = formDefinition(others);
    form.lists.push_back({20, "", [&] {
        framework::browse::BrowseDefinition list{others};
        list.sorts = {{"PRI:ID_KEY", "", "PRI:ID"}};
        list.columns = {{"PRI:ID", ru("Код"), 16, "n2"}, {"PRI:NAME", ru("Название"), 80, "s24"}};
        list.updateForm = [&] { ui::runFormWindow(otherForm); };
        return list;
    }});
    onForm([&](ui::FormWindow& window) {
        ui::ListPanel* panel = window.listPanel(20);
        ASSERT_NE(panel, nullptr);
        const int rows = panel->visibleRows();
        EXPECT_EQ(panel->model()->rowCount(), std::min(rows, 12));
        EXPECT_EQ(panel->model()->cell(0, 1), "Price 1");
        panel->table()->setFocus();
        EXPECT_EQ(window.focusedEntry(), 20);
        QTest::keyClick(panel->table(), Qt::Key_End, Qt::ControlModifier);
        settle();
        EXPECT_EQ(panel->model()->cell(panel->chosenRow() - 1, 0), "12");

        // Insert in the list opens its form over this one; this one waits.
        onForm([&](ui::FormWindow& inner) {
            EXPECT_FALSE(window.isEnabled());
            EXPECT_EQ(inner.lineEdit(4)->text(), "13");
            type(inner, 6, "Новая");
            click(inner.okButton());
        });
        QTest::keyClick(panel->table(), Qt::Key_Insert);
        settle();
        EXPECT_TRUE(window.isEnabled());
        EXPECT_EQ(ui::FormWindow::running(), &window);
        EXPECT_EQ(panel->model()->cell(panel->chosenRow() - 1, 1), qt("Новая"));
        click(window.cancelButton());
    });
    EXPECT_EQ(runForm(framework::kRequestChange), framework::kResponseCancelled);
    EXPECT_EQ(storedCodes().size(), 13u);
    while (framework::userCount(others) > 0) framework::releaseFile(others);
}

// The organisation form: five pages, the bank requisites in a right-hand column
// beside the names, the logo entry below the tab sheet on every page, and the
// stores file shown, not edited.
TEST_F(FormWindowTest, PagesWithTwoColumnsAndAnEntryBelowTheTabSheet) {
    storage::DataFile& firm = refbooks::referenceFiles().firm;
    firm.setName(".\\Dat\\Firm");
    refbooks::referenceFiles().store.setName(".\\Dat\\Store");
    const framework::form::FormDefinition firmForm = refbooks::firmForm();
    firm.record().clear();
    onForm([&](ui::FormWindow& form) {
        QTabWidget* pages = form.pages();
        ASSERT_NE(pages, nullptr);
        ASSERT_EQ(pages->count(), 5);
        EXPECT_EQ(pages->tabText(0), qt("&Организация"));
        EXPECT_EQ(pages->tabText(4), qt(" &Разное"));
        const QPoint code = form.lineEdit(2)->mapTo(&form, QPoint(0, 0));
        const QPoint account = form.lineEdit(24)->mapTo(&form, QPoint(0, 0));
        const QPoint cashier = form.lineEdit(22)->mapTo(&form, QPoint(0, 0));
        EXPECT_GT(account.x(), code.x() + form.lineEdit(2)->width()) << "the right-hand column";
        EXPECT_NEAR(account.y(), code.y(), 2) << "both columns start at the top";
        EXPECT_GT(cashier.y(), account.y());
        QLineEdit* logo = form.lineEdit(refbooks::firm_form::kLogoFile);
        ASSERT_NE(logo, nullptr);
        EXPECT_FALSE(pages->isAncestorOf(logo));
        pages->setCurrentIndex(3);
        settle();
        EXPECT_TRUE(logo->isVisible()) << "on every page";
        EXPECT_EQ(form.lineEdit(refbooks::firm_form::kStoreFile), nullptr);
        EXPECT_EQ(form.lineEdit(44)->text(), ".\\COMP.INI");
        EXPECT_EQ(form.lineEdit(72)->maxLength(), 8) << "the unit entry is wider than its field";
        click(form.cancelButton());
    });
    framework::globalRequest() = framework::kRequestInsert;
    ui::FormHostScope host(&area, nullptr);
    EXPECT_EQ(ui::runFormWindow(firmForm), framework::kResponseCancelled);
    while (framework::userCount(firm) > 0) framework::releaseFile(firm);
}

// Text typed into an entry and left by the mouse for another page (whose rate
// list refreshes the form) or for OK reaches the record: nothing typed is lost.
TEST_F(FormWindowTest, TypedTextSurvivesAnotherPageAndIsSaved) {
    using namespace refbooks::valut_form;
    storage::DataFile& valut = refbooks::referenceFiles().valut;
    valut.setName(".\\Dat\\Valut");
    refbooks::referenceFiles().kurs.setName(".\\Dat\\KursVal");
    const framework::form::FormDefinition currencyForm = refbooks::valutForm();
    valut.record().clear();
    onForm([&](ui::FormWindow& form) {
        QLineEdit* designation = form.lineEdit(kObozn);
        QLineEdit* name = form.lineEdit(kName);
        designation->setFocus();
        QTest::keyClicks(designation, QStringLiteral("EUR"));
        name->setFocus();
        QTest::keyClicks(name, QStringLiteral("Euro"));
        // The rate history by the mouse, and back: no Tab, no Return.
        QTabBar* tabs = form.pages()->findChild<QTabBar*>();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        settle();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
        settle();
        EXPECT_EQ(name->text(), QStringLiteral("Euro"));
        click(form.okButton());
    });
    framework::globalRequest() = framework::kRequestInsert;
    ui::FormHostScope host(&area, nullptr);
    EXPECT_EQ(ui::runFormWindow(currencyForm), framework::kResponseCompleted);
    {
        framework::FileUse use(valut);
        valut.set(*valut.layout().primaryKey());
        ASSERT_EQ(valut.next(), 0);
        EXPECT_EQ(platform::clip(valut.record().getText("VAL:NAME")), "Euro");
    }
    while (framework::userCount(valut) > 0) framework::releaseFile(valut);
}

// The currency form: the three rates framed as " Курсы ", each percentage beside
// its rate, each derivation button beside the value it starts from; and the rate
// list on the second page, built for the room it has once that page shows.
TEST_F(FormWindowTest, CurrencyFormGroupsItsRatesAndSizesItsRateList) {
    using namespace refbooks::valut_form;
    storage::DataFile& valut = refbooks::referenceFiles().valut;
    storage::DataFile& kurs = refbooks::referenceFiles().kurs;
    valut.setName(".\\Dat\\Valut");
    kurs.setName(".\\Dat\\KursVal");
    {
        // One rate entry under the designation a new currency's form starts with.
        framework::FileUse use(kurs);
        kurs.record().clear();
        kurs.record().setValue("KUR:NUMBER", "1");
        kurs.record().setValue("KUR:DATE", "80000");
        ASSERT_EQ(kurs.add(), 0) << kurs.driverErrorText();
    }
    const framework::form::FormDefinition currencyForm = refbooks::valutForm();
    valut.record().clear();
    // The checks stop at the first failed assertion; the form is cancelled anyway.
    auto check = [&](ui::FormWindow& form) {
        QGroupBox* rates = nullptr;
        for (QGroupBox* box : form.findChildren<QGroupBox*>())
            if (box->title() == qt(" Курсы ")) rates = box;
        ASSERT_NE(rates, nullptr);
        for (int number : {kBankRate, kBankRateButton, kWholesaleRate, kWholesalePercent,
                           kWholesaleButton, kRetailRate, kRetailPercent, kRetailButton}) {
            QWidget* control = controlWidget(form, number);
            ASSERT_NE(control, nullptr) << number;
            EXPECT_TRUE(rates->isAncestorOf(control)) << number;
        }
        EXPECT_FALSE(rates->isAncestorOf(controlWidget(form, kObozn)));
        for (auto [button, beside] : {std::pair{kBankRateButton, kBankRate},
                                      std::pair{kWholesaleButton, kWholesalePercent},
                                      std::pair{kRetailButton, kRetailPercent},
                                      std::pair{kWholesalePercent, kWholesaleRate}}) {
            QWidget* right = controlWidget(form, button);
            QWidget* left = controlWidget(form, beside);
            EXPECT_NEAR(middle(right, &form), middle(left, &form), 3) << button << " on the row of " << beside;
            EXPECT_GT(right->mapTo(&form, QPoint(0, 0)).x(), left->mapTo(&form, QPoint(left->width(), 0)).x())
                << button;
        }
        EXPECT_GT(middle(controlWidget(form, kWholesaleRate), &form),
                  middle(controlWidget(form, kBankRate), &form) + 5);

        // The rate list: one entry on a page with room for many, so no scroll bar.
        form.pages()->setCurrentIndex(1);
        settle();
        ui::ListPanel* list = form.listPanel(kRates);
        ASSERT_NE(list, nullptr);
        EXPECT_GT(list->visibleRows(), 3);
        EXPECT_EQ(list->model()->rowCount(), 1);
        EXPECT_FALSE(list->scrollBar()->isVisible()) << "the page is not full";
    };
    onForm([&](ui::FormWindow& form) {
        check(form);
        click(form.cancelButton());
    });
    framework::globalRequest() = framework::kRequestInsert;
    ui::FormHostScope host(&area, nullptr);
    EXPECT_EQ(ui::runFormWindow(currencyForm), framework::kResponseCancelled);
    while (framework::userCount(valut) > 0) framework::releaseFile(valut);
    while (framework::userCount(kurs) > 0) framework::releaseFile(kurs);
}

// A saved size below the design size, or a place far outside the frame, would
// leave the form's buttons out of reach.
TEST_F(FormWindowTest, RestoredFormKeepsItsDesignSizeWithinTheFrame) {
    addPrice(1, "A");
    form.keepsPlacement = true;
    for (const char* saved : {"XPosit=20\r\nYPosit=30\r\nWidth=5\r\nHeight=5\r\n",
                              "XPosit=99999\r\nYPosit=99999\r\nWidth=300\r\nHeight=150\r\n"}) {
        folder.write("TARVO.INI", std::string("[Price_u]\r\n") + saved);
        pick(1);
        QRect geometry, least;
        onForm([&](ui::FormWindow& window) {
            geometry = window.frameWindow()->geometry();
            least = QRect(QPoint(0, 0), window.frameWindow()->minimumSizeHint());
            click(window.cancelButton());
        });
        runForm(framework::kRequestChange);
        EXPECT_GE(geometry.width(), least.width()) << saved;
        EXPECT_GE(geometry.height(), least.height()) << saved;
        EXPECT_TRUE(area.viewport()->rect().contains(geometry)) << saved;
    }
}

}  // namespace
}  // namespace book_windows_tests
