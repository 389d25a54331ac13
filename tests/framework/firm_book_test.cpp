// The organisation book as the program declares it, run by the list and form
// engines over a real Firm file: code numbering, the copy button, the delete
// without a window, the rights of list and form, and the form's own displays.
#include "book_fixture.h"

#include "framework/form/form_environment.h"
#include "platform/dates.h"
#include "refbooks/c_firm.h"
#include "refbooks/ref_files.h"

namespace {

using namespace book_tests;
using framework::browse::ListButton;

class FirmBook : public book_tests::BookTest {
protected:
    FirmBook()
        : BookTest(refbooks::referenceFiles().firm, ".\\Dat\\Firm", refbooks::firmList,
                   refbooks::firmForm()) {}

    void add(int code, const std::map<std::string, std::string>& values = {}) {
        framework::FileUse use(file);
        file.record().clear();
        file.record().setValue("GLO:FIRM", std::to_string(code));
        file.record().setValue("GLO:SHOPNAME", "Firm " + std::to_string(code));
        for (const auto& [field, value] : values) file.record().setValue(field, value);
        ASSERT_EQ(file.add(), 0) << file.driverErrorText();
    }

    // Every stored record, read through a file object of its own, in code order.
    std::vector<storage::Record> stored() {
        storage::DataFile other(file.layout());
        other.setName(file.name());
        std::vector<storage::Record> out;
        if (other.open() != 0) return out;
        other.set(*file.layout().key("GLO:FIRM_KEY"));
        while (other.next() == 0) out.push_back(other.record());
        return out;
    }
    std::vector<int> codes() {
        std::vector<int> out;
        for (const storage::Record& r : stored()) out.push_back(static_cast<int>(r.getInt(0)));
        return out;
    }
    static std::string text(const storage::Record& r, const char* field) {
        return std::string(platform::clip(*r.value(field)));
    }
};

TEST_F(FirmBook, NewOrganisationIsNumberedAtOnceAndPrimed) {
    std::vector<int> duringForm;
    formView.script = [&](FormEngine& engine) {
        duringForm = codes();
        EXPECT_EQ(formView.caption, ru(" Новая Фирма") + "  (New)");
        EXPECT_EQ(text(engine.record(), "GLO:INIFILENAME"), ".\\COMP.INI");
        EXPECT_EQ(text(engine.record(), "GLO:BVOBOZN"), "USD");
        EXPECT_EQ(text(engine.record(), "GLO:NVOBOZN"), ru("Руб"));
        EXPECT_EQ(text(engine.record(), "GLO:PVOBOZN"), ru("Руб"));
        EXPECT_EQ(text(engine.record(), "GLO:SHOPNAME"), "");
        formView.typed = {
            {4, ru("ООО Ромашка")}, {61, "12.5"}, {102, "31.12.25"}, {72, ru("упаковка")}};
        engine.okPressed();
    };
    BrowseEngine& engine = openList();
    engine.insertButton();
    EXPECT_EQ(duringForm, std::vector<int>{1})
        << "the first organisation gets code 1, added before the form shows";
    ASSERT_EQ(stored().size(), 1u);
    const storage::Record saved = stored()[0];
    EXPECT_EQ(text(saved, "GLO:SHOPNAME"), ru("ООО Ромашка"));
    auto at = [&](const char* name) {
        return static_cast<std::size_t>(saved.layout().fieldIndex(name));
    };
    EXPECT_DOUBLE_EQ(saved.getReal(at("GLO:SPECNALOG")), 12.5);
    EXPECT_EQ(saved.getInt(at("GLO:BLOKDATE")),
              platform::dayNumber(2025, 12, 31));
    EXPECT_EQ(text(saved, "GLO:EDVES"), ru("упаков")) << "8 characters typed, 6 kept";
    EXPECT_EQ(cell(listView.highlighted, 2), ru("ООО Ромашка"));

    // With 1, 2 and 7 present the next is 8, and a cancelled insert leaves nothing.
    add(2);
    add(7);
    formView.script = [&](FormEngine& e) {
        duringForm = codes();
        e.cancelPressed();
    };
    engine.insertButton();
    EXPECT_EQ(duringForm, (std::vector<int>{1, 2, 7, 8}));
    EXPECT_EQ(codes(), (std::vector<int>{1, 2, 7}));
    EXPECT_TRUE(services->shown.empty());
}

TEST_F(FirmBook, ListShowsOneDigitCodesAndChoosesOnlyWhenOpenedForSelect) {
    add(3, {{"GLO:ADRESS", ru("Минск")}, {"GLO:BASEPATH", "D:\\BASE3\\"}});
    add(10);
    BrowseEngine& engine = openList();
    EXPECT_EQ(asked, std::vector<std::string>{"Firm"});
    EXPECT_EQ(listView.setup.iniSection, "Firm_t");
    EXPECT_EQ(cell(1, 1), "3");
    EXPECT_EQ(cell(1, 3), ru("Минск"));
    EXPECT_EQ(cell(1, 4), "D:\\BASE3\\");
    EXPECT_EQ(cell(2, 1), "#") << "a code of 10 does not fit its one digit";
    EXPECT_FALSE(listView.enabled[ListButton::Select]);
    engine.closeButton();

    file.record().clear();
    file.record().setValue("GLO:FIRM", "10");
    BrowseEngine& selecting = openList(framework::kRequestSelect);
    EXPECT_TRUE(listView.enabled[ListButton::Select]);
    selecting.selectButton();
    EXPECT_TRUE(selecting.isClosed());
    EXPECT_EQ(framework::globalResponse(), framework::kResponseCompleted);
    EXPECT_EQ(file.record().getInt(0), 10);
}

TEST_F(FirmBook, CopyTakesEverythingButTheCodeAndThePrimedFields) {
    add(1);
    add(2);
    add(3, {{"GLO:SHOPNAME", ru("ЗАО Третья")},
            {"GLO:BANK1", ru("Сбербанк")},
            {"GLO:SHOPNAME1", "kept without a control"},
            {"GLO:INIFILENAME", ".\\THREE.INI"},
            {"GLO:BVOBOZN", "EUR"},
            {"GLO:NVOBOZN", "BYN"},
            {"GLO:PVOBOZN", "EUR"},
            {"GLO:NDS", "20"},
            {"GLO:PRIORCODE", "B"},
            {"GLO:CODEALGOR", "2"},
            {"GLO:SOUND", "1"}});
    add(7);
    formView.script = [&](FormEngine& engine) {
        EXPECT_EQ(formView.caption, ru(" Новая Фирма") + "  (New)");
        EXPECT_EQ(engine.record().getInt(0), 8);
        engine.okPressed();
    };
    BrowseEngine& engine = openList();
    listView.click(engine, 3);
    ASSERT_EQ(engine.definition().extraButtons.size(), 1u);
    EXPECT_EQ(engine.definition().extraButtons[0].label.text, ru("Копировать"));
    engine.extraButton(0);
    ASSERT_EQ(codes(), (std::vector<int>{1, 2, 3, 7, 8}));
    const std::vector<storage::Record> all = stored();
    const storage::Record& original = all[2];
    const storage::Record& copy = all[4];
    for (std::size_t i = 1; i < copy.layout().fields().size(); ++i) {
        const std::string name = copy.layout().fields()[i].name;
        if (name == "GLO:INIFILENAME" || name == "GLO:BVOBOZN" || name == "GLO:NVOBOZN" ||
            name == "GLO:PVOBOZN")
            continue;
        EXPECT_EQ(copy.value(i), original.value(i)) << name;
    }
    EXPECT_EQ(text(copy, "GLO:INIFILENAME"), ".\\COMP.INI");
    EXPECT_EQ(text(copy, "GLO:BVOBOZN"), "USD");
    EXPECT_EQ(text(copy, "GLO:NVOBOZN"), ru("Руб"));
    EXPECT_EQ(text(copy, "GLO:PVOBOZN"), ru("Руб"));
    EXPECT_EQ(text(original, "GLO:INIFILENAME"), ".\\THREE.INI") << "the original is untouched";
    EXPECT_EQ(cell(listView.highlighted, 1), "8") << "the list shows the copy";
}

TEST_F(FirmBook, InsertProhibitionHidesAddAndRefusesTheCopyInTheForm) {
    add(1);
    rights = framework::kForbidInsert;
    int forms = 0;
    formView.script = [&](FormEngine&) { ++forms; };
    BrowseEngine& engine = openList();
    EXPECT_FALSE(listView.visible[ListButton::Insert]);
    EXPECT_TRUE(listView.visible[ListButton::Change]);
    engine.extraButton(0);
    EXPECT_EQ(forms, 0);
    ASSERT_EQ(services->shown.size(), 1u);
    EXPECT_EQ(box(0).text, ru("Добавление запрещено ")) << "the form's text, not the list's";
    EXPECT_EQ(box(0).caption, ru(" Извините"));
    EXPECT_EQ(box(0).icon, platform::Icon::Information);
    EXPECT_EQ(codes(), std::vector<int>{1}) << "the reserved code is removed again";

    engine.insertButton();  // the Insert key still reaches the list's check
    ASSERT_EQ(services->shown.size(), 2u);
    EXPECT_EQ(box(1).text, ru("Добавленение запрещено"));
    EXPECT_EQ(codes(), std::vector<int>{1});
}

TEST_F(FirmBook, WriteProhibitionLeavesTheFormForViewingOnly) {
    add(1);
    rights = framework::kForbidWrite;
    bool okEnabled = true;
    formView.script = [&](FormEngine& engine) {
        okEnabled = formView.ok;
        EXPECT_EQ(formView.caption, ru(" Изменение Фирмы  (Firm 1)"));
        engine.cancelPressed();
    };
    openList().changeButton();
    EXPECT_FALSE(okEnabled);
    EXPECT_TRUE(services->shown.empty());
}

TEST_F(FirmBook, DeleteAsksWithoutAWindowAndATakenCodeIsNamedFirm) {
    add(1);
    add(2);
    BrowseEngine& engine = openList();
    listView.click(engine, 2);
    services->answers = {platform::kButtonOk};
    engine.deleteButton();
    EXPECT_FALSE(formView.opened) << "the delete shows no window";
    ASSERT_EQ(services->shown.size(), 1u);
    EXPECT_EQ(codes(), std::vector<int>{1});

    formView.script = [&](FormEngine& e) {
        formView.typed = {{2, "1"}};
        e.okPressed();
        EXPECT_FALSE(e.closed());
        e.cancelPressed();
    };
    engine.insertButton();
    ASSERT_EQ(services->shown.size(), 2u);
    EXPECT_EQ(box(1).text, "Adding this record creates a duplicate entry for the key:Firm");
    EXPECT_EQ(codes(), std::vector<int>{1});
}

TEST_F(FirmBook, FormHasNoWallpaperAndShowsTheStoresFileInUse) {
    refbooks::referenceFiles().store.setName("D:\\DATA\\Store");
    framework::form::setFormEnvironment([] {
        framework::form::FormEnvironment pictures;
        pictures.wallpaper.patternOn = true;
        pictures.wallpaper.form1 = ".\\pic\\Form1.bmp";
        return pictures;
    });
    formView.script = [&](FormEngine& engine) {
        const auto* display = engine.definition().fieldOfEntry(refbooks::firm_form::kStoreFile);
        ASSERT_NE(display, nullptr);
        EXPECT_EQ(framework::form::entryText(engine.record(), *display), "D:\\DATA\\Store");
        engine.cancelPressed();
    };
    openList().insertButton();
    ASSERT_TRUE(formView.wallpaper.has_value());
    EXPECT_FALSE(formView.wallpaper->has_value());
    EXPECT_EQ(formView.opening.section, "Firm_u");
    framework::form::setFormEnvironment({});
}

}  // namespace
