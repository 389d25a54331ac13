// How a book's windows are opened: a book declares its browse and form
// definitions and calls these; nothing about the windows is the book's own.
//
//   framework::browse::BrowseDefinition list{files.price};
//   ...
//   list.updateForm = [] { ui::runFormWindow(priceForm()); };
//   ui::openList(list, frame->area());
#pragma once

#include "framework/browse/browse_definition.h"
#include "framework/form/form_definition.h"
#include "ui/list_window.h"

class QMdiArea;

namespace ui {

// Starts a list in the frame's MDI area (top-level without one) and returns at
// once, as the frame's commands do. nullptr when the list ended at once (access
// refused); GlobalResponse then holds 2.
ListWindow* openList(const framework::browse::BrowseDefinition& definition,
                     QMdiArea* area = nullptr);

// Runs a list until it closes, for a caller that waits for its outcome (a list
// opened for select with GlobalRequest 4). Returns GlobalResponse: 1 when a
// record was selected (it is in the file's record buffer), else 2.
int runList(const framework::browse::BrowseDefinition& definition, QMdiArea* area = nullptr);

// The book's form procedure: reads GlobalRequest, shows the form over the list
// that calls it (in the same MDI area), and leaves GlobalResponse and VCRRequest.
// Returns the response.
int runFormWindow(const framework::form::FormDefinition& definition);

}  // namespace ui
