// An application frame of the suite: a multiple-document window whose menu opens
// screens as child windows, whose toolbar (buttons 2000 to 2012) drives the
// active child window, and which lets the operator log in again. The program's
// frame " Справочники" and the library's console " Сотрудники" are two set-ups
// of it: their title, INI file, help index, log-in and the menus between "Edit"
// and "Window".
#pragma once

#include <QMainWindow>

#include <functional>
#include <map>
#include <string>
#include <vector>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QTimer;

namespace ui {

class WindowPlacementQt;

struct FrameMenuItem {
    const char* label;  // UTF-8 ("Валюты")
    const char* tip;
};

struct FrameMenu {
    const char* title;  // UTF-8 ("Справочники")
    std::vector<FrameMenuItem> items;
};

struct FrameSetup {
    const char* title = "";      // UTF-8, " Справочники"
    std::string iniFile;         // the placement's INI file, ".\TARVO.INI"
    std::string section = "Main";
    std::string helpIndex;       // the page the Help items open
    std::vector<FrameMenu> menus;  // between "&Edit" and "&Window"; items greyed until given a command
    // "&Регистрация": logs in again and tells whether somebody is logged in; a
    // cancelled log-in closes the frame.
    std::function<bool()> logIn;
    // "Резервная копия" and "Восстановить из копии..." in the File menu, when given.
    std::function<void(QWidget* parent)> backup;
    std::function<void(QWidget* parent)> restore;
};

class FrameWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit FrameWindow(FrameSetup setup, QWidget* parent = nullptr);
    ~FrameWindow() override;

    QMdiArea* area() const { return area_; }
    QAction* toolbarAction(int button) const { return toolbar_.at(button); }
    // The menu item with this text (code page 1251), for the tests and the command
    // line; nullptr when there is none.
    QAction* menuItem(const std::string& text) const;

    // "&Регистрация": log in again; a cancelled login closes the frame.
    void logInAgain();
    // "В таблицу" (Ctrl+E): the active list window into a spreadsheet.
    void exportActiveList();

    // A screen's list: started on the frame's area; the frame does not wait.
    using ListOpener = std::function<void(QMdiArea*)>;
    void setCommand(const std::string& itemText, ListOpener opener);

signals:
    // Somebody logged in again from the menu.
    void loggedIn();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    void buildToolbar();
    void forwardToolbar(int button);
    void refreshToolbar();
    void arrangeIcons();
    void clipboard(const char* method);
    void closeAfterForms();

    FrameSetup setup_;
    QMdiArea* area_;
    std::map<int, QAction*> toolbar_;
    std::map<std::string, QAction*> items_;
    std::map<int, QString> frameTips_;
    QTimer* toolbarTimer_;
    WindowPlacementQt* placement_;
};

}  // namespace ui
