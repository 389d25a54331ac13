// The main frame on screen (offscreen): title, menu, toolbar order and tips, the
// toolbar forwarded to the active child, and logging in again.
#include "access/dostup.h"
#include "platform/cp1251.h"
#include "platform/fixed_text.h"
#include "framework/file_access.h"
#include "framework/form/form_environment.h"
#include "framework/shared_state.h"
#include "refbooks/ref_files.h"
#include "shell/books.h"
#include "shell/main_frame.h"
#include "shell/startup.h"
#include "tests/helpers/qt_application.h"
#include "tests/helpers/temp_folder.h"
#include "ui/form_window.h"
#include "ui/list_window.h"
#include "ui/qt_user_services.h"
#include "ui/toolbar_target.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

#include <QClipboard>
#include <QTableView>
#include <QGuiApplication>

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
    ~Frame() override {
        storage::DataFile& price = refbooks::referenceFiles().price;
        while (framework::userCount(price) > 0) framework::releaseFile(price);
    }

    // A price type in the program's own price file.
    static void addPrice(int code, const char* name) {
        storage::DataFile& price = refbooks::referenceFiles().price;
        framework::FileUse use(price);
        price.record().clear();
        price.record().setValue("PRI:ID", std::to_string(code));
        price.record().setValue("PRI:NAME", name);
        ASSERT_EQ(price.add(), 0) << price.driverErrorText();
    }
    // A picture of one colour, as the suite's set-up leaves them in .\pic.
    void picture(const char* name, Qt::GlobalColor colour) {
        std::filesystem::create_directories(folder.path() / "pic");
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(QString::fromStdString((folder.path() / "pic" / name).string())));
    }
    // Every screen of the program allowed, without the library's access files.
    static void allowEverything() {
        framework::setRightsCheck([](const std::string&) { return std::int16_t{0}; });
    }
    // The price list the frame's command opened.
    static ui::ListWindow* openedList(shell::MainFrame& frame) {
        for (QMdiSubWindow* sub : frame.area()->subWindowList())
            if (auto* list = qobject_cast<ui::ListWindow*>(sub->widget())) return list;
        return nullptr;
    }
    // Runs `action` once a form of the program is on screen, inside its event loop.
    static void onForm(std::function<void(ui::FormWindow&)> action, int attempts = 500) {
        QTimer::singleShot(10, [action, attempts] {
            ui::FormWindow* form = ui::FormWindow::running();
            if (form && form->opened()) action(*form);
            else if (attempts > 0) onForm(action, attempts - 1);
            else ADD_FAILURE() << "no form opened";
        });
    }
    static void settle() {
        for (int i = 0; i < 10; ++i) QApplication::processEvents();
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

    // The thirteen buttons in the order of the bar, then "В таблицу" after a separator.
    auto* bar = frame.findChild<QToolBar*>(QStringLiteral("toolbar"));
    ASSERT_NE(bar, nullptr);
    std::vector<int> order;
    for (QAction* action : bar->actions()) order.push_back(action->data().toInt());
    EXPECT_EQ(order, (std::vector<int>{2005, 2007, 2009, 2010, 2008, 2006, 2004, 2003, 2000, 2001,
                                       2002, 2011, 2012, 0, 0}));
    EXPECT_EQ(bar->actions().back()->text(), ui::toQt(ru("В таблицу")));
    EXPECT_EQ(frame.menuItem(ru("В &таблицу"))->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
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

// The program's own start-up hands the library's picture globals and INI file to
// its windows: a list shows the picture its section names, a delete form its
// delete picture with every field and Cancel disabled, only OK left.
TEST_F(Frame, WallpapersOfTheLibrarysGlobalsReachTheProgramsWindows) {
    picture("Tabl1.bmp", Qt::red);
    picture("FormDel.bmp", Qt::green);
    picture("Prices.bmp", Qt::blue);
    folder.write("TARVO.INI", "[Price_t]\r\nWallPaper=.\\pic\\Prices.bmp\r\n");
    ASSERT_NE(G_PatternFlag, 0) << "pictures are on as the library starts";
    EXPECT_EQ(framework::form::formEnvironment().iniFile, ".\\TARVO.INI");
    addPrice(1, "One");
    allowEverything();

    shell::MainFrame frame;
    shell::installBooks(frame);
    frame.show();
    frame.menuItem(ru("Цены"))->trigger();
    settle();
    ui::ListWindow* list = openedList(frame);
    ASSERT_NE(list, nullptr);
    const QImage shown = list->palette().brush(QPalette::Window).textureImage();
    ASSERT_FALSE(shown.isNull()) << "the list shows a wallpaper";
    EXPECT_EQ(shown.pixelColor(0, 0), QColor(Qt::blue)) << "the picture its section names";

    bool fieldsDisabled = false, cancelDisabled = false, okEnabled = false;
    QColor formPicture;
    onForm([&](ui::FormWindow& form) {
        fieldsDisabled = true;
        for (QLineEdit* entry : form.findChildren<QLineEdit*>())
            if (entry->isEnabled()) fieldsDisabled = false;
        cancelDisabled = !form.cancelButton()->isEnabled();
        okEnabled = form.okButton()->isEnabled();
        const QImage image = form.palette().brush(QPalette::Window).textureImage();
        if (!image.isNull()) formPicture = image.pixelColor(0, 0);
        form.okButton()->click();
    });
    list->button(framework::browse::ListButton::Delete)->click();
    settle();
    EXPECT_TRUE(fieldsDisabled);
    EXPECT_TRUE(cancelDisabled);
    EXPECT_TRUE(okEnabled);
    EXPECT_EQ(formPicture, QColor(Qt::green));

    // Pictures off in the library: the next window has none.
    G_PatternFlag = 0;
    frame.menuItem(ru("Цены"))->trigger();
    settle();
    ui::ListWindow* plain = nullptr;
    for (QMdiSubWindow* sub : frame.area()->subWindowList())
        if (auto* other = qobject_cast<ui::ListWindow*>(sub->widget()); other && other != list) plain = other;
    ASSERT_NE(plain, nullptr);
    EXPECT_TRUE(plain->palette().brush(QPalette::Window).textureImage().isNull());
    G_PatternFlag = 1;
}

// Window → Tile with more lists than fit at their design size: every list stays
// inside the frame's area.
TEST_F(Frame, TileKeepsEveryListInsideTheArea) {
    allowEverything();
    shell::MainFrame frame;
    shell::installBooks(frame);
    frame.show();
    for (int i = 0; i < 4; ++i) frame.menuItem(ru("Цены"))->trigger();
    frame.menuItem(ru("Фирмы"))->trigger();
    settle();
    frame.menuItem("T&ile")->trigger();
    settle();
    const QRect room(QPoint(0, 0), frame.area()->viewport()->size());
    ASSERT_GE(frame.area()->subWindowList().size(), 5);
    for (QMdiSubWindow* sub : frame.area()->subWindowList())
        EXPECT_TRUE(room.contains(sub->geometry().topLeft()) &&
                    (sub->geometry().right() <= room.right() || sub->width() > room.width()))
            << sub->windowTitle().toStdString();
}

// Edit → Copy on a list: the highlighted row's shown columns, tab-separated.
TEST_F(Frame, CopyTakesTheHighlightedRowOfAList) {
    addPrice(1, "One");
    addPrice(2, "Two");
    allowEverything();
    shell::MainFrame frame;
    shell::installBooks(frame);
    frame.show();
    frame.menuItem(ru("Цены"))->trigger();
    settle();
    ui::ListWindow* list = openedList(frame);
    ASSERT_NE(list, nullptr);
    list->table()->selectRow(1);
    list->table()->setFocus();
    settle();
    QGuiApplication::clipboard()->clear();
    frame.menuItem("&Copy")->trigger();
    const QStringList cells = QGuiApplication::clipboard()->text().split(QLatin1Char('\t'));
    ASSERT_GE(cells.size(), 2) << cells.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(cells.contains(QStringLiteral("2")));
    EXPECT_TRUE(cells.contains(QStringLiteral("Two")));
}

// File, Exit while a list's form is open: the form is cancelled, every list
// closes, and the frame closes with them.
TEST_F(Frame, ExitWithAFormOpenEndsTheProgram) {
    addPrice(1, "One");
    allowEverything();
    shell::MainFrame frame;
    shell::installBooks(frame);
    frame.show();
    frame.menuItem(ru("Цены"))->trigger();
    frame.menuItem(ru("Цены"))->trigger();
    settle();
    ui::ListWindow* list = openedList(frame);
    ASSERT_NE(list, nullptr);
    bool formWasOpen = false;
    onForm([&](ui::FormWindow&) {
        formWasOpen = true;
        frame.menuItem("E&xit")->trigger();
    });
    list->button(framework::browse::ListButton::Change)->click();
    settle();
    EXPECT_TRUE(formWasOpen);
    EXPECT_TRUE(frame.area()->subWindowList().isEmpty());
    EXPECT_FALSE(frame.isVisible()) << "one Exit ends the program";
}

}  // namespace