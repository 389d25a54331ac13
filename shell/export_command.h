// A list into a spreadsheet from the command line:
// `tarvo --export NAME --xlsx FILE` or `--csv FILE`, NAME one of the program's
// lists (Firm, Price, Valut, Kurs with `--currency DESIGNATION`, Store, TypeOp)
// or of the library's (MOL, OtdMOL, KatMOL, Object), in any letter case. The rows
// are those the list shows when it opens, in its first order, written as its
// "В таблицу" writes them. Runs with no display.
//
// Exit codes: 0 written; 2 anything wrong (the command line, the rights, the
// file), with a Russian message on standard error and no file written.
#pragma once

#include <optional>

namespace shell {

// Returns nothing when the command line does not ask for an export.
std::optional<int> runExportCommand(int argc, char** argv);

}  // namespace shell
