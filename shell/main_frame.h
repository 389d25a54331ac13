// The program's main frame: a multiple-document window titled " Справочники"
// whose menu opens the reference books and the library's staff screens as child
// windows, whose toolbar (buttons 2000 to 2012) drives the active child window,
// and which lets the operator log in again.
#pragma once

#include <QMainWindow>

#include <functional>
#include <map>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QTimer;

namespace ui {
class WindowPlacementQt;
}

namespace shell {

class MainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit MainFrame(QWidget* parent = nullptr);
    ~MainFrame() override;

    QMdiArea* area() const { return area_; }
    QAction* toolbarAction(int button) const { return toolbar_.at(button); }
    // The menu item with this text (code page 1251), for the tests and the command
    // line; nullptr when there is none.
    QAction* menuItem(const std::string& text) const;

    // "&Регистрация": log in again; a cancelled login closes the frame.
    void logInAgain();

    // A book's list: started on the frame's area; the frame does not wait.
    using ListOpener = std::function<void(QMdiArea*)>;
    void setCommand(const std::string& itemText, ListOpener opener);

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

    QMdiArea* area_;
    std::map<int, QAction*> toolbar_;
    std::map<std::string, QAction*> items_;
    std::map<int, QString> frameTips_;
    QTimer* toolbarTimer_;
    ui::WindowPlacementQt* placement_;
};

}  // namespace shell
