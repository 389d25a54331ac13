#include "access/login.h"

#include "platform/cp1251.h"
#include "platform/ini_file.h"

#include <cstdlib>

namespace dostup {

namespace {

// The code entry holds an employee code 1..65535 in a 16-bit number; the INI
// value is read as a number from its leading digits. Empty, absent or outside
// 1..65535 gives 0: "65543" must not come out as employee 7.
std::int16_t iniCode(const std::string& text) {
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (value < 1 || value > 65535) return 0;
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
}

}  // namespace

bool passwordsMatch(const std::string& typed, const std::string& stored) {
    return platform::clip(typed) == platform::clip(stored);
}

Login::Login(LoginEmployees& employees, LoginView& view, std::uint16_t& operatorCode,
             std::string iniFile)
    : employees_(employees), view_(view), operatorCode_(operatorCode), iniFile_(std::move(iniFile)) {}

bool Login::validPair() {
    if (!employees_.fetch(static_cast<std::uint16_t>(code_))) return false;
    return employees_.code() != 0 && passwordsMatch(password_, employees_.password());
}

void Login::say(const std::string& message) {
    message_ = message.substr(0, kMessageLineLength);
    view_.showMessage(message_);
}

bool Login::open() {
    employees_.acquire();
    tookFile_ = true;
    operatorCode_ = 0;
    say(platform::ru("Пожалуйста зарегистрируйтесь"));

    code_ = iniCode(platform::readIni("Kelm", "SCode", "", iniFile_));
    // A code that names no possible employee pre-fills nothing, the password neither.
    if (code_ != 0)
        password_ = platform::readIni("Kelm", "PassWord", "", iniFile_).substr(0, kPasswordEntryLength);
    view_.showCode(code_);
    view_.showPassword(password_);

    if (validPair()) {
        operatorCode_ = static_cast<std::uint16_t>(code_);
        finish();
        return true;
    }
    view_.focusCode();
    return false;
}

void Login::codeEntered(std::int16_t code, bool escape) {
    if (closed_) return;
    if (escape) {
        operatorCode_ = 0;
        finish();
        return;
    }
    code_ = code;
    if (!employees_.fetch(static_cast<std::uint16_t>(code_))) {
        view_.beep();
        employees_.clear();
        say(platform::ru("Неправильный Код"));
        view_.focusCode();
        return;
    }
    say("");
}

void Login::passwordEntered(const std::string& password, bool escape) {
    if (closed_) return;
    if (escape) {
        operatorCode_ = 0;
        finish();
        return;
    }
    password_ = password.substr(0, kPasswordEntryLength);
    // Compared with the employee now in the buffer: the one the code entry found,
    // or a blank record after a code that does not exist.
    if (!passwordsMatch(password_, employees_.password())) {
        view_.beep();
        say(platform::ru("Неправильный Пароль"));
        return;
    }
    say(platform::ru("Привет ") + std::string(platform::clip(employees_.surname())) + " !");
}

void Login::ok(std::int16_t code, const std::string& password) {
    if (closed_) return;
    code_ = code;
    password_ = password.substr(0, kPasswordEntryLength);
    if (!employees_.fetch(static_cast<std::uint16_t>(code_))) {
        view_.beep();
        employees_.clear();
        say(platform::ru("Неправильный Код"));
        view_.focusCode();
        return;
    }
    if (employees_.code() == 0 || !passwordsMatch(password_, employees_.password())) {
        view_.beep();
        say(platform::ru("Неправильный Пароль"));
        return;
    }
    operatorCode_ = static_cast<std::uint16_t>(code_);
    finish();
}

void Login::cancel() {
    if (closed_) return;
    operatorCode_ = 0;
    finish();
}

void Login::closeBox() {
    if (closed_) return;
    finish();
}

void Login::finish() {
    closed_ = true;
    if (tookFile_) {
        employees_.release();
        tookFile_ = false;
    }
    view_.closeWindow();
}

}  // namespace dostup
