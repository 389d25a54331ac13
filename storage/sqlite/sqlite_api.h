// The SQLite API as SQLCipher provides it. Only libsqlcipher is linked: a plain
// libsqlite3 linked beside it would silently take over and leave protected files
// unenciphered.
#pragma once

#include <sqlcipher/sqlite3.h>
