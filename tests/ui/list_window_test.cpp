// The list window driven as a user drives it: keys, buttons, mouse and the
// frame's toolbar, with the real update form opened over it.
#include "tests/ui/book_window_fixture.h"

#include "platform/ini_file.h"
#include "ui/dialog_units.h"
#include "ui/list_page_model.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QScrollBar>

namespace book_windows_tests {
namespace {

using framework::browse::ListButton;

class ListWindowTest : public BookWindowTest {};

TEST_F(ListWindowTest, InsertChangeAndDeleteThroughKeysAndButtons) {
    ui::ListWindow* list = openList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->windowTitle(), qt(" Цены"));
    EXPECT_EQ(list->model()->rowCount(), 0);
    EXPECT_FALSE(list->button(ListButton::Change)->isEnabled());
    EXPECT_FALSE(list->button(ListButton::Delete)->isEnabled());
    QTableView* table = list->table();

    // Insert key on the empty list: the form numbers the record 1.
    std::string caption;
    bool listDisabled = false;
    onForm([&](ui::FormWindow& form) {
        caption = ui::fromQt(form.windowTitle());
        listDisabled = !list->isEnabled();
        EXPECT_EQ(form.lineEdit(4)->text(), "1");
        type(form, 6, "Розничная");
        type(form, 8, "5");
        click(form.okButton());
    });
    QTest::keyClick(table, Qt::Key_Insert);
    settle();
    EXPECT_EQ(caption, ru(" Новая запись  (New)"));
    EXPECT_TRUE(listDisabled);
    EXPECT_TRUE(list->isEnabled());
    EXPECT_EQ(column(*list, 1), std::vector<QString>{qt("Розничная")});
    EXPECT_EQ(column(*list, 2), std::vector<QString>{"5.00"});
    EXPECT_TRUE(list->button(ListButton::Change)->isEnabled());

    // The insert button; Return in an entry acts as OK. A discount of 0 is blank.
    onForm([&](ui::FormWindow& form) {
        EXPECT_EQ(form.lineEdit(4)->text(), "2");
        type(form, 6, "Оптовая");
        QTest::keyClick(form.lineEdit(6), Qt::Key_Return);
    });
    click(list->button(ListButton::Insert));
    settle();
    EXPECT_EQ(column(*list, 1), (std::vector<QString>{qt("Розничная"), qt("Оптовая")}));
    EXPECT_EQ(column(*list, 2), (std::vector<QString>{"5.00", ""}));
    EXPECT_EQ(highlightedCode(*list), "2");

    // Ctrl+Enter changes the highlighted record.
    onForm([&](ui::FormWindow& form) {
        caption = ui::fromQt(form.windowTitle());
        EXPECT_EQ(form.lineEdit(6)->text(), qt("Оптовая"));
        type(form, 12, "Для оптовиков");
        click(form.okButton());
    });
    QTest::keyClick(table, Qt::Key_Return, Qt::ControlModifier);
    settle();
    EXPECT_EQ(caption, ru(" Изменение записи  (Оптовая)"));
    EXPECT_EQ(column(*list, 3), (std::vector<QString>{"", qt("Для оптовиков")}));

    // A double click on the first row opens it; cancel changes nothing.
    QTest::keyClick(table, Qt::Key_Up);
    settle();
    ASSERT_EQ(highlightedCode(*list), "1");
    onForm([&](ui::FormWindow& form) {
        type(form, 6, "Забытая");
        click(form.cancelButton());
    });
    const QRect first = table->visualRect(list->model()->index(0, 1));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, first.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, first.center());
    settle();
    EXPECT_EQ(column(*list, 1), (std::vector<QString>{qt("Розничная"), qt("Оптовая")}));
    EXPECT_EQ(highlightedCode(*list), "1");

    // The Delete key deletes through the delete form; the follower is highlighted.
    onForm([&](ui::FormWindow& form) {
        caption = ui::fromQt(form.windowTitle());
        click(form.okButton());
    });
    QTest::keyClick(table, Qt::Key_Delete);
    settle();
    EXPECT_EQ(caption, ru(" УДАЛЕНИЕ ЗАПИСИ  (Розничная)"));
    EXPECT_EQ(column(*list, 1), std::vector<QString>{qt("Оптовая")});
    EXPECT_EQ(highlightedCode(*list), "2");

    // The delete button empties the list; change and delete are disabled again.
    onForm([&](ui::FormWindow& form) { click(form.okButton()); });
    click(list->button(ListButton::Delete));
    settle();
    EXPECT_EQ(list->model()->rowCount(), 0);
    EXPECT_FALSE(list->button(ListButton::Change)->isEnabled());
    EXPECT_FALSE(list->button(ListButton::Delete)->isEnabled());
    EXPECT_EQ(formCalls, 6);
    EXPECT_TRUE(services->shown.empty());
}

TEST_F(ListWindowTest, RightsHideButtonsAndRefuseWithTheirMessages) {
    addPrice(1, "A");
    rights = 2;
    ui::ListWindow* list = openList();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->button(ListButton::Insert)->isHidden());
    EXPECT_FALSE(list->button(ListButton::Change)->isHidden());
    QTest::keyClick(list->table(), Qt::Key_Insert);
    settle();
    ASSERT_EQ(services->shown.size(), 1u);
    EXPECT_EQ(lastBox().text, ru("Добавленение запрещено"));
    EXPECT_EQ(lastBox().caption, ru(" Извините"));
    EXPECT_EQ(lastBox().icon, platform::Icon::Information);
    EXPECT_EQ(formCalls, 0);
    list->frameWindow()->close();
    settle();

    // 14 hides insert, change and delete; the list still opens with its rows.
    rights = 14;
    list = openList();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->button(ListButton::Insert)->isHidden());
    EXPECT_TRUE(list->button(ListButton::Change)->isHidden());
    EXPECT_TRUE(list->button(ListButton::Delete)->isHidden());
    EXPECT_EQ(column(*list, 1), std::vector<QString>{"A"});
    list->frameWindow()->close();
    settle();

    // 1 refuses the list: no window stays.
    rights = 1;
    EXPECT_EQ(ui::openList(listDefinition(), &area), nullptr);
    settle();
    EXPECT_EQ(lastBox().text, ru("Доступ запрещен !"));
    EXPECT_EQ(framework::globalResponse(), framework::kResponseCancelled);
    EXPECT_TRUE(area.subWindowList().isEmpty());
    EXPECT_EQ(framework::userCount(price), 0);
}

TEST_F(ListWindowTest, ColumnsShowHeadersPicturesAlignmentsAndDialogUnitWidths) {
    addPrice(1, "Розничная", 0);
    addPrice(2, "Оптовая", 12.5);
    addPrice(3, "Скидочная", -3);
    ui::ListWindow* list = openList();
    ASSERT_NE(list, nullptr);
    ui::ListPageModel& model = *list->model();
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), qt("Код"));
    EXPECT_EQ(model.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), qt("Скидка (%)"));
    EXPECT_EQ(column(*list, 0), (std::vector<QString>{"1", "2", "3"}));
    EXPECT_EQ(column(*list, 2), (std::vector<QString>{"", "12.50", "-3.00"}));

    const ui::DialogUnits units = ui::dialogUnits(list->table()->font());
    EXPECT_EQ(list->table()->columnWidth(1), units.x(80));
    EXPECT_EQ(model.dataPlacement(0).alignment, Qt::AlignRight);
    EXPECT_EQ(model.dataPlacement(0).indent, units.x(3));
    EXPECT_EQ(model.headerPlacement(0).alignment, Qt::AlignHCenter);
    EXPECT_EQ(model.dataPlacement(1).alignment, Qt::AlignLeft);
    EXPECT_EQ(model.headerPlacement(1).indent, units.x(6));
    EXPECT_TRUE(list->helpButton()->isVisible());
    EXPECT_EQ(list->closeButton()->text(), qt("Закрыть"));

    // Fewer records than rows: no scroll bar.
    EXPECT_FALSE(list->scrollBar()->isVisible());
    click(list->helpButton());
    EXPECT_EQ(help, std::vector<std::string>{"Sprav\\Price.htm"});
}

TEST_F(ListWindowTest, PagesFollowTheKeysAndTheFirstCharacterLocator) {
    for (int code = 1; code <= 40; ++code) addPrice(code, "Price " + std::to_string(code));
    ui::ListWindow* list = openList();
    ASSERT_NE(list, nullptr);
    QTableView* table = list->table();
    const int rows = list->visibleRows();
    ASSERT_GE(rows, 5);
    ASSERT_EQ(list->model()->rowCount(), rows);  // exactly the rows that fit
    EXPECT_LE(rows * table->verticalHeader()->defaultSectionSize(), table->viewport()->height());
    EXPECT_TRUE(list->scrollBar()->isVisible());
    EXPECT_EQ(list->scrollBar()->value(), 0);

    QTest::keyClick(table, Qt::Key_PageDown);
    settle();
    EXPECT_EQ(list->model()->cell(0, 0), QString::number(rows + 1));
    EXPECT_EQ(highlightedCode(*list), QString::number(rows + 1));
    EXPECT_GT(list->scrollBar()->value(), 0);

    QTest::keyClick(table, Qt::Key_End, Qt::ControlModifier);
    settle();
    EXPECT_EQ(highlightedCode(*list), "40");
    EXPECT_EQ(list->model()->cell(rows - 1, 0), "40");

    QTest::keyClick(table, Qt::Key_Home, Qt::ControlModifier);
    settle();
    EXPECT_EQ(highlightedCode(*list), "1");
    QTest::keyClick(table, Qt::Key_Down);
    settle();
    EXPECT_EQ(highlightedCode(*list), "2");

    // A digit jumps to the first code at or after its value; on a numeric key the
    // same digit again finds that code once more.
    QTest::keyClick(table, Qt::Key_3);
    settle();
    EXPECT_EQ(highlightedCode(*list), "3");
    EXPECT_EQ(list->model()->cell(0, 0), "3");
    QTest::keyClick(table, Qt::Key_3);
    settle();
    EXPECT_EQ(highlightedCode(*list), "3");
    QTest::keyClick(table, Qt::Key_1);
    settle();
    EXPECT_EQ(highlightedCode(*list), "1");

    // The scroll bar's arrows and the released thumb go through the engine.
    QScrollBar* bar = list->scrollBar();
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    settle();
    EXPECT_EQ(highlightedCode(*list), "1");
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    settle();
    EXPECT_EQ(highlightedCode(*list), "2");
    // Dragging the thumb to 60 and releasing it lands 60 % into the codes.
    bar->setSliderDown(true);
    bar->setSliderPosition(60);
    bar->setSliderDown(false);
    settle();
    EXPECT_EQ(list->model()->cell(0, 0), "24");
    EXPECT_EQ(highlightedCode(*list), "24");
}

TEST_F(ListWindowTest, RightClickOpensTheListsMenuThroughTheEngine) {
    addPrice(1, "A");
    addPrice(2, "B");
    auto definition = listDefinition();
    definition.popup = framework::browse::PopupMenuTexts::standard();
    ui::ListWindow* list = ui::openList(definition, &area);
    settle();
    ASSERT_NE(list, nullptr);
    services->menuAnswers = {2};  // "&Изменить"
    std::string caption;
    onForm([&](ui::FormWindow& form) {
        caption = ui::fromQt(form.windowTitle());
        click(form.cancelButton());
    });
    const QPoint second = list->table()->visualRect(list->model()->index(1, 1)).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, second);
    QApplication::sendEvent(list->table()->viewport(), &event);
    settle();
    ASSERT_EQ(services->menus.size(), 1u);
    EXPECT_EQ(services->menus[0], ru("&Добавить|&Изменить|&Удалить"));
    EXPECT_EQ(caption, ru(" Изменение записи  (B)"));
}

TEST_F(ListWindowTest, CancelledFormLeavesThePageAndTheHighlightAsTheyWere) {
    for (int code = 1; code <= 40; ++code) addPrice(code, "Price " + std::to_string(code));
    ui::ListWindow* list = openList();
    ASSERT_NE(list, nullptr);
    QTableView* table = list->table();
    QTest::keyClick(table, Qt::Key_PageDown);
    QTest::keyClick(table, Qt::Key_Down);
    QTest::keyClick(table, Qt::Key_Down);
    settle();
    const QString top = list->model()->cell(0, 0);
    const QString highlighted = highlightedCode(*list);
    ASSERT_NE(top, highlighted);

    onForm([&](ui::FormWindow& form) { click(form.cancelButton()); });
    click(list->button(ListButton::Change));
    settle();
    EXPECT_EQ(list->model()->cell(0, 0), top);
    EXPECT_EQ(highlightedCode(*list), highlighted);
    EXPECT_EQ(area.activeSubWindow(), list->subWindow());

    // Focus coming from another window rebuilds: the highlighted record on top.
    QWidget other;
    QMdiSubWindow* otherSub = area.addSubWindow(&other);
    otherSub->show();
    area.setActiveSubWindow(otherSub);
    area.setActiveSubWindow(list->subWindow());
    settle();
    EXPECT_EQ(list->model()->cell(0, 0), highlighted);
    EXPECT_EQ(highlightedCode(*list), highlighted);
    area.removeSubWindow(&other);
    delete otherSub;
}

TEST_F(ListWindowTest, FrameToolbarReachesTheListAndThenItsForm) {
    for (int code = 1; code <= 3; ++code) addPrice(code, "Price " + std::to_string(code));
    ui::ListWindow* list = openList();
    ASSERT_NE(list, nullptr);
    ui::ToolbarTarget* target = list;
    auto states = target->toolbarStates();
    EXPECT_TRUE(states[2000].enabled);
    EXPECT_EQ(states[2000].tip, "Insert a new Record");
    EXPECT_TRUE(states[2006].enabled);
    EXPECT_FALSE(states[2011].enabled);

    target->toolbarPressed(2008);  // next record
    settle();
    EXPECT_EQ(highlightedCode(*list), "2");

    // 2001 changes; inside the form the toolbar is the form's: 2008 saves and moves
    // on to the next record, whose form the list opens next.
    std::map<int, ui::ToolbarButtonState> listWhileForm, formStates;
    std::string secondCaption;
    onForm([&](ui::FormWindow& form) {
        listWhileForm = list->toolbarStates();
        formStates = form.toolbarStates();
        type(form, 6, "Вторая");
        onForm([&](ui::FormWindow& next) {
            secondCaption = ui::fromQt(next.windowTitle());
            click(next.cancelButton());
        });
        static_cast<ui::ToolbarTarget&>(form).toolbarPressed(2008);
    });
    target->toolbarPressed(2001);
    settle();
    EXPECT_FALSE(listWhileForm[2000].enabled);
    EXPECT_FALSE(listWhileForm[2006].enabled);
    EXPECT_TRUE(formStates[2008].enabled);
    EXPECT_EQ(formStates[2008].tip, "Save changes and go to next record");
    EXPECT_TRUE(formStates[2011].enabled);
    EXPECT_FALSE(formStates[2001].enabled);
    EXPECT_EQ(secondCaption, ru(" Изменение записи  (Price 3)"));
    EXPECT_EQ(column(*list, 1)[1], qt("Вторая"));
    EXPECT_EQ(highlightedCode(*list), "3");
}

TEST_F(ListWindowTest, CloseBoxEndsTheListAndKeepsItsPlacement) {
    addPrice(1, "A");
    ui::ListWindow* list = openList();
    ASSERT_NE(list, nullptr);
    QMdiSubWindow* sub = list->subWindow();
    sub->setGeometry(30, 40, 620, 420);
    settle();
    sub->close();
    settle();
    EXPECT_TRUE(area.subWindowList().isEmpty());
    EXPECT_EQ(framework::globalResponse(), framework::kResponseCancelled);
    EXPECT_EQ(framework::userCount(price), 0);
    EXPECT_EQ(platform::readIni("Price_t", "XPosit", "", ".\\TARVO.INI"), "30");
    EXPECT_EQ(platform::readIni("Price_t", "Width", "", ".\\TARVO.INI"), "620");

    // The next list opens where this one was left.
    list = openList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->subWindow()->geometry(), QRect(30, 40, 620, 420));
}

// An edited INI must not shrink a list below its design size (its buttons out of
// reach) nor put it outside the frame; closing then writes the usable placement.
TEST_F(ListWindowTest, RestoredPlacementKeepsTheDesignSizeWithinTheFrame) {
    addPrice(1, "A");
    for (const char* saved : {"XPosit=20\r\nYPosit=30\r\nWidth=300\r\nHeight=150\r\n",
                              "XPosit=20\r\nYPosit=30\r\nWidth=5\r\nHeight=5\r\n",
                              "XPosit=99999\r\nYPosit=99999\r\nWidth=700\r\nHeight=400\r\n",
                              "XPosit=-5000\r\nYPosit=-5000\r\nWidth=700\r\nHeight=400\r\n"}) {
        folder.write("TARVO.INI", std::string("[Price_t]\r\n") + saved + "Maximize=No\r\n");
        ui::ListWindow* list = openList();
        ASSERT_NE(list, nullptr) << saved;
        QMdiSubWindow* sub = list->subWindow();
        const QSize least = sub->minimumSizeHint();
        EXPECT_GE(sub->width(), least.width()) << saved;
        EXPECT_GE(sub->height(), least.height()) << saved;
        EXPECT_TRUE(area.viewport()->rect().contains(sub->geometry())) << saved;
        // Every button of the list is on the window.
        for (QPushButton* button : list->panel()->buttons()) {
            if (!button->isVisible()) continue;
            const QRect place(button->mapTo(sub, QPoint(0, 0)), button->size());
            EXPECT_TRUE(sub->rect().contains(place)) << saved << " " << button->text().toStdString();
        }
        sub->close();
        settle();
        EXPECT_GE(std::stoi(platform::readIni("Price_t", "Width", "", ".\\TARVO.INI")), least.width());
        EXPECT_GE(std::stoi(platform::readIni("Price_t", "Height", "", ".\\TARVO.INI")), least.height());
    }
}

// A list the operator only resized, never moved, opens with that size again: its
// default place is not the corner, so its position is kept, and with it the size.
TEST_F(ListWindowTest, NeverMovedListKeepsTheSizeTheOperatorGaveIt) {
    addPrice(1, "A");
    ui::ListWindow* first = openList();
    ASSERT_NE(first, nullptr);
    const QPoint place = first->subWindow()->pos();
    EXPECT_NE(place, QPoint(0, 0));
    ui::ListWindow* second = openList();
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second->subWindow()->pos(), place) << "cascaded";
    second->subWindow()->close();
    settle();

    const QSize chosen = first->subWindow()->size() + QSize(60, 40);
    first->subWindow()->resize(chosen);
    settle();
    first->subWindow()->close();
    settle();
    EXPECT_NE(platform::readIni("Price_t", "XPosit", "", ".\\TARVO.INI"), "0");
    ui::ListWindow* again = openList();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->subWindow()->geometry(), QRect(place, chosen));
}

// Buttons hidden by the rights leave their places empty; the others stay put.
TEST_F(ListWindowTest, ButtonsHiddenByRightsLeaveTheOthersInTheirPlaces) {
    addPrice(1, "A");
    auto places = [&](ui::ListWindow& list) {
        std::vector<QPoint> result;
        for (QPushButton* button : {list.button(ListButton::Delete), list.closeButton(), list.helpButton()})
            result.push_back(button->mapTo(&list, QPoint(0, 0)));
        return result;
    };
    ui::ListWindow* list = openList();
    ASSERT_NE(list, nullptr);
    list->subWindow()->setGeometry(30, 30, 700, 420);
    settle();
    const std::vector<QPoint> all = places(*list);
    list->subWindow()->close();
    settle();

    rights = 2 | 4;  // no insert, no change
    list = openList();
    ASSERT_NE(list, nullptr);
    settle();
    EXPECT_FALSE(list->button(ListButton::Insert)->isVisible());
    EXPECT_FALSE(list->button(ListButton::Change)->isVisible());
    EXPECT_EQ(list->subWindow()->geometry(), QRect(30, 30, 700, 420));
    EXPECT_EQ(places(*list), all);
}

// A list run from another (the rate history from its currency list) gives the
// focus back to the list it was called from, not to whichever child is next.
TEST_F(ListWindowTest, ListRunFromAListGivesTheFocusBackToItsCaller) {
    addPrice(1, "A");
    ui::ListWindow* unrelated = openList();
    ASSERT_NE(unrelated, nullptr);
    ui::ListWindow* caller = openList();
    ASSERT_NE(caller, nullptr);
    area.setActiveSubWindow(caller->subWindow());
    settle();

    QMdiSubWindow* nested = nullptr;
    QTimer::singleShot(50, [&] {
        nested = area.activeSubWindow();
        if (nested && nested != caller->subWindow()) nested->close();
    });
    ui::runList(listDefinition(), &area);
    settle();
    EXPECT_NE(nested, caller->subWindow()) << "the nested list was active while it ran";
    EXPECT_EQ(area.activeSubWindow(), caller->subWindow());
}

}  // namespace
}  // namespace book_windows_tests
