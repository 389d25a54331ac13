// The three staff lists over real access files: who is listed and in which order,
// the department groups with their headers, the values computed per employee,
// the empty columns of the statement, the logo, the progress settings and a read
// error in the middle of the run.
#include "staffdocs/staff_lists.h"
#include "tests/staffdocs/staffdocs_fixture.h"

#include <QImage>

namespace staffdocs_tests {
namespace {

using staffdocs::StaffDocument;

class StaffLists : public StaffDocsTest {
protected:
    void addSample() {
        addDepartments({{1, "Бухгалтерия"}, {2, "Склад"}});
        addEmployees({
            {3, "Сидоров", "Петр Ильич", 2, "Кладовщик", "22-33-44"},
            {1, "Антонов", "Иван Сергеевич", 1, "Бухгалтер", "11-22-33"},
            {0, "Служебный", "Вход", 1, "Администратор", ""},
            {5, "Борисова", "Анна", 99, "Курьер", "55-66-77"},
            {4, "Яковлев", "Олег Юрьевич", 2, "Грузчик", ""},
            {6, "Васин", "Юрий Павлович", 99, "Водитель", ""},
        });
    }

    static std::vector<std::vector<std::string>> texts(const std::vector<PrintedBand>& printed,
                                                       const std::string& kind) {
        std::vector<std::vector<std::string>> out;
        for (const PrintedBand& band : printed)
            if (band.kind == kind) out.push_back(band.texts);
        return out;
    }
};

TEST_F(StaffLists, BySurnameListsEveryCodeAboveZeroWithInitialsPhoneAndDepartment) {
    addSample();
    const auto lines = texts(bands(StaffDocument::Staff), "detail");
    using Line = std::vector<std::string>;
    ASSERT_EQ(lines.size(), 5u) << "code 0 is left out";
    EXPECT_EQ(lines[0], (Line{"1", ru("Антонов И.С."), "11-22-33", ru("Бухгалтерия")}));
    EXPECT_EQ(lines[1], (Line{"5", ru("Борисова А."), "55-66-77", ""}))
        << "a department code that names nothing shows an empty name";
    EXPECT_EQ(lines[2], (Line{"6", ru("Васин Ю.П."), "", ""}));
    EXPECT_EQ(lines[3], (Line{"3", ru("Сидоров П.И."), "22-33-44", ru("Склад")}));
    EXPECT_EQ(lines[4], (Line{"4", ru("Яковлев О.Ю."), "", ru("Склад")}));

    // The short name went into the buffer only: the file keeps the surname.
    storage::DataFile& file = mol();
    framework::FileUse use(file);
    file.record().setValue("MOL:SCODE", "1");
    ASSERT_EQ(file.get(*file.layout().key("MOL:SCODE_KEY")), 0);
    EXPECT_EQ(platform::clip(*file.record().value("MOL:LNAME")), ru("Антонов"));
}

TEST_F(StaffLists, DepartmentReportsGroupUnderTheDepartmentNameAndUnknownCodesFormOneGroup) {
    addSample();
    for (StaffDocument document : {StaffDocument::StaffByDepartment, StaffDocument::StaffStatement}) {
        std::vector<std::string> sequence;  // group headers as "#name", lines as the short name
        for (const PrintedBand& band : bands(document)) {
            if (band.kind == "group") sequence.push_back("#" + band.texts.at(0));
            if (band.kind == "detail")
                sequence.push_back(document == StaffDocument::StaffByDepartment ? band.texts.at(1)
                                                                               : band.texts.at(0));
        }
        const std::vector<std::string> expected{
            ru("#Бухгалтерия"), ru("Антонов И.С."), ru("#Склад"),      ru("Сидоров П.И."),
            ru("Яковлев О.Ю."), "#",                ru("Борисова А."), ru("Васин Ю.П.")};
        EXPECT_EQ(sequence, expected) << staffdocs::documentName(document);
    }
    const auto lines = texts(bands(StaffDocument::StaffByDepartment), "detail");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], (std::vector<std::string>{"1", ru("Антонов И.С."), ru("Бухгалтер")}));
}

TEST_F(StaffLists, PdfsCarryTitleHeadingsAndPageNumbersOnEveryPageAndTheStatementLeavesCellsEmpty) {
    std::vector<Employee> many;
    for (int code = 1; code <= 300; ++code)
        many.push_back({code, "Фамилия" + std::to_string(1000 + code), "Имя Отчество",
                        1 + code % 12, "Менеджер отдела продаж", "123-45-67"});
    std::map<int, std::string> departments;
    for (int d = 1; d <= 12; ++d) departments[d] = "Отдел " + std::to_string(d);
    addDepartments(departments);
    addEmployees(many);

    struct Expect {
        StaffDocument document;
        const char* file;
        const char* title;
        const char* headings;
    };
    const Expect expected[] = {
        {StaffDocument::Staff, "staff.pdf", "Список сотрудников",
         "Код Фамилия И.О. Телефон Подразделение"},
        {StaffDocument::StaffByDepartment, "departments.pdf", "Сотрудники по Подразделениям",
         "Код Фамилия И.О. Должность"},
        {StaffDocument::StaffStatement, "statement.pdf", "Ведомость сотрудников",
         "Фамилия И.О. Должность Получено Подпись"},
    };
    for (const Expect& e : expected) {
        const ui::PdfRendering result = render(e.document, e.file);
        ASSERT_TRUE(result.written) << e.file;
        EXPECT_EQ(testing_support::pdfPageCount(inFolder(e.file)), result.pages);
        const QStringList text = pages(e.file);
        ASSERT_EQ(text.size(), result.pages);
        EXPECT_GE(result.pages, 6) << e.file;
        for (int p = 0; p < text.size(); ++p) {
            EXPECT_TRUE(text[p].contains(QString::fromUtf8(e.title))) << e.file << " " << p;
            EXPECT_TRUE(text[p].contains(QString::fromUtf8(e.headings))) << e.file << " " << p;
            EXPECT_TRUE(text[p].contains(QStringLiteral("Страница %1").arg(p + 1))) << p;
        }
        const QString all = text.join(QLatin1Char(' '));
        EXPECT_EQ(all.count(QStringLiteral("Фамилия")), 300 + text.size()) << e.file;
    }
    // The statement: name and title, nothing in the two cells for the hand.
    const QString statement = pages("statement.pdf").join(QLatin1Char(' '));
    EXPECT_TRUE(statement.contains(QStringLiteral("Отдел 1 Фамилия1012 И.О. Менеджер отдела продаж Фамилия1024")))
        << statement.left(400).toStdString();
}

TEST_F(StaffLists, AnEmptyLogoFileShowsNoPictureAndASetOneDoes) {
    addSample();
    ASSERT_TRUE(render(StaffDocument::Staff, "plain.pdf").written);
    EXPECT_FALSE(testing_support::programOutput(QStringLiteral("pdfimages"),
                                                {QStringLiteral("-list"), inFolder("plain.pdf")})
                     .contains(QStringLiteral("image")))
        << "no picture without LogoFile";

    QImage logo(40, 20, QImage::Format_RGB32);
    logo.fill(Qt::darkBlue);
    ASSERT_TRUE(logo.save(inFolder("logo.png")));
    setRequisite("LogoFile", ".\\logo.png");
    ASSERT_TRUE(render(StaffDocument::StaffStatement, "logo.pdf").written);
    const QString list = testing_support::programOutput(
        QStringLiteral("pdfimages"), {QStringLiteral("-list"), inFolder("logo.pdf")});
    EXPECT_TRUE(list.contains(QStringLiteral("image"))) << list.toStdString();
}

TEST_F(StaffLists, RunCountsAgainst500ReadsSequentiallyAndNamesOtdMolOnAReadError) {
    std::vector<Employee> many;
    for (int code = 1; code <= 120; ++code)
        many.push_back({code, "Ф" + std::to_string(1000 + code), "И", 1, "Т", ""});
    addEmployees(many);

    struct FailingSource : framework::RecordSource {
        FailingSource(framework::RecordSource& inner, int failAt) : inner(inner), failAt(failAt) {}
        std::string label() const override { return inner.label(); }
        std::int64_t count() override { return inner.count(); }
        void setQuickScan(bool on) override {
            inner.setQuickScan(on);
            quickScanSeen.push_back(on && mol().quickScan() &&
                                    dostup::accessFiles().otdMol.quickScan());
        }
        int start() override { return inner.start(); }
        int next() override {
            if (++reads == failAt) {
                error = storage::failure(90, 5, "disk failure");
                return 90;
            }
            return inner.next();
        }
        storage::ErrorState lastError() const override {
            return reads == failAt ? error : inner.lastError();
        }
        framework::RecordSource& inner;
        int failAt;
        int reads = 0;
        storage::ErrorState error;
        std::vector<bool> quickScanSeen;
    };

    ui::PdfRendering result;
    framework::ReportCycleSettings settings;
    std::vector<bool> quickScan;
    staffdocs::runDocument(StaffDocument::Staff, [&](const framework::ReportDefinition& report,
                                                     framework::RecordSource& source) {
        settings = report.cycle;
        FailingSource failing(source, 101);
        result = ui::renderToPdf(report, failing, inFolder("broken.pdf"));
        quickScan = failing.quickScanSeen;
        return result.response;
    });
    EXPECT_EQ(settings.secondText, ru("Список Сотрудников"));
    EXPECT_EQ(settings.fixedTotal, 500);
    EXPECT_EQ(settings.recordsPerCycle, 25);
    EXPECT_EQ(quickScan, (std::vector<bool>{true, false})) << "on for MOL and OtdMOL, then off";
    EXPECT_FALSE(mol().quickScan());
    EXPECT_EQ(messages, (std::vector<std::string>{"35 OtdMOL"}));
    ASSERT_TRUE(result.written) << "the pages so far";
    const QString text = pages("broken.pdf").join(QLatin1Char(' '));
    EXPECT_TRUE(text.contains(QStringLiteral("Ф1100 И.")));
    EXPECT_FALSE(text.contains(QStringLiteral("Ф1101")));

    // An error at the first read: nothing printed, no file.
    messages.clear();
    staffdocs::runDocument(StaffDocument::StaffStatement,
                           [&](const framework::ReportDefinition& report,
                               framework::RecordSource& source) {
                               FailingSource failing(source, 1);
                               result = ui::renderToPdf(report, failing, inFolder("none.pdf"));
                               return result.response;
                           });
    EXPECT_EQ(messages, (std::vector<std::string>{"35 OtdMOL"}));
    EXPECT_EQ(result.pages, 0);
    EXPECT_FALSE(QFile::exists(inFolder("none.pdf")));
}

TEST_F(StaffLists, NoEmployeesMeansNoPages) {
    addEmployees({{0, "Служебный", "Вход", 1, "", ""}});
    const ui::PdfRendering result = render(StaffDocument::Staff, "empty.pdf");
    EXPECT_EQ(result.pages, 0);
    EXPECT_EQ(result.response, framework::kResponseCancelled);
    EXPECT_FALSE(QFile::exists(inFolder("empty.pdf")));
}

}  // namespace
}  // namespace staffdocs_tests
