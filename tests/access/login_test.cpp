// The login window's behaviour through a fake window and a fake employee file.
#include "access/login.h"
#include "platform/cp1251.h"
#include "tests/helpers/temp_folder.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using platform::ru;

struct Employee {
    std::string surname;
    std::string password;  // as stored: 16 characters, blank-padded
};

std::string stored(const std::string& text, std::size_t width) {
    std::string s = text;
    s.resize(width, ' ');
    return s;
}

class FakeEmployees : public dostup::LoginEmployees {
public:
    std::map<std::uint16_t, Employee> file;
    int users = 0;
    std::uint16_t bufferCode = 0;
    Employee buffer{std::string(25, ' '), std::string(16, ' ')};

    void acquire() override { ++users; }
    void release() override { --users; }
    bool fetch(std::uint16_t code) override {
        auto it = file.find(code);
        if (it == file.end()) {
            clear();
            return false;
        }
        bufferCode = code;
        buffer = it->second;
        return true;
    }
    void clear() override {
        bufferCode = 0;
        buffer = Employee{std::string(25, ' '), std::string(16, ' ')};
    }
    std::uint16_t code() const override { return bufferCode; }
    std::string surname() const override { return buffer.surname; }
    std::string password() const override { return buffer.password; }
};

class FakeView : public dostup::LoginView {
public:
    std::int16_t code = -1;
    std::string password = "unset";
    std::string message;
    int beeps = 0;
    int codeFocus = 0;
    bool closed = false;

    void showCode(std::int16_t c) override { code = c; }
    void showPassword(const std::string& p) override { password = p; }
    void showMessage(const std::string& m) override { message = m; }
    void beep() override { ++beeps; }
    void focusCode() override { ++codeFocus; }
    void closeWindow() override { closed = true; }
};

class LoginWindow : public ::testing::Test {
protected:
    LoginWindow() {
        employees.file[7] = {stored(ru("Петров"), 25), stored("secret", 16)};
        employees.file[8] = {stored(ru("Сидоров"), 25), stored("lower", 16)};
        employees.file[9] = {stored(ru("Длинноватовыйфамилияпетров"), 25), stored("x", 16)};
        employees.file[10] = {stored(ru("Иванов"), 25), stored("ten-chars!", 16)};
        employees.file[0] = {stored(ru("Никто"), 25), stored("", 16)};
    }
    dostup::Login makeLogin() { return dostup::Login(employees, view, operatorCode, ".\\TARVO.INI"); }

    testing_support::TempFolder folder;
    FakeEmployees employees;
    FakeView view;
    std::uint16_t operatorCode = 55;  // a previous identity
};

TEST_F(LoginWindow, OpensWithTheGreetingLineAndTakesTheEmployeeFile) {
    auto login = makeLogin();
    EXPECT_FALSE(login.open());
    EXPECT_EQ(operatorCode, 0) << "opening forgets the previous identity";
    EXPECT_EQ(view.message, ru("Пожалуйста зарегистрируйтесь"));
    EXPECT_EQ(view.code, 0);
    EXPECT_EQ(view.password, "");
    EXPECT_EQ(employees.users, 1);
    login.cancel();
    EXPECT_EQ(employees.users, 0) << "closing gives the file back";
    EXPECT_TRUE(view.closed);
}

TEST_F(LoginWindow, ValidPrefilledPairLogsInWithoutInput) {
    folder.write("TARVO.INI", "[Kelm]\r\nSCode=7\r\nPassWord=secret\r\n");
    auto login = makeLogin();
    EXPECT_TRUE(login.open());
    EXPECT_EQ(operatorCode, 7);
    EXPECT_TRUE(view.closed);
    EXPECT_EQ(employees.users, 0);
}

TEST_F(LoginWindow, PrefilledPairWithWrongPasswordWaitsWithBothEntriesFilled) {
    folder.write("tarvo.ini", "[KELM]\nscode=7\npassword=wrong\n");
    auto login = makeLogin();
    EXPECT_FALSE(login.open());
    EXPECT_EQ(view.code, 7);
    EXPECT_EQ(view.password, "wrong");
    EXPECT_EQ(view.message, ru("Пожалуйста зарегистрируйтесь"));
    EXPECT_EQ(operatorCode, 0);
    EXPECT_FALSE(view.closed);
}

// 65543 is 7 modulo 65536: a code outside 1..65535 must not become employee 7.
TEST_F(LoginWindow, PrefilledCodeOutsideTheEmployeeRangePrefillsNothing) {
    for (const char* code : {"65543", "-65529", "4295032839", "99999999999999999999999", "-7"}) {
        folder.write("TARVO.INI", std::string("[Kelm]\nSCode=") + code + "\nPassWord=secret\n");
        operatorCode = 55;
        auto login = makeLogin();
        EXPECT_FALSE(login.open()) << code;
        EXPECT_EQ(operatorCode, 0) << code;
        EXPECT_EQ(view.code, 0) << code;
        EXPECT_EQ(view.password, "") << code;
        login.cancel();
    }
    folder.write("TARVO.INI", "[Kelm]\nSCode=65535\nPassWord=x\n");
    auto login = makeLogin();
    EXPECT_FALSE(login.open());
    EXPECT_EQ(static_cast<std::uint16_t>(view.code), 65535) << "the top of the range is pre-filled";
    EXPECT_EQ(view.password, "x");
}

TEST_F(LoginWindow, PairInAnotherIniFileIsNotSeen) {
    folder.write("Dostup.INI", "[Kelm]\nSCode=7\nPassWord=secret\n");
    auto login = makeLogin();
    EXPECT_FALSE(login.open());
    EXPECT_EQ(view.code, 0);
}

TEST_F(LoginWindow, EmployeeWithCodeZeroNeverLogsIn) {
    folder.write("TARVO.INI", "[Kelm]\nSCode=0\nPassWord=\n");
    auto login = makeLogin();
    EXPECT_FALSE(login.open());
    login.ok(0, "");
    EXPECT_EQ(view.message, ru("Неправильный Пароль"));
    EXPECT_FALSE(login.closed());
}

TEST_F(LoginWindow, WrongCodeBeepsClearsTheBufferAndRefocuses) {
    auto login = makeLogin();
    login.open();
    employees.fetch(7);
    login.codeEntered(123, false);
    EXPECT_EQ(view.message, ru("Неправильный Код"));
    EXPECT_EQ(view.beeps, 1);
    EXPECT_EQ(employees.code(), 0);
    EXPECT_EQ(view.codeFocus, 2);
    // The password is then compared with the blank record.
    login.passwordEntered("secret", false);
    EXPECT_EQ(view.message, ru("Неправильный Пароль"));
    login.codeEntered(7, false);
    EXPECT_EQ(view.message, "") << "a known code clears the message line";
}

TEST_F(LoginWindow, RightPasswordGreetsButDoesNotLogIn) {
    auto login = makeLogin();
    login.open();
    login.codeEntered(7, false);
    login.passwordEntered("secret", false);
    EXPECT_EQ(view.message, ru("Привет Петров !"));
    EXPECT_EQ(operatorCode, 0);
    EXPECT_FALSE(login.closed());
    login.ok(7, "secret");
    EXPECT_EQ(operatorCode, 7);
    EXPECT_TRUE(login.closed());
}

TEST_F(LoginWindow, GreetingIsCutToTheMessageLine) {
    auto login = makeLogin();
    login.open();
    login.codeEntered(9, false);
    login.passwordEntered("x", false);
    EXPECT_EQ(view.message.size(), 30u);
    EXPECT_EQ(view.message, (ru("Привет ") + ru("Длинноватовыйфамилияпетров")).substr(0, 30));
}

TEST_F(LoginWindow, LetterCaseMattersTrailingBlanksDoNot) {
    auto login = makeLogin();
    login.open();
    login.ok(8, "LOWER");
    EXPECT_EQ(view.message, ru("Неправильный Пароль"));
    EXPECT_FALSE(login.closed());
    login.ok(8, "lower   ");
    EXPECT_EQ(operatorCode, 8);
}

TEST_F(LoginWindow, PasswordLongerThanEightCharactersCanBeEntered) {
    auto login = makeLogin();
    login.open();
    login.ok(10, "ten-chars!");
    EXPECT_EQ(operatorCode, 10);
    EXPECT_TRUE(dostup::passwordsMatch(std::string("ten-chars!"), stored("ten-chars!", 16)));
    EXPECT_FALSE(dostup::passwordsMatch("ten-char", stored("ten-chars!", 16)));
}

TEST_F(LoginWindow, EscapeOrCancelLogsOutCloseBoxKeepsTheValue) {
    {
        auto login = makeLogin();
        login.open();
        login.passwordEntered("anything", true);
        EXPECT_TRUE(view.closed);
        EXPECT_EQ(operatorCode, 0);
    }
    {
        view = FakeView{};
        auto login = makeLogin();
        login.open();
        login.codeEntered(7, true);
        EXPECT_TRUE(view.closed);
    }
    {
        view = FakeView{};
        auto login = makeLogin();
        login.open();
        login.ok(7, "secret");
        ASSERT_EQ(operatorCode, 7);
        // A second window: Cancel after a successful earlier login returns 0.
        auto again = makeLogin();
        again.open();
        again.cancel();
        EXPECT_EQ(operatorCode, 0);
    }
    {
        view = FakeView{};
        auto login = makeLogin();
        login.open();
        login.closeBox();
        EXPECT_EQ(operatorCode, 0);
        EXPECT_EQ(employees.users, 0);
    }
}

}  // namespace

namespace {

// Failures in a row slow the window down: from the third on, the next attempt
// waits 1 s, doubling to 30 s; an attempt during the wait is refused with the
// time left and compares nothing; a success ends the count.
TEST_F(LoginWindow, RepeatedFailuresMakeTheNextAttemptWait) {
    auto now = std::chrono::steady_clock::time_point{} + std::chrono::hours(1);
    dostup::setLoginClock([&now] { return now; });
    dostup::resetLoginFailures();
    auto login = makeLogin();
    login.open();
    const struct {
        int failure;
        int waitSeconds;
    } table[] = {{1, 0}, {2, 0}, {3, 1}, {4, 2}, {5, 4}, {6, 8}, {7, 16}, {8, 30}, {9, 30}};
    for (const auto& row : table) {
        SCOPED_TRACE(row.failure);
        login.ok(7, "wrong");
        EXPECT_EQ(view.message, ru("Неправильный Пароль"));
        if (row.waitSeconds > 0) {
            now += std::chrono::seconds(row.waitSeconds) - std::chrono::milliseconds(1);
            login.ok(7, "secret");
            EXPECT_EQ(view.message, ru("Подождите 1 сек.")) << "the right password waits too";
            EXPECT_EQ(operatorCode, 0);
            login.passwordEntered("secret", false);
            EXPECT_EQ(view.message, ru("Подождите 1 сек.")) << "no greeting tells it is right";
        }
        now += std::chrono::milliseconds(1);
    }
    login.ok(7, "secret");
    EXPECT_EQ(operatorCode, 7);
    auto next = makeLogin();
    next.open();
    next.ok(7, "wrong");
    EXPECT_EQ(view.message, ru("Неправильный Пароль")) << "a success ended the count";
    next.ok(7, "secret");
    EXPECT_EQ(operatorCode, 7);
    dostup::setLoginClock({});
}

}  // namespace
