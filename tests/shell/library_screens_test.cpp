// The library's screens inside the program: the frame's menu opens the
// departments as a child of its own area, and the frame's toolbar reaches them
// as it reaches the program's books.
#include "access/access_layouts.h"
#include "access/dostup.h"
#include "framework/file_access.h"
#include "platform/cp1251.h"
#include "platform/fixed_text.h"
#include "shell/books.h"
#include "shell/main_frame.h"
#include "shell/startup.h"
#include "storage/data_file.h"
#include "tests/helpers/qt_application.h"
#include "tests/helpers/temp_folder.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace {

using platform::ru;

class LibraryScreensInTheProgram : public ::testing::Test {
protected:
    LibraryScreensInTheProgram() {
        testing_support::qtApplication();
        std::filesystem::create_directories(folder.path() / "Dat");
        platform::writeCString(g_BasePath, ".\\Dat\\");
        shell::startUp();
        // What an administrator has done: the departments are a registered object.
        add(dostup::objectLayout(), {{"OBJ:ID", "1"}, {"OBJ:OBOZN", "OtdMOL"}});
        add(dostup::objectLayout(), {{"OBJ:ID", "2"}, {"OBJ:OBOZN", "Object"}});
        // A rights file of its own, without the bans a new one gives to nobody
        // logged in.
        add(dostup::dostupLayout(), {{"DOS:KATEGCODE", "0"}, {"DOS:OBJECTID", "0"}});
        add(dostup::otdMolLayout(), {{"OMO:OTD_ID", "1"}, {"OMO:NAME", ru("Склад")}});
    }
    // A record written by a station of its own into the library's data folder.
    static void add(const storage::RecordLayout& layout, const std::map<std::string, std::string>& values) {
        storage::DataFile file(layout);
        file.setName(".\\Dat\\" + layout.label());
        file.setOwnerPassword(dostup::ownerPasswordOf(layout));
        framework::useFile(file);
        file.record().clear();
        for (const auto& [name, value] : values) file.record().setValue(name, value);
        ASSERT_EQ(file.add(), 0) << file.driverErrorText();
        framework::releaseFile(file);
    }
    static void settle() {
        for (int i = 0; i < 10; ++i) QApplication::processEvents();
    }
    static QMdiSubWindow* child(shell::MainFrame& frame, const char* title) {
        for (QMdiSubWindow* sub : frame.area()->subWindowList())
            if (sub->widget() && sub->widget()->windowTitle() == QString::fromUtf8(title)) return sub;
        return nullptr;
    }
    testing_support::TempFolder folder;
};

TEST_F(LibraryScreensInTheProgram, DepartmentsOpenInTheFrameAndFollowItsToolbar) {
    shell::MainFrame frame;
    shell::installBooks(frame);
    frame.show();
    QAction* command = frame.menuItem(ru("Подразделения"));
    ASSERT_NE(command, nullptr);
    EXPECT_TRUE(command->isEnabled());
    command->trigger();
    settle();
    QMdiSubWindow* list = child(frame, "Справочник Подразделений");
    ASSERT_NE(list, nullptr) << "a child of the program's frame";
    EXPECT_EQ(frame.area()->activeSubWindow(), list);
    auto* table = list->widget()->findChild<QTableView*>();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->model()->rowCount(), 1);

    // The frame's toolbar acts on the library's list: insert opens its form.
    QAction* insert = frame.toolbarAction(2000);
    // The frame refreshes its toolbar from the active child a few times a second.
    EXPECT_TRUE(QTest::qWaitFor([insert] { return insert->isEnabled(); }, 3000))
        << "the list's toolbar state reaches the frame";
    QString formTitle;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        for (QMdiSubWindow* sub : frame.area()->subWindowList()) {
            QWidget* form = sub->widget();
            if (!form || !form->windowTitle().startsWith(QString::fromUtf8(" Новая запись"))) continue;
            for (QPushButton* button : form->findChildren<QPushButton*>()) {
                if (button->text() != QString::fromUtf8("Отменить") || !button->isVisible()) continue;
                user.stop();
                formTitle = form->windowTitle();
                button->click();
                return;
            }
        }
    });
    user.start(20);
    insert->trigger();
    settle();
    user.stop();
    EXPECT_EQ(formTitle, QString::fromUtf8(" Новая запись  (New)"));
    EXPECT_EQ(table->model()->rowCount(), 1) << "the cancelled department was not kept";
}

}  // namespace
