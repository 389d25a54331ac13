#include "refbooks/ref_files.h"

#include "refbooks/ref_layouts.h"

namespace refbooks {

ReferenceFiles& referenceFiles() {
    static ReferenceFiles files{
        storage::DataFile(firmLayout()),  storage::DataFile(typeOpLayout()),
        storage::DataFile(kursLayout()),  storage::DataFile(valutLayout()),
        storage::DataFile(storeLayout()), storage::DataFile(priceLayout()),
    };
    return files;
}

}  // namespace refbooks
