#include "dostup/windows/login_window.h"

#include "platform/cp1251.h"
#include "ui/qt_user_services.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace dostup {

namespace {

QString text(const char* utf8) { return ui::toQt(platform::ru(utf8)); }

}  // namespace

LoginWindow::LoginWindow(LoginEmployees& employees, std::uint16_t& operatorCode,
                         std::string iniFile, QWidget* parent)
    : QDialog(parent),
      login_(employees, *this, operatorCode, std::move(iniFile)),
      code_(new QLineEdit),
      password_(new QLineEdit),
      message_(new QLabel) {
    setWindowTitle(text("Регистрация"));
    setModal(true);

    // The code entry: up to 5 numeric characters with sign.
    code_->setMaxLength(5);
    code_->setValidator(new QIntValidator(-9999, 32767, code_));
    code_->setToolTip(text("Введите Свой Личный Код"));
    code_->setAlignment(Qt::AlignRight);
    password_->setMaxLength(static_cast<int>(kPasswordEntryLength));
    password_->setEchoMode(QLineEdit::Password);
    password_->setToolTip(text("Личный пароль для входа в систему"));
    // The message line holds 30 characters, Cyrillic capitals among them
    // ("Привет " and a surname of 25 letters).
    message_->setMinimumWidth(fontMetrics().horizontalAdvance(QString(30, QChar(0x0416))) + 8);

    auto* frame = new QGroupBox;
    auto* grid = new QGridLayout(frame);
    grid->addWidget(new QLabel(text("Код:")), 0, 0);
    grid->addWidget(code_, 0, 1);
    grid->addWidget(new QLabel(text("Пароль:")), 1, 0);
    grid->addWidget(password_, 1, 1);
    grid->addWidget(message_, 2, 0, 1, 2);

    auto* help = new QPushButton(text("Помощь"));
    help->setToolTip(text("Вызов Помощи"));
    help->setAutoDefault(false);
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setToolTip(text("Окончание процедуры регистрации и вход в программу"));
    ok->setAutoDefault(false);
    auto* cancel = new QPushButton(text("Отмена"));
    cancel->setToolTip(text("Отказ от регистрации и выход из программы"));
    cancel->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(help);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);

    // "Помощь" does nothing in this window.
    connect(ok, &QPushButton::clicked, this,
            [this] { login_.ok(typedCode(), typedPassword()); });
    connect(cancel, &QPushButton::clicked, this, [this] { login_.cancel(); });
    connect(code_, &QLineEdit::returnPressed, password_, qOverload<>(&QWidget::setFocus));
    connect(code_, &QLineEdit::editingFinished, this, [this] {
        if (!closing_ && code_->isModified()) {
            code_->setModified(false);
            login_.codeEntered(typedCode(), false);
        }
    });
    connect(password_, &QLineEdit::editingFinished, this, [this] {
        if (!closing_ && password_->isModified()) {
            password_->setModified(false);
            login_.passwordEntered(typedPassword(), false);
        }
    });
    // Enter in the password entry completes the login.
    connect(password_, &QLineEdit::returnPressed, ok, &QPushButton::click);
    code_->installEventFilter(this);
    password_->installEventFilter(this);
}

void LoginWindow::run() {
    if (login_.open()) return;  // a valid pre-filled pair: logged in without waiting
    exec();
}

std::int16_t LoginWindow::typedCode() const {
    return static_cast<std::int16_t>(code_->text().trimmed().toInt());
}

std::string LoginWindow::typedPassword() const { return ui::fromQt(password_->text()); }

void LoginWindow::showCode(std::int16_t code) { code_->setText(QString::number(code)); }

void LoginWindow::showPassword(const std::string& password) {
    password_->setText(ui::toQt(password));
}

void LoginWindow::showMessage(const std::string& message) { message_->setText(ui::toQt(message)); }

void LoginWindow::beep() { QApplication::beep(); }

void LoginWindow::focusCode() {
    code_->setFocus();
    code_->selectAll();
}

void LoginWindow::closeWindow() {
    closing_ = true;
    done(QDialog::Accepted);
}

bool LoginWindow::eventFilter(QObject* watched, QEvent* event) {
    // Esc in either entry leaves it with the Esc key: logged out and closed.
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        if (watched == code_) login_.codeEntered(typedCode(), true);
        if (watched == password_) login_.passwordEntered(typedPassword(), true);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void LoginWindow::closeEvent(QCloseEvent* event) {
    if (!login_.closed()) login_.closeBox();
    event->accept();
}

void LoginWindow::reject() {
    // Esc on the window itself (no entry focused) acts as the close box.
    if (!login_.closed()) login_.closeBox();
}

}  // namespace dostup
