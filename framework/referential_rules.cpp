#include "framework/referential_rules.h"

#include "framework/file_access.h"
#include "framework/standard_messages.h"
#include "platform/cp1251.h"
#include "storage/data_file.h"

#include <map>

namespace framework {

namespace {

std::map<const storage::DataFile*, std::vector<ChildLink>>& links() {
    static std::map<const storage::DataFile*, std::vector<ChildLink>> table;
    return table;
}

// Linking values compare as the keys do: text without regard to letter case or
// trailing blanks.
bool sameLink(const std::string& a, const std::string& b) {
    return platform::upper(platform::clip(a)) == platform::upper(platform::clip(b));
}

enum class Lookup { None, Found, Error };

// Looks for the first child whose linking field holds `value`. The child file is
// taken into use for the look-up only.
Lookup findChild(const ChildLink& link, const std::string& value) {
    storage::DataFile& child = *link.child;
    FileUse use(child);
    child.record().clear();
    child.record().setValue(link.childField, value);
    if (child.setToValue(*link.childKey) != storage::error::kNone ||
        child.next() != storage::error::kNone) {
        if (child.errorCode() == storage::error::kRecordNotAvailable) return Lookup::None;
        standardMessage(35, child.label(), child.lastError());
        return Lookup::Error;
    }
    return sameLink(*child.record().value(link.childField), value) ? Lookup::Found : Lookup::None;
}

// Rewrites the linking field of every child holding `oldValue` to `newValue`.
int cascade(const ChildLink& link, const std::string& oldValue, const std::string& newValue) {
    storage::DataFile& child = *link.child;
    FileUse use(child);
    for (;;) {
        // Seek again each time: a rewritten child moves away in the key's order.
        child.record().clear();
        child.record().setValue(link.childField, oldValue);
        if (child.setToValue(*link.childKey) != storage::error::kNone ||
            child.next() != storage::error::kNone) {
            if (child.errorCode() == storage::error::kRecordNotAvailable) return kUpdateDone;
            standardMessage(35, child.label(), child.lastError());
            return kUpdateError;
        }
        if (!sameLink(*child.record().value(link.childField), oldValue)) return kUpdateDone;
        child.record().setValue(link.childField, newValue);
        if (child.put() != storage::error::kNone) {
            saveError(child);
            standardMessage(15, child.label(), child.lastError());
            return kUpdateError;
        }
    }
}

}  // namespace

void setChildLinks(const storage::DataFile& parent, std::vector<ChildLink> children) {
    links()[&parent] = std::move(children);
}

const std::vector<ChildLink>& childLinks(const storage::DataFile& parent) {
    static const std::vector<ChildLink> none;
    auto it = links().find(&parent);
    return it == links().end() ? none : it->second;
}

int deleteRecord(storage::DataFile& file) {
    if (const storage::KeyDef* primary = file.layout().primaryKey()) {
        const std::string position = file.position(*primary);
        file.reget(position);
    }
    for (const ChildLink& link : childLinks(file)) {
        const std::string value = *file.record().value(link.parentField);
        switch (findChild(link, value)) {
            case Lookup::Found: standardMessage(13, link.child->label()); return 1;
            case Lookup::Error: return 1;
            case Lookup::None: break;
        }
    }
    if (file.remove() != storage::error::kNone) {
        saveError(file);
        standardMessage(17, file.label(), file.lastError());
        return 1;
    }
    return 0;
}

int updateRecord(storage::DataFile& file, const storage::Record& original, bool detail) {
    std::string position;
    if (const storage::KeyDef* primary = file.layout().primaryKey())
        position = file.position(*primary);

    for (const ChildLink& link : childLinks(file)) {
        if (link.cascadeOnChange) continue;
        const std::string oldValue = *original.value(link.parentField);
        if (sameLink(oldValue, *file.record().value(link.parentField))) continue;
        switch (findChild(link, oldValue)) {
            case Lookup::Found:
                standardMessage(12, link.child->label());
                file.record().setValue(link.parentField, oldValue);
                return kUpdateError;
            case Lookup::Error: return kUpdateError;
            case Lookup::None: break;
        }
    }

    if (file.put() != storage::error::kNone) {
        const int code = file.errorCode();
        saveError(file);  // also rolls back, which clears the file's last error
        if (code == storage::error::kChangedByAnotherStation) {
            if (detail)
                standardMessage(38);
            else
                standardMessage(15, "Record Changed by Another Station", file.lastError());
            // Show the other station's values; the user's stay recallable by ditto.
            clearSavedError();
            file.watch();
            file.reget(position);
            return kUpdateChangedElsewhere;
        }
        standardMessage(15, file.label(), file.lastError());
        return kUpdateError;
    }

    for (const ChildLink& link : childLinks(file)) {
        if (!link.cascadeOnChange) continue;
        const std::string oldValue = *original.value(link.parentField);
        const std::string newValue = *file.record().value(link.parentField);
        if (sameLink(oldValue, newValue)) continue;
        if (cascade(link, oldValue, newValue) != kUpdateDone) return kUpdateError;
    }
    return kUpdateDone;
}

}  // namespace framework
