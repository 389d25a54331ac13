// The employee list and form on their real windows: the list's controls per
// tab and the tab change, the form's pages with the drop lists and the names
// beside them, and the picture areas drawn from their files (a file that is no
// picture leaves its area empty).
#include "tests/ui/book_window_fixture.h"

#include "access/access_files.h"
#include "access/access_layouts.h"
#include "access/dostup.h"
#include "staff/d_mol.h"
#include "staff/d_mol_form.h"
#include "staff/d_mollog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>

#include <cstdlib>
#include <fstream>

namespace book_windows_tests {
namespace {

namespace el = staff::employee_list;
namespace ef = staff::employee_form;

class EmployeeWindows : public BookWindowTest {
protected:
    EmployeeWindows() {
        for (storage::DataFile* file : all()) file->setName(".\\Dat\\" + file->label());
        G_FilterFlag = 0;
        staff::listDepartment() = 0;
        staff::surnameSearch().clear();
    }
    ~EmployeeWindows() override {
        for (QMdiSubWindow* sub : area.subWindowList()) delete sub;
        settle();
        for (storage::DataFile* file : all())
            while (framework::userCount(*file) > 0) framework::releaseFile(*file);
    }
    static std::vector<storage::DataFile*> all() {
        auto& f = dostup::accessFiles();
        return {&f.mol, &f.mod, &f.katMol, &f.otdMol, &f.molLog, &f.histList, &f.filter, &f.molChange,
                &f.rightsLog};
    }
    void put(storage::DataFile& file, const std::map<std::string, std::string>& values) {
        framework::FileUse use(file);
        file.record().clear();
        for (const auto& [name, value] : values) file.record().setValue(name, value);
        ASSERT_EQ(file.add(), 0) << file.errorText();
    }
    void addStaff() {
        auto& f = dostup::accessFiles();
        put(f.otdMol, {{"OMO:OTD_ID", "4"}, {"OMO:NAME", ru("Склад")}});
        put(f.otdMol, {{"OMO:OTD_ID", "5"}, {"OMO:NAME", ru("Бухгалтерия")}});
        put(f.katMol, {{"KTM:COD", "3"}, {"KTM:KATEG", ru("Кладовщик")}});
        put(f.mol, {{"MOL:SCODE", "1"}, {"MOL:LNAME", ru("Сидоров")}, {"MOL:FNAME", ru("Пётр")},
                    {"MOL:OTD_ID", "5"}, {"MOL:BPHONE", "22-33"}});
        put(f.mol, {{"MOL:SCODE", "2"}, {"MOL:LNAME", ru("Абрамов")}, {"MOL:FNAME", ru("Иван Ильич")},
                    {"MOL:OTD_ID", "4"}, {"MOL:KATEGCODE", "3"}, {"MOL:PHOTO", photo},
                    {"MOL:SIGNATURE", notAPicture}});
        put(f.mol, {{"MOL:SCODE", "3"}, {"MOL:LNAME", ru("Иванов")}, {"MOL:OTD_ID", "4"}});
    }
    staff::EmployeeCallouts callouts() {
        staff::EmployeeCallouts c;
        c.updateForm = [] { ui::runFormWindow(staff::employeeForm({})); };
        return c;
    }
    static void screenshot(QWidget* window, const char* name) {
        if (const char* folder = std::getenv("TEST_SCREENSHOTS"))
            window->grab().save(QString::fromUtf8(folder) + "/" + name + ".png");
    }

    const std::string photo = (folder.path() / "photo.png").string();
    const std::string notAPicture = (folder.path() / "signature.bmp").string();
};

TEST_F(EmployeeWindows, ListShowsTheControlsOfEachTabAndFollowsTheHighlightedDepartment) {
    addStaff();
    ui::ListWindow* list = ui::openList(staff::employeeList(callouts()), &area);
    settle();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->windowTitle(), qt("Справочник Сотрудников"));
    EXPECT_EQ(column(*list, 0), (std::vector<QString>{qt("Абрамов Иван Ильич"), qt("Иванов"), qt("Сидоров Пётр")}));
    EXPECT_EQ(column(*list, 2), (std::vector<QString>{qt("Склад"), qt("Склад"), qt("Бухгалтерия")}));
    auto* filterBox = qobject_cast<QCheckBox*>(list->panel()->control(el::kFilterOn));
    ASSERT_NE(filterBox, nullptr);
    EXPECT_EQ(filterBox->toolTip(), qt("Включить/Выключить фильтр"));
    QWidget* search = list->panel()->control(el::kSearch);
    QWidget* department = list->panel()->control(el::kDepartment);
    EXPECT_TRUE(search->isVisible());
    EXPECT_FALSE(department->isVisible());
    screenshot(list->frameWindow(), "employee_list");
    // A surname search by Return, and the filter box ticked with the mouse, give
    // the keys back to the list.
    search->setFocus();
    qobject_cast<QLineEdit*>(search)->setText(qt("Ив"));
    QTest::keyClick(search, Qt::Key_Return);
    settle();
    EXPECT_EQ(QApplication::focusWidget(), list->table());
    QTest::mouseClick(filterBox, Qt::LeftButton, {}, QPoint(4, filterBox->height() / 2));
    settle();
    EXPECT_EQ(QApplication::focusWidget(), list->table());
    QTest::mouseClick(filterBox, Qt::LeftButton, {}, QPoint(4, filterBox->height() / 2));
    settle();

    list->table()->selectRow(2);  // Сидоров, department 5
    settle();
    list->tabs()->setCurrentIndex(1);
    settle();
    EXPECT_FALSE(search->isVisible());
    EXPECT_TRUE(department->isVisible());
    EXPECT_EQ(column(*list, 0), std::vector<QString>{qt("Сидоров Пётр")});
    EXPECT_EQ(qobject_cast<QLineEdit*>(department)->text(), "5");
    screenshot(list->frameWindow(), "employee_list_department");
}

// The selection list has no filter and no department entry: their slots show
// nothing, not empty boxes beside the search.
TEST_F(EmployeeWindows, SelectionListShowsOnlyItsOwnControls) {
    addStaff();
    ui::ListWindow* list = ui::openList(staff::employeeSelection(callouts()), &area);
    settle();
    ASSERT_NE(list, nullptr);
    for (std::size_t slot : {el::kFilterOn, el::kFilterName, el::kFilters, el::kPickDepartment})
        EXPECT_EQ(list->panel()->control(slot), nullptr) << "slot " << slot;
    EXPECT_TRUE(list->panel()->control(el::kSearch)->isVisible());
    EXPECT_TRUE(list->panel()->control(el::kHistory)->isVisible());
    QWidget* departments = list->panel()->control(el::kDepartment);
    ASSERT_NE(qobject_cast<QComboBox*>(departments), nullptr);
    EXPECT_FALSE(departments->isVisible());
    int boxes = 0;
    for (QLineEdit* line : list->findChildren<QLineEdit*>())
        if (line->isVisible()) ++boxes;
    EXPECT_EQ(boxes, 1) << "the surname search is the only entry on the first tab";
    list->tabs()->setCurrentIndex(1);
    settle();
    EXPECT_TRUE(departments->isVisible());
    EXPECT_FALSE(list->panel()->control(el::kSearch)->isVisible());
}

TEST_F(EmployeeWindows, FormShowsItsPagesDropListsAndPictures) {
    QImage image(60, 80, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    ASSERT_TRUE(image.save(QString::fromStdString(photo), "PNG"));
    std::ofstream(notAPicture) << "this is no picture";
    addStaff();
    put(dostup::accessFiles().molLog, {{"MLO:SCODE", "2"}, {"MLO:DATE", "81000"}, {"MLO:TIME", "3600000"},
                                       {"MLO:OPERATOR", "1"}, {"MLO:OPERATION", ru("Добавление")}});
    ui::ListWindow* list = ui::openList(staff::employeeList(callouts()), &area);
    settle();
    ASSERT_NE(list, nullptr);
    list->table()->selectRow(0);
    settle();
    bool seen = false;
    onForm([&](ui::FormWindow& form) {
        seen = true;
        EXPECT_EQ(form.windowTitle(), qt("Изменение записи  (Абрамов)"));
        ASSERT_NE(form.pages(), nullptr);
        EXPECT_EQ(form.pages()->count(), 5);
        EXPECT_EQ(form.lineEdit(ef::kPassword)->echoMode(), QLineEdit::Password) << "never shown in clear";
        auto* departments = qobject_cast<QComboBox*>(form.entryWidget(ef::kDepartment));
        ASSERT_NE(departments, nullptr);
        EXPECT_EQ(departments->count(), 2);
        EXPECT_EQ(departments->currentText(), qt(" 4  Склад"));
        auto* name = qobject_cast<QLabel*>(form.entryWidget(ef::kDepartmentName));
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->text().trimmed(), qt("Склад"));
        auto* photoArea = qobject_cast<QLabel*>(form.entryWidget(ef::kPhoto));
        auto* signatureArea = qobject_cast<QLabel*>(form.entryWidget(ef::kSignature));
        ASSERT_TRUE(photoArea && signatureArea);
        EXPECT_FALSE(photoArea->pixmap().isNull()) << "the photograph is drawn";
        EXPECT_LE(photoArea->pixmap().height(), photoArea->height());
        EXPECT_TRUE(signatureArea->pixmap().isNull()) << "a file that is no picture leaves the area empty";
        screenshot(form.frameWindow(), "employee_form");

        // Choosing another department shows its name beside the list.
        departments->setCurrentIndex(1);
        emit departments->activated(1);
        settle();
        EXPECT_EQ(name->text().trimmed(), qt("Бухгалтерия"));
        form.pages()->setCurrentIndex(3);
        settle();
        screenshot(form.frameWindow(), "employee_form_other");
        form.pages()->setCurrentIndex(4);
        settle();
        screenshot(form.frameWindow(), "employee_form_log");
        click(form.okButton());
    });
    click(list->button(framework::browse::ListButton::Change));
    settle();
    EXPECT_TRUE(seen);
    EXPECT_TRUE(services->shown.empty());
    EXPECT_EQ(column(*list, 2), (std::vector<QString>{qt("Бухгалтерия"), qt("Склад"), qt("Бухгалтерия")}));
}

}  // namespace
}  // namespace book_windows_tests

namespace book_windows_tests {
namespace {

// On screen: a change saved without changing anything, then a new employee;
// another station sees the new employee and both entries at once.
TEST_F(EmployeeWindows, SavedFormsAreSeenByAnotherStationAtOnce) {
    addStaff();
    ui::ListWindow* list = ui::openList(staff::employeeList(callouts()), &area);
    settle();
    ASSERT_NE(list, nullptr);
    list->table()->selectRow(0);
    settle();
    onForm([&](ui::FormWindow& form) { click(form.okButton()); });
    click(list->button(framework::browse::ListButton::Change));
    settle();
    onForm([&](ui::FormWindow& form) {
        form.lineEdit(ef::kSurname)->setText(qt("Новиков"));
        click(form.okButton());
    });
    click(list->button(framework::browse::ListButton::Insert));
    settle();
    auto seen = [](storage::DataFile& file, const char* field) {
        storage::DataFile station(file.layout());
        station.setName(file.name());
        station.setOwnerPassword(dostup::ownerPasswordOf(file.layout()));
        std::vector<std::string> values;
        if (station.open() != 0) return values;
        station.set();
        while (station.next() == 0) values.emplace_back(platform::clip(*station.record().value(field)));
        return values;
    };
    EXPECT_EQ(seen(dostup::accessFiles().mol, "MOL:SCODE"), (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(seen(dostup::accessFiles().molLog, "MLO:SCODE"), (std::vector<std::string>{"2", "4"}));
}

}  // namespace
}  // namespace book_windows_tests
