// The database server backend: each data file is one table of a PostgreSQL
// database, named by a server address ("postgresql://host/suite/" + file name;
// see server_address.h). Every file of one server shares the process's session.
#pragma once

#include "storage/backend.h"

namespace storage::postgres {

Backend& postgresBackend();

}  // namespace storage::postgres
