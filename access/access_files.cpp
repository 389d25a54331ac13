#include "access/access_files.h"

#include "access/access_layouts.h"

namespace dostup {

AccessFiles& accessFiles() {
    static AccessFiles files{
        storage::DataFile(molLayout()),    storage::DataFile(modLayout()),
        storage::DataFile(katMolLayout()), storage::DataFile(otdMolLayout()),
        storage::DataFile(objectLayout()), storage::DataFile(dostupLayout()),
        storage::DataFile(molLogLayout()), storage::DataFile(filterLayout()),
        storage::DataFile(histListLayout()),
    };
    return files;
}

}  // namespace dostup
