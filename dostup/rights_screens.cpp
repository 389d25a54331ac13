// The library's screens of rights as exports: the category list KATMOL_T, from
// which the rights grid opens, and the object list OBJECT_T.
#include "access/dostup.h"
#include "dostup/screen_host.h"
#include "staff/d_katmol.h"
#include "staff/d_object.h"
#include "staff/d_rights_grid.h"

namespace {

void openRightsGrid(std::uint16_t code, const std::string& name) {
    dostup::runScreenList(staff::rightsGrid(code, name));
}

}  // namespace

extern "C" {

DOSTUP_API void KATMOL_T(void) {
    dostup::runScreenList(
        staff::categoryList([] { dostup::runScreenForm(staff::categoryForm()); }, openRightsGrid));
}

DOSTUP_API void OBJECT_T(void) {
    dostup::runScreenList(staff::objectList([] { dostup::runScreenForm(staff::objectForm()); }));
}

}  // extern "C"
