// The price-type book: its list and its form, declared for the list and form
// engines.
#pragma once

#include "framework/browse/browse_definition.h"
#include "framework/form/form_definition.h"

namespace refbooks {

// The list " Цены" in PRI:ID_KEY order; `updateForm` runs the book's form.
framework::browse::BrowseDefinition priceList(std::function<void()> updateForm);
framework::form::FormDefinition priceForm();

}  // namespace refbooks
