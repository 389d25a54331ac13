// The rights journal (RightsLog): who changed which ban, category or object, from
// what to what, and who was refused what. A change and its entry are one write
// (storage/journaled_write.h): the entry is built here, the screens that make
// the change write both; refusals are added on their own.
#pragma once

#include "storage/record.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace storage {
class DataFile;
}

namespace dostup {

// What an entry records (RLG:KIND).
enum class RightsLogKind : std::uint8_t {
    Ban = 1,          // one ban of a category on an object set or lifted
    Category = 2,     // a category added, changed or deleted
    Object = 3,       // an access object added, changed or deleted
    Refusal = 4,      // the rights check refused an operator (RLG:COUNT times)
    Compression = 5,  // the journal was cut to its last days
};

// The eight bans in the order of the rights mask, as the journal and the rights
// inspector name them ("Доступ", "Добавление", ..., "Печать"; code page 1251).
const std::array<std::string, 8>& banNames();
// The bans as the explanation of a refusal names them ("запрет доступа", ...).
const std::array<std::string, 8>& banPhrases();
// The bit of the mask (1, 2, 4 ... 128) as an index 0..7; -1 for anything else.
int banIndex(int bit);

// The entry of one ban (0..7) of (category, object) going from `before` to
// `after`, made now by the operator g_SCode, with the category's name and the
// object's designation as they are now.
storage::Record banChangeEntry(std::int16_t category, std::uint16_t object, int ban, bool before,
                               bool after);
// The entry of a category (the KatMOL buffer after the request, `before` as the
// form opened it) added, changed or deleted (request 1, 2, 3); none for a change
// that altered nothing.
std::optional<storage::Record> categoryEntry(int request, const storage::Record& before);
// The same for an access object (the Object buffer).
std::optional<storage::Record> objectEntry(int request, const storage::Record& before);

// Adds an entry to the journal (in use), at the next free hundredth of a second
// when its time is taken: 0 or the storage's error code.
int addRightsLogEntry(const storage::Record& entry);

// Takes the journal into use without ending the host when it cannot be opened
// (created when it is missing): false, with the error left in the file.
bool useRightsLog();
void releaseRightsLog();

// Moves the entries a killed process left held in a file the rights screens
// write (Dostup, KatMOL, Object) into the journal.
void finishRightsLog(storage::DataFile& written);

// A refusal of the rights check: the operator g_SCode refused `bit` of the mask
// of `designation`. Journaled once per operator, object and ban within a minute
// (the entry counts the repeats); a journal that cannot be written loses
// nothing the operator typed and is not reported.
void journalRefusal(std::string_view designation, int bit);
// The second line of a refusal box: "Объект «Firm», категория «Склад»: запрет
// доступа" when the operator's own category may open the rights (KatMOL and
// Dostup), empty for everybody else.
std::string refusalExplanation(std::string_view designation, int bit);
// What the rights check's refusals add in this library: the refusal journaled
// and its explanation (framework::setRefusalNote).
std::string noteRefusal(const std::string& designation, int bit);

// The entries older than `keepDays` days before today removed, and the removal
// itself journaled, as one write: the number removed, or nothing when the
// journal could not be written.
std::optional<long> compressRightsLog(int keepDays);
// The same for the employees' changed fields (MolChange): the removal and its
// entry in the rights journal are one write.
std::optional<long> compressEmployeeChanges(int keepDays);
// "KeepDays" of section "Journal" of ".\Dostup.INI" (1095 when absent, at least 1).
int journalKeepDays();

}  // namespace dostup
