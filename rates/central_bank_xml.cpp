// The Russian central bank's rates in XML: the daily file and the period file of
// one currency. The file is windows-1251 unless its declaration says UTF-8.
#include "rates/sheet_sources.h"

#include "platform/cp1251.h"

#include <QRegularExpression>
#include <QString>
#include <QXmlStreamReader>

#include <map>

namespace rates::detail {

namespace {

std::string cp(const QString& text) { return platform::utf8ToCp1251(text.toStdString()); }

// The encoding named in the XML declaration, lower-case; empty without one.
std::string declaredEncoding(std::string_view bytes) {
    const std::string head(bytes.substr(0, 200));
    static const QRegularExpression declaration(
        QStringLiteral(R"(^\s*<\?xml[^>]*encoding\s*=\s*["']([A-Za-z0-9_.:-]+)["'])"));
    const QRegularExpressionMatch match = declaration.match(QString::fromLatin1(head));
    return match.hasMatch() ? match.captured(1).toLower().toStdString() : std::string();
}

// The text of the file as Unicode, or the error.
std::optional<QString> decoded(std::string_view bytes, std::string& error) {
    const std::string encoding = declaredEncoding(bytes);
    if (encoding == "windows-1251" || encoding == "cp1251")
        return QString::fromStdString(platform::cp1251ToUtf8(bytes));
    if (encoding.empty() || encoding == "utf-8" || encoding == "utf8")
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    error = say("Файл курсов в кодировке ") + encoding + say(", ожидалась windows-1251 или UTF-8");
    return std::nullopt;
}

struct Reading {
    QXmlStreamReader xml;
    RateSheet sheet;
    std::string error;

    bool failed() const { return !error.empty(); }

    // The rest of the file after an error of our own is not read; one of the
    // reader's own errors (not XML, cut off) names the line.
    void xmlError() {
        if (!failed() && xml.hasError())
            error = say("Файл курсов испорчен или обрезан (строка ") +
                    std::to_string(xml.lineNumber()) + "): " + cp(xml.errorString());
    }

    std::optional<std::int32_t> dateAttribute(const char* name, const std::string& subject) {
        const QString text = xml.attributes().value(QLatin1String(name)).toString();
        if (text.isEmpty()) {
            error = subject + say(": нет даты (") + name + ")";
            return std::nullopt;
        }
        const std::optional<std::int32_t> day = dottedDate(text.toStdString());
        if (!day) error = subject + say(": «") + cp(text.left(40)) + say("» — не дата (") + name + ")";
        return day;
    }

    // One Valute or Record element, its children by name.
    std::map<QString, QString> children() {
        std::map<QString, QString> values;
        while (xml.readNextStartElement()) {
            const QString name = xml.name().toString();
            values[name] = xml.readElementText(QXmlStreamReader::SkipChildElements);
        }
        return values;
    }

    bool take(OfficialRate& rate, std::map<QString, QString>& values, const std::string& subject) {
        const Amount nominal = amount(values[QStringLiteral("Nominal")].toStdString(), ',',
                                      subject + say(", номинал (Nominal)"));
        const Amount value =
            amount(values[QStringLiteral("Value")].toStdString(), ',', subject + say(", курс (Value)"));
        if (!nominal.value) error = nominal.error;
        else if (!value.value) error = value.error;
        if (failed()) return false;
        rate.nominal = *nominal.value;
        rate.value = *value.value;
        rate.name = cp(values[QStringLiteral("Name")].trimmed());
        return true;
    }

    void daily() {
        const std::optional<std::int32_t> day = dateAttribute("Date", say("Файл курсов"));
        if (!day) return;
        sheet.date = *day;
        int number = 0;
        while (!failed() && xml.readNextStartElement()) {
            ++number;
            if (xml.name() != QLatin1String("Valute")) {
                xml.skipCurrentElement();
                continue;
            }
            std::map<QString, QString> values = children();
            if (xml.hasError()) return;  // cut off inside the currency
            OfficialRate rate;
            rate.code = cp(values[QStringLiteral("CharCode")].trimmed().left(10));
            if (rate.code.empty()) {
                error = say("Валюта №") + std::to_string(number) + say(" без кода (CharCode)");
                return;
            }
            if (take(rate, values, say("Валюта ") + rate.code)) sheet.rates.push_back(rate);
        }
    }

    void period() {
        sheet.kind = SheetKind::Period;
        sheet.currencyId = cp(xml.attributes().value(QLatin1String("ID")).toString().left(20));
        const std::optional<std::int32_t> first = dateAttribute("DateRange1", say("Файл курсов"));
        if (!first) return;
        const std::optional<std::int32_t> last = dateAttribute("DateRange2", say("Файл курсов"));
        if (!last) return;
        sheet.date = *first;
        sheet.lastDate = *last;
        while (!failed() && xml.readNextStartElement()) {
            if (xml.name() != QLatin1String("Record")) {
                xml.skipCurrentElement();
                continue;
            }
            OfficialRate rate;
            const QString dateText = xml.attributes().value(QLatin1String("Date")).toString();
            const std::optional<std::int32_t> day = dateAttribute("Date", say("Запись курса"));
            if (!day) return;
            rate.date = *day;
            std::map<QString, QString> values = children();
            if (xml.hasError()) return;
            if (take(rate, values, say("Курс на ") + cp(dateText))) sheet.rates.push_back(rate);
        }
    }
};

}  // namespace

SheetReading readCentralBankXml(std::string_view bytes) {
    std::string error;
    const std::optional<QString> text = decoded(bytes, error);
    if (!text) return {std::nullopt, error};
    Reading reading;
    reading.sheet.publisher = say("Центральный банк России");
    reading.sheet.base = "RUB";
    reading.xml.addData(*text);
    if (reading.xml.readNextStartElement()) {
        if (reading.xml.name() != QLatin1String("ValCurs")) {
            reading.error = say("В файле курсов корневой элемент «") +
                            cp(reading.xml.name().toString().left(40)) + say("», ожидался «ValCurs»");
        } else if (reading.xml.attributes().hasAttribute(QLatin1String("DateRange1"))) {
            reading.period();
        } else {
            reading.daily();
        }
    }
    // Whatever follows the root must be well-formed too: a file cut off shows here.
    while (!reading.failed() && !reading.xml.atEnd()) reading.xml.readNext();
    reading.xmlError();
    if (reading.failed()) return {std::nullopt, reading.error};
    if (std::string last = lastChecks(reading.sheet); !last.empty()) return {std::nullopt, last};
    return {std::move(reading.sheet), {}};
}

}  // namespace rates::detail
