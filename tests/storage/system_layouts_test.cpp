// Conformance: every file of the system (the reference files, the access files
// and the MOD view) is created from its layout and keeps its records byte for
// byte, protected files with the owner password.
#include "access/access_layouts.h"
#include "refbooks/ref_layouts.h"
#include "tests/storage/conformance_fixture.h"

namespace storage_tests {
namespace {

// Fills every field with a value of its type that differs from a cleared record.
void fill(storage::Record& r, int seed) {
    const auto& fields = r.layout().fields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const auto& f = fields[i];
        if (f.name.empty()) {
            r.data()[f.offset] = static_cast<std::uint8_t>(0xA0 + seed);  // reserved byte
        } else if (f.isText()) {
            r.setText(i, "T" + std::to_string(seed) + "_" + std::to_string(i));
        } else if (f.type == storage::FieldType::Real) {
            r.setReal(i, seed + i / 4.0);
        } else if (f.type == storage::FieldType::Decimal) {
            r.setDecimalCents(i, -(seed * 100 + static_cast<int>(i)));
        } else {
            r.setInt(i, seed + static_cast<int>(i));
        }
    }
}

TEST_P(StorageConformance, EverySystemFileKeepsItsRecords) {
    std::vector<const storage::RecordLayout*> layouts = refbooks::referenceLayouts();
    for (const auto* l : dostup::accessLayouts()) layouts.push_back(l);
    ASSERT_EQ(layouts.size(), 14u);
    for (const storage::RecordLayout* layout : layouts) {
        SCOPED_TRACE(layout->label());
        auto f = fileIn(space(), *layout);
        f->setOwnerPassword(dostup::ownerPasswordOf(*layout));
        ASSERT_EQ(f->create(), 0) << f->driverErrorText();
        ASSERT_EQ(f->open(), 0) << f->driverErrorText();
        for (int seed = 1; seed <= 2; ++seed) {
            fill(f->record(), seed);
            ASSERT_EQ(f->add(), 0) << f->driverErrorText();
        }
        const auto written = f->record().bytes();
        const storage::KeyDef& primary = *layout->primaryKey();
        f->record().clear();
        fill(f->record(), 2);
        ASSERT_EQ(f->get(primary), 0);
        EXPECT_EQ(f->record().bytes(), written);
        // Every key reads both records.
        for (const storage::KeyDef& key : layout->keys()) {
            f->set(key);
            int count = 0;
            while (f->next() == 0) ++count;
            EXPECT_EQ(count, 2) << key.name;
        }
    }
    // The MOD view reads the employee file with its own buffer.
    auto mod = fileIn(space(), dostup::modLayout());
    mod->setOwnerPassword(dostup::ownerPasswordOf(dostup::modLayout()));
    ASSERT_EQ(mod->open(), 0) << mod->driverErrorText();
    fill(mod->record(), 1);
    EXPECT_EQ(mod->get(*dostup::modLayout().primaryKey()), 0);
}

}  // namespace
}  // namespace storage_tests
