// "В таблицу" on a list window: asks the print right, where to save (.xlsx or
// .csv, the employee list saying that the file holds personal data in clear),
// exports with a progress window that can cancel, and offers to open the file.
#pragma once

class QWidget;

namespace framework::browse {
class BrowseEngine;
}

namespace ui {

void exportListToSpreadsheet(framework::browse::BrowseEngine& list, QWidget* parent);

}  // namespace ui
