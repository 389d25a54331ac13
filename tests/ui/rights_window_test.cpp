// The rights grid and the category list on their real windows: the type options
// above the grid, the ban buttons captioned like their columns with their tips, a toggle that keeps
// the highlight on its object, and the category list's buttons in their order.
#include "tests/ui/book_window_fixture.h"

#include "access/access_files.h"
#include "access/access_layouts.h"
#include "staff/d_katmol.h"
#include "staff/d_object.h"
#include "staff/d_rights_grid.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

#include <cstdlib>

namespace book_windows_tests {
namespace {

class RightsWindows : public BookWindowTest {
protected:
    RightsWindows() {
        auto& files = dostup::accessFiles();
        for (storage::DataFile* file : {&files.object, &files.dostup, &files.katMol, &files.rightsLog})
            file->setName(".\\Dat\\" + file->label());
        // An object file of the test's own objects alone.
        EXPECT_EQ(files.object.create(), 0);
        for (int id = 1; id <= 4; ++id)
            addObject(id, ("Book" + std::to_string(id)).c_str(), "Справочник");
        addObject(5, "MainMenu", "Меню");
    }
    ~RightsWindows() override {
        for (QMdiSubWindow* sub : area.subWindowList()) delete sub;
        settle();
        auto& files = dostup::accessFiles();
        for (storage::DataFile* file : {&files.object, &files.dostup, &files.katMol, &files.rightsLog})
            while (framework::userCount(*file) > 0) framework::releaseFile(*file);
    }
    void addObject(int id, const char* obozn, const char* type) {
        storage::DataFile& file = dostup::accessFiles().object;
        framework::FileUse use(file);
        file.record().clear();
        file.record().setValue("OBJ:ID", std::to_string(id));
        file.record().setValue("OBJ:OBOZN", obozn);
        file.record().setValue("OBJ:NAME", ru("Объект ") + obozn);
        file.record().setValue("OBJ:TYPE", ru(type));
        ASSERT_EQ(file.add(), 0);
    }
    static void screenshot(QWidget* window, const char* name) {
        if (const char* folder = std::getenv("TEST_SCREENSHOTS"))
            window->grab().save(QString::fromUtf8(folder) + "/" + name + ".png");
    }
    static QString cell(ui::ListWindow& list, int row, int column) {
        return list.model()->cell(row, column);
    }
};

TEST_F(RightsWindows, BanButtonMarksTheHighlightedObjectAndKeepsTheHighlight) {
    ui::ListWindow* grid = ui::openList(staff::rightsGrid(3, ru("Кассиры")), &area);
    settle();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->windowTitle(), qt("Запрет доступа к Обьектам системы"));
    EXPECT_EQ(grid->panel()->heading()->text(), qt("Категория: Кассиры"));
    QButtonGroup* types = grid->panel()->choices();
    ASSERT_NE(types, nullptr);
    ASSERT_EQ(types->buttons().size(), 5);
    EXPECT_TRUE(types->button(0)->isChecked());
    EXPECT_EQ(types->button(4)->text(), qt("Меню"));
    ASSERT_EQ(grid->model()->rowCount(), 4);
    EXPECT_EQ(grid->model()->headerData(4, Qt::Horizontal, Qt::DisplayRole).toString(), qt("Изменение"));
    EXPECT_EQ(grid->extraButton(2)->text(), qt("Изменение")) << "captioned like its column";
    EXPECT_EQ(grid->extraButton(2)->toolTip(), qt("Запретить / снять запрет на Изменение"));

    grid->table()->selectRow(2);
    settle();
    click(grid->extraButton(2));
    click(grid->extraButton(7));
    settle();
    EXPECT_EQ(cell(*grid, 2, 4), "X");
    EXPECT_EQ(cell(*grid, 2, 9), "X");
    EXPECT_EQ(cell(*grid, 1, 4).trimmed(), QString());
    EXPECT_EQ(grid->chosenRow(), 3) << "the highlight stays on Book3";
    screenshot(grid, "rights_grid");

    types->button(4)->click();
    settle();
    ASSERT_EQ(grid->model()->rowCount(), 1);
    EXPECT_EQ(cell(*grid, 0, 0).trimmed(), "MainMenu");
    EXPECT_TRUE(grid->table()->hasFocus()) << "the list takes the focus";
}

TEST_F(RightsWindows, CategoryListButtonsInTheirOrder) {
    ui::ListWindow* list = ui::openList(staff::categoryList({}, {}), &area);
    settle();
    ASSERT_NE(list, nullptr);
    QStringList captions;
    for (QPushButton* button : list->panel()->buttons())
        if (!button->isHidden()) captions << button->text();
    EXPECT_EQ(captions, (QStringList{qt("Помощь"), qt("Добавить"), qt("Изменить"), qt("Удалить"),
                                     qt("Доступ"), qt("закрыть"), qt("Помощь")}));
    EXPECT_EQ(list->windowTitle(), qt("Категории Сотрудников"));
    screenshot(list, "category_list");
}

// The object form numbers the new object before it shows and primes its type in
// the drop list; choosing another type there is what is saved.
TEST_F(RightsWindows, ObjectFormTypeDropListIsPrimedAndSavesTheChoice) {
    ui::ListWindow* list = ui::openList(
        staff::objectList([] { ui::runFormWindow(staff::objectForm()); }), &area);
    settle();
    ASSERT_NE(list, nullptr);
    bool seen = false;
    onForm([&](ui::FormWindow& form) {
        auto* types = qobject_cast<QComboBox*>(form.entryWidget(staff::object_form::kType));
        ASSERT_NE(types, nullptr);
        EXPECT_EQ(form.windowTitle(), qt(" Новый Обьект  (New)"));
        EXPECT_EQ(form.lineEdit(staff::object_form::kId)->text().trimmed(), "6");
        EXPECT_EQ(types->count(), 5);
        EXPECT_EQ(types->currentText(), qt("Справочник"));
        types->setCurrentIndex(3);
        emit types->activated(3);
        type(form, staff::object_form::kDesignation, "Sales");
        screenshot(form.frameWindow(), "object_form");
        seen = true;
        click(form.okButton());
    });
    click(list->button(framework::browse::ListButton::Insert));
    settle();
    EXPECT_TRUE(seen);
    storage::DataFile& file = dostup::accessFiles().object;
    framework::FileUse use(file);
    file.record().clear();
    file.record().setValue("OBJ:ID", "6");
    ASSERT_EQ(file.get(*file.layout().key("ID_KEY")), 0);
    EXPECT_EQ(platform::clip(*file.record().value("OBJ:TYPE")), ru("Отчет"));
    EXPECT_EQ(platform::clip(*file.record().value("OBJ:OBOZN")), "Sales");
}

}  // namespace
}  // namespace book_windows_tests
