// The rights grid of one category: marks read from the category's Dostup rows,
// the ban buttons that create a row on the first toggle and invert afterwards,
// the type choice, the refusal on "Dostup", and writes that fail.
#include "tests/framework/browse_fixture.h"
#include "tests/staff/library_fixture.h"

#include "framework/browse/browse_engine.h"
#include "staff/d_rights_grid.h"

namespace library_tests {
namespace {

using browse_tests::FakeListView;
using framework::browse::BrowseEngine;

constexpr std::size_t kChange = 2;  // "Запретить / снять запрет на Изменение"
constexpr std::size_t kPrint = 7;

class RightsGrid : public LibraryTest {
protected:
    RightsGrid() {
        addObject(1, "Price", ru("Цены"), ru("Справочник"));
        addObject(2, "Valut", ru("Валюты"), ru("Справочник"));
        addObject(3, "MainMenu", ru("Меню программы"), ru("Меню"));
        addObject(4, "Odd", ru("Странный"), ru("Прочее"));
        addObject(5, "Blank", ru("Без типа"), "");
        add(files().katMol, {{"KTM:COD", "3"}, {"KTM:KATEG", ru("Кассиры")}});
    }
    void addObject(int id, const std::string& obozn, const std::string& name, const std::string& type) {
        add(files().object, {{"OBJ:ID", std::to_string(id)}, {"OBJ:OBOZN", obozn},
                             {"OBJ:NAME", name}, {"OBJ:TYPE", type}});
    }
    void addRights(int category, int object, const std::map<std::string, std::string>& flags) {
        std::map<std::string, std::string> values = flags;
        values["DOS:KATEGCODE"] = std::to_string(category);
        values["DOS:OBJECTID"] = std::to_string(object);
        add(files().dostup, values);
    }
    BrowseEngine& openGrid(int category = 3) {
        definition = std::make_unique<framework::browse::BrowseDefinition>(
            staff::rightsGrid(static_cast<std::uint16_t>(category), ru("Кассиры")));
        grid = std::make_unique<BrowseEngine>(*definition, view);
        if (grid->open()) {
            grid->windowOpened();
            view.pump(*grid);
        }
        return *grid;
    }
    void chooseType(const std::string& type) {
        definition->entry->set(type);
        grid->restart();
        view.pump(*grid);
    }
    void press(std::size_t ban) {
        grid->extraButton(ban);
        view.pump(*grid);
    }
    // A shown row: designation and the eight marks, "Price|........".
    std::string row(int r) {
        const auto& cells = view.shown.at(static_cast<std::size_t>(r - 1));
        std::string text = std::string(platform::clip(cells.at(0))) + "|";
        for (std::size_t i = 2; i < cells.size(); ++i) text += cells[i] == " " ? "." : cells[i];
        return text;
    }
    std::vector<std::string> rows() {
        std::vector<std::string> out;
        for (int r = 1; r <= static_cast<int>(view.shown.size()); ++r) out.push_back(row(r));
        return out;
    }
    // The stored rows "category:object:flags", flags as eight digits.
    std::vector<std::string> storedRights() {
        std::vector<std::string> out;
        for (const storage::Record& r : stored(files().dostup, "KATEG_KEY")) {
            std::string text = *r.value("DOS:KATEGCODE") + ":" + *r.value("DOS:OBJECTID") + ":";
            for (const char* flag : staff::kBanFlags) text += *r.value(flag);
            out.push_back(text);
        }
        return out;
    }

    std::unique_ptr<framework::browse::BrowseDefinition> definition;
    FakeListView view;
    std::unique_ptr<BrowseEngine> grid;
};

TEST_F(RightsGrid, MarksComeFromTheCategorysOwnRows) {
    addRights(3, 2, {{"DOS:OPENFLAG", "1"}, {"DOS:PRINTFLAG", "1"}});
    addRights(4, 1, {{"DOS:CHANGEFLAG", "1"}});  // another category
    addRights(3, 3, {{"DOS:DELETEFLAG", "1"}});  // an object of another type
    openGrid();
    EXPECT_EQ(asked, std::vector<std::string>{"Dostup"});
    EXPECT_EQ(definition->title, ru("Запрет доступа к Обьектам системы"));
    EXPECT_EQ(definition->heading, ru("Категория: Кассиры"));
    ASSERT_EQ(definition->extraButtons.size(), 8u);
    EXPECT_EQ(definition->extraButtons[kChange].label.tip, ru("Запретить / снять запрет на Изменение"));
    EXPECT_EQ(rows(), (std::vector<std::string>{"Price|........", "Valut|X......X"}));
}

TEST_F(RightsGrid, FirstToggleCreatesTheRowAndTheSecondClearsTheFlagKeepingTheRow) {
    addRights(3, 2, {{"DOS:OPENFLAG", "1"}});
    openGrid();
    view.click(*grid, 1);
    press(kChange);
    EXPECT_EQ(storedRights(), (std::vector<std::string>{"3:1:00100000", "3:2:10000000"}));
    EXPECT_EQ(rows(), (std::vector<std::string>{"Price|..X.....", "Valut|X......."}));
    EXPECT_EQ(view.highlighted, 1) << "the highlight stays on the same object";

    view.click(*grid, 2);
    press(kPrint);
    press(kChange);
    EXPECT_EQ(rows(), (std::vector<std::string>{"Price|..X.....", "Valut|X.X....X"}));
    EXPECT_EQ(view.highlighted, 2);

    view.click(*grid, 1);
    press(kChange);
    EXPECT_EQ(storedRights(), (std::vector<std::string>{"3:1:00000000", "3:2:10100001"}))
        << "the row stays with its flag cleared";
    EXPECT_EQ(row(1), "Price|........");
    EXPECT_TRUE(services->shown.empty());
}

TEST_F(RightsGrid, TypeChoiceListsOnlyThatTypeAndOtherWordsUnderNone) {
    openGrid();
    EXPECT_EQ(definition->entry->choices.size(), 5u);
    chooseType(ru("Меню"));
    EXPECT_EQ(rows(), std::vector<std::string>{"MainMenu|........"});
    EXPECT_EQ(view.highlighted, 1);

    std::vector<std::string> listed;
    for (const std::string& type : staff::objectTypes()) {
        chooseType(type);
        for (const auto& cells : view.shown) listed.emplace_back(platform::clip(cells.at(0)));
    }
    EXPECT_EQ(listed, (std::vector<std::string>{"Price", "Valut", "MainMenu"}));
    EXPECT_EQ(column(files().object, "ID_KEY", "OBJ:OBOZN").size(), 5u) << "no object is lost";

    // An empty type shows an empty page; a ban button then does nothing.
    chooseType(ru("Отчет"));
    EXPECT_TRUE(view.shown.empty());
    press(kChange);
    EXPECT_TRUE(storedRights().empty());
}

TEST_F(RightsGrid, RefusedOnDostupWithTheErrorCaption) {
    rights = framework::kForbidAccess;
    openGrid();
    EXPECT_TRUE(grid->isClosed());
    ASSERT_EQ(services->shown.size(), 1u);
    EXPECT_EQ(box(0).caption, ru(" Ошибка"));
    EXPECT_EQ(box(0).text, ru("Доступ запрещен "));
    EXPECT_EQ(box(0).icon, platform::Icon::Information);
    grid.reset();
    definition.reset();
    EXPECT_EQ(framework::userCount(files().dostup), 0) << "the grid's files are released";
    EXPECT_EQ(framework::userCount(files().object), 0);
}

TEST_F(RightsGrid, ToggleAfterAnotherStationChangedTheRowInvertsWhatIsStored) {
    openGrid();
    view.click(*grid, 1);
    EXPECT_EQ(row(1), "Price|........");
    addRights(3, 1, {{"DOS:CHANGEFLAG", "1"}});  // meanwhile, on another station
    press(kChange);
    EXPECT_EQ(storedRights(), std::vector<std::string>{"3:1:00000000"});
    EXPECT_EQ(row(1), "Price|........");
    EXPECT_TRUE(services->shown.empty());
}

// Another station holds the file locked for writing: the add and the put fail,
// each with its standard message, and the marks show what is stored.
TEST_F(RightsGrid, WriteThatFailsIsReportedAndTheMarkShowsWhatIsStored) {
    addRights(3, 2, {{"DOS:OPENFLAG", "1"}});
    openGrid();
    ASSERT_EQ(files().dostup.sendOption("Recover=0"), 0);

    storage::DataFile station(files().dostup.layout());
    station.setName(files().dostup.name());
    station.setOwnerPassword(dostup::ownerPasswordOf(station.layout()));
    ASSERT_EQ(station.open(), 0);
    ASSERT_EQ(station.begin(), 0);
    station.record().clear();
    station.record().setValue("DOS:KATEGCODE", "9");
    station.record().setValue("DOS:OBJECTID", "9");
    ASSERT_EQ(station.add(), 0);

    view.click(*grid, 1);
    press(kChange);
    ASSERT_EQ(services->shown.size(), 1u);
    EXPECT_EQ(box(0).caption, "Record Insert Error");
    EXPECT_EQ(row(1), "Price|........");

    view.click(*grid, 2);
    press(kChange);
    ASSERT_EQ(services->shown.size(), 2u);
    EXPECT_EQ(box(1).caption, "Update Operation Error");
    EXPECT_EQ(row(2), "Valut|X.......");

    station.rollback();
    station.close();
    EXPECT_EQ(storedRights(), std::vector<std::string>{"3:2:10000000"});
}

// A ban on opening the categories or the rights that would leave no category
// with an employee able to open the rights grid is refused; while another
// category can still open it, the ban is stored.
TEST_F(RightsGrid, NoBanLocksEveryAdministratorOut) {
    addObject(6, "KatMOL", ru("Категории"), ru("Справочник"));
    addObject(7, "Dostup", ru("Права"), ru("Справочник"));
    add(files().katMol, {{"KTM:COD", "1"}, {"KTM:KATEG", ru("Администраторы")}});
    add(files().mol, {{"MOL:SCODE", "1"}, {"MOL:KATEGCODE", "1"}});
    add(files().mol, {{"MOL:SCODE", "2"}, {"MOL:KATEGCODE", "3"}});
    addRights(3, 7, {{"DOS:OPENFLAG", "1"}});  // the cashiers may not open the rights

    const struct {
        int category;
        int object;
        bool stored;
    } table[] = {
        {1, 6, false},  // the last category that can: refused
        {1, 7, false},
        {3, 6, true},   // the cashiers cannot anyway: stored
        {5, 7, true},   // a category nobody is in
    };
    for (const auto& row : table) {
        SCOPED_TRACE(std::to_string(row.category) + "/" + std::to_string(row.object));
        services->shown.clear();
        EXPECT_EQ(staff::toggleBan(static_cast<std::uint16_t>(row.category),
                                   static_cast<std::uint16_t>(row.object), 0),
                  row.stored);
        EXPECT_EQ(services->shown.size(), row.stored ? 0u : 1u);
    }
    staff::readRightsRow(1, 6);
    EXPECT_EQ(files().dostup.record().getInt("DOS:OPENFLAG"), 0) << "nothing stored for the refused ban";

    // Once the cashiers may open both again, the administrators may be banned.
    EXPECT_TRUE(staff::toggleBan(3, 6, 0));
    EXPECT_TRUE(staff::toggleBan(3, 7, 0));
    EXPECT_TRUE(staff::toggleBan(1, 7, 0));
    EXPECT_FALSE(staff::toggleBan(3, 7, 0)) << "now the cashiers are the last";
}

}  // namespace
}  // namespace library_tests
