// The library's data file objects: one record buffer per access file (and the MOD
// view of the employee file), owned by the library alone.
#pragma once

#include "storage/data_file.h"

namespace dostup {

struct AccessFiles {
    storage::DataFile mol;
    storage::DataFile mod;  // second view of the employee file, with its own buffer
    storage::DataFile katMol;
    storage::DataFile otdMol;
    storage::DataFile object;
    storage::DataFile dostup;
    storage::DataFile molLog;
    storage::DataFile filter;
    storage::DataFile histList;
    // Files of this system beside the suite's: the rights journal and the
    // employees' changed fields.
    storage::DataFile rightsLog;
    storage::DataFile molChange;
};

AccessFiles& accessFiles();

}  // namespace dostup
