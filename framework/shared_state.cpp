#include "framework/shared_state.h"

namespace framework {

namespace {

std::int32_t ownRequest = 0;
std::int32_t ownResponse = 0;
std::int32_t ownVcr = 0;
RequestGlobals installed{&ownRequest, &ownResponse, &ownVcr};
RightsCheck rightsCheck;
HelpOpener helpOpener;
RefusalNote refusalNote;

}  // namespace

void setRequestGlobals(const RequestGlobals& globals) {
    installed.globalRequest = globals.globalRequest ? globals.globalRequest : &ownRequest;
    installed.globalResponse = globals.globalResponse ? globals.globalResponse : &ownResponse;
    installed.vcrRequest = globals.vcrRequest ? globals.vcrRequest : &ownVcr;
}

std::int32_t& globalRequest() { return *installed.globalRequest; }
std::int32_t& globalResponse() { return *installed.globalResponse; }
std::int32_t& vcrRequest() { return *installed.vcrRequest; }

void setRightsCheck(RightsCheck check) { rightsCheck = std::move(check); }

std::int16_t rightsOf(const std::string& designation) {
    return rightsCheck ? rightsCheck(designation) : std::int16_t{0};
}

void setRefusalNote(RefusalNote note) { refusalNote = std::move(note); }

std::string refusalText(const std::string& text, const std::string& designation, int bit) {
    if (!refusalNote) return text;
    const std::string note = refusalNote(designation, bit);
    return note.empty() ? text : text + "\n" + note;
}

void setHelpOpener(HelpOpener opener) { helpOpener = std::move(opener); }

void openHelp(const std::string& topic) {
    if (helpOpener) helpOpener(topic);
}

}  // namespace framework
