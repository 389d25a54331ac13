// The library's screens as exports: the lists OTDMOL_T, FILTER_T, HLIST_T, the
// selections FILTER_S and HLIST_S, and PUTHLIST.
#include "access/dostup.h"
#include "dostup/screen_host.h"
#include "framework/shared_state.h"
#include "inputaids/d_filter.h"
#include "inputaids/d_hist.h"
#include "platform/cp1251.h"
#include "staff/d_otdmol.h"

#include <cstring>
#include <optional>
#include <string>

namespace {

// A C text argument: null reads as empty; at most `limit` bytes are looked at,
// so an unterminated or huge text never runs past what its field can hold.
std::string argument(const char* text, std::size_t limit) {
    if (!text) return {};
    return std::string(text, strnlen(text, limit));
}

// The widest designation and value the files hold; longer arguments are cut.
constexpr std::size_t kDesignationLength = 20;
constexpr std::size_t kHistoryNameLength = 80;

// A result handed to a C caller: valid until the next call of the same function.
const char* handOut(std::string& buffer, std::string value) {
    buffer = std::move(value);
    return buffer.c_str();
}

void departments() {
    dostup::runScreenList(staff::departmentList([] { dostup::runScreenForm(staff::departmentForm()); }));
}

int filters() {
    return dostup::runScreenList(
        inputaids::filterList([] { dostup::runScreenForm(inputaids::filterForm()); }));
}

int histories() {
    return dostup::runScreenList(
        inputaids::historyList([] { dostup::runScreenForm(inputaids::historyForm()); }));
}

}  // namespace

extern "C" {

DOSTUP_API void OTDMOL_T(void) { departments(); }

DOSTUP_API void FILTER_T(void) { filters(); }

DOSTUP_API const char* FILTER_S(const char* table) {
    static std::string result;
    inputaids::beginFilterSelection(argument(table, kDesignationLength));
    framework::globalRequest() = framework::kRequestSelect;
    const int response = filters();
    return handOut(result, inputaids::endFilterSelection(response));
}

DOSTUP_API void HLIST_T(void) { histories(); }

DOSTUP_API const char* HLIST_S(const char* field) {
    static std::string result;
    inputaids::beginHistorySelection(argument(field, kDesignationLength));
    framework::globalRequest() = framework::kRequestSelect;
    const int response = histories();
    return handOut(result, inputaids::endHistorySelection(response));
}

DOSTUP_API void PUTHLIST(const char* field, const char* value, const char* name) {
    std::optional<std::string> given;
    if (name) given = argument(name, kHistoryNameLength);
    inputaids::putHistory(argument(field, kDesignationLength), argument(value, kDesignationLength),
                          given);
}

}  // extern "C"
