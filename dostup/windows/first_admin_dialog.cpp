#include "dostup/windows/first_admin_dialog.h"

#include "access/first_administrator.h"
#include "ui/qt_user_services.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace dostup {

namespace {

QString text(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace

FirstAdministratorDialog::FirstAdministratorDialog(QWidget* parent)
    : QDialog(parent),
      surname_(new QLineEdit(this)),
      names_(new QLineEdit(this)),
      login_(new QLineEdit(this)),
      password_(new QLineEdit(this)),
      repeated_(new QLineEdit(this)),
      message_(new QLabel(this)) {
    setWindowTitle(text(" Первый администратор"));
    auto* column = new QVBoxLayout(this);
    auto* intro = new QLabel(text("В системе ещё нет ни одного сотрудника.\n"
                                  "Создайте первого администратора: ему будет дана своя категория\n"
                                  "без запретов, и он сразу войдёт в систему.\n"
                                  "Без входа в систему справочники доступны, а сотрудники,\n"
                                  "категории, объекты и права доступа закрыты."),
                             this);
    column->addWidget(intro);
    auto* fields = new QFormLayout;
    surname_->setMaxLength(25);
    names_->setMaxLength(40);
    login_->setMaxLength(20);
    password_->setMaxLength(16);
    repeated_->setMaxLength(16);
    password_->setEchoMode(QLineEdit::Password);
    repeated_->setEchoMode(QLineEdit::Password);
    fields->addRow(text("Фамилия:"), surname_);
    fields->addRow(text("Имя, отчество:"), names_);
    fields->addRow(text("Имя для входа:"), login_);
    fields->addRow(text("Пароль:"), password_);
    fields->addRow(text("Пароль ещё раз:"), repeated_);
    column->addLayout(fields);
    message_->setStyleSheet(QStringLiteral("color: #b00000"));
    column->addWidget(message_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(text("Создать"));
    buttons->button(QDialogButtonBox::Cancel)->setText(text("Отменить"));
    connect(buttons, &QDialogButtonBox::accepted, this, &FirstAdministratorDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);
}

void FirstAdministratorDialog::accept() {
    // Bad input keeps the dialog open with what was typed, and says why.
    if (surname_->text().trimmed().isEmpty()) {
        message_->setText(text("Укажите фамилию."));
        surname_->setFocus();
        return;
    }
    if (password_->text().trimmed().isEmpty()) {
        message_->setText(text("Пароль не может быть пустым."));
        password_->setFocus();
        return;
    }
    if (password_->text() != repeated_->text()) {
        message_->setText(text("Пароли не совпадают."));
        repeated_->setFocus();
        repeated_->selectAll();
        return;
    }
    FirstAdministrator administrator;
    administrator.surname = ui::fromQt(surname_->text().trimmed());
    administrator.names = ui::fromQt(names_->text().trimmed());
    administrator.login = ui::fromQt(login_->text().trimmed());
    administrator.password = ui::fromQt(password_->text());
    created_ = createFirstAdministrator(administrator);
    if (!created_) {
        message_->setText(text("Администратор не создан: в системе уже есть сотрудник с паролем."));
        return;
    }
    QDialog::accept();
}

std::optional<std::uint16_t> runFirstAdministratorDialog() {
    FirstAdministratorDialog dialog(QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.created();
}

}  // namespace dostup
