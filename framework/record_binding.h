// A record's fields as bound names of the expression evaluator: "VAL:OBOZN",
// "Kur:Valut", "mol:SCode" in any letter case. A name is known only with the
// record's own prefix, so a list's locals ("BRW1::...") and the fields of other
// files fall through to the next resolver of a chain.
#pragma once

#include "platform/expression.h"
#include "storage/record.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace framework {

class RecordBinding : public platform::NameResolver {
public:
    explicit RecordBinding(const storage::Record& record) : record_(&record) {}

    // The field's value as text (Record::value): integers in decimal, REAL in its
    // shortest form, DECIMAL with two places, text as stored.
    std::optional<std::string> value(std::string_view name) const override;
    // Numeric fields are numbers, STRING and CSTRING fields texts.
    std::optional<platform::BoundValue> boundValue(std::string_view name) const override;

    // Binds another record (a scratch copy that changes from row to row).
    void rebind(const storage::Record& record) { record_ = &record; }

    // The field a name binds in records of the layout; -1 when the name is not one
    // of its fields (another prefix, a list's local).
    static int fieldOf(const storage::RecordLayout& layout, std::string_view name);

private:
    // A filter asks for the same few names for every row: the names met are
    // remembered with their fields (per layout, as a rebound record may differ).
    int fieldOf(std::string_view name) const;

    const storage::Record* record_;
    struct Known {
        const storage::RecordLayout* layout;
        std::string name;
        int field;
    };
    mutable std::vector<Known> known_;
};

}  // namespace framework
