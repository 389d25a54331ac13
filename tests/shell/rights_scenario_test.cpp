// An administrator forbids a category to change price types and an employee of
// that category sees the price list without its change button, then sees it back
// when the ban is lifted: the program's frame, the library's object list,
// category list and rights grid, and the login window, all on screen (offscreen)
// over real files.
#include "access/access_layouts.h"
#include "access/dostup.h"
#include "platform/cp1251.h"
#include "platform/fixed_text.h"
#include "framework/shared_state.h"
#include "shell/books.h"
#include "shell/main_frame.h"
#include "shell/startup.h"
#include "storage/data_file.h"
#include "tests/helpers/qt_application.h"
#include "tests/helpers/temp_folder.h"
#include "ui/list_window.h"
#include "ui/qt_user_services.h"
#include "platform/user_services.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

using platform::ru;

void settle() {
    for (int i = 0; i < 20; ++i) QApplication::processEvents();
}

// Runs `action` once a window captioned `caption` is on screen (a form of the
// library, inside its event loop): the form's entries in their order.
void onForm(const std::string& caption, std::function<void(QWidget&, QList<QLineEdit*>)> action,
            int attempts = 500) {
    QTimer::singleShot(10, [caption, action, attempts] {
        for (QWidget* w : QApplication::allWidgets()) {
            if (!w->isVisible() || !w->windowTitle().startsWith(ui::toQt(caption))) continue;
            QList<QLineEdit*> entries;
            for (QLineEdit* entry : w->findChildren<QLineEdit*>())
                if (entry->isVisible()) entries << entry;
            if (entries.isEmpty()) continue;
            action(*w, entries);
            return;
        }
        if (attempts > 0) onForm(caption, action, attempts - 1);
        else ADD_FAILURE() << "no form opened";
    });
}

void clickButton(QWidget& window, const std::string& text) {
    for (auto* b : window.findChildren<QPushButton*>())
        if (b->text() == ui::toQt(text)) {
            b->click();
            return;
        }
    ADD_FAILURE() << "no button " << text;
}

// The login window, once it shows: the code and the password typed, then OK.
void logInAs(const QString& code, const QString& password, int attempts = 500) {
    QTimer::singleShot(10, [code, password, attempts] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QDialog*>(w);
            if (!dialog || !dialog->isVisible()) continue;
            const auto entries = dialog->findChildren<QLineEdit*>();
            if (entries.size() < 2) continue;
            entries[0]->setText(code);
            entries[1]->setText(password);
            for (auto* button : dialog->findChildren<QPushButton*>())
                if (button->text() == QStringLiteral("OK")) button->click();
            return;
        }
        if (attempts > 0) logInAs(code, password, attempts - 1);
        else ADD_FAILURE() << "no login window";
    });
}

class RightsScenario : public ::testing::Test {
protected:
    RightsScenario() {
        testing_support::qtApplication();
        std::filesystem::create_directories(folder.path() / "Dat");
        platform::writeCString(g_BasePath, ".\\Dat\\");
        shell::startUp();
    }
    ~RightsScenario() override { g_SCode = 0; }

    // A record written straight into one of the library's files, as the
    // suite's set-up (or another station) would.
    static void addAccessRecord(const storage::RecordLayout& layout, const char* diskName,
                                const std::map<std::string, std::string>& values) {
        storage::DataFile file(layout);
        file.setName(platform::clip(std::string(diskName, 80)));
        file.setOwnerPassword(dostup::ownerPasswordOf(layout));
        if (file.open() != 0) {
            ASSERT_EQ(file.create(), 0) << file.errorText();
            ASSERT_EQ(file.open(), 0) << file.errorText();
        }
        file.record().clear();
        for (const auto& [name, value] : values) ASSERT_TRUE(file.record().setValue(name, value));
        ASSERT_EQ(file.add(), 0) << file.errorText();
        file.close();
    }
    // A list by its caption. The library's windows are its own classes, so lists
    // are reached through their widgets alone.
    QWidget* listTitled(shell::MainFrame& frame, const std::string& title) {
        for (QMdiSubWindow* sub : frame.area()->subWindowList())
            if (sub->widget() && sub->windowTitle().trimmed() == ui::toQt(title).trimmed())
                return sub->widget();
        return nullptr;
    }
    static QPushButton* button(QWidget* window, const std::string& textOrTip) {
        for (auto* b : window->findChildren<QPushButton*>())
            if (b->text() == ui::toQt(textOrTip) || b->toolTip() == ui::toQt(textOrTip)) return b;
        return nullptr;
    }
    static void press(QWidget* window, const std::string& textOrTip) {
        QPushButton* b = button(window, textOrTip);
        ASSERT_NE(b, nullptr) << textOrTip;
        b->click();
        settle();
    }
    static QString cell(QWidget* list, int row, int column) {
        auto* table = list->findChild<QTableView*>();
        return table->model()->index(row, column).data().toString().trimmed();
    }
    static void highlight(QWidget* list, int row) {
        list->findChild<QTableView*>()->selectRow(row);
        settle();
    }

    testing_support::TempFolder folder;
};

TEST_F(RightsScenario, CashiersLoseAndRegainTheChangeButtonOfThePriceList) {
    // The library's own screens are registered, so that asking about them is quiet.
    addAccessRecord(dostup::objectLayout(), Object_spr,
                    {{"OBJ:ID", "1"}, {"OBJ:OBOZN", "KatMOL"}, {"OBJ:TYPE", ru("Справочник")}});
    addAccessRecord(dostup::objectLayout(), Object_spr,
                    {{"OBJ:ID", "2"}, {"OBJ:OBOZN", "Dostup"}, {"OBJ:TYPE", ru("Справочник")}});
    addAccessRecord(dostup::objectLayout(), Object_spr,
                    {{"OBJ:ID", "3"}, {"OBJ:OBOZN", "Object"}, {"OBJ:TYPE", ru("Справочник")}});
    // A rights file of its own, without the bans a new one gives to nobody logged
    // in: the administrator works before anybody can log in.
    addAccessRecord(dostup::dostupLayout(), Dostup_spr, {{"DOS:KATEGCODE", "0"}, {"DOS:OBJECTID", "0"}});

    shell::MainFrame frame;
    shell::installBooks(frame);
    frame.show();
    settle();

    // The administrator registers "Price" in the object list.
    frame.menuItem(ru("Объекты"))->trigger();
    settle();
    QWidget* objects = listTitled(frame, ru("Обьекты системы"));
    ASSERT_NE(objects, nullptr);
    onForm(ru(" Новый Обьект"), [](QWidget& form, QList<QLineEdit*> entries) {
        ASSERT_EQ(entries.size(), 3);
        entries[1]->setText(QStringLiteral("Price"));
        entries[2]->setText(ui::toQt(ru("Типы цен")));
        clickButton(form, ru("Выход с записью"));
    });
    press(objects, ru("Добавить"));
    press(objects, ru("Выход"));

    // ... creates the category "Кассиры" and forbids changing "Price" for it.
    frame.menuItem(ru("Категории"))->trigger();
    settle();
    QWidget* categories = listTitled(frame, ru("Категории Сотрудников"));
    ASSERT_NE(categories, nullptr);
    onForm(ru(" Новая Категория"), [](QWidget& form, QList<QLineEdit*> entries) {
        ASSERT_EQ(entries.size(), 2);
        entries[1]->setText(ui::toQt(ru("Кассиры")));
        clickButton(form, ru("Записать"));
    });
    press(categories, ru("Добавить"));
    press(categories, ru("Доступ"));
    QWidget* grid = listTitled(frame, ru("Запрет доступа к Обьектам системы"));
    ASSERT_NE(grid, nullptr);
    // In designation order: Dostup, KatMOL, Object, Price.
    ASSERT_EQ(cell(grid, 3, 0), QStringLiteral("Price"));
    highlight(grid, 3);
    press(grid, ru("Запретить / снять запрет на Изменение"));
    EXPECT_EQ(cell(grid, 3, 4), QStringLiteral("X"));
    press(grid, ru("Выход"));
    press(categories, ru("закрыть"));

    // An employee with a login gets that category (code 1, the first category).
    addAccessRecord(dostup::molLayout(), MOL_spr,
                    {{"MOL:SCODE", "7"}, {"MOL:LNAME", ru("Петров")}, {"MOL:PASSWORD", "kassa"},
                     {"MOL:KATEGCODE", "1"}});
    logInAs(QStringLiteral("7"), QStringLiteral("kassa"));
    frame.logInAgain();
    settle();
    ASSERT_EQ(g_SCode, 7);

    frame.menuItem(ru("Цены"))->trigger();
    settle();
    QWidget* prices = listTitled(frame, ru(" Цены"));
    ASSERT_NE(prices, nullptr);
    ASSERT_NE(button(prices, ru("Изменить")), nullptr);
    EXPECT_TRUE(button(prices, ru("Изменить"))->isHidden());
    EXPECT_FALSE(button(prices, ru("Добавить"))->isHidden());
    press(prices, ru("Закрыть"));

    // The ban lifted in the grid, the list has its button back.
    frame.menuItem(ru("Категории"))->trigger();
    settle();
    categories = listTitled(frame, ru("Категории Сотрудников"));
    ASSERT_NE(categories, nullptr);
    press(categories, ru("Доступ"));
    grid = listTitled(frame, ru("Запрет доступа к Обьектам системы"));
    ASSERT_NE(grid, nullptr);
    highlight(grid, 3);
    press(grid, ru("Запретить / снять запрет на Изменение"));
    EXPECT_EQ(cell(grid, 3, 4), QString());
    press(grid, ru("Выход"));
    press(categories, ru("закрыть"));

    frame.menuItem(ru("Цены"))->trigger();
    settle();
    prices = listTitled(frame, ru(" Цены"));
    ASSERT_NE(prices, nullptr);
    EXPECT_FALSE(button(prices, ru("Изменить"))->isHidden());
    press(prices, ru("Закрыть"));
}

// The program's refusal of the price list, asked through the library: the box
// as it always was for a category that may not see the rights, with the line
// naming object and category for one that may, and each refusal journaled with
// its operator in the library's rights journal.
TEST_F(RightsScenario, RefusalsOfTheProgramAreExplainedToWhoMaySeeRightsAndJournaled) {
    addAccessRecord(dostup::objectLayout(), Object_spr,
                    {{"OBJ:ID", "1"}, {"OBJ:OBOZN", "KatMOL"}, {"OBJ:TYPE", ru("Справочник")}});
    addAccessRecord(dostup::objectLayout(), Object_spr,
                    {{"OBJ:ID", "2"}, {"OBJ:OBOZN", "Dostup"}, {"OBJ:TYPE", ru("Справочник")}});
    addAccessRecord(dostup::objectLayout(), Object_spr,
                    {{"OBJ:ID", "4"}, {"OBJ:OBOZN", "Price"}, {"OBJ:TYPE", ru("Справочник")}});
    addAccessRecord(dostup::katMolLayout(), KatMOL_spr, {{"KTM:COD", "1"}, {"KTM:KATEG", ru("Склад")}});
    addAccessRecord(dostup::katMolLayout(), KatMOL_spr, {{"KTM:COD", "2"}, {"KTM:KATEG", ru("Администраторы")}});
    // The store may not open the prices nor the categories; the administrators may
    // not open the prices either, but may see the rights.
    for (const char* category : {"1", "2"})
        addAccessRecord(dostup::dostupLayout(), Dostup_spr,
                        {{"DOS:KATEGCODE", category}, {"DOS:OBJECTID", "4"}, {"DOS:OPENFLAG", "1"}});
    addAccessRecord(dostup::dostupLayout(), Dostup_spr, {{"DOS:KATEGCODE", "1"}, {"DOS:OBJECTID", "1"}, {"DOS:OPENFLAG", "1"}});
    addAccessRecord(dostup::molLayout(), MOL_spr, {{"MOL:SCODE", "20"}, {"MOL:KATEGCODE", "1"}});
    addAccessRecord(dostup::molLayout(), MOL_spr, {{"MOL:SCODE", "1"}, {"MOL:KATEGCODE", "2"}});

    shell::MainFrame frame;
    shell::installBooks(frame);
    frame.show();
    settle();
    platform::ScopedScriptedServices boxes;
    for (std::uint16_t operatorCode : {20, 20, 1}) {
        g_SCode = operatorCode;
        frame.menuItem(ru("Цены"))->trigger();
        settle();
    }
    ASSERT_EQ(boxes->shown.size(), 3u);
    EXPECT_EQ(boxes->shown[0].caption, ru(" Извините"));
    EXPECT_EQ(boxes->shown[0].text, ru("Доступ запрещен !")) << "the store sees the box unchanged";
    EXPECT_EQ(boxes->shown[1].text, ru("Доступ запрещен !"));
    EXPECT_EQ(boxes->shown[2].text,
              ru("Доступ запрещен !") + "\n" + ru("Объект «Price», категория «Администраторы»: запрет доступа"));

    storage::DataFile journal(dostup::rightsLogLayout());
    journal.setName(".\\Dat\\RightsLog");
    journal.setOwnerPassword(dostup::ownerPasswordOf(journal.layout()));
    ASSERT_EQ(journal.open(), 0) << journal.errorText();
    std::vector<std::string> entries;
    journal.set(*journal.layout().key("DATE_KEY"));
    while (journal.next() == 0)
        entries.push_back(std::to_string(journal.record().getInt("RLG:OPERATOR")) + " " +
                          std::string(platform::clip(journal.record().getText("RLG:OBOZN"))) + " x" +
                          std::to_string(journal.record().getInt("RLG:COUNT")));
    journal.close();
    EXPECT_EQ(entries, (std::vector<std::string>{"20 Price x2", "1 Price x1"})) << "the second refusal counted";
}

}  // namespace
