// The travel certificate and the power of attorney over real access files: the
// fixed texts of both sides in their order, the filled fields, the requisites from
// section "KELM" of the library's INI file, today's date, the century printed for
// dates a hand completes, empty passport fields and long names.
#include "platform/dates.h"
#include "staffdocs/employee_values.h"
#include "tests/staffdocs/staffdocs_fixture.h"

#include <QRegularExpression>

namespace staffdocs_tests {
namespace {

using staffdocs::StaffDocument;

class StaffForms : public StaffDocsTest {
protected:
    StaffForms() { platform::setTestNow(platform::dayNumber(2031, 3, 7), 1); }
    ~StaffForms() override { platform::clearTestNow(); }

    void addSample() {
        addEmployees({
            {2, "Иванов", "Иван Петрович", 1, "Менеджер по снабжению", "", "4509", "123456"},
            {7, "Петрова", "Мария", 1, "Экспедитор", "", "", ""},
            {9, "Сидоров", "Олег", 1, "Водитель", "", "4601", "654321"},
        });
    }
};

TEST_F(StaffForms, CenturyDigitsAreThoseOfTheYear) {
    EXPECT_EQ(staffdocs::centuryDigits(platform::dayNumber(2024, 5, 1)), "20");
    EXPECT_EQ(staffdocs::centuryDigits(platform::dayNumber(2000, 1, 1)), "20");
    EXPECT_EQ(staffdocs::centuryDigits(platform::dayNumber(2099, 12, 31)), "20");
    EXPECT_EQ(staffdocs::centuryDigits(platform::dayNumber(1999, 12, 31)), "19");
    EXPECT_EQ(staffdocs::centuryDigits(platform::dayNumber(2100, 1, 1)), "21");
}

TEST_F(StaffForms, TravelCertificateHasBothSidesInOrderWithTheEmployeeAndThisCentury) {
    addSample();
    setRequisite("ShopName", "ООО \"Ромашка\"");
    const ui::PdfRendering result = render(StaffDocument::TravelCertificate, "trip.pdf", 2);
    ASSERT_TRUE(result.written);
    EXPECT_EQ(result.pages, 1);
    EXPECT_EQ(testing_support::pdfPageCount(inFolder("trip.pdf")), 1);
    const QString text = pages("trip.pdf").join(QLatin1Char(' '));
    std::string missing;
    EXPECT_TRUE(inOrder(text,
                        {"Типовая форма No 283", "Утверждено МФ СССР,", "15.02.80 г.  No 80",
                         "Госкомтрудом СССР,  ВЦСПС", "Штамп", "учереждения  (организации)",
                         "КОМАНДИРОВОЧНОЕ  УДОСТОВЕРЕНИЕ", "Выдано", "Иванов Иван Петрович",
                         "Менеджер по снабжению", "фамилия, имя и отчество,  должность",
                         "ООО \"Ромашка\"", "командированному в",
                         "наименование объединения,  предприятия,  учреждения,",
                         "организации, выдавших удостоверение", "пункты назначения,",
                         "наименование объединения, предприятия, учреждения, организации",
                         "Срок командировки", "дней", "цель командировки",
                         "Основание:  приказ (распоряжение) ", "20____ г.",
                         "Действительно по предъявлении паспорта", "4509", "123456",
                         "Подпись руководителя объединения,", "учреждения, организации",
                         "Отметки о выбытии в командировку, прибытии в пункты назначения и "
                         "выбытии из них"},
                        &missing))
        << missing << "\n" << text.toStdString();
    for (int block = 0; block < 4; ++block) {
        const int at = text.indexOf(QStringLiteral("Выбыл из"),
                                    block == 0 ? 0 : text.indexOf(QStringLiteral("печать")) + 1);
        EXPECT_GE(at, 0);
    }
    EXPECT_EQ(text.count(QStringLiteral("Выбыл из _____________________________________")), 4);
    EXPECT_EQ(text.count(QStringLiteral("Прибыл в ______________________________________")), 4);
    EXPECT_EQ(text.count(QStringLiteral("\"____\" ________________ 20____ г.")), 8);
    EXPECT_EQ(text.count(QStringLiteral("Подпись")), 9);
    EXPECT_EQ(text.count(QStringLiteral("печать")), 8);
    // Each page carries the print date and its number.
    EXPECT_GE(text.count(QStringLiteral("Напечатано ")), 1);
    QString body = text;
    body.remove(QRegularExpression(QStringLiteral(" ?(Напечатано \\S+|стр\\. \\d+)")));
    body = body.trimmed();
    EXPECT_TRUE(body.endsWith(QStringLiteral(
        "П р и м е ч а н и е. При выезде в несколько пунктов отметки о прибытии делаются "
        "отдельно в каждом из них.")))
        << body.right(200).toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("199"))) << "the wrong century is gone";
    EXPECT_FALSE(text.contains(QStringLiteral("Петрова"))) << "the chosen employee only";
}

TEST_F(StaffForms, EmptyPassportFieldsAndLongNamesPrintCleanly) {
    const std::string longSurname(25, 'W');
    addEmployees({{4, "Константинопольский", "Александр Вениаминович Длинноимённый", 1,
                   "Заместитель начальника отдела материально-технического снабжения", "", "",
                   ""}});
    ASSERT_TRUE(render(StaffDocument::TravelCertificate, "long.pdf", 4).written);
    const QString text = pages("long.pdf").join(QLatin1Char(' '));
    // The full name is cut to 50 characters, the title to 35.
    EXPECT_TRUE(text.contains(
        QStringLiteral("Константинопольский Александр Вениаминович Длинно")))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Длинноим")));
    EXPECT_TRUE(text.contains(QStringLiteral("Заместитель начальника отдела матер")));
    EXPECT_FALSE(text.contains(QStringLiteral("материально")));
    EXPECT_TRUE(text.contains(QStringLiteral("Действительно по предъявлении паспорта Подпись руководителя")))
        << "nothing follows the label when the passport fields are empty\n" << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("ООО \"Торговый Дом\"")))
        << "the default organisation name without the key";
}

TEST_F(StaffForms, PowerOfAttorneyPrintsTheRequisitesFromTheLibrarysIniFile) {
    addSample();
    const std::map<const char*, const char*> requisites{
        {"ShopName", "ЗАО \"Тарво-Трейд\""}, {"Adress", "ул. Ленина, д. 1"},
        {"Adress2", "г. Москва, 101000"},   {"Phone", "(495) 123-45-67"},
        {"Fax", "(495) 123-45-68"},        {"Director", "Смирнов А.А."},
        {"GlavBuch", "Кузнецова Е.В."},    {"Schet", "40702810900000000001"},
        {"Bank", "ОАО \"Банк\" г. Москва"}, {"BIK", "044525225"},
        {"INN", "7701234567"},             {"OKPO", "12345678"},
        {"OKONX", "71100"},                {"KSchet", "30101810400000000225"}};
    for (const auto& [key, value] : requisites) setRequisite(key, value);
    // A key of another section or of another file is not read.
    platform::writeIni("KELM", "Director", ru("Чужой"), ".\\Dostup.ini");

    const ui::PdfRendering result = render(StaffDocument::PowerOfAttorney, "attorney.pdf", 9);
    ASSERT_TRUE(result.written);
    EXPECT_EQ(result.pages, 1);
    const QString text = pages("attorney.pdf").join(QLatin1Char(' '));
    std::string missing;
    EXPECT_TRUE(inOrder(text,
                        {"ЗАО \"Тарво-Трейд\"", "Тел.: (495) 123-45-67", "Факс: (495) 123-45-68",
                         "ИНН 7701234567", "Юрид. адрес: г. Москва, 101000", "ул. Ленина, д. 1",
                         "Счет No 40702810900000000001 в ОАО \"Банк\" г. Москва", "БИК 044525225",
                         "к/c 30101810400000000225", "Код ОКПО 12345678", "Код ОКОНХ 71100",
                         "Доверенность действительна по . . . . . . . . . . . . . 20 г.",
                         "Доверенность No . . . . . .", "Дата выдачи 07 мар 2031",
                         "Выдана Сидоров Олег", "Водитель", "Паспорт серия 4601 No 654321 выдан",
                         "На получение от ...", "товарно-материальных ценностей по ...",
                         "Перечень товарно-материальных ценностей, подлежащих получению:",
                         "Единица", "No п/п", "Товарно-материальные ценности",
                         "Количество (прописью)", "измерения",
                         "Подпись лица, получившего доверенность", "удостоверяем",
                         "Руководитель предприятия ... Смирнов А.А.", "М.П.",
                         "Главный бухгалтер ... Кузнецова Е.В."},
                        &missing))
        << missing << "\n" << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("199")));
    EXPECT_FALSE(text.contains(QStringLiteral("Чужой")));
}

TEST_F(StaffForms, AnEmployeeThatIsNotThereHasNoFormAndCodeZeroIsAnEmployeeToo) {
    addSample();
    EXPECT_FALSE(staffdocs::fetchEmployee(5));
    const ui::PdfRendering none = render(StaffDocument::PowerOfAttorney, "none.pdf", 5);
    EXPECT_EQ(none.pages, 0);
    EXPECT_FALSE(QFile::exists(inFolder("none.pdf")));

    addEmployees({{0, "Служебный", "Вход", 0, "", ""}});
    EXPECT_TRUE(staffdocs::fetchEmployee(0));
    const ui::PdfRendering zero = render(StaffDocument::TravelCertificate, "zero.pdf", 0);
    EXPECT_EQ(zero.pages, 1);
    EXPECT_TRUE(pages("zero.pdf").join(' ').contains(QStringLiteral("Служебный Вход")));
}

TEST_F(StaffForms, FormsCountAgainst500AndNameMolOnAReadError) {
    addSample();
    for (StaffDocument document : {StaffDocument::TravelCertificate, StaffDocument::PowerOfAttorney}) {
        staffdocs::fetchEmployee(9);
        framework::ReportCycleSettings settings;
        staffdocs::runDocument(document, [&](const framework::ReportDefinition& report,
                                             framework::RecordSource& source) {
            settings = report.cycle;
            EXPECT_EQ(source.label(), "MOL");
            return 2;
        });
        EXPECT_EQ(settings.secondText, document == StaffDocument::TravelCertificate
                                           ? ru("Командиров.удостоверение")
                                           : ru("Доверенность"));
        EXPECT_EQ(settings.fixedTotal, 500);
        EXPECT_EQ(settings.recordsPerCycle, 25);
    }
}

}  // namespace
}  // namespace staffdocs_tests
