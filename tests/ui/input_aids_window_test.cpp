// The saved filters and the input history on their real windows: the filter
// list with its designation entry, the filter form's text box and its two
// indicator pictures, and the history list picked from.
#include "tests/ui/book_window_fixture.h"

#include "access/access_files.h"
#include "access/dostup.h"
#include "inputaids/d_filter.h"
#include "inputaids/d_hist.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTabBar>

#include <cstdlib>

namespace book_windows_tests {
namespace {

namespace ff = inputaids::filter_form;

class InputAidWindows : public BookWindowTest {
protected:
    InputAidWindows() {
        auto& files = dostup::accessFiles();
        files.filter.setName(".\\Dat\\Filter");
        files.histList.setName(".\\Dat\\HistList");
    }
    ~InputAidWindows() override {
        for (QMdiSubWindow* sub : area.subWindowList()) delete sub;
        settle();
        auto& files = dostup::accessFiles();
        for (storage::DataFile* file : {&files.filter, &files.histList})
            while (framework::userCount(*file) > 0) framework::releaseFile(*file);
    }

    void addFilter(const char* table, int number, const char* name, const char* expression) {
        storage::DataFile& file = dostup::accessFiles().filter;
        framework::FileUse use(file);
        file.record().clear();
        file.record().setValue("FIL:TABLE", table);
        file.record().setValue("FIL:NUMBER", std::to_string(number));
        file.record().setValue("FIL:NAME", ru(name));
        file.record().setValue("FIL:EXPRESSION", expression);
        ASSERT_EQ(file.add(), 0);
    }

    // With TEST_SCREENSHOTS naming a folder, the window is saved there to be looked at.
    static void screenshot(QWidget* window, const char* name) {
        if (const char* folder = std::getenv("TEST_SCREENSHOTS"))
            window->grab().save(QString::fromUtf8(folder) + "/" + name + ".png");
    }

    static QWidget* shown(ui::FormWindow& form, int entry) { return form.entryWidget(entry); }
};

TEST_F(InputAidWindows, FilterListFollowsItsDesignationEntry) {
    addFilter("MOL_t", 1, "Работают", "mol:SCode>0");
    addFilter("MOL_t", 2, "Склад", "mol:Otd_ID = 3");
    addFilter("Store_t", 1, "Все участки", "1");
    inputaids::beginFilterSelection("MOL_t");
    ui::ListWindow* list =
        ui::openList(inputaids::filterList([] { ui::runFormWindow(inputaids::filterForm()); }), &area);
    settle();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->windowTitle(), qt("Список Фильтров"));
    QLineEdit* entry = list->panel()->entry();
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text(), "MOL_t");
    EXPECT_EQ(column(*list, 1), (std::vector<QString>{qt("Работают"), qt("Склад")}));
    screenshot(list, "filter_list");

    entry->setFocus();
    entry->selectAll();
    QTest::keyClicks(entry, "store_t");
    QTest::keyClick(entry, Qt::Key_Return);
    settle();
    EXPECT_EQ(column(*list, 1), std::vector<QString>{qt("Все участки")});
    inputaids::endFilterSelection(0);
}

TEST_F(InputAidWindows, FilterFormShowsTheTickOrTheCrossForItsExpression) {
    addFilter("MOL_t", 1, "Работают", "mol:SCode>0");
    inputaids::beginFilterSelection("MOL_t");
    ui::ListWindow* list =
        ui::openList(inputaids::filterList([] { ui::runFormWindow(inputaids::filterForm()); }), &area);
    settle();
    ASSERT_NE(list, nullptr);
    bool checked = false;
    onForm([&](ui::FormWindow& form) {
        auto* tick = qobject_cast<QLabel*>(shown(form, ff::kValidPicture));
        auto* cross = qobject_cast<QLabel*>(shown(form, ff::kInvalidPicture));
        auto* text = qobject_cast<QPlainTextEdit*>(shown(form, ff::kExpression));
        auto* check = qobject_cast<QPushButton*>(shown(form, ff::kCheck));
        ASSERT_TRUE(tick && cross && text && check);
        EXPECT_EQ(form.windowTitle(), qt("Изменение Фильтра  (1)"));
        EXPECT_EQ(text->toPlainText(), "mol:SCode>0");
        EXPECT_FALSE(tick->isVisible());
        EXPECT_FALSE(cross->isVisible()) << "both hidden at first";
        click(check);
        EXPECT_TRUE(tick->isVisible());
        EXPECT_FALSE(cross->isVisible());
        screenshot(form.frameWindow(), "filter_form_valid");
        text->setPlainText("mol:SCode >");
        click(check);
        EXPECT_FALSE(tick->isVisible());
        EXPECT_TRUE(cross->isVisible());
        screenshot(form.frameWindow(), "filter_form_invalid");
        checked = true;
        click(form.okButton());
    });
    click(list->button(framework::browse::ListButton::Change));
    settle();
    EXPECT_TRUE(checked);
    EXPECT_EQ(column(*list, 2), std::vector<QString>{"mol:SCode >"}) << "saved as typed";
    inputaids::endFilterSelection(0);
}

TEST_F(InputAidWindows, HistoryListShowsTheFieldsValuesAndPicksOne) {
    PUTHLIST("MOL:LNAME", ru("Петров").c_str(), nullptr);
    PUTHLIST("MOL:LNAME", ru("Андреев").c_str(), ru("Первый").c_str());
    PUTHLIST("MOL:FNAME", ru("Иван").c_str(), nullptr);
    inputaids::beginHistorySelection("MOL:LNAME");
    framework::globalRequest() = framework::kRequestSelect;
    QString title;
    std::vector<QString> values, byValue;
    // The user's part, once the list shows its rows: a timer looks every few
    // milliseconds while the list runs its own event loop.
    QTimer user;
    int looks = 0;
    QObject::connect(&user, &QTimer::timeout, [&] {
        if (++looks > 500) {
            user.stop();
            ADD_FAILURE() << "no history list";
            for (auto* list : area.findChildren<ui::ListWindow*>()) list->close();
            return;
        }
        for (auto* list : area.findChildren<ui::ListWindow*>()) {
            if (list->model()->rowCount() < 2) continue;
            user.stop();
            title = list->windowTitle();
            values = column(*list, 1);
            list->tabs()->setCurrentIndex(1);
            settle();
            byValue = column(*list, 1);
            screenshot(list, "history_list");
            list->table()->selectRow(0);
            settle();
            click(list->button(framework::browse::ListButton::Select));
            return;
        }
    });
    user.start(10);
    const int response = ui::runList(
        inputaids::historyList([] { ui::runFormWindow(inputaids::historyForm()); }), &area);
    EXPECT_EQ(title, qt("Список Истории поля"));
    EXPECT_EQ(values, (std::vector<QString>{qt("Петров"), qt("Андреев")}));
    EXPECT_EQ(byValue, (std::vector<QString>{qt("Андреев"), qt("Петров")}));
    EXPECT_EQ(inputaids::endHistorySelection(response), ru("Андреев"));
}

}  // namespace
}  // namespace book_windows_tests
