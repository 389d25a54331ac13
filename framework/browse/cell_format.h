// A field as a list column shows it: through the column's display picture, or
// its plain value without blanks at the end when the picture is not valid.
#pragma once

#include "platform/picture.h"
#include "storage/record.h"

#include <string>

namespace framework::browse {

std::string formatField(const storage::Record& record, std::size_t field,
                        const platform::Picture& picture);

}  // namespace framework::browse
