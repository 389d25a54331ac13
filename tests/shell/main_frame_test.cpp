// The main frame on screen (offscreen): title, menu, toolbar order and tips, the
// toolbar forwarded to the active child, and logging in again.
#include "access/dostup.h"
#include "platform/cp1251.h"
#include "platform/fixed_text.h"
#include "shell/main_frame.h"
#include "shell/startup.h"
#include "tests/helpers/qt_application.h"
#include "tests/helpers/temp_folder.h"
#include "ui/qt_user_services.h"
#include "ui/toolbar_target.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using platform::ru;

class FakeChild : public QWidget, public ui::ToolbarTarget {
public:
    std::vector<int> pressed;
    void toolbarPressed(int button) override { pressed.push_back(button); }
    std::map<int, ui::ToolbarButtonState> toolbarStates() const override {
        return {{2000, {true, "Insert a new Record"}}, {2006, {true, ""}}};
    }
};

class Frame : public ::testing::Test {
protected:
    Frame() {
        testing_support::qtApplication();
        std::filesystem::create_directories(folder.path() / "Dat");
        platform::writeCString(g_BasePath, ".\\Dat\\");
        shell::startUp();
    }
    testing_support::TempFolder folder;
};

TEST_F(Frame, TitleMenuAndToolbar) {
    shell::MainFrame frame;
    EXPECT_EQ(frame.windowTitle(), ui::toQt(ru(" Справочники")));
    ASSERT_NE(frame.menuItem(ru("&Регистрация")), nullptr);
    EXPECT_EQ(frame.menuItem(ru("&Регистрация"))->toolTip(),
              ui::toQt(ru("Перерегистрация пользователя")));
    EXPECT_EQ(frame.menuItem(ru("Цены"))->toolTip(), ui::toQt(ru("Справочник Цен")));
    EXPECT_EQ(frame.menuItem("E&xit")->toolTip(), QStringLiteral("Exit this application"));

    // The thirteen buttons in the order of the bar.
    auto* bar = frame.findChild<QToolBar*>(QStringLiteral("toolbar"));
    ASSERT_NE(bar, nullptr);
    std::vector<int> order;
    for (QAction* action : bar->actions()) order.push_back(action->data().toInt());
    EXPECT_EQ(order, (std::vector<int>{2005, 2007, 2009, 2010, 2008, 2006, 2004, 2003, 2000, 2001,
                                       2002, 2011, 2012}));
    EXPECT_EQ(frame.toolbarAction(2004)->toolTip(), QStringLiteral("Go to the Last Page"));
    EXPECT_EQ(frame.toolbarAction(2003)->toolTip(), ui::toQt(ru("Выбрать")));
    EXPECT_FALSE(frame.toolbarAction(2000)->isEnabled()) << "no child window: nothing to drive";
}

TEST_F(Frame, ToolbarActsOnTheActiveChild) {
    shell::MainFrame frame;
    frame.show();
    auto* child = new FakeChild;
    QMdiSubWindow* sub = frame.area()->addSubWindow(child);
    sub->show();
    frame.area()->setActiveSubWindow(sub);
    QApplication::processEvents();

    frame.toolbarAction(2000)->trigger();
    frame.toolbarAction(2006)->trigger();
    EXPECT_EQ(child->pressed, (std::vector<int>{2000, 2006}));
    EXPECT_TRUE(frame.toolbarAction(2000)->isEnabled());
    EXPECT_EQ(frame.toolbarAction(2000)->toolTip(), QStringLiteral("Insert a new Record"));
    EXPECT_FALSE(frame.toolbarAction(2002)->isEnabled());
    EXPECT_EQ(frame.toolbarAction(2006)->toolTip(), QStringLiteral("Go to the Next Page"));
}

TEST_F(Frame, CommandsOpenTheirListsAgainAndAgain) {
    shell::MainFrame frame;
    int opened = 0;
    frame.setCommand(ru("Фирмы"), [&](QMdiArea*) { ++opened; });
    ASSERT_TRUE(frame.menuItem(ru("Фирмы"))->isEnabled());
    frame.menuItem(ru("Фирмы"))->trigger();
    frame.menuItem(ru("Фирмы"))->trigger();
    EXPECT_EQ(opened, 2) << "two commands give two lists";
    EXPECT_FALSE(frame.menuItem(ru("Валюты"))->isEnabled()) << "a book not yet installed";
}

TEST_F(Frame, CancelledLoginClosesTheProgram) {
    shell::MainFrame frame;
    frame.show();
    g_SCode = 5;  // somebody was logged in
    // Cancel the login window as soon as it shows.
    QTimer::singleShot(50, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QDialog*>(w); dialog && dialog->isVisible())
                for (auto* button : dialog->findChildren<QPushButton*>())
                    if (button->text() == ui::toQt(ru("Отмена"))) button->click();
    });
    frame.logInAgain();
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(g_SCode, 0);
    EXPECT_FALSE(frame.isVisible()) << "a cancelled login closes the program";
}

}  // namespace
