// The login window on screen (offscreen): controls, texts and the ways it closes.
#include "dostup/windows/login_window.h"
#include "platform/cp1251.h"
#include "tests/helpers/qt_application.h"
#include "tests/helpers/temp_folder.h"
#include "ui/qt_user_services.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using platform::ru;

class OneEmployee : public dostup::LoginEmployees {
public:
    int users = 0;
    bool found = false;
    void acquire() override { ++users; }
    void release() override { --users; }
    bool fetch(std::uint16_t code) override { return found = (code == 7); }
    void clear() override { found = false; }
    std::uint16_t code() const override { return found ? 7 : 0; }
    std::string surname() const override { return found ? ru("Петров") + "                   " : ""; }
    std::string password() const override { return found ? stored : std::string(16, ' '); }
    std::string stored = "LongerThan8     ";
};

QPushButton* button(QWidget& window, const QString& text) {
    for (auto* b : window.findChildren<QPushButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

class LoginWindowOnScreen : public ::testing::Test {
protected:
    LoginWindowOnScreen() { testing_support::qtApplication(); }
    testing_support::TempFolder folder;
    OneEmployee employees;
    std::uint16_t operatorCode = 3;
};

TEST_F(LoginWindowOnScreen, ControlsTextsAndToolTips) {
    dostup::LoginWindow window(employees, operatorCode, ".\\TARVO.INI");
    EXPECT_EQ(window.windowTitle(), ui::toQt(ru("Регистрация")));
    EXPECT_EQ(window.codeEntry()->toolTip(), ui::toQt(ru("Введите Свой Личный Код")));
    EXPECT_EQ(window.passwordEntry()->toolTip(), ui::toQt(ru("Личный пароль для входа в систему")));
    EXPECT_EQ(window.passwordEntry()->maxLength(), 16) << "the whole MOL:PASSWORD can be typed";
    EXPECT_EQ(window.codeEntry()->maxLength(), 5);
    ASSERT_NE(button(window, ui::toQt(ru("Помощь"))), nullptr);
    EXPECT_EQ(button(window, ui::toQt(ru("Помощь")))->toolTip(), ui::toQt(ru("Вызов Помощи")));
    ASSERT_NE(button(window, QStringLiteral("OK")), nullptr);
    EXPECT_EQ(button(window, QStringLiteral("OK"))->toolTip(),
              ui::toQt(ru("Окончание процедуры регистрации и вход в программу")));
}

TEST_F(LoginWindowOnScreen, TypingALongPasswordAndPressingOkLogsIn) {
    dostup::LoginWindow window(employees, operatorCode, ".\\TARVO.INI");
    QTimer::singleShot(0, &window, [&] {
        EXPECT_EQ(window.messageLine()->text(), ui::toQt(ru("Пожалуйста зарегистрируйтесь")));
        window.codeEntry()->clear();
        QTest::keyClicks(window.codeEntry(), QStringLiteral("7"));
        QTest::keyClicks(window.passwordEntry(), QStringLiteral("LongerThan8"));
        button(window, QStringLiteral("OK"))->click();
    });
    window.run();
    EXPECT_EQ(operatorCode, 7);
    EXPECT_EQ(employees.users, 0);
}

TEST_F(LoginWindowOnScreen, WrongPasswordStaysOpenUntilEscape) {
    dostup::LoginWindow window(employees, operatorCode, ".\\TARVO.INI");
    QTimer::singleShot(0, &window, [&] {
        window.codeEntry()->setText(QStringLiteral("7"));
        window.passwordEntry()->setText(QStringLiteral("longerthan8"));
        button(window, QStringLiteral("OK"))->click();
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(window.messageLine()->text(), ui::toQt(ru("Неправильный Пароль")));
        QTest::keyClick(window.passwordEntry(), Qt::Key_Escape);
    });
    window.run();
    EXPECT_EQ(operatorCode, 0);
}

TEST_F(LoginWindowOnScreen, PrefilledPairClosesWithoutShowing) {
    // The pre-fill keeps 8 characters: a stored password of 8 logs in from a
    // longer "PassWord".
    employees.stored = "Longer8!        ";
    folder.write("TARVO.INI", "[Kelm]\nSCode=7\nPassWord=Longer8!andMore\n");
    dostup::LoginWindow window(employees, operatorCode, ".\\TARVO.INI");
    window.run();  // returns at once
    EXPECT_EQ(operatorCode, 7);
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
