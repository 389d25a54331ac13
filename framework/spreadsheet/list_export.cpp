#include "framework/spreadsheet/list_export.h"

#include "framework/browse/browse_engine.h"
#include "framework/browse/cell_format.h"
#include "framework/browse/headless_view.h"
#include "framework/shared_state.h"
#include "platform/cp1251.h"
#include "storage/data_file.h"

#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace framework::spreadsheet {

std::unique_ptr<TableWriter> makeCsvWriter();
std::unique_ptr<TableWriter> makeXlsxWriter();

namespace {

using browse::ColumnDefinition;

constexpr long kProgressEvery = 200;
// The print ban of the rights mask (DOS:PRINTFLAG), the eighth bit.
constexpr int kPrintBan = 128;

struct ColumnSource {
    const storage::Record* buffer;  // the list's row, or another file's buffer
    int field;
    platform::Picture picture;
    const std::string* flagMark;
    CellKind kind;
};

CellKind kindOf(const storage::FieldDef& field, const platform::Picture& picture) {
    switch (field.type) {
        case storage::FieldType::String:
        case storage::FieldType::CString:
            return CellKind::Text;
        case storage::FieldType::Real:
        case storage::FieldType::Decimal:
            return CellKind::Number;
        default:
            if (picture.kind() == platform::PictureKind::Date) return CellKind::Date;
            if (picture.kind() == platform::PictureKind::Time) return CellKind::Time;
            if (picture.kind() == platform::PictureKind::Pattern) return CellKind::Text;
            return CellKind::Number;
    }
}

const storage::RecordLayout& layoutOf(const browse::BrowseDefinition& list, const ColumnDefinition& column) {
    return column.file ? column.file->layout() : list.file.layout();
}

TableCell cellOf(const storage::Record& record, const ColumnSource& source) {
    if (source.field < 0) return {{}, 0, true};
    const auto field = static_cast<std::size_t>(source.field);
    if (source.flagMark)
        return {record.getInt(field) != 0 ? *source.flagMark : std::string(), 0, record.getInt(field) == 0};
    TableCell cell;
    switch (source.kind) {
        case CellKind::Number: {
            const storage::FieldType type = record.layout().fields()[field].type;
            cell.number = type == storage::FieldType::Real || type == storage::FieldType::Decimal
                              ? record.getReal(field)
                              : static_cast<double>(record.getInt(field));
            // A picture blank when zero shows nothing for a zero.
            cell.empty = cell.number == 0 && source.picture.kind() == platform::PictureKind::Number &&
                         source.picture.number().blankWhenZero;
            return cell;
        }
        case CellKind::Date:
        case CellKind::Time:
            cell.number = static_cast<double>(record.getInt(field));
            cell.empty = record.getInt(field) <= 0;
            return cell;
        case CellKind::Text: break;
    }
    const storage::FieldType type = record.layout().fields()[field].type;
    if (source.picture.kind() == platform::PictureKind::Text &&
        (type == storage::FieldType::String || type == storage::FieldType::CString)) {
        // A text picture shows the text cut to its width: no formatting needed.
        cell.text = record.getText(field);
        if (source.picture.width() > 0 && cell.text.size() > static_cast<std::size_t>(source.picture.width()))
            cell.text.resize(static_cast<std::size_t>(source.picture.width()));
        cell.text.resize(platform::clip(cell.text).size());
    } else {
        cell.text = std::string(platform::clip(browse::formatField(record, field, source.picture)));
    }
    const std::size_t start = cell.text.find_first_not_of(' ');
    if (start != 0) cell.text.erase(0, start == std::string::npos ? cell.text.size() : start);
    return cell;
}

// A password is never written into a spreadsheet, whatever a list shows.
bool isPassword(const ColumnDefinition& column) {
    const std::string name = platform::upper(column.field);
    return name.size() >= 8 && name.compare(name.size() - 8, 8, "PASSWORD") == 0;
}

std::string temporaryBeside(const std::string& path) {
    return path + "." + std::to_string(::getpid()) + ".part";
}

}  // namespace

std::optional<TableFormat> formatOfPath(const std::string& path) {
    const std::string extension = platform::lower(std::filesystem::path(path).extension().string());
    if (extension == ".csv") return TableFormat::Csv;
    if (extension == ".xlsx") return TableFormat::Xlsx;
    return std::nullopt;
}

std::unique_ptr<TableWriter> makeWriter(TableFormat format) {
    return format == TableFormat::Csv ? makeCsvWriter() : makeXlsxWriter();
}

std::string exportRefusal(const browse::BrowseDefinition& list) {
    if (list.accessObject.empty()) return {};
    return (rightsOf(list.accessObject) & kPrintBan) != 0 ? list.refusals.print : std::string();
}

std::vector<TableColumn> exportColumns(const browse::BrowseDefinition& list) {
    std::vector<TableColumn> columns;
    for (const ColumnDefinition& column : list.columns) {
        if (isPassword(column)) continue;
        const storage::RecordLayout& layout = layoutOf(list, column);
        const int index = layout.fieldIndex(column.field);
        const platform::Picture picture(column.picture);
        TableColumn table;
        table.heading = std::string(platform::clip(column.header));
        if (index >= 0 && column.flagMark.empty()) {
            const storage::FieldDef& def = layout.fields()[static_cast<std::size_t>(index)];
            table.kind = kindOf(def, picture);
            table.places = picture.kind() == platform::PictureKind::Number ? picture.number().places : 0;
            if (def.type == storage::FieldType::Real && picture.kind() != platform::PictureKind::Number)
                table.places = 2;
            table.width = picture.valid() && picture.width() > 0 ? picture.width() : static_cast<int>(def.size);
        }
        table.width = std::min(std::max(table.width, 4), 60);
        columns.push_back(table);
    }
    return columns;
}

ExportOutcome exportList(browse::BrowseEngine& list, const std::string& path, TableFormat format,
                         const std::function<bool(long rows)>& progress) {
    ExportOutcome outcome;
    const browse::BrowseDefinition& definition = list.definition();
    if (std::string refusal = exportRefusal(definition); !refusal.empty()) {
        outcome.error = refusal;
        return outcome;
    }
    const std::vector<TableColumn> columns = exportColumns(definition);
    std::vector<ColumnSource> sources;
    for (const ColumnDefinition& column : definition.columns) {
        if (isPassword(column)) continue;
        const std::size_t i = sources.size();
        const bool own = column.file == nullptr || column.file == &definition.file;
        sources.push_back({own ? nullptr : &column.file->record(),
                           layoutOf(definition, column).fieldIndex(column.field),
                           platform::Picture(column.picture),
                           column.flagMark.empty() ? nullptr : &column.flagMark, columns[i].kind});
    }

    const std::string part = temporaryBeside(path);
    std::unique_ptr<TableWriter> writer = makeWriter(format);
    std::string error;
    bool written = writer->begin(part, definition.title, columns, error);
    std::vector<TableCell> cells(columns.size());
    int code = storage::error::kNone;
    if (written) {
        code = list.forEachRow([&](const storage::Record& row) {
            for (std::size_t i = 0; i < sources.size(); ++i)
                cells[i] = cellOf(sources[i].buffer ? *sources[i].buffer : row, sources[i]);
            if (!writer->row(cells, error)) return written = false;
            ++outcome.rows;
            if (progress && outcome.rows % kProgressEvery == 1 && !progress(outcome.rows))
                return !(outcome.cancelled = true);
            return true;
        });
        if (code != storage::error::kNone) {
            written = false;
            error = platform::ru("список не прочитан: ") + definition.file.label() + " " +
                    definition.file.errorText() + " (" + std::to_string(code) + ")";
        }
        std::string finishing;
        if (!writer->finish(finishing) && written && !outcome.cancelled) {
            written = false;
            error = finishing;
        }
    }
    writer.reset();
    std::error_code ignored;
    if (written && !outcome.cancelled) {
        std::error_code renamed;
        std::filesystem::rename(part, path, renamed);
        if (!renamed) return outcome;
        error = platform::ru("файл не переименован: ") + renamed.message();
    }
    std::filesystem::remove(part, ignored);
    if (!outcome.cancelled)
        outcome.error = platform::ru("Список не выгружен в ") + platform::utf8ToCp1251(path) + ": " + error;
    return outcome;
}

ExportOutcome exportWithoutWindow(browse::BrowseDefinition definition, const std::string& path,
                                  TableFormat format) {
    definition.embedded = false;
    browse::HeadlessView view;
    browse::BrowseEngine list(std::move(definition), view);
    if (std::string refusal = exportRefusal(list.definition()); !refusal.empty()) return {0, false, refusal};
    if (!list.open() || list.isClosed())
        return {0, false, platform::ru("Список не открыт: ничего не выгружено")};
    list.windowOpened();
    ExportOutcome outcome = list.isClosed()
                                ? ExportOutcome{0, false, platform::ru("Список не открыт: ничего не выгружено")}
                                : exportList(list, path, format);
    if (!list.isClosed()) list.closeButton();
    return outcome;
}

}  // namespace framework::spreadsheet
