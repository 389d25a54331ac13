// The operation-type book: its list "Справочник Типов Операций" (which can also
// be opened to select an operation type, and prints the list of operation types)
// and its form, declared for the list and form engines.
#pragma once

#include "framework/browse/browse_definition.h"
#include "framework/form/form_definition.h"

namespace refbooks {

// The list in TOP:ID_KEY order; `updateForm` runs the book's form.
framework::browse::BrowseDefinition typeOpList(std::function<void()> updateForm);
// The form. The code is typed by the user; a code already in use is refused
// naming the key "Id".
framework::form::FormDefinition typeOpForm();

}  // namespace refbooks
