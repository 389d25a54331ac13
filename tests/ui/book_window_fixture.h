// Shared by the list and form window tests: a price-like book declared in the
// test (its own list and form definitions over the price layout), real data files
// in a temporary folder, a frame's MDI area on screen (offscreen platform), the
// scripted message service, and a way to play the user's part in a modal form.
#pragma once

#include "framework/browse/browse_definition.h"
#include "framework/file_access.h"
#include "framework/form/form_definition.h"
#include "framework/form/form_ditto.h"
#include "framework/form/form_environment.h"
#include "framework/shared_state.h"
#include "framework/standard_messages.h"
#include "platform/cp1251.h"
#include "platform/user_services.h"
#include "refbooks/ref_layouts.h"
#include "storage/data_file.h"
#include "tests/helpers/qt_application.h"
#include "tests/helpers/temp_folder.h"
#include "ui/book_windows.h"
#include "ui/form_window.h"
#include "ui/list_window.h"
#include "ui/qt_user_services.h"

#include <gtest/gtest.h>

#include <QAbstractEventDispatcher>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace book_windows_tests {

using platform::ru;

inline QString qt(const char* utf8) { return QString::fromUtf8(utf8); }

// Lets queued events (new selections, open events, resizes) run.
inline void settle() {
    for (int i = 0; i < 10; ++i) QApplication::processEvents();
}

class BookWindowTest : public ::testing::Test {
protected:
    BookWindowTest() {
        testing_support::qtApplication();
        std::filesystem::create_directories(folder.path() / "Dat");
        price.setName(".\\Dat\\Price");
        framework::globalRequest() = framework::globalResponse() = framework::vcrRequest() = 0;
        framework::setRightsCheck([this](const std::string& object) {
            asked.push_back(object);
            return static_cast<std::int16_t>(rights);
        });
        framework::setHelpOpener([this](const std::string& topic) { help.push_back(topic); });
        area.resize(1000, 700);
        area.show();
        area.activateWindow();
        settle();
    }

    ~BookWindowTest() override {
        for (QMdiSubWindow* sub : area.subWindowList()) delete sub;
        settle();
        while (framework::userCount(price) > 0) framework::releaseFile(price);
        framework::setRightsCheck({});
        framework::setHelpOpener({});
        framework::form::forgetDittoRecords();
        framework::clearSavedError();
        framework::globalRequest() = framework::globalResponse() = framework::vcrRequest() = 0;
    }

    // The price list as a book would declare it: codes right-aligned, the discount
    // blank when zero, no select button, no popup menu.
    framework::browse::BrowseDefinition listDefinition() {
        using Side = framework::browse::CellAlignment::Side;
        framework::browse::BrowseDefinition list{price};
        list.sorts = {{"PRI:ID_KEY", "", "PRI:ID"}};
        list.columns = {
            {"PRI:ID", ru("Код"), 16, "n2", {Side::Right, 3}, {Side::Centre, 0}},
            {"PRI:NAME", ru("Название"), 80, "s24", {Side::Left, 1}, {Side::Left, 6}},
            {"PRI:SKIDKA", ru("Скидка (%)"), 41, "n-9.2b", {Side::Right, 4}, {Side::Centre, 0}},
            {"PRI:NOTE", ru("Примечание"), 80, "s120", {Side::Left, 1}, {Side::Left, 5}},
        };
        list.title = ru(" Цены");
        list.labels.close = {ru("Закрыть")};
        list.accessObject = "Price";
        list.iniSection = "Price_t";
        list.helpTopic = "Sprav\\Price.htm";
        list.updateForm = [this] {
            ++formCalls;
            ui::runFormWindow(form);
        };
        return list;
    }

    static framework::form::FormDefinition formDefinition(storage::DataFile& file) {
        framework::form::FormDefinition form;
        form.file = &file;
        form.accessObject = "Price";
        form.actions = {ru(" Новая запись"), ru(" Изменение записи"), ru(" УДАЛЕНИЕ ЗАПИСИ")};
        form.namingField = "PRI:NAME";
        form.fields = {
            {4, "PRI:ID", "n2", ru("Код цены:"), ru("Код Цены")},
            {6, "PRI:NAME", "s24", ru("Название:"), ru("Название цены")},
            {8, "PRI:SKIDKA", "n-9.2b", ru("Скидка (%):"), ru("Скидка (%)")},
            {10, "PRI:KOEF", "n-9.2b", ru("Коеффициент:"), ru("Коеффициент")},
            {12, "PRI:NOTE", "s120", ru("Примечание:"), ru("Примечание")},
        };
        form.numberedKey = "PRI:ID_KEY";
        form.duplicateKeys = {{"PRI:ID_KEY", "Id"}};
        form.section = "Price_u";
        return form;
    }

    // A price type with a name written in UTF-8.
    void addPrice(int code, const std::string& name, double discount = 0) {
        framework::FileUse use(price);
        price.record().clear();
        price.record().setValue("PRI:ID", std::to_string(code));
        price.record().setValue("PRI:NAME", ru(name));
        price.record().setReal(price.layout().fieldIndex("PRI:SKIDKA"), discount);
        ASSERT_EQ(price.add(), 0) << price.driverErrorText();
    }

    // Opens the list in the MDI area and lets its first page build.
    ui::ListWindow* openList() {
        ui::ListWindow* window = ui::openList(listDefinition(), &area);
        settle();
        return window;
    }

    // Plays the user's part once the next form is on screen. The action runs
    // inside the form's own event loop, while the call that opened the form waits.
    void onForm(std::function<void(ui::FormWindow&)> action) {
        auto attempts = std::make_shared<int>(0);
        auto step = std::make_shared<std::function<void()>>();
        *step = [action, attempts, weak = std::weak_ptr<std::function<void()>>(step)] {
            ui::FormWindow* form = ui::FormWindow::running();
            if (form && form->opened()) {
                action(*form);
                return;
            }
            if (++*attempts > 500) {
                ADD_FAILURE() << "no form opened";
                return;
            }
            if (auto next = weak.lock()) QTimer::singleShot(0, *next);
        };
        pending.push_back(step);
        QTimer::singleShot(0, *step);
    }

    // Types into an entry as the user does, leaving it changed.
    static void type(ui::FormWindow& form, int entry, const char* utf8) {
        QLineEdit* line = form.lineEdit(entry);
        ASSERT_NE(line, nullptr) << entry;
        line->setFocus();
        line->selectAll();
        line->insert(QString::fromUtf8(utf8));
    }

    static void click(QPushButton* button) {
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // The shown cells of a column (0-based), top row first.
    static std::vector<QString> column(ui::ListWindow& list, int c) {
        std::vector<QString> cells;
        for (int r = 0; r < list.model()->rowCount(); ++r) cells.push_back(list.model()->cell(r, c));
        return cells;
    }
    static QString highlightedCode(ui::ListWindow& list) {
        const int row = list.chosenRow();
        return row ? list.model()->cell(row - 1, 0) : QString();
    }

    const platform::MessageBoxRequest& lastBox() { return services->shown.back(); }

    // The application comes before every widget of the fixture.
    struct Application {
        Application() { testing_support::qtApplication(); }
    } application;
    testing_support::TempFolder folder;
    platform::ScopedScriptedServices services;
    storage::DataFile price{refbooks::priceLayout()};
    framework::form::FormDefinition form = formDefinition(price);
    QMdiArea area;
    int rights = 0;
    int formCalls = 0;
    std::vector<std::string> asked;
    std::vector<std::string> help;
    std::vector<std::shared_ptr<std::function<void()>>> pending;
};

}  // namespace book_windows_tests
