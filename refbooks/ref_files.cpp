#include "refbooks/ref_files.h"

#include "framework/referential_rules.h"
#include "refbooks/ref_layouts.h"

namespace refbooks {

namespace {

ReferenceFiles& makeFiles() {
    static ReferenceFiles files{
        storage::DataFile(firmLayout()),  storage::DataFile(typeOpLayout()),
        storage::DataFile(kursLayout()),  storage::DataFile(valutLayout()),
        storage::DataFile(storeLayout()), storage::DataFile(priceLayout()),
    };
    // A currency with exchange rates can be neither deleted nor renamed.
    framework::setChildLinks(files.valut, {{&files.kurs, "VAL:OBOZN", "KUR:VALUT",
                                            files.kurs.layout().key("VALUT_KEY"), false}});
    return files;
}

}  // namespace

ReferenceFiles& referenceFiles() {
    static ReferenceFiles& files = makeFiles();
    return files;
}

}  // namespace refbooks
