// An XLSX workbook through libxlsxwriter: one sheet named after the list, a bold
// heading row frozen at the top, column widths from the pictures, numbers with
// their decimals and dates and times as real ones. Rows are streamed (the
// library's constant-memory mode), its temporary files beside the target.
#include "framework/spreadsheet/table_writer.h"

#include "platform/cp1251.h"
#include "platform/dates.h"

#include <xlsxwriter.h>

#include <filesystem>

namespace framework::spreadsheet {

namespace {

// A sheet name Excel accepts: at most 31 characters, none of []:*?/\ and no
// apostrophe at either end.
std::string sheetNameOf(const std::string& cp1251) {
    std::string name(platform::clip(cp1251));
    while (!name.empty() && (name.front() == ' ' || name.front() == '\'')) name.erase(0, 1);
    for (char& c : name)
        if (std::string_view("[]:*?/\\").find(c) != std::string_view::npos) c = '_';
    if (name.size() > 31) name.resize(31);  // code page 1251: one byte per character
    while (!name.empty() && (name.back() == ' ' || name.back() == '\'')) name.pop_back();
    return name.empty() ? platform::ru("Лист1") : name;
}

std::string numberFormat(int places) {
    return places <= 0 ? std::string("0") : "0." + std::string(static_cast<std::size_t>(places), '0');
}

class XlsxWriter final : public TableWriter {
public:
    ~XlsxWriter() override {
        if (book_) workbook_close(book_);  // an unfinished file is removed by the caller
    }

    bool begin(const std::string& path, const std::string& sheetName,
               const std::vector<TableColumn>& columns, std::string& error) override {
        columns_ = columns;
        tmpdir_ = std::filesystem::absolute(path).parent_path().string();
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        options.tmpdir = tmpdir_.data();
        book_ = workbook_new_opt(path.c_str(), &options);
        if (!book_) {
            error = platform::ru("файл не создаётся");
            return false;
        }
        sheet_ = workbook_add_worksheet(book_, platform::cp1251ToUtf8(sheetNameOf(sheetName)).c_str());
        if (!sheet_) sheet_ = workbook_add_worksheet(book_, nullptr);
        lxw_format* bold = workbook_add_format(book_);
        format_set_bold(bold);
        lxw_format_get_xf_index(bold);
        for (std::size_t i = 0; i < columns.size(); ++i) {
            lxw_format* format = workbook_add_format(book_);
            switch (columns[i].kind) {
                case CellKind::Number: format_set_num_format(format, numberFormat(columns[i].places).c_str()); break;
                case CellKind::Date: format_set_num_format(format, "dd.mm.yyyy"); break;
                case CellKind::Time: format_set_num_format(format, "hh:mm"); break;
                case CellKind::Text: break;
            }
            // Its index in the workbook now, once: otherwise each cell written with
            // it looks the format up again.
            lxw_format_get_xf_index(format);
            formats_.push_back(format);
            const double width = std::max(columns[i].width, static_cast<int>(columns[i].heading.size())) + 2;
            worksheet_set_column(sheet_, static_cast<lxw_col_t>(i), static_cast<lxw_col_t>(i), width, nullptr);
        }
        worksheet_freeze_panes(sheet_, 1, 0);
        for (std::size_t i = 0; i < columns.size(); ++i)
            worksheet_write_string(sheet_, 0, static_cast<lxw_col_t>(i),
                                   platform::cp1251ToUtf8(columns[i].heading).c_str(), bold);
        return true;
    }

    bool row(const std::vector<TableCell>& cells, std::string& error) override {
        if (++row_ > LXW_ROW_MAX - 1) {
            error = platform::ru("в листе XLSX не больше 1 048 576 строк");
            return false;
        }
        for (std::size_t i = 0; i < cells.size() && i < columns_.size(); ++i) {
            const TableCell& cell = cells[i];
            const auto column = static_cast<lxw_col_t>(i);
            if (cell.empty) continue;
            lxw_error written = LXW_NO_ERROR;
            switch (columns_[i].kind) {
                case CellKind::Number:
                    // A whole number needs no format of its own: Excel's general
                    // format shows it as it is, and every format costs a look-up.
                    written = worksheet_write_number(sheet_, row_, column, cell.number,
                                                     columns_[i].places > 0 ? formats_[i] : nullptr);
                    break;
                case CellKind::Date: {
                    const platform::CivilDate day = platform::civilDate(static_cast<std::int32_t>(cell.number));
                    lxw_datetime value{day.year, day.month, day.day, 0, 0, 0};
                    written = worksheet_write_datetime(sheet_, row_, column, &value, formats_[i]);
                    break;
                }
                case CellKind::Time:
                    // A clock value is hundredths of a second since midnight, plus one.
                    written = worksheet_write_number(sheet_, row_, column, (cell.number - 1) / 8640000.0,
                                                     formats_[i]);
                    break;
                case CellKind::Text:
                    written = worksheet_write_string(sheet_, row_, column,
                                                     platform::cp1251ToUtf8(cell.text).c_str(), nullptr);
                    break;
            }
            if (written != LXW_NO_ERROR) {
                error = lxw_strerror(written);
                return false;
            }
        }
        return true;
    }

    bool finish(std::string& error) override {
        const lxw_error closed = workbook_close(book_);
        book_ = nullptr;
        if (closed != LXW_NO_ERROR) {
            error = platform::ru("файл не записан: ") + lxw_strerror(closed);
            return false;
        }
        return true;
    }

private:
    std::vector<TableColumn> columns_;
    std::vector<lxw_format*> formats_;
    std::string tmpdir_;
    lxw_workbook* book_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    lxw_row_t row_ = 0;
};

}  // namespace

std::unique_ptr<TableWriter> makeXlsxWriter() { return std::make_unique<XlsxWriter>(); }

}  // namespace framework::spreadsheet
