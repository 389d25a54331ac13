// The window "Курсы ЦБ" as an operator uses it: a saved file chosen, the preview
// with a jump over 10% marked and the skipped currency named, then "Записать".
#include "rates/rates_window.h"
#include "sample_sheets.h"

#include "framework/file_access.h"
#include "framework/shared_state.h"
#include "platform/cp1251.h"
#include "platform/user_services.h"
#include "refbooks/ref_files.h"
#include "storage/data_file.h"
#include "tests/helpers/qt_application.h"
#include "tests/helpers/temp_folder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDate>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

namespace rates_tests {
namespace {

QPushButton* button(QWidget* window, const char* caption) {
    for (QPushButton* candidate : window->findChildren<QPushButton*>())
        if (candidate->text() == QString::fromUtf8(caption)) return candidate;
    return nullptr;
}

TEST(RatesWindow, PreviewMarksAJumpAndWriteStoresEveryRate) {
    testing_support::qtApplication();
    testing_support::TempFolder folder;
    std::filesystem::create_directories(folder.path() / "Dat");
    refbooks::ReferenceFiles& files = refbooks::referenceFiles();
    files.valut.setName(".\\Dat\\Valut");
    files.kurs.setName(".\\Dat\\KursVal");
    {
        framework::FileUse use(files.valut);
        for (const auto& [code, designation, bank] : {std::tuple{1, "USD", 90.0}, std::tuple{2, "EUR", 80.0}}) {
            files.valut.record().clear();
            files.valut.record().setInt("VAL:COD", code);
            files.valut.record().setText("VAL:OBOZN", designation);
            files.valut.record().setReal(files.valut.layout().indexOf("VAL:KURSBANKA"), bank);
            ASSERT_EQ(files.valut.add(), 0);
        }
    }
    const QDate today = QDate::currentDate();
    const std::string date = today.toString(QStringLiteral("dd.MM.yyyy")).toStdString();
    folder.write("daily.xml", dailyXml(date, {{"USD", "1", "92,0"}, {"EUR", "1", "99,0"}, {"GBP", "1", "117"}}));

    platform::ScopedScriptedServices boxes;
    QStringList marked, rows;
    QString summary;
    QTimer::singleShot(100, [&] {
        auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        window->findChild<QLineEdit*>()->setText(QString::fromStdString((folder.path() / "daily.xml").string()));
        button(window, "Загрузить")->click();
        auto* table = window->findChild<QTableWidget*>();
        for (int row = 0; row < table->rowCount(); ++row) {
            rows << table->item(row, 0)->text() + " " + table->item(row, 5)->text();
            if (!table->item(row, 0)->toolTip().isEmpty()) marked << table->item(row, 0)->text();
        }
        for (QLabel* label : window->findChildren<QLabel*>())
            if (label->text().contains(QString::fromUtf8("пропущены"))) summary = label->text();
        button(window, "Записать")->click();
    });
    EXPECT_TRUE(rates::runRatesWindow(nullptr));
    EXPECT_EQ(rows, (QStringList{"USD 92,00000", "EUR 99,00000"}));
    EXPECT_EQ(marked, QStringList{"EUR"}) << "80 to 99 is over 10%";
    EXPECT_TRUE(summary.contains("GBP")) << summary.toStdString();
    ASSERT_EQ(boxes->shown.size(), 1u);
    EXPECT_EQ(boxes->shown[0].text, platform::ru("Записано курсов: 2"));

    framework::FileUse use(files.valut);
    files.valut.record().setText("VAL:OBOZN", "EUR");
    ASSERT_EQ(files.valut.get(*files.valut.layout().key("OBOZN_KEY")), 0);
    EXPECT_EQ(files.valut.record().getReal(files.valut.layout().indexOf("VAL:KURSBANKA")), 99.0);
}

}  // namespace
}  // namespace rates_tests
