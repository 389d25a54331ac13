// Loading the bank's rates from the command line, for a daily scheduled job:
// `tarvo --rates SOURCE [--date DD.MM.YYYY] [--currency DESIGNATION]`, SOURCE a
// rates file or an http:// / https:// address. Runs with no display. Prints one
// line per rate written and one per currency of the file that the book does not
// hold.
//
// Exit codes: 0 written; 2 anything wrong (the command line, the rights, the
// file, the download, the book), with a Russian message on standard error and
// nothing written.
#pragma once

#include <optional>

namespace shell {

// Returns nothing when the command line does not ask for rates.
std::optional<int> runRatesCommand(int argc, char** argv);

}  // namespace shell
