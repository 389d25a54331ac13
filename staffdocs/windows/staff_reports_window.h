// The report choice window "  Отчеты по Сотрудникам": the surname of the
// employee in the MOL record buffer (where the employee list leaves its
// highlighted record) and a button for each staff document; a document's button
// prints it and closes the window, "Close" closes it with the response cancelled.
// The window keeps no placement.
#pragma once

#include "staffdocs/d_mol_rp.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace staffdocs {

class StaffReportsWindow : public QDialog {
    Q_OBJECT
public:
    explicit StaffReportsWindow(QWidget* parent = nullptr);

    // The button of a document, and "Close".
    QPushButton* button(StaffDocument document) const;
    QPushButton* closeButton() const { return close_; }
    QLabel* employeeLabel() const { return employee_; }
    // The response of the window: the printed document's, or cancelled.
    int response() const { return response_; }

private:
    void print(StaffDocument document);

    QLabel* employee_ = nullptr;
    QPushButton* buttons_[5] = {};
    QPushButton* close_ = nullptr;
    int response_;
};

// Runs the window modally for the employee in the MOL buffer; returns its
// response, also left in GlobalResponse. Documents print through the report
// runner the library has, or through the windows' own when it has none.
int showStaffReports(QWidget* parent = nullptr);

}  // namespace staffdocs
