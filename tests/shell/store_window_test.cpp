// The store book as the program's menu opens it, on screen (offscreen): the list
// "Справочник Участков" and its form, whose responsible employee is named by the
// access library and whose picker, not bound yet, chooses nobody.
#include "access/access_layouts.h"
#include "access/dostup.h"
#include "framework/file_access.h"
#include "framework/shared_state.h"
#include "platform/cp1251.h"
#include "platform/fixed_text.h"
#include "refbooks/c_store.h"
#include "refbooks/ref_files.h"
#include "shell/books.h"
#include "shell/main_frame.h"
#include "shell/startup.h"
#include "storage/data_file.h"
#include "tests/helpers/qt_application.h"
#include "tests/helpers/temp_folder.h"
#include "ui/form_window.h"
#include "ui/list_window.h"
#include "ui/qt_user_services.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

namespace {

using platform::ru;
namespace sf = refbooks::store_form;

void settle() {
    for (int i = 0; i < 20; ++i) QApplication::processEvents();
}

void onForm(std::function<void(ui::FormWindow&)> action, int attempts = 500) {
    QTimer::singleShot(10, [action, attempts] {
        ui::FormWindow* form = ui::FormWindow::running();
        if (form && form->opened()) action(*form);
        else if (attempts > 0) onForm(action, attempts - 1);
        else ADD_FAILURE() << "no form opened";
    });
}

class StoreWindows : public ::testing::Test {
protected:
    StoreWindows() {
        testing_support::qtApplication();
        std::filesystem::create_directories(folder.path() / "Dat");
        platform::writeCString(g_BasePath, ".\\Dat\\");
        shell::startUp();
        framework::setRightsCheck([](const std::string&) { return std::int16_t{0}; });
    }
    ~StoreWindows() override {
        storage::DataFile& store = refbooks::referenceFiles().store;
        while (framework::userCount(store) > 0) framework::releaseFile(store);
    }
    testing_support::TempFolder folder;
};

TEST_F(StoreWindows, MenuOpensTheListAndTheFormNamesTheResponsibleEmployee) {
    {
        storage::DataFile mol(dostup::molLayout());
        mol.setName(std::string(platform::clip(std::string(MOL_spr, sizeof MOL_spr))));
        mol.setOwnerPassword(dostup::ownerPasswordOf(mol.layout()));
        ASSERT_EQ(mol.create(), 0);
        ASSERT_EQ(mol.open(), 0);
        mol.record().clear();
        mol.record().setValue("MOL:SCODE", "7");
        mol.record().setValue("MOL:LNAME", ru("Петров"));
        mol.record().setValue("MOL:FNAME", ru("Петр Петрович"));
        ASSERT_EQ(mol.add(), 0);
        mol.close();
    }
    shell::MainFrame frame;
    shell::installBooks(frame);
    frame.show();
    frame.menuItem(ru("Участки"))->trigger();
    settle();
    ui::ListWindow* list = nullptr;
    for (QMdiSubWindow* sub : frame.area()->subWindowList())
        if (auto* l = qobject_cast<ui::ListWindow*>(sub->widget())) list = l;
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->windowTitle(), ui::toQt(ru("Справочник Участков")));

    QString shownName, afterPick;
    onForm([&](ui::FormWindow& form) {
        EXPECT_EQ(form.windowTitle(), ui::toQt(ru("  Новый Участок  (New)")));
        QLineEdit* name = form.lineEdit(sf::kName);
        name->setFocus();
        name->insert(ui::toQt(ru("Центральный")));
        emit name->editingFinished();
        QLineEdit* code = form.lineEdit(sf::kResponsible);
        code->setFocus();
        code->selectAll();
        code->insert(QStringLiteral("7"));  // typed: the entry is modified
        emit code->editingFinished();
        settle();
        shownName = qobject_cast<QLabel*>(form.entryWidget(sf::kEmployeeName))->text();
        // The library's selection list opens; the operator closes it choosing nobody.
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            for (QWidget* window : QApplication::allWidgets()) {
                if (!window->isVisible() || !window->windowTitle().contains(ui::toQt(ru("Выбор Сотрудника"))))
                    continue;
                closer.stop();
                window->close();
                return;
            }
        });
        closer.start(20);
        qobject_cast<QPushButton*>(form.entryWidget(sf::kPickEmployee))->click();
        closer.stop();
        settle();
        afterPick = qobject_cast<QLabel*>(form.entryWidget(sf::kEmployeeName))->text();
        if (const char* folder = std::getenv("TEST_SCREENSHOTS"))
            form.frameWindow()->grab().save(QString::fromUtf8(folder) + "/store_form.png");
        form.okButton()->click();
    });
    list->button(framework::browse::ListButton::Insert)->click();
    settle();
    EXPECT_EQ(shownName.trimmed(), ui::toQt(ru("Петров П.П.")));
    EXPECT_EQ(afterPick, shownName) << "a picker that chooses nobody changes nothing";
    ASSERT_EQ(list->model()->rowCount(), 1);
    EXPECT_EQ(list->model()->cell(0, 1).trimmed(), ui::toQt(ru("Центральный")));
    list->closeButton()->click();
    settle();
}

}  // namespace
