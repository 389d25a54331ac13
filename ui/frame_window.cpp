#include "ui/frame_window.h"

#include "framework/shared_state.h"
#include "platform/cp1251.h"
#include "ui/list_window.h"
#include "ui/qt_user_services.h"
#include "ui/shared_printer.h"
#include "ui/toolbar_target.h"
#include "ui/window_placement_qt.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QToolBar>

#include <algorithm>
#include <string_view>

namespace ui {

namespace {

QString text(const char* utf8) { return toQt(platform::ru(utf8)); }

struct ToolbarButton {
    int number;
    const char* tip;
    QStyle::StandardPixmap icon;
};

// In the order they stand on the bar.
const ToolbarButton kToolbar[] = {
    {2005, "Go to the First Page", QStyle::SP_MediaSkipBackward},
    {2007, "Go to the Prior Page", QStyle::SP_MediaSeekBackward},
    {2009, "Go to the Prior Record", QStyle::SP_ArrowUp},
    {2010, "Locate record", QStyle::SP_FileDialogContentsView},
    {2008, "Go to the Next Record", QStyle::SP_ArrowDown},
    {2006, "Go to the Next Page", QStyle::SP_MediaSeekForward},
    {2004, "Go to the Last Page", QStyle::SP_MediaSkipForward},
    {2003, "Выбрать", QStyle::SP_DialogApplyButton},
    {2000, "Insert a New Record", QStyle::SP_FileIcon},
    {2001, "Edit This Record", QStyle::SP_FileDialogDetailedView},
    {2002, "Delete This Record", QStyle::SP_TrashIcon},
    {2011, "Previous value", QStyle::SP_BrowserReload},
    {2012, "Get Help", QStyle::SP_DialogHelpButton},
};

}  // namespace

FrameWindow::FrameWindow(FrameSetup setup, QWidget* parent)
    : QMainWindow(parent),
      setup_(std::move(setup)),
      area_(new QMdiArea(this)),
      toolbarTimer_(new QTimer(this)) {
    setWindowTitle(text(setup_.title));
    setCentralWidget(area_);
    // A window taller or wider than the frame (the employee form on a small
    // frame) stays reachable: the area scrolls to its buttons.
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The default size holds every window at its design size: the employee
    // form (about 610×650 with its title bar) and the rights grid (about 1030
    // wide), and fits a screen of 1280×800.
    resize(1100, 760);
    buildMenu();
    buildToolbar();
    statusBar();

    // The toolbar follows the active child: when another child becomes active,
    // and while the child changes its own state.
    connect(area_, &QMdiArea::subWindowActivated, this, &FrameWindow::refreshToolbar);
    connect(toolbarTimer_, &QTimer::timeout, this, &FrameWindow::refreshToolbar);
    toolbarTimer_->start(250);
    refreshToolbar();

    WindowPlacementOptions placement;
    placement.iniFile = setup_.iniFile;
    placement.section = setup_.section;
    placement_ = new WindowPlacementQt(this, placement);
    placement_->opened();
}

FrameWindow::~FrameWindow() {
    // Children closing while the frame goes away must not reach the toolbar.
    toolbarTimer_->stop();
    disconnect(area_, nullptr, this, nullptr);
}

QAction* FrameWindow::menuItem(const std::string& itemText) const {
    auto it = items_.find(itemText);
    return it == items_.end() ? nullptr : it->second;
}

void FrameWindow::buildMenu() {
    auto item = [this](QMenu* menu, const char* label, const char* tip) {
        QAction* action = menu->addAction(text(label));
        action->setToolTip(text(tip));
        action->setStatusTip(text(tip));
        items_[platform::ru(label)] = action;
        return action;
    };

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    connect(item(file, "&Регистрация", "Перерегистрация пользователя"), &QAction::triggered, this,
            &FrameWindow::logInAgain);
    // The active list into a spreadsheet; the list windows of both programs answer.
    QAction* toTable = item(file, "В &таблицу", "Выгрузить список в таблицу");
    toTable->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(toTable, &QAction::triggered, this, &FrameWindow::exportActiveList);
    if (setup_.backup)
        connect(item(file, "Резервная &копия", "Копия всех данных в папку"), &QAction::triggered, this,
                [this] { setup_.backup(this); });
    if (setup_.restore)
        connect(item(file, "Восстановить из копии...", "Заменить данные резервной копией"),
                &QAction::triggered, this, [this] { setup_.restore(this); });
    connect(item(file, "P&rint Setup...", "Setup Printer"), &QAction::triggered, this, [this] {
        // The page set-up: printer, paper and orientation, nothing printed.
        QPageSetupDialog dialog(&sharedPrinter(), this);
        dialog.exec();
    });
    connect(item(file, "E&xit", "Exit this application"), &QAction::triggered, this,
            &QWidget::close);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    connect(item(edit, "Cu&t", "Remove item to Windows Clipboard"), &QAction::triggered, this,
            [this] { clipboard("cut"); });
    connect(item(edit, "&Copy", "Copy item to Windows Clipboard"), &QAction::triggered, this,
            [this] { clipboard("copy"); });
    connect(item(edit, "&Paste", "Paste contents of Windows Clipboard"), &QAction::triggered,
            this, [this] { clipboard("paste"); });

    // Screens arrive with their commands (setCommand); until then an item is greyed.
    for (const FrameMenu& declared : setup_.menus) {
        QMenu* menu = menuBar()->addMenu(text(declared.title));
        for (const FrameMenuItem& entry : declared.items) item(menu, entry.label, entry.tip)->setEnabled(false);
    }

    QMenu* window = menuBar()->addMenu(QStringLiteral("&Window"));
    window->setToolTip(QStringLiteral("Create and Arrange windows"));
    connect(item(window, "T&ile", "Make all open windows visible"), &QAction::triggered, this, [this] {
        area_->tileSubWindows();
        // A window whose design size is larger than its tile keeps its size, so
        // it is moved back inside the area rather than left partly off it.
        const QSize room = area_->viewport()->size();
        for (QMdiSubWindow* sub : area_->subWindowList()) {
            QRect place = sub->geometry();
            place.moveLeft(std::max(0, std::min(place.left(), room.width() - place.width())));
            place.moveTop(std::max(0, std::min(place.top(), room.height() - place.height())));
            sub->setGeometry(place);
        }
    });
    connect(item(window, "&Cascade", "Stack all open windows"), &QAction::triggered, area_,
            &QMdiArea::cascadeSubWindows);
    connect(item(window, "&Arrange Icons", "Align all window icons"), &QAction::triggered, this,
            &FrameWindow::arrangeIcons);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setToolTip(QStringLiteral("Windows Help"));
    for (auto [label, tip] :
         {std::pair{"&Contents", "View the contents of the help file"},
          std::pair{"&Search for Help On...", "Search for help on a subject"},
          std::pair{"&How to Use Help", "How to use Windows Help"}})
        connect(item(help, label, tip), &QAction::triggered, this,
                [this] { framework::openHelp(setup_.helpIndex); });
}

void FrameWindow::buildToolbar() {
    QToolBar* bar = addToolBar(QStringLiteral("Toolbar"));
    bar->setObjectName(QStringLiteral("toolbar"));
    bar->setMovable(false);
    for (const ToolbarButton& button : kToolbar) {
        QAction* action = bar->addAction(style()->standardIcon(button.icon), QString());
        const QString tip = text(button.tip);
        action->setToolTip(tip);
        action->setStatusTip(tip);
        action->setData(button.number);
        frameTips_[button.number] = tip;
        toolbar_[button.number] = action;
        connect(action, &QAction::triggered, this,
                [this, number = button.number] { forwardToolbar(number); });
    }
    bar->addSeparator();
    QAction* toTable = bar->addAction(text("В таблицу"));
    toTable->setToolTip(text("Выгрузить список в таблицу (Ctrl+E)"));
    toTable->setStatusTip(text("Выгрузить список в таблицу"));
    connect(toTable, &QAction::triggered, this, &FrameWindow::exportActiveList);
}

void FrameWindow::exportActiveList() {
    QMdiSubWindow* active = area_->activeSubWindow();
    if (!active || !QMetaObject::invokeMethod(active->widget(), "exportToSpreadsheet"))
        QApplication::beep();  // no list is active
}

void FrameWindow::setCommand(const std::string& itemText, ListOpener opener) {
    QAction* action = menuItem(itemText);
    if (!action) return;
    action->setEnabled(true);
    // A command starts its screen and returns to the frame at once; the same list
    // may be opened more than once.
    connect(action, &QAction::triggered, this, [this, opener] { opener(area_); });
}

void FrameWindow::forwardToolbar(int button) {
    QMdiSubWindow* active = area_->activeSubWindow();
    if (!active) return;
    if (auto* target = dynamic_cast<ToolbarTarget*>(active->widget())) target->toolbarPressed(button);
    refreshToolbar();
}

void FrameWindow::refreshToolbar() {
    std::map<int, ToolbarButtonState> states;
    if (QMdiSubWindow* active = area_->activeSubWindow())
        if (auto* target = dynamic_cast<ToolbarTarget*>(active->widget()))
            states = target->toolbarStates();
    for (auto& [number, action] : toolbar_) {
        auto it = states.find(number);
        const bool enabled = it != states.end() && it->second.enabled;
        action->setEnabled(enabled);
        const QString tip = it != states.end() && !it->second.tip.empty()
                                ? toQt(it->second.tip)
                                : frameTips_[number];
        if (action->toolTip() != tip) action->setToolTip(tip);
    }
}

void FrameWindow::logInAgain() {
    // A cancelled login (or a closed login window) closes the frame.
    if (setup_.logIn && setup_.logIn())
        emit loggedIn();
    else
        QTimer::singleShot(0, this, &QWidget::close);
}

void FrameWindow::arrangeIcons() {
    int x = 0;
    const int bottom = area_->viewport()->height();
    for (QMdiSubWindow* child : area_->subWindowList()) {
        if (!child->isMinimized()) continue;
        child->move(x, bottom - child->height());
        x += child->width();
    }
}

void FrameWindow::clipboard(const char* method) {
    QWidget* focused = QApplication::focusWidget();
    if (!focused) return;
    // A list has no text to cut or paste; Copy takes the highlighted row's shown
    // columns, tab-separated, as a spreadsheet pastes them.
    if (auto* table = qobject_cast<QTableView*>(focused)) {
        if (std::string_view(method) != "copy" || !table->model()) return;
        const QModelIndex current = table->currentIndex();
        if (!current.isValid()) return;
        QStringList cells;
        for (int column = 0; column < table->model()->columnCount(); ++column)
            if (!table->isColumnHidden(column))
                cells << table->model()->index(current.row(), column).data().toString().trimmed();
        QGuiApplication::clipboard()->setText(cells.join(QLatin1Char('\t')));
        return;
    }
    const QByteArray name(method);
    if (focused->metaObject()->indexOfMethod(name + "()") >= 0) QMetaObject::invokeMethod(focused, method);
}

void FrameWindow::closeEvent(QCloseEvent* event) {
    area_->closeAllSubWindows();
    if (!area_->subWindowList().isEmpty()) {
        event->ignore();  // a child refused to close
        closeAfterForms();
        return;
    }
    placement_->closing();
    event->accept();
}

void FrameWindow::closeAfterForms() {
    // The forms have been cancelled, but the lists that called them can close only
    // once their update cycles have returned: the frame closes again then. A form
    // that stayed open (its operator chose to go on) ends nothing.
    std::vector<ListWindow*> waiting;
    for (QMdiSubWindow* sub : area_->subWindowList()) {
        if (!sub->isVisible()) continue;  // closed, not yet deleted
        auto* list = qobject_cast<ListWindow*>(sub->widget());
        if (!list || !list->formEnding()) return;
        waiting.push_back(list);
    }
    for (ListWindow* list : waiting)
        connect(list, &ListWindow::formEnded, this,
                [this] { QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection); },
                Qt::SingleShotConnection);
}

}  // namespace ui
