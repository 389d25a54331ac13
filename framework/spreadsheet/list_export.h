// A list into a spreadsheet file: the rows of the list in its current order,
// range and filter, with the columns, headings and pictures it shows (dates as
// dates, amounts as numbers). The file is written under a temporary name beside
// the target and renamed at the end, so a cancelled or failed export leaves no
// half-written file and an older file of that name as it was.
#pragma once

#include "framework/spreadsheet/table_writer.h"

#include <functional>
#include <string>

namespace framework::browse {
class BrowseEngine;
struct BrowseDefinition;
}

namespace framework::spreadsheet {

// The refusal when the operator may not print the list (the print ban, 128, of its
// access object); empty when they may.
std::string exportRefusal(const browse::BrowseDefinition& list);

// The columns a list's export writes.
std::vector<TableColumn> exportColumns(const browse::BrowseDefinition& list);

struct ExportOutcome {
    long rows = 0;
    bool cancelled = false;
    std::string error;  // empty after writing the file
};

// `path` is a host path (UTF-8). `progress(rows)` runs every few rows; false cancels. The list's other files'
// buffers take the rows' look-ups meanwhile: refresh the list afterwards.
ExportOutcome exportList(browse::BrowseEngine& list, const std::string& path, TableFormat format,
                         const std::function<bool(long rows)>& progress = {});

// A list run without a window (the command line): opened as on screen (its
// rights asked, its first tab), exported, closed. A list that does not open
// (refused, or its file not readable) writes nothing and says so.
ExportOutcome exportWithoutWindow(browse::BrowseDefinition definition, const std::string& path,
                                  TableFormat format);

}  // namespace framework::spreadsheet
