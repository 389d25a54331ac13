// The report choice window "  Отчеты по Сотрудникам" offscreen: the employee's
// surname, the six buttons with their tips, a document's button printing that
// document for the employee in the MOL buffer and closing the window, and
// "Close" printing nothing.
#include "staffdocs/windows/staff_reports_window.h"
#include "tests/staffdocs/staffdocs_fixture.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace staffdocs_tests {
namespace {

using staffdocs::StaffDocument;

class ChoiceWindow : public StaffDocsTest {
protected:
    ChoiceWindow() {
        addEmployees({{3, "Кузнецов", "Олег", 1, "Водитель", ""},
                      {8, "Морозова", "Анна", 1, "Кассир", ""}});
        framework::setReportRunner([this](const framework::ReportDefinition& report,
                                          framework::RecordSource& source) {
            ran.push_back(report.layout.name);
            BandRecorder recorder(report.layout);
            framework::SilentProgressView silent;
            framework::runReportCycle(source, recorder, silent, report.cycle);
            for (const PrintedBand& band : recorder.bands)
                if (band.kind == "detail") {
                    std::string joined;
                    for (const std::string& text : band.texts) joined += text + "|";
                    details.push_back(joined);
                }
            return 1;
        });
    }

    // Opens the window for employee `code` and presses the button `press` picks.
    int pressIn(int code, const std::function<QPushButton*(staffdocs::StaffReportsWindow&)>& press) {
        staffdocs::fetchEmployee(static_cast<std::uint16_t>(code));
        int response = 0;
        QTimer::singleShot(0, [&] {
            auto* window = qobject_cast<staffdocs::StaffReportsWindow*>(
                QApplication::activeModalWidget());
            if (!window) {
                ADD_FAILURE() << "no modal choice window";
                return;
            }
            press(*window)->click();
        });
        response = staffdocs::showStaffReports();
        return response;
    }

    std::vector<std::string> ran;
    std::vector<std::string> details;  // the texts of each detail band printed
};

TEST_F(ChoiceWindow, ShowsTheSurnameAndSixButtonsWithTheirTips) {
    staffdocs::fetchEmployee(8);
    staffdocs::StaffReportsWindow window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("  Отчеты по Сотрудникам"));
    EXPECT_EQ(window.employeeLabel()->text(), QStringLiteral("Морозова"));
    bool captionShown = false;
    for (QLabel* label : window.findChildren<QLabel*>())
        captionShown |= label->text() == QStringLiteral("Сотрудник:");
    EXPECT_TRUE(captionShown);

    struct Expect {
        StaffDocument document;
        const char* text;
        const char* tip;
    };
    const Expect expected[] = {
        {StaffDocument::PowerOfAttorney, "Доверенность", "Печаьт Доверенности сотруднику"},
        {StaffDocument::TravelCertificate, "Командировка", "Печать Командировочного удостоверения"},
        {StaffDocument::Staff, "Список по Фамилиям",
         "Список Сотрудников предприятия, упорядоченный по Кодам"},
        {StaffDocument::StaffByDepartment, "Список по Подразделениям",
         "Список Сотрудников, упорядоченный по Подразделениям"},
        {StaffDocument::StaffStatement, " Ведомость",
         "Список Сотрудников предприятия, упорядоченный по Кодам"},
    };
    for (const Expect& e : expected) {
        ASSERT_NE(window.button(e.document), nullptr);
        EXPECT_EQ(window.button(e.document)->text(), QString::fromUtf8(e.text));
        EXPECT_EQ(window.button(e.document)->toolTip(), QString::fromUtf8(e.tip));
    }
    EXPECT_EQ(window.closeButton()->text(), QStringLiteral("Close"));
    EXPECT_EQ(window.findChildren<QPushButton*>().size(), 6);
}

TEST_F(ChoiceWindow, EachButtonPrintsItsDocumentForTheHighlightedEmployeeAndCloses) {
    struct Expect {
        StaffDocument document;
        const char* name;
        std::size_t lines;
        const char* first;  // in the first detail band
    };
    const Expect expected[] = {
        {StaffDocument::PowerOfAttorney, "Доверенность", 1, "|Морозова Анна|"},
        {StaffDocument::TravelCertificate, "Командировочное удостоверение", 1, "|Морозова Анна|"},
        {StaffDocument::Staff, "Список сотрудников", 2, "3|Кузнецов О.|"},
        {StaffDocument::StaffByDepartment, "Сотрудники по Подразделениям", 2, "3|Кузнецов О.|"},
        {StaffDocument::StaffStatement, "Ведомость сотрудников", 2, "Кузнецов О.|"},
    };
    for (const Expect& e : expected) {
        ran.clear();
        details.clear();
        framework::globalResponse() = 0;
        EXPECT_EQ(pressIn(8, [&](auto& window) { return window.button(e.document); }), 1);
        EXPECT_EQ(framework::globalResponse(), 1);
        EXPECT_EQ(ran, (std::vector<std::string>{ru(e.name)}));
        ASSERT_EQ(details.size(), e.lines) << e.name;
        EXPECT_NE(details[0].find(ru(e.first)), std::string::npos) << details[0];
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the window closed";
    }
}

TEST_F(ChoiceWindow, ClosePrintsNothingAndAnswersCancelled) {
    EXPECT_EQ(pressIn(3, [](auto& window) { return window.closeButton(); }), 2);
    EXPECT_EQ(framework::globalResponse(), 2);
    EXPECT_TRUE(ran.empty());
}

}  // namespace
}  // namespace staffdocs_tests
