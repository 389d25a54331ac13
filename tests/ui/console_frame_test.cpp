// The library's console on screen (offscreen): its title and menu, the frame's
// background picture, and the information screen with the logo and the name.
#include "access/access_files.h"
#include "access/dostup.h"
#include "access/first_administrator.h"
#include "dostup/windows/console_frame.h"
#include "dostup/windows/first_admin_dialog.h"
#include "framework/file_access.h"
#include "platform/cp1251.h"
#include "platform/fixed_text.h"
#include "tests/helpers/qt_application.h"
#include "tests/helpers/temp_folder.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <filesystem>

namespace {

using platform::ru;

class Console : public ::testing::Test {
protected:
    Console() {
        testing_support::qtApplication();
        std::filesystem::create_directories(folder.path() / "Dat");
        std::filesystem::create_directories(folder.path() / "pic");
        platform::writeCString(g_BasePath, ".\\Dat\\");
        DOSTUP_INITDLL();
        storage::DataFile& mol = dostup::accessFiles().mol;
        framework::useFile(mol);
        mol.record().clear();
        mol.record().setValue("MOL:SCODE", "7");
        mol.record().setValue("MOL:LNAME", ru("Петров"));
        mol.record().setValue("MOL:FNAME", ru("Иван Сергеевич"));
        EXPECT_EQ(mol.add(), 0);
        g_SCode = 7;
    }
    ~Console() override {
        storage::DataFile& mol = dostup::accessFiles().mol;
        while (framework::userCount(mol) > 0) framework::releaseFile(mol);
        g_SCode = 0;
    }
    void picture(const char* name, Qt::GlobalColor colour) {
        QImage image(16, 16, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(QString::fromStdString((folder.path() / "pic" / name).string())));
    }
    static void settle() {
        for (int i = 0; i < 10; ++i) QApplication::processEvents();
    }
    testing_support::TempFolder folder;
};

TEST_F(Console, FrameHasItsTitleMenuAndBackground) {
    picture("Frame.bmp", Qt::darkCyan);
    folder.write("Dostup.INI", "[Interface]\r\nFrameFile=.\\pic\\Frame.bmp\r\n");
    dostup::ConsoleFrame frame;
    EXPECT_EQ(frame.windowTitle(), QString::fromUtf8(" Сотрудники"));
    for (const char* item : {"Сотрудники", "Подразделения", "Категории Сотрудников", "Обьекты системы", "Фильтры"})
        EXPECT_NE(frame.menuItem(ru(item)), nullptr) << item;
    EXPECT_TRUE(frame.menuItem(ru("Подразделения"))->isEnabled());
    EXPECT_TRUE(frame.menuItem(ru("Фильтры"))->isEnabled());
    EXPECT_TRUE(frame.menuItem(ru("Категории Сотрудников"))->isEnabled());
    EXPECT_TRUE(frame.menuItem(ru("Обьекты системы"))->isEnabled());
    EXPECT_EQ(frame.menuItem(ru("Фильтры"))->toolTip(), QString::fromUtf8("Списки Фильтров"));
    const QImage background = frame.area()->background().textureImage();
    ASSERT_FALSE(background.isNull()) << "FrameFile is the frame's background";
    EXPECT_EQ(background.pixelColor(0, 0), QColor(Qt::darkCyan));
}

TEST_F(Console, FrameWithoutFrameFileHasNoPicture) {
    dostup::ConsoleFrame frame;
    EXPECT_TRUE(frame.area()->background().textureImage().isNull());
}

TEST_F(Console, InformationScreenShowsTheLogoAndTheOperatorsShortName) {
    picture("Logo.bmp", Qt::red);
    folder.write("Dostup.INI", "[KELM]\r\nLogoFile=.\\pic\\Logo.bmp\r\n");
    dostup::ConsoleFrame frame;
    frame.show();
    dostup::InfoScreen* screen = dostup::InfoScreen::open(frame.area());
    settle();
    EXPECT_EQ(screen->name()->text(), QString::fromUtf8("Петров И.С."));
    ASSERT_FALSE(screen->picture()->pixmap().isNull());
    EXPECT_EQ(screen->picture()->pixmap().toImage().pixelColor(5, 5), QColor(Qt::red));
    EXPECT_TRUE(frame.area()->subWindowList().first()->windowTitle().isEmpty()) << "no caption text";

    // Without "LogoFile", and nobody logged in: no picture, "  ." as the name.
    folder.write("Dostup.INI", "");
    g_SCode = 0;
    dostup::InfoScreen* plain = dostup::InfoScreen::open(frame.area());
    settle();
    EXPECT_TRUE(plain->picture()->pixmap().isNull());
    EXPECT_EQ(plain->name()->text(), QString::fromUtf8("  ."));
}

}  // namespace

namespace {

// The first administrator's window: bad input keeps it open and says why; a good
// one creates the administrator and closes.
TEST_F(Console, FirstAdministratorWindowChecksItsInputAndCreates) {
    // A new installation: no employee at all.
    storage::DataFile& mol = dostup::accessFiles().mol;
    ASSERT_EQ(mol.remove(), 0);
    EXPECT_TRUE(dostup::noEmployees());
    dostup::FirstAdministratorDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8(" Первый администратор"));
    dialog.surname()->setText(QString::fromUtf8("Иванов"));
    dialog.names()->setText(QString::fromUtf8("  Пётр Ильич "));
    dialog.password()->setText("one");
    dialog.repeated()->setText("two");
    dialog.accept();
    EXPECT_EQ(dialog.result(), 0) << "still open";
    EXPECT_EQ(dialog.message()->text(), QString::fromUtf8("Пароли не совпадают."));
    dialog.repeated()->setText("one");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_TRUE(dialog.created());
    EXPECT_EQ(*dialog.created(), 1);
    EXPECT_FALSE(dostup::noEmployees());
    EXPECT_EQ(std::string(GETMOL_SNAME(1)), platform::ru("Иванов П.И."));
}

}  // namespace
