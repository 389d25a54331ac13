// Between a form's controls and the record buffer: the text an entry shows for its
// field, and an operator's entry read back through the field's picture. A form
// window uses these so that every toolkit shows and reads fields the same way.
#pragma once

#include "framework/form/form_definition.h"

#include <string>
#include <string_view>

namespace storage {
class Record;
}

namespace framework::form {

// The field's value shown through its picture (text pictures without trailing
// blanks); a field without a picture shows its value as stored. Empty for a field
// the record does not have.
std::string entryText(const storage::Record& record, const FormField& field);

// Reads the operator's text into the field. False, with the record unchanged, when
// the picture does not admit the text or the record has no such field.
bool storeEntry(storage::Record& record, const FormField& field, std::string_view text);

// Check boxes: ticked when the field is not 0; ticking stores 1, clearing 0.
bool checkState(const storage::Record& record, const FormField& field);
void storeCheck(storage::Record& record, const FormField& field, bool ticked);

}  // namespace framework::form
