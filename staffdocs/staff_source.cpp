#include "staffdocs/staff_source.h"

#include <utility>

namespace staffdocs {

StaffSource::StaffSource(storage::DataFile& mol, storage::DataFile& otdMol, const char* key,
                         std::string label, std::function<bool()> filter)
    : mol_(mol),
      otdMol_(otdMol),
      view_(mol, mol.layout().key(key), std::move(filter)),
      label_(std::move(label)) {}

void StaffSource::setQuickScan(bool on) {
    mol_.setQuickScan(on);
    otdMol_.setQuickScan(on);
}

}  // namespace staffdocs
