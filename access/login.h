// The login window's behaviour, free of any toolkit: what it shows, when it beeps,
// when it confirms on its own, and what it leaves in g_SCode. The Qt window
// realises LoginView and forwards the operator's actions here.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace dostup {

// The employee file as the login window uses it: its record buffer and the
// library's employee-file use counter.
class LoginEmployees {
public:
    virtual ~LoginEmployees() = default;
    virtual void acquire() = 0;  // takes MOL into use (opens it on first use)
    virtual void release() = 0;  // gives it back (closes it on last use)
    // Fetches the employee by MOL:SCODE_KEY into the MOL buffer; when there is
    // none the buffer is cleared and false returned.
    virtual bool fetch(std::uint16_t code) = 0;
    virtual void clear() = 0;
    // Fields of the employee now in the buffer, code page 1251 as stored.
    virtual std::uint16_t code() const = 0;
    virtual std::string surname() const = 0;
    virtual std::string password() const = 0;
};

class LoginView {
public:
    virtual ~LoginView() = default;
    virtual void showCode(std::int16_t code) = 0;
    virtual void showPassword(const std::string& password) = 0;
    virtual void showMessage(const std::string& message) = 0;
    virtual void beep() = 0;
    virtual void focusCode() = 0;
    virtual void closeWindow() = 0;
};

// The password entry holds as many characters as MOL:PASSWORD, so every stored
// password can be typed. The pre-filled password of the INI file keeps its
// first 8 characters and is compared as such, so a stored password of 8
// characters logs in from a longer "PassWord" as it always did.
constexpr std::size_t kPasswordEntryLength = 16;
constexpr std::size_t kIniPasswordLength = 8;

// Repeated failures slow the log-in down: from the third failed attempt in a
// row (a wrong code or password, by OK or by leaving the password entry) the
// next attempt waits 1 s, doubling up to 30 s; the window stays usable and
// says how long. The count is the process's, so a new window does not reset it;
// a successful log-in does.
using LoginClock = std::function<std::chrono::steady_clock::time_point()>;
void setLoginClock(LoginClock clock);  // tests; an empty clock is the steady clock
void resetLoginFailures();
constexpr std::size_t kMessageLineLength = 30;

// Equal when equal after padding the shorter with blanks: letter case matters,
// trailing blanks do not.
bool passwordsMatch(const std::string& typed, const std::string& stored);

class Login {
public:
    // `operatorCode` is g_SCode; `iniFile` the INI file named by g_IniFileName.
    Login(LoginEmployees& employees, LoginView& view, std::uint16_t& operatorCode,
          std::string iniFile);

    // Opening: takes the employee file, shows the greeting line and the pre-filled
    // pair from section "Kelm"; a valid pair logs in and closes at once. Returns
    // true when the window closed already.
    bool open();

    void codeEntered(std::int16_t code, bool escape);
    void passwordEntered(const std::string& password, bool escape);
    // OK with what the entries hold now (typing without leaving an entry counts).
    void ok(std::int16_t code, const std::string& password);
    void cancel();
    void closeBox();  // the window's own close box: g_SCode stays as it is

    bool closed() const { return closed_; }
    const std::string& message() const { return message_; }

private:
    bool validPair();
    // True (after saying how long to wait) while repeated failures make the
    // next attempt wait.
    bool waiting();
    void failed();
    void say(const std::string& message);
    void finish();

    LoginEmployees& employees_;
    LoginView& view_;
    std::uint16_t& operatorCode_;
    std::string iniFile_;
    std::int16_t code_ = 0;
    std::string password_;
    std::string message_;
    bool tookFile_ = false;
    bool closed_ = false;
};

}  // namespace dostup
