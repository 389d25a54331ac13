// CSV as a Russian-locale spreadsheet opens it directly: UTF-8 with a byte-order
// mark, ";" between cells, decimal commas, dates as DD.MM.YYYY. A text that a
// spreadsheet would take for a formula (starting with = + - @) is written with
// a leading apostrophe, so a name typed by an operator never runs as a formula.
#include "framework/spreadsheet/table_writer.h"

#include "platform/cp1251.h"
#include "platform/dates.h"

#include <cstdio>
#include <fstream>

namespace framework::spreadsheet {

namespace {

std::string quoted(const std::string& utf8) {
    const bool needs = utf8.find_first_of(";\"\r\n") != std::string::npos ||
                       (!utf8.empty() && (utf8.front() == ' ' || utf8.back() == ' '));
    if (!needs) return utf8;
    std::string text = "\"";
    for (const char c : utf8) {
        if (c == '"') text += '"';
        text += c;
    }
    return text + "\"";
}

std::string numberText(double value, int places) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", places, value);
    std::string result = text;
    for (char& c : result)
        if (c == '.') c = ',';
    return result;
}

class CsvWriter final : public TableWriter {
public:
    bool begin(const std::string& path, const std::string&, const std::vector<TableColumn>& columns,
               std::string& error) override {
        columns_ = columns;
        out_.open(path, std::ios::binary | std::ios::trunc);
        if (!out_) {
            error = platform::ru("файл не создаётся");
            return false;
        }
        out_ << "\xEF\xBB\xBF";
        std::vector<TableCell> heading;
        for (const TableColumn& column : columns) heading.push_back({column.heading});
        return line(heading, true, error);
    }

    bool row(const std::vector<TableCell>& cells, std::string& error) override {
        return line(cells, false, error);
    }

    bool finish(std::string& error) override {
        out_.flush();
        out_.close();
        if (out_.fail()) {
            error = platform::ru("файл не записан (нет места на диске?)");
            return false;
        }
        return true;
    }

private:
    bool line(const std::vector<TableCell>& cells, bool heading, std::string& error) {
        std::string text;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i > 0) text += ';';
            text += heading ? quoted(platform::cp1251ToUtf8(cells[i].text)) : cell(cells[i], columns_[i]);
        }
        out_ << text << "\r\n";
        if (!out_) error = platform::ru("файл не записан (нет места на диске?)");
        return bool(out_);
    }

    static std::string cell(const TableCell& cell, const TableColumn& column) {
        if (cell.empty) return {};
        switch (column.kind) {
            case CellKind::Number: return numberText(cell.number, column.places);
            case CellKind::Date: {
                const platform::CivilDate day = platform::civilDate(static_cast<std::int32_t>(cell.number));
                char text[16];
                std::snprintf(text, sizeof text, "%02d.%02d.%04d", day.day, day.month, day.year);
                return text;
            }
            case CellKind::Time: {
                const platform::ClockTime time = platform::clockTime(static_cast<std::int32_t>(cell.number));
                char text[16];
                std::snprintf(text, sizeof text, "%02d:%02d", time.hours, time.minutes);
                return text;
            }
            case CellKind::Text: break;
        }
        std::string utf8 = platform::cp1251ToUtf8(cell.text);
        if (!utf8.empty() && std::string_view("=+-@").find(utf8.front()) != std::string_view::npos)
            utf8 = "'" + utf8;
        return quoted(utf8);
    }

    std::vector<TableColumn> columns_;
    std::ofstream out_;
};

}  // namespace

std::unique_ptr<TableWriter> makeCsvWriter() { return std::make_unique<CsvWriter>(); }

}  // namespace framework::spreadsheet
