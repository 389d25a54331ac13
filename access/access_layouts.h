// Record layouts of the access files of the dostup library: employees, their
// categories and departments, access objects, the rights table, the change log of
// employees, saved filters and input-history lists; plus the MOD view of the
// employee file. Each layout is built once on first use and lives for the whole run.
#pragma once

#include "storage/record_layout.h"

#include <vector>

namespace dostup {

// The owner password of every protected file (MOL and its MOD view, Dostup, MolLOG).
constexpr const char* kOwnerPassword = "QZX";

const storage::RecordLayout& molLayout();       // MOL, prefix MOL, protected
const storage::RecordLayout& katMolLayout();    // KatMOL, prefix KTM
const storage::RecordLayout& otdMolLayout();    // OtdMOL, prefix OMO
const storage::RecordLayout& objectLayout();    // Object, prefix OBJ
const storage::RecordLayout& dostupLayout();    // Dostup, prefix DOS, protected
const storage::RecordLayout& molLogLayout();    // MolLOG, prefix MLO, stored as "MolLog", protected
const storage::RecordLayout& filterLayout();    // Filter, prefix FIL
const storage::RecordLayout& histListLayout();  // HistList, prefix HIS

// The second file object over the employee file: the MOL layout under prefix MOD,
// with its own record buffer wherever a file object is made of it.
const storage::RecordLayout& modLayout();

// The rights journal (RightsLog, prefix RLG, protected): one entry per change of
// a ban, per category or object added, changed or deleted, and per refusal of
// the rights check. A file of this system beside the suite's eight.
const storage::RecordLayout& rightsLogLayout();

// The field-level employee journal (MolChange, prefix MCH, protected): each
// field a completed request of the employee form changed, under the MolLOG
// entry of that request (employee, date, time).
const storage::RecordLayout& molChangeLayout();

// The eight access files in the order above (the MOD view is not among them).
const std::vector<const storage::RecordLayout*>& accessLayouts();

// The owner password a file is opened with: kOwnerPassword for a protected
// layout, an empty text for a plain one.
const char* ownerPasswordOf(const storage::RecordLayout& layout);

}  // namespace dostup
