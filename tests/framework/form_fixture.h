// Shared by the form engine tests: a form window that records what the engine did
// to it and plays the user's part from a script, and book forms over real data
// files in a temporary folder.
#pragma once

#include "framework/file_access.h"
#include "framework/form/entry_values.h"
#include "framework/form/form_ditto.h"
#include "framework/form/form_engine.h"
#include "framework/form/form_environment.h"
#include "framework/form/form_view.h"
#include "framework/referential_rules.h"
#include "framework/shared_state.h"
#include "framework/standard_messages.h"
#include "platform/cp1251.h"
#include "platform/user_services.h"
#include "refbooks/ref_layouts.h"
#include "storage/data_file.h"
#include "tests/helpers/temp_folder.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace form_tests {

using framework::form::FormDefinition;
using framework::form::FormEngine;
using platform::ru;

class FakeFormView : public framework::form::FormView {
public:
    std::function<void(FormEngine&)> script;  // the user's part, once on screen
    std::map<int, std::string> typed;         // entry texts read back at OK

    bool opened = false;
    framework::form::FormWindowOpening opening;
    std::vector<bool> closes;  // savePlacement of each close
    std::string caption;
    std::optional<std::optional<std::string>> wallpaper;  // outer: whether it was set
    int dittoKey = 0, focused = 0, shows = 0;
    bool ok = true, cancel = true, controls = true, wait = false;
    std::vector<int> rejected;
    std::map<int, std::pair<bool, std::string>> toolbar;

    void openWindow(const framework::form::FormWindowOpening& o) override {
        opening = o;
        opened = true;
    }
    void run(FormEngine& engine) override {
        engine.windowOpened();
        if (script) script(engine);
    }
    void closeWindow(bool savePlacement) override { closes.push_back(savePlacement); }
    void setCaption(const std::string& text) override { caption = text; }
    void setWallpaper(const std::optional<std::string>& picture) override { wallpaper = picture; }
    void alertDittoKey(int keyCode) override { dittoKey = keyCode; }
    void setWaitCursor(bool on) override { wait = on; }
    void showRecord() override { ++shows; }
    std::optional<int> readEntries() override {
        for (const auto& field : opening.definition->fields) {
            auto it = typed.find(field.entry);
            if (it != typed.end() &&
                !framework::form::storeEntry(opening.definition->file->record(), field, it->second))
                return field.entry;
        }
        typed.clear();
        return std::nullopt;
    }
    void rejectEntry(int entry) override { rejected.push_back(entry); }
    void setOkEnabled(bool enabled) override { ok = enabled; }
    void setCancelEnabled(bool enabled) override { cancel = enabled; }
    void setControlsEnabled(bool enabled) override { controls = ok = cancel = enabled; }
    void focusEntry(int entry) override { focused = entry; }
    int focusedEntry() const override { return focused; }
    void showFocusFrame() override {}
    void setToolbarButton(int button, bool enabled, const std::string& tip) override {
        toolbar[button].first = enabled;
        if (!tip.empty()) toolbar[button].second = tip;
    }
    bool toolEnabled(int button) { return toolbar[button].first; }
};

// Forms of the reference books, declared as the books declare them.
FormDefinition priceForm(storage::DataFile& price);
FormDefinition valutForm(storage::DataFile& valut);
FormDefinition kursForm(storage::DataFile& kurs);
FormDefinition storeForm(storage::DataFile& store);

class FormTest : public ::testing::Test {
protected:
    FormTest();
    ~FormTest() override;

    // Runs the form with this request, as a list calls it; returns GlobalResponse.
    int run(const FormDefinition& form, int request);
    // A record as stored, read through a file object of its own.
    std::optional<storage::Record> stored(storage::DataFile& file, const std::string& field,
                                          const std::string& value);
    std::string storedName(int priceId);
    // The last component of the primary key of every record, in key order.
    std::vector<int> codes(storage::DataFile& file);
    void add(storage::DataFile& file, const std::map<std::string, std::string>& values);
    // The list's part before a change or delete: it holds the file in use and
    // re-reads the record with the watch armed.
    void pick(storage::DataFile& file, const std::string& field, const std::string& value);
    const platform::MessageBoxRequest& box(std::size_t i) { return services->shown.at(i); }
    void restrictRights(std::int16_t rights);

    testing_support::TempFolder folder;
    platform::ScopedScriptedServices services;
    FakeFormView view;
    storage::DataFile price{refbooks::priceLayout()};
    storage::DataFile valut{refbooks::valutLayout()};
    storage::DataFile kurs{refbooks::kursLayout()};
    storage::DataFile store{refbooks::storeLayout()};
};

}  // namespace form_tests
