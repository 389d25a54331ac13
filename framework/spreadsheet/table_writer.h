// Writing a table (a heading row, then rows of typed cells) into a spreadsheet
// file: CSV as a Russian-locale spreadsheet opens it, or an XLSX workbook.
// Texts come in code page 1251 and are written as UTF-8.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace framework::spreadsheet {

enum class CellKind { Text, Number, Date, Time };

struct TableColumn {
    std::string heading;
    CellKind kind = CellKind::Text;
    int places = 0;  // decimals of a number
    int width = 10;  // characters
};

struct TableCell {
    std::string text;   // as the list shows it (also the CSV form of a text)
    double number = 0;  // a number; a day number (Date); a clock value (Time)
    bool empty = false; // a blank date, time or number
};

class TableWriter {
public:
    virtual ~TableWriter() = default;
    // False with `error` when the file cannot be started.
    virtual bool begin(const std::string& path, const std::string& sheetName,
                       const std::vector<TableColumn>& columns, std::string& error) = 0;
    virtual bool row(const std::vector<TableCell>& cells, std::string& error) = 0;
    // Completes the file; false with `error` when it could not be written whole.
    virtual bool finish(std::string& error) = 0;
};

enum class TableFormat { Csv, Xlsx };

// The format a file name asks for by its extension (".csv", ".xlsx", any case).
std::optional<TableFormat> formatOfPath(const std::string& path);

std::unique_ptr<TableWriter> makeWriter(TableFormat format);

}  // namespace framework::spreadsheet
