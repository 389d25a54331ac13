#include "dostup/windows/console_frame.h"

#include "dostup/windows/console_backup.h"

#include "access/dostup.h"
#include "access/first_administrator.h"
#include "dostup/rights_screens.h"
#include "dostup/screen_host.h"
#include "dostup/windows/first_admin_dialog.h"
#include "framework/shared_state.h"
#include "platform/cp1251.h"
#include "platform/fixed_text.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "ui/qt_user_services.h"
#include "ui/window_placement_qt.h"

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QPointer>
#include <QStyle>
#include <QVBoxLayout>

namespace dostup {

namespace {

// Placement of the console and its information screen is kept in the library's
// own file, whatever g:IniFileName names.
constexpr const char* kConsoleIni = ".\\Dostup.INI";
constexpr int kNameLength = 38;
constexpr int kFrameFileLength = 32;

std::string settingsFile() { return std::string(platform::clip(platform::readCString(g_IniFileName))); }

// A picture named by a system path; a null pixmap when there is none.
QPixmap pictureAt(const std::string& systemPath) {
    const std::string name(platform::clip(systemPath));
    if (name.empty()) return {};
    return QPixmap(QString::fromStdString(platform::hostPath(name).string()));
}

ui::FrameSetup consoleSetup() {
    ui::FrameSetup setup;
    setup.title = " Сотрудники";
    setup.iniFile = kConsoleIni;
    setup.helpIndex = "Dostup.htm";
    setup.menus = {{"Справочники",
                    {{"Сотрудники", "Справочник Сотрудников"},
                     {"Подразделения", "Справочник Подразделений"},
                     {"Категории Сотрудников", "Справочник Категорий Сотрудников"},
                     {"Обьекты системы", "Справочник Обьектов системы"},
                     {"Фильтры", "Списки Фильтров"},
                     {"Проверка доступа", "Права сотрудника по объектам системы"},
                     {"Журнал изменений прав", "Журнал изменений прав"}}}};
    installConsoleBackup(setup);
    setup.logIn = [] {
        g_SCode = consoleLogIn();
        return g_SCode != 0;
    };
    return setup;
}

}  // namespace

ConsoleFrame::ConsoleFrame(QWidget* parent) : ui::FrameWindow(consoleSetup(), parent) {
    using platform::ru;
    setCommand(ru("Сотрудники"), [](QMdiArea*) { MOL_T(); });
    setCommand(ru("Подразделения"), [](QMdiArea*) { OTDMOL_T(); });
    setCommand(ru("Категории Сотрудников"), [](QMdiArea*) { KATMOL_T(); });
    setCommand(ru("Обьекты системы"), [](QMdiArea*) { OBJECT_T(); });
    setCommand(ru("Фильтры"), [](QMdiArea*) { FILTER_T(); });
    setCommand(ru("Проверка доступа"), [](QMdiArea*) { openRightsInspector(); });
    setCommand(ru("Журнал изменений прав"), [](QMdiArea*) { openRightsJournal(); });
    // "FrameFile" of section "Interface": the frame's background, tiled.
    const std::string frameFile =
        platform::readIni("Interface", "FrameFile", "", settingsFile()).substr(0, kFrameFileLength);
    const QPixmap background = pictureAt(frameFile);
    if (!background.isNull()) area()->setBackground(QBrush(background));
    // A new log-in shows its operator in a new information screen.
    connect(this, &ui::FrameWindow::loggedIn, this, [this] { InfoScreen::open(area()); });
}

InfoScreen::InfoScreen(QWidget* parent) : QWidget(parent), picture_(new QLabel(this)), name_(new QLabel(this)) {
    auto* column = new QVBoxLayout(this);
    picture_->setFrameShape(QFrame::Panel);
    picture_->setFrameShadow(QFrame::Sunken);
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setMinimumSize(200, 120);
    column->addWidget(picture_, 1);
    column->addWidget(name_);
    const QPixmap logo = pictureAt(platform::readIni("KELM", "LogoFile", "", settingsFile()));
    if (!logo.isNull()) picture_->setPixmap(logo.scaled(200, 120, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    // The identity current when the screen opened.
    name_->setText(ui::toQt(std::string(GETMOL_SNAME(g_SCode)).substr(0, kNameLength)));
}

InfoScreen* InfoScreen::open(QMdiArea* area) {
    auto* screen = new InfoScreen(nullptr);
    screen->setAttribute(Qt::WA_DeleteOnClose);
    screen->setWindowTitle(QString());
    ui::WindowPlacementOptions placement;
    placement.iniFile = kConsoleIni;
    placement.section = "Info_scr";
    QWidget* window = screen;
    if (area) {
        QMdiSubWindow* sub = area->addSubWindow(screen);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setWindowTitle(QString());
        sub->setWindowIcon(screen->style()->standardIcon(QStyle::SP_FileDialogInfoView));
        window = sub;
    }
    auto* keeper = new ui::WindowPlacementQt(window, placement, screen);
    keeper->attach();
    window->show();
    return screen;
}

std::uint16_t consoleLogIn() {
    if (!prepareWindows()) return 0;
    if (noEmployees()) return runFirstAdministratorDialog().value_or(0);
    return REGISTR_S();
}

void runConsole() {
    if (!prepareWindows()) return;
    framework::globalRequest() = framework::kRequestNone;
    framework::globalResponse() = 0;
    DOSTUP_INITDLL();
    QPointer<ConsoleFrame> frame = new ConsoleFrame;
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->show();
    InfoScreen::open(frame->area());
    QEventLoop loop;
    QObject::connect(frame, &QObject::destroyed, &loop, &QEventLoop::quit);
    loop.exec();
}

void runInfoScreen() {
    if (!prepareWindows()) return;
    QMdiArea* area = nullptr;
    if (QWidget* active = QApplication::activeWindow()) area = active->findChild<QMdiArea*>();
    InfoScreen* screen = InfoScreen::open(area);
    if (area) return;
    // Without a frame the call waits until the screen is closed.
    QEventLoop loop;
    QObject::connect(screen, &QObject::destroyed, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace dostup
