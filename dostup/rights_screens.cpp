// The library's screens of rights: the category list KATMOL_T, from which the
// rights grid, the inspector and the journal open, the object list OBJECT_T,
// and the inspector and the journal themselves.
#include "dostup/rights_screens.h"

#include "access/dostup.h"
#include "dostup/screen_host.h"
#include "framework/shared_state.h"
#include "staff/d_katmol.h"
#include "staff/d_object.h"
#include "staff/d_rights_grid.h"
#include "staff/d_rights_inspector.h"
#include "staff/d_rights_log.h"
#include "staffdocs/rights_reports.h"

#ifdef DOSTUP_WITH_WINDOWS
#include "ui/report_runner.h"
#endif

namespace dostup {

namespace {

// Printing from a window: preview and printer through the report runner (the
// host's, or the library's own Qt one).
void printRights(staffdocs::RightsDocument document, std::optional<std::uint16_t> employee,
                 const staff::RightsLogFilter& filter) {
#ifdef DOSTUP_WITH_WINDOWS
    if (!framework::reportRunnerInstalled()) ui::installReportRunner();
#endif
    const std::int32_t request = framework::globalRequest();
    staffdocs::printRightsDocument(document, employee, filter);
    framework::globalRequest() = request;
}

void openRightsGrid(std::uint16_t code, const std::string& name) {
    runScreenList(staff::rightsGrid(code, name, openRightsJournal));
}

void openObjectBans(std::uint16_t object, const std::string& designation) {
    runScreenList(staff::objectBans(object, designation));
}

}  // namespace

void openRightsInspector() {
    const std::uint16_t code = MOL_S();
    if (framework::globalResponse() == framework::kResponseCompleted) openRightsInspectorFor(code);
}

void openRightsInspectorFor(std::uint16_t code) {
    staff::InspectorCallouts callouts;
    callouts.openObject = openObjectBans;
    callouts.print = [](std::uint16_t employee) {
        printRights(staffdocs::RightsDocument::Rights, employee, {});
    };
    runScreenList(staff::rightsInspector(code, std::move(callouts)));
}

void openRightsJournal() {
    runScreenList(staff::rightsLogList([](const staff::RightsLogFilter& filter) {
        printRights(staffdocs::RightsDocument::RightsLog, std::nullopt, filter);
    }));
}

}  // namespace dostup

extern "C" {

DOSTUP_API void KATMOL_T(void) {
    dostup::runScreenList(staff::categoryList([] { dostup::runScreenForm(staff::categoryForm()); },
                                              dostup::openRightsGrid, dostup::openRightsInspector));
}

DOSTUP_API void OBJECT_T(void) {
    dostup::runScreenList(staff::objectList([] { dostup::runScreenForm(staff::objectForm()); }));
}

}  // extern "C"
