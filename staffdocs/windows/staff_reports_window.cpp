#include "staffdocs/windows/staff_reports_window.h"

#include "ui/title_width.h"

#include "access/access_files.h"
#include "framework/shared_state.h"
#include "platform/cp1251.h"
#include "platform/paths.h"
#include "platform/picture.h"
#include "ui/qt_user_services.h"
#include "ui/report_runner.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace staffdocs {

namespace {

struct ButtonText {
    StaffDocument document;
    const char* text;
    const char* tip;
};

// In the window's order; the tips are the program's own texts.
const ButtonText kButtons[] = {
    {StaffDocument::PowerOfAttorney, "Доверенность", "Печаьт Доверенности сотруднику"},
    {StaffDocument::TravelCertificate, "Командировка", "Печать Командировочного удостоверения"},
    {StaffDocument::Staff, "Список по Фамилиям",
     "Список Сотрудников предприятия, упорядоченный по Кодам"},
    {StaffDocument::StaffByDepartment, "Список по Подразделениям",
     "Список Сотрудников, упорядоченный по Подразделениям"},
    {StaffDocument::StaffStatement, " Ведомость",
     "Список Сотрудников предприятия, упорядоченный по Кодам"},
};

QString qt(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace

StaffReportsWindow::StaffReportsWindow(QWidget* parent)
    : QDialog(parent), response_(framework::kResponseCancelled) {
    setWindowTitle(qt("  Отчеты по Сотрудникам"));
    ui::keepCaptionVisible(this);
    const QString icon = QString::fromStdString(platform::hostPath(".\\Printer.ico").string());
    setWindowIcon(QFileInfo::exists(icon) ? QIcon(icon) : QIcon::fromTheme("document-print"));

    const storage::Record& employee = dostup::accessFiles().mol.record();
    const std::string surname = platform::format(
        platform::Picture("s25"),
        employee.getText("MOL:LNAME"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(qt("Сотрудник:"), this), 0, 0);
    employee_ = new QLabel(ui::toQt(std::string(platform::clip(surname))), this);
    QFont bold = employee_->font();
    bold.setBold(true);
    employee_->setFont(bold);
    grid->addWidget(employee_, 0, 1);
    int row = 1;
    for (const ButtonText& b : kButtons) {
        auto* button = new QPushButton(qt(b.text), this);
        button->setToolTip(qt(b.tip));
        button->setAutoDefault(false);
        buttons_[static_cast<int>(b.document)] = button;
        grid->addWidget(button, row++, 0, 1, 2);
        const StaffDocument document = b.document;
        connect(button, &QPushButton::clicked, this, [this, document] { print(document); });
    }
    close_ = new QPushButton(QStringLiteral("Close"), this);
    close_->setAutoDefault(false);
    grid->addWidget(close_, row, 0, 1, 2);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
}

QPushButton* StaffReportsWindow::button(StaffDocument document) const {
    return buttons_[static_cast<int>(document)];
}

void StaffReportsWindow::print(StaffDocument document) {
    if (!framework::reportRunnerInstalled()) ui::installReportRunner();
    response_ = printDocument(document);
    accept();
}

int showStaffReports(QWidget* parent) {
    StaffReportsWindow window(parent);
    window.exec();
    framework::globalResponse() = window.response();
    return window.response();
}

}  // namespace staffdocs
