// The organisation book: the list " Фирмы" and the five-tab organisation form,
// declared for the list and form engines.
#pragma once

#include "framework/browse/browse_definition.h"
#include "framework/form/form_definition.h"

#include <functional>

namespace storage {
class Record;
}

namespace refbooks {

// The list in GLO:FIRM_KEY order. `updateForm` runs the organisation form. Its
// button "Копировать" starts an insert from the highlighted organisation; "Выбрать"
// works only when the list was opened for select.
framework::browse::BrowseDefinition firmList(std::function<void()> updateForm);

// The organisation form. A new or copied organisation is primed with ".\COMP.INI",
// "USD", "Руб" and "Руб" and numbered at once; a delete asks and goes ahead
// without showing the window.
framework::form::FormDefinition firmForm();

// The form's controls that the book refers to.
namespace firm_form {
inline constexpr int kStoreFile = 46;  // the stores file in use, shown only
inline constexpr int kLogoFile = 120;  // below the tab sheet, on every page
}  // namespace firm_form

// Clears what a copy does not take over: the code, numbered anew by the form.
void prepareFirmCopy(storage::Record& firm);

}  // namespace refbooks
