// The program's own help window: a topic opens in it (no desktop launcher
// needed), links are followed inside it, back, forward and contents work, and
// its place is kept.
#include "platform/user_services.h"
#include "tests/helpers/qt_application.h"
#include "tests/helpers/temp_folder.h"
#include "ui/help_window.h"
#include "ui/qt_user_services.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTextBrowser>

#include <cstdlib>
#include <filesystem>

namespace {

const std::filesystem::path kHelp = std::filesystem::path(TESTS_BINARY_DIR) / "bin" / "help";

QPushButton* button(QWidget& window, const char* text) {
    for (QPushButton* b : window.findChildren<QPushButton*>())
        if (b->text() == QString::fromUtf8(text)) return b;
    return nullptr;
}

TEST(HelpWindow, ShowsTopicsFollowsLinksAndKeepsItsPlace) {
    testing_support::qtApplication();
    testing_support::TempFolder folder;
    ui::QtUserServices services;
    services.openDocument((kHelp / "Sprav" / "Valut.htm").string(), kHelp.string());
    ui::HelpWindow& window = ui::HelpWindow::instance();
    ASSERT_TRUE(window.isVisible()) << "a help page opens in the program's own window";
    QTextBrowser* browser = window.browser();
    EXPECT_TRUE(browser->source().toLocalFile().endsWith(QStringLiteral("Sprav/Valut.htm")));
    EXPECT_FALSE(browser->toPlainText().isEmpty());
    if (const char* shots = std::getenv("TEST_SCREENSHOTS"))
        window.grab().save(QString::fromUtf8(shots) + QStringLiteral("/help_window.png"));

    button(window, "Содержание")->click();
    EXPECT_TRUE(browser->source().toLocalFile().endsWith(QStringLiteral("help/Tarvo.htm")));
    ASSERT_TRUE(button(window, "Назад")->isEnabled());
    button(window, "Назад")->click();
    EXPECT_TRUE(browser->source().toLocalFile().endsWith(QStringLiteral("Sprav/Valut.htm")));
    EXPECT_TRUE(button(window, "Вперёд")->isEnabled());

    window.move(40, 50);
    window.resize(500, 400);
    window.close();
    EXPECT_NE(folder.read("TARVO.INI").find("Width=500"), std::string::npos) << "its place is kept";
}

}  // namespace
