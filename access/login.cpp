#include "access/login.h"

#include "platform/cp1251.h"
#include "platform/ini_file.h"

#include <algorithm>
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

constexpr int kFreeFailures = 2;
constexpr std::chrono::milliseconds kFirstWait{1000};
constexpr std::chrono::milliseconds kLongestWait{30000};

struct Failures {
    int inARow = 0;
    std::chrono::steady_clock::time_point nextTry{};
    LoginClock clock;
};

Failures& failures() {
    static Failures state;
    return state;
}

std::chrono::steady_clock::time_point now() {
    return failures().clock ? failures().clock() : std::chrono::steady_clock::now();
}

}  // namespace

void setLoginClock(LoginClock clock) { failures().clock = std::move(clock); }

void resetLoginFailures() {
    failures().inARow = 0;
    failures().nextTry = {};
}

bool Login::waiting() {
    const auto left = failures().nextTry - now();
    if (left <= std::chrono::steady_clock::duration::zero()) return false;
    const auto seconds = std::chrono::ceil<std::chrono::seconds>(left).count();
    view_.beep();
    say(platform::ru("Подождите ") + std::to_string(seconds) + platform::ru(" сек."));
    return true;
}

void Login::failed() {
    Failures& state = failures();
    if (++state.inARow <= kFreeFailures) return;
    auto wait = kFirstWait * (1LL << std::min(state.inARow - kFreeFailures - 1, 5));
    if (wait > kLongestWait) wait = kLongestWait;
    state.nextTry = now() + wait;
}

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
        password_ = platform::readIni("Kelm", "PassWord", "", iniFile_).substr(0, kIniPasswordLength);
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
    if (waiting()) return;
    // Compared with the employee now in the buffer: the one the code entry found,
    // or a blank record after a code that does not exist.
    if (!passwordsMatch(password_, employees_.password())) {
        failed();
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
    if (waiting()) return;
    if (!employees_.fetch(static_cast<std::uint16_t>(code_))) {
        failed();
        view_.beep();
        employees_.clear();
        say(platform::ru("Неправильный Код"));
        view_.focusCode();
        return;
    }
    if (employees_.code() == 0 || !passwordsMatch(password_, employees_.password())) {
        failed();
        view_.beep();
        say(platform::ru("Неправильный Пароль"));
        return;
    }
    resetLoginFailures();
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
