// Shared set-up of the browse engine tests: a fake list window, real data files in
// a temporary folder, a scripted message service, and a scripted update form.
#pragma once

#include "framework/browse/browse_engine.h"
#include "framework/file_access.h"
#include "framework/shared_state.h"
#include "platform/cp1251.h"
#include "platform/user_services.h"
#include "refbooks/ref_layouts.h"
#include "storage/data_file.h"
#include "tests/helpers/temp_folder.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace browse_tests {

using framework::browse::BrowseDefinition;
using framework::browse::BrowseEngine;
using framework::browse::ListButton;
using framework::browse::ListKey;
using framework::browse::ScrollEvent;

class FakeListView : public framework::browse::BrowseView {
public:
    int rows = 5;
    int tab = 1;
    std::vector<std::vector<std::string>> shown;
    int highlighted = 0;
    std::map<ListButton, bool> visible, enabled;
    bool scrollBar = false;
    int thumb = 0;
    bool pending = false;
    int waitCursor = 0;
    int opened = 0, closed = 0, beeps = 0, focus = 0;
    framework::browse::ListWindowSetup setup;
    std::map<int, framework::browse::ToolbarButtonState> toolbar;

    void openWindow(const framework::browse::ListWindowSetup& s) override {
        setup = s;
        ++opened;
    }
    void closeWindow() override { ++closed; }
    int visibleRows() const override { return rows; }
    void showRows(const std::vector<std::vector<std::string>>& r) override { shown = r; }
    int chosenRow() const override { return highlighted; }
    void highlightRow(int row) override { highlighted = row; }
    void showButton(ListButton b, bool v) override { visible[b] = v; }
    void enableButton(ListButton b, bool e) override { enabled[b] = e; }
    void showScrollBar(bool v) override { scrollBar = v; }
    void setThumb(int p) override { thumb = p; }
    void setWaitCursor(bool on) override { waitCursor += on ? 1 : -1; }
    void focusList() override { ++focus; }
    void postNewSelection() override { pending = true; }
    int activeTab() const override { return tab; }
    void prepareToolbar(const std::vector<framework::browse::ToolbarButtonState>& states) override {
        for (const auto& s : states) {
            auto& t = toolbar[s.button];
            t.button = s.button;
            t.enabled = s.enabled;
            if (!s.tooltip.empty()) t.tooltip = s.tooltip;
        }
    }
    void beep() override { ++beeps; }

    // The window's event loop: handles posted new-selection events.
    void pump(BrowseEngine& engine) {
        for (int guard = 0; pending && guard < 20; ++guard) {
            pending = false;
            engine.newSelection();
        }
    }
    // The user clicks a row: the list box highlights it and reports a new selection.
    void click(BrowseEngine& engine, int row) {
        highlighted = row;
        postNewSelection();
        pump(engine);
    }
};

// What an update form call saw.
struct FormCall {
    int request = 0;
    std::string record;  // a field of the buffer named by the test
    bool hasCurrent = false;
};

class BrowseTest : public ::testing::Test {
protected:
    BrowseTest() {
        std::filesystem::create_directories(folder.path() / "Dat");
        price.setName(".\\Dat\\Price");
        valut.setName(".\\Dat\\Valut");
        kurs.setName(".\\Dat\\KursVal");
        framework::globalRequest() = 0;
        framework::globalResponse() = 0;
        framework::vcrRequest() = 0;
        framework::setRightsCheck([this](const std::string& d) {
            asked.push_back(d);
            return static_cast<std::int16_t>(rights);
        });
        framework::setHelpOpener([this](const std::string& topic) { help.push_back(topic); });
    }
    ~BrowseTest() override {
        engine.reset();
        framework::setRightsCheck({});
        framework::setHelpOpener({});
        for (storage::DataFile* f : {&price, &valut, &kurs})
            while (framework::userCount(*f) > 0) framework::releaseFile(*f);
    }

    // Price types with codes 1..count (or the codes given), named "Price <code>".
    void addPrices(const std::vector<int>& codes) {
        framework::FileUse use(price);
        for (int code : codes) addPrice(code, "Price " + std::to_string(code));
    }
    void addPrices(int count) {
        std::vector<int> codes;
        for (int i = 1; i <= count; ++i) codes.push_back(i);
        addPrices(codes);
    }
    void addPrice(int code, const std::string& name) {
        framework::FileUse use(price);
        price.record().clear();
        price.record().setValue("PRI:ID", std::to_string(code));
        price.record().setValue("PRI:NAME", name);
        ASSERT_EQ(price.add(), 0) << price.driverErrorText();
    }

    BrowseDefinition priceDefinition() {
        BrowseDefinition d{price};
        d.sorts = {{"PRI:ID_KEY", {}, "PRI:ID", std::nullopt, {}}};
        d.columns = {{"PRI:ID", platform::ru("Код"), 16, "@n4", {}, {}, nullptr},
                     {"PRI:NAME", platform::ru("Название"), 80, "@s24", {}, {}, nullptr},
                     {"PRI:SKIDKA", platform::ru("Скидка (%)"), 41, "@n-9.2B", {}, {}, nullptr}};
        d.accessObject = "Price";
        d.iniSection = "Price_t";
        d.helpTopic = "Sprav\\Price.htm";
        d.updateForm = [this] { runForm(); };
        return d;
    }

    // Opens the list and handles its open event.
    BrowseEngine& start(BrowseDefinition definition) {
        engine = std::make_unique<BrowseEngine>(std::move(definition), view);
        if (engine->open()) {
            engine->windowOpened();
            view.pump(*engine);
        }
        return *engine;
    }

    // The codes shown in the first column, as numbers.
    std::vector<int> codes() const {
        std::vector<int> out;
        for (const auto& row : view.shown) out.push_back(std::stoi(row.at(0)));
        return out;
    }
    // A shown cell without its padding (1-based row and column).
    std::string cell(int row, int column) const {
        const std::string& text = view.shown.at(static_cast<std::size_t>(row - 1))
                                      .at(static_cast<std::size_t>(column - 1));
        const std::size_t begin = text.find_first_not_of(' ');
        return begin == std::string::npos ? std::string() : std::string(platform::clip(text.substr(begin)));
    }
    int highlightedCode() const {
        return view.highlighted ? codes().at(static_cast<std::size_t>(view.highlighted - 1)) : 0;
    }

    // The scripted update form: each call takes the next action (default: cancel).
    // An action sees the request and returns the response and the navigation.
    struct FormAction {
        std::function<void()> edit;  // runs on the record buffer before the response
        int response = framework::kResponseCancelled;
        int vcr = 0;
    };
    void runForm() {
        FormCall call;
        call.request = framework::globalRequest();
        call.record = formRecord ? formRecord() : std::string();
        call.hasCurrent = formFile ? formFile->hasCurrent() : false;
        calls.push_back(call);
        framework::globalRequest() = 0;
        FormAction action;
        if (!actions.empty()) {
            action = actions.front();
            actions.pop_front();
        }
        if (action.edit) action.edit();
        framework::globalResponse() = action.response;
        framework::vcrRequest() = action.vcr;
    }

    testing_support::TempFolder folder;
    platform::ScopedScriptedServices services;
    storage::DataFile price{refbooks::priceLayout()};
    storage::DataFile valut{refbooks::valutLayout()};
    storage::DataFile kurs{refbooks::kursLayout()};
    FakeListView view;
    std::unique_ptr<BrowseEngine> engine;
    int rights = 0;
    std::vector<std::string> asked;
    std::vector<std::string> help;
    std::deque<FormAction> actions;
    std::vector<FormCall> calls;
    std::function<std::string()> formRecord = [this] {
        return price.record().value("PRI:ID").value_or("");
    };
    storage::DataFile* formFile = &price;
};

}  // namespace browse_tests
