// Shared by the tests of a reference book run as the program runs it: the book's
// own data file in a temporary folder, its list on a fake list window with the
// book's form behind it on a fake form window, the rights the test sets, and the
// message boxes shown.
#pragma once

#include "browse_fixture.h"
#include "form_fixture.h"

#include "framework/browse/browse_engine.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace book_tests {

using browse_tests::FakeListView;
using framework::browse::BrowseEngine;
using framework::form::FormEngine;
using platform::ru;

// A shown cell or stored text without its padding.
inline std::string trimmed(const std::string& text) {
    const std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos) return {};
    return std::string(platform::clip(text.substr(begin)));
}

// The book's list declaration, given the form procedure behind it.
using ListOfBook = std::function<framework::browse::BrowseDefinition(std::function<void()>)>;

class BookTest : public ::testing::Test {
protected:
    // `diskName` is the file's name under the temporary folder (".\Dat\Firm").
    BookTest(storage::DataFile& bookFile, const char* diskName, ListOfBook listOfBook,
             framework::form::FormDefinition bookForm)
        : file(bookFile), form(std::move(bookForm)), listOf(std::move(listOfBook)) {
        std::filesystem::create_directories(folder.path() / "Dat");
        file.setName(diskName);
        framework::globalRequest() = framework::globalResponse() = framework::vcrRequest() = 0;
        framework::setRightsCheck([this](const std::string& designation) {
            asked.push_back(designation);
            return static_cast<std::int16_t>(rights);
        });
    }
    ~BookTest() override {
        list.reset();
        while (framework::userCount(file) > 0) framework::releaseFile(file);
        framework::setRightsCheck({});
        framework::form::forgetDittoRecords();
        framework::globalRequest() = framework::globalResponse() = framework::vcrRequest() = 0;
    }

    // Opens the list as the frame does (or for select), with the book's form behind it.
    BrowseEngine& openList(int request = 0) {
        framework::globalRequest() = request;
        list = std::make_unique<BrowseEngine>(
            listOf([this] { framework::form::runForm(form, formView); }), listView);
        if (list->open()) {
            list->windowOpened();
            listView.pump(*list);
        }
        return *list;
    }
    // A shown cell without its padding (1-based row and column).
    std::string cell(int row, int column) const {
        return trimmed(listView.shown.at(static_cast<std::size_t>(row - 1))
                           .at(static_cast<std::size_t>(column - 1)));
    }
    const platform::MessageBoxRequest& box(std::size_t i) { return services->shown.at(i); }

    testing_support::TempFolder folder;
    platform::ScopedScriptedServices services;
    storage::DataFile& file;
    const framework::form::FormDefinition form;
    ListOfBook listOf;
    FakeListView listView;
    form_tests::FakeFormView formView;
    std::unique_ptr<BrowseEngine> list;
    int rights = 0;
    std::vector<std::string> asked;
};

}  // namespace book_tests
