// The login window "Регистрация": the Qt realisation of the login behaviour.
#pragma once

#include "access/login.h"

#include <QDialog>

class QLineEdit;
class QLabel;

namespace dostup {

class LoginWindow : public QDialog, public LoginView {
    Q_OBJECT
public:
    LoginWindow(LoginEmployees& employees, std::uint16_t& operatorCode, std::string iniFile,
                QWidget* parent = nullptr);

    // Opens the window and waits until it closes; a valid pre-filled pair closes
    // it without waiting for input.
    void run();

    // LoginView
    void showCode(std::int16_t code) override;
    void showPassword(const std::string& password) override;
    void showMessage(const std::string& message) override;
    void beep() override;
    void focusCode() override;
    void closeWindow() override;

    QLineEdit* codeEntry() const { return code_; }
    QLineEdit* passwordEntry() const { return password_; }
    QLabel* messageLine() const { return message_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    std::int16_t typedCode() const;
    std::string typedPassword() const;

    Login login_;
    QLineEdit* code_;
    QLineEdit* password_;
    QLabel* message_;
    bool closing_ = false;
};

}  // namespace dostup
