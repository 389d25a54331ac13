#include "staff/d_katmol.h"

#include "access/access_files.h"
#include "access/rights_journal.h"
#include "framework/browse/browse_engine.h"
#include "framework/file_access.h"
#include "framework/form/form_numbering.h"
#include "platform/cp1251.h"
#include "storage/data_file.h"

#include <algorithm>

namespace staff {

namespace {

using platform::ru;
using Side = framework::browse::CellAlignment::Side;

storage::DataFile& katMol() { return dostup::accessFiles().katMol; }

// "Доступ": the highlighted category, read again, is the one whose rights the
// grid shows; the list refreshes when the grid returns.
void openRights(framework::browse::BrowseEngine& list, const RightsGridOpener& openGrid) {
    if (list.page().empty() || !openGrid) return;
    list.readHighlightedRecord();
    const storage::Record& category = katMol().record();
    const auto code = static_cast<std::uint16_t>(category.getInt("KTM:COD"));
    openGrid(code, std::string(platform::clip(*category.value("KTM:KATEG"))));
    list.forceRefresh();
}

// The highest category code that employees or rights rows still carry: a
// deleted category's code keeps its employees and bans, so a new category is
// numbered above it and inherits neither.
std::optional<std::int64_t> highestCategoryInUse() {
    dostup::AccessFiles& files = dostup::accessFiles();
    framework::FileUse employees(files.mol);
    framework::FileUse rights(files.dostup);
    const std::optional<std::int64_t> employed = framework::form::highestInFile(files.mol, "MOL:KATEGCODE");
    if (!employed) return std::nullopt;
    const std::optional<std::int64_t> banned = framework::form::highestInFile(files.dostup, "DOS:KATEGCODE");
    if (!banned) return std::nullopt;
    return std::max(*employed, *banned);
}

}  // namespace

framework::browse::BrowseDefinition categoryList(std::function<void()> updateForm,
                                                 RightsGridOpener openGrid,
                                                 std::function<void()> inspect) {
    framework::browse::BrowseDefinition list{katMol()};
    list.sorts = {{"KTM:CODE_KEY", "", ""}};
    list.columns = {
        {"KTM:COD", "", 16, "n2", {Side::Right, 2}, {Side::Right, 2}},
        {"KTM:KATEG", ru("Категория"), 80, "s20", {Side::Left, 2}, {Side::Left, 2}},
    };
    list.title = ru("Категории Сотрудников");
    list.accessObject = "KatMOL";
    list.labels.close = {ru("закрыть"), ru("Закрыть окно")};
    list.extraButtons = {
        // Captioned like help, it only re-reads the highlighted category.
        {{ru("Помощь"), {}},
         [](framework::browse::BrowseEngine& engine) { engine.readHighlightedRecord(); },
         "Print.ico",
         true},
        {{ru("Доступ"), ru("Права доступа к частям системы")},
         [openGrid = std::move(openGrid)](framework::browse::BrowseEngine& engine) {
             openRights(engine, openGrid);
         },
         ""},
    };
    if (inspect)
        list.extraButtons.push_back({{ru("Права"), ru("Права сотрудника по объектам системы")},
                                     [inspect = std::move(inspect)](framework::browse::BrowseEngine& engine) {
                                         inspect();
                                         engine.forceRefresh();
                                     },
                                     ""});
    list.iniSection = "KatMOL_t";
    list.helpTopic = "Sprav\\KatMOL.htm";
    list.updateForm = std::move(updateForm);
    return list;
}

framework::form::FormDefinition categoryForm() {
    namespace cf = category_form;
    framework::form::FormDefinition form;
    form.file = &katMol();
    form.accessObject = "KatMOL";
    form.actions = {ru(" Новая Категория"), ru(" Изменение Категории"), ru(" Удаление Категории")};
    form.namingField = "KTM:KATEG";
    form.fields = {
        {cf::kCode, "KTM:COD", "n2", ru("Код:"), ru("Код категории персонала")},
        {cf::kName, "KTM:KATEG", "s20", ru("Категория:"), ru("Наименование Категории")},
    };
    form.buttons.ok = ru("Записать");
    form.buttons.okTip = "";
    form.buttons.cancel = ru("Отменить");
    form.buttons.helpTip = ru("Вызов Помощи");
    form.numberedKey = "KTM:CODE_KEY";
    form.numberedAbove = highestCategoryInUse;
    form.numberedLimit = 99;  // "Код:" shows two digits
    form.duplicateKeys = {{"KTM:CODE_KEY", "Code"}};
    // A category added, renamed or deleted is journaled with the write itself.
    form.journal = {&dostup::accessFiles().rightsLog, dostup::categoryEntry, dostup::addRightsLogEntry};
    form.keepsPlacement = false;  // "KatMOL_u" holds its wallpaper only
    form.section = "KatMOL_u";
    form.helpTopic = "Sprav\\KatMOL.htm";
    return form;
}

}  // namespace staff
