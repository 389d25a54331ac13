// What every screen of a deliverable shares with the access library: the request
// globals through which lists and forms hand records to each other, and the
// rights check that every guarded screen asks. The library owns the globals
// (GlobalRequest, GlobalResponse, VCRRequest); each deliverable points its copy
// of the framework at them once, at start.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace framework {

// Requests in GlobalRequest.
enum Request : std::int32_t {
    kRequestNone = 0,
    kRequestInsert = 1,
    kRequestChange = 2,
    kRequestDelete = 3,
    kRequestSelect = 4,
};

// Responses in GlobalResponse.
enum Response : std::int32_t {
    kResponseCompleted = 1,
    kResponseCancelled = 2,
};

// Toolbar buttons of the frame; VCRRequest holds one of 2000, 2004..2009 or 0.
enum ToolbarButton : int {
    kToolInsert = 2000,
    kToolChange = 2001,
    kToolDelete = 2002,
    kToolSelect = 2003,
    kToolLastPage = 2004,
    kToolFirstPage = 2005,
    kToolNextPage = 2006,
    kToolPriorPage = 2007,
    kToolNextRecord = 2008,
    kToolPriorRecord = 2009,
    kToolLocate = 2010,
    kToolDitto = 2011,
    kToolHelp = 2012,
};

// Bits of the prohibition mask; a set bit forbids.
enum RightsBit : int {
    kForbidAccess = 1,
    kForbidInsert = 2,
    kForbidChange = 4,
    kForbidDelete = 8,
    kForbidWrite = 16,
    kForbidApprove = 32,
    kForbidCancelApproval = 64,
    kForbidPrint = 128,
};

struct RequestGlobals {
    std::int32_t* globalRequest = nullptr;
    std::int32_t* globalResponse = nullptr;
    std::int32_t* vcrRequest = nullptr;
};

// Until a deliverable installs its own, the framework uses globals of its own
// (tests install nothing and read these).
void setRequestGlobals(const RequestGlobals& globals);
std::int32_t& globalRequest();
std::int32_t& globalResponse();
std::int32_t& vcrRequest();

// The rights check (DOSTOBJ): the prohibition mask of an access object for the
// logged-in operator. Without one installed nothing is forbidden.
using RightsCheck = std::function<std::int16_t(const std::string& designation)>;
void setRightsCheck(RightsCheck check);
std::int16_t rightsOf(const std::string& designation);

// What a refusal of the rights check tells beyond its own text: the owner of
// the check journals the refusal (designation and the refused bit of the mask)
// and answers a line naming the object and the category for an operator whose
// category may see the rights, nothing for everybody else. Without one
// installed nothing is added.
using RefusalNote = std::function<std::string(const std::string& designation, int bit)>;
void setRefusalNote(RefusalNote note);
// The text of a refusal box: `text` as it is, with the note on a second line
// when there is one.
std::string refusalText(const std::string& text, const std::string& designation, int bit);

// Opening a help page (CALLHELP) by topic, e.g. "Sprav\Price.htm".
using HelpOpener = std::function<void(const std::string& topic)>;
void setHelpOpener(HelpOpener opener);
void openHelp(const std::string& topic);

}  // namespace framework
