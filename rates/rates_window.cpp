#include "rates/rates_window.h"

#include "framework/shared_state.h"
#include "platform/cp1251.h"
#include "platform/dates.h"
#include "platform/user_services.h"
#include "rates/rate_download.h"
#include "rates/rate_loading.h"
#include "rates/rate_source.h"
#include "ui/qt_user_services.h"
#include "ui/window_place.h"

#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>
#include <cstdlib>

namespace rates {

namespace {

using platform::ru;

constexpr const char* kSection = "KursCB_w";
constexpr const char* kHelpTopic = "Sprav\\KursCB.htm";
constexpr double kMarkedChangePercent = 10;

QString text(const char* utf8) { return QString::fromUtf8(utf8); }

std::int32_t dayOf(const QDate& date) { return platform::dayNumber(date.year(), date.month(), date.day()); }

QString decimal(double value, int places) {
    return QString::number(value, 'f', places).replace(QLatin1Char('.'), QLatin1Char(','));
}

void warn(const std::string& cp1251, const std::string& caption) {
    platform::messageBox(cp1251, caption, platform::Icon::Exclamation);
}

class RatesWindow : public QDialog {
public:
    explicit RatesWindow(QWidget* parent) : QDialog(parent) {
        setWindowTitle(text("Курсы ЦБ: официальные курсы на дату"));
        date_ = new QDateEdit(QDate::currentDate());
        date_->setCalendarPopup(true);
        date_->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        fromFile_ = new QRadioButton(text("Файл:"));
        fromAddress_ = new QRadioButton(text("Адрес из TARVO.INI:"));
        path_ = new QLineEdit;
        auto* browse = new QPushButton(text("Обзор..."));
        address_ = new QLabel;
        address_->setTextInteractionFlags(Qt::TextSelectableByMouse);
        currency_ = new QComboBox;
        currency_->setEditable(true);
        currency_->setToolTip(text("Только для файла курсов одной валюты за период"));
        auto* load = new QPushButton(text("Загрузить"));
        table_ = new QTableWidget(0, 8);
        table_->setHorizontalHeaderLabels(
            {text("Обозн."), text("Наименование"), text("Дата"), text("Номинал"), text("Курс в файле"),
             text("Курс за единицу"), text("Текущий курс ЦБ"), text("Изменение, %")});
        table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table_->setSelectionBehavior(QAbstractItemView::SelectRows);
        table_->verticalHeader()->hide();
        table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
        table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
        table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
        summary_ = new QLabel;
        summary_->setWordWrap(true);
        auto* buttons = new QDialogButtonBox;
        write_ = buttons->addButton(text("Записать"), QDialogButtonBox::AcceptRole);
        buttons->addButton(text("Отменить"), QDialogButtonBox::RejectRole);
        auto* help = buttons->addButton(text("Помощь"), QDialogButtonBox::HelpRole);
        write_->setEnabled(false);

        auto* fileRow = new QHBoxLayout;
        fileRow->addWidget(fromFile_);
        fileRow->addWidget(path_, 1);
        fileRow->addWidget(browse);
        auto* addressRow = new QHBoxLayout;
        addressRow->addWidget(fromAddress_);
        addressRow->addWidget(address_, 1);
        auto* dateRow = new QHBoxLayout;
        dateRow->addWidget(date_);
        dateRow->addStretch();
        auto* form = new QFormLayout;
        form->addRow(text("Дата:"), dateRow);
        form->addRow(fileRow);
        form->addRow(addressRow);
        form->addRow(text("Валюта файла за период:"), currency_);
        auto* loadRow = new QHBoxLayout;
        loadRow->addStretch();
        loadRow->addWidget(load);
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(form);
        layout->addLayout(loadRow);
        layout->addWidget(table_, 1);
        layout->addWidget(summary_);
        layout->addWidget(buttons);
        resize(940, 520);
        ui::restoreWindowPlace(*this, kSection);

        fillCurrencies();
        showAddress();
        fromFile_->setChecked(true);
        connect(date_, &QDateEdit::dateChanged, this, [this] { showAddress(); });
        connect(browse, &QPushButton::clicked, this, [this] { chooseFile(); });
        connect(path_, &QLineEdit::textEdited, this, [this] { fromFile_->setChecked(true); });
        connect(load, &QPushButton::clicked, this, [this] { loadPreview(); });
        connect(buttons, &QDialogButtonBox::accepted, this, [this] { writeRates(); });
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        connect(help, &QPushButton::clicked, this, [] { framework::openHelp(kHelpTopic); });
    }

    void done(int result) override {
        ui::keepWindowPlace(*this, kSection);
        QDialog::done(result);
    }

private:
    void fillCurrencies() {
        std::string error;
        currency_->addItem(QString());
        for (const BookCurrency& currency : readBook(error))
            currency_->addItem(ui::toQt(std::string(platform::clip(currency.designation))));
    }

    void showAddress() {
        const std::string address = configuredAddress(dayOf(date_->date()));
        fromAddress_->setEnabled(!address.empty());
        if (address.empty()) {
            address_->setText(text("не задан (TARVO.INI, раздел [Rates], ключ URL)"));
            fromFile_->setChecked(true);
        } else {
            address_->setText(ui::toQt(address));
        }
    }

    void chooseFile() {
        const QString path = QFileDialog::getOpenFileName(
            this, text("Файл курсов"), path_->text(), text("Файлы курсов (*.xml *.json);;Все файлы (*)"));
        if (path.isEmpty()) return;
        path_->setText(path);
        fromFile_->setChecked(true);
    }

    std::string source() const {
        if (fromAddress_->isChecked()) return configuredAddress(dayOf(date_->date()));
        return path_->text().trimmed().toStdString();
    }

    // Reads the source and shows what would be written; nothing is written here.
    void loadPreview() {
        write_->setEnabled(false);
        table_->setRowCount(0);
        summary_->clear();
        const std::string from = source();
        if (from.empty()) {
            warn(ru("Выберите файл курсов"), ru(" Курсы ЦБ"));
            return;
        }
        QProgressDialog progress(text("Загрузка курсов..."), text("Отменить"), 0, 0, this);
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(500);
        const SheetReading reading = readSource(from, [&progress](long long received, long long total) {
            if (total > 0) progress.setMaximum(static_cast<int>(total));
            progress.setValue(static_cast<int>(total > 0 ? received : 0));
            return !progress.wasCanceled();
        });
        progress.reset();
        if (!reading.sheet) return warn(reading.error, ru(" Курсы не загружены"));
        const bool period = reading.sheet->kind == SheetKind::Period;
        const std::string wrongDay = dateMismatch(*reading.sheet, period ? 0 : dayOf(date_->date()));
        if (!wrongDay.empty()) return warn(wrongDay, ru(" Курсы не загружены"));
        preview_ = previewLoad(*reading.sheet, ui::fromQt(currency_->currentText().trimmed()));
        if (!preview_.matching.error.empty()) return warn(preview_.matching.error, ru(" Курсы не загружены"));
        showPreview();
        write_->setEnabled(true);
    }

    void showPreview() {
        const std::vector<MatchedRate>& rates = preview_.matching.rates;
        table_->setRowCount(static_cast<int>(rates.size()));
        int marked = 0;
        for (int row = 0; row < static_cast<int>(rates.size()); ++row) {
            const MatchedRate& rate = rates[static_cast<std::size_t>(row)];
            const bool jump = rate.currentBank != 0 && std::fabs(rate.changePercent()) > kMarkedChangePercent;
            marked += jump;
            const QString cells[] = {ui::toQt(std::string(platform::clip(rate.designation))),
                                     ui::toQt(rate.name),
                                     QString::fromStdString(dottedText(rate.date)),
                                     decimal(rate.nominal, 0),
                                     decimal(rate.value, 4),
                                     decimal(rate.rate, 5),
                                     decimal(rate.currentBank, 5),
                                     rate.currentBank == 0 ? QString() : decimal(rate.changePercent(), 2)};
            for (int column = 0; column < 8; ++column) {
                auto* item = new QTableWidgetItem(cells[column]);
                if (column >= 3) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                if (jump) {
                    item->setBackground(QColor(255, 220, 200));
                    item->setToolTip(text("Курс изменился за день больше чем на 10%: проверьте файл"));
                }
                table_->setItem(row, column, item);
            }
        }
        QString note = ui::toQt(preview_.sheet.publisher) + text(", курсы на ") +
                       QString::fromStdString(dottedText(preview_.sheet.date)) + text(". Будет записано: ") +
                       QString::number(rates.size()) + text(".");
        if (marked > 0) note += text(" Изменились больше чем на 10%: ") + QString::number(marked) + text(".");
        if (!preview_.matching.skipped.empty()) {
            QStringList skipped;
            for (const std::string& code : preview_.matching.skipped) skipped << ui::toQt(code);
            note += text(" Нет в справочнике, пропущены: ") + skipped.join(QStringLiteral(", ")) + text(".");
        }
        summary_->setText(note);
    }

    void writeRates() {
        const LoadOutcome outcome = applyLoad(preview_);
        if (!outcome.error.empty()) {
            warn(outcome.error, ru(" Курсы не записаны"));
            write_->setEnabled(false);
            return;
        }
        platform::messageBox(ru("Записано курсов: ") + std::to_string(outcome.written.size()),
                             ru(" Курсы ЦБ"), platform::Icon::Information);
        accept();
    }

    QDateEdit* date_;
    QRadioButton* fromFile_;
    QRadioButton* fromAddress_;
    QLineEdit* path_;
    QLabel* address_;
    QComboBox* currency_;
    QTableWidget* table_;
    QLabel* summary_;
    QPushButton* write_;
    LoadPreview preview_;
};

}  // namespace

bool runRatesWindow(QWidget* parent) {
    if (const std::string refusal = loadRefusal(); !refusal.empty()) {
        platform::messageBox(refusal, ru(" Извините"), platform::Icon::Information);
        return false;
    }
    RatesWindow window(parent);
    return window.exec() == QDialog::Accepted;
}

}  // namespace rates
