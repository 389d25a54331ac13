// Rates files shaped as the banks publish them, for the tests.
#pragma once

#include "platform/cp1251.h"

#include <string>
#include <vector>

namespace rates_tests {

struct Line {
    std::string code;
    std::string nominal;
    std::string value;
};

// The Russian central bank's daily file, windows-1251 unless `utf8`.
inline std::string dailyXml(const std::string& date, const std::vector<Line>& lines, bool utf8 = false) {
    std::string xml = std::string("<?xml version=\"1.0\" encoding=\"") + (utf8 ? "UTF-8" : "windows-1251") +
                      "\"?>\n<ValCurs Date=\"" + date + "\" name=\"Foreign Currency Market\">\n";
    int id = 1000;
    for (const Line& line : lines) {
        ++id;
        xml += "<Valute ID=\"R0" + std::to_string(id) + "\"><NumCode>" + std::to_string(id) +
               "</NumCode><CharCode>" + line.code + "</CharCode><Nominal>" + line.nominal +
               "</Nominal><Name>Валюта " + line.code + "</Name><Value>" + line.value +
               "</Value></Valute>\n";
    }
    xml += "</ValCurs>\n";
    return utf8 ? xml : platform::utf8ToCp1251(xml);
}

// The National Bank of Belarus's daily rates.
inline std::string nationalBankJson(const std::string& isoDate, const std::vector<Line>& lines) {
    std::string json = "[";
    int id = 400;
    for (const Line& line : lines) {
        if (json.size() > 1) json += ",";
        json += "{\"Cur_ID\":" + std::to_string(++id) + ",\"Date\":\"" + isoDate +
                "T00:00:00\",\"Cur_Abbreviation\":\"" + line.code + "\",\"Cur_Scale\":" + line.nominal +
                ",\"Cur_Name\":\"Валюта " + line.code + "\",\"Cur_OfficialRate\":" + line.value + "}";
    }
    return json + "]";
}

// The central bank's file of one currency over a period: (date, value) records.
inline std::string periodXml(const std::string& first, const std::string& last,
                             const std::vector<std::pair<std::string, std::string>>& records) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n<ValCurs ID=\"R01235\" DateRange1=\"" +
                      first + "\" DateRange2=\"" + last + "\" name=\"Foreign Currency Market Dynamic\">\n";
    for (const auto& [date, value] : records)
        xml += "<Record Date=\"" + date + "\" Id=\"R01235\"><Nominal>1</Nominal><Value>" + value +
               "</Value></Record>\n";
    return xml + "</ValCurs>\n";
}

}  // namespace rates_tests
