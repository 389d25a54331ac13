// The program's reference data file objects: one record buffer and one settable
// disk name per reference file, owned by the program alone.
#pragma once

#include "storage/data_file.h"

namespace refbooks {

struct ReferenceFiles {
    storage::DataFile firm;
    storage::DataFile typeOp;
    storage::DataFile kurs;
    storage::DataFile valut;
    storage::DataFile store;
    storage::DataFile price;
};

ReferenceFiles& referenceFiles();

}  // namespace refbooks
