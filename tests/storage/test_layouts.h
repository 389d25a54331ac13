// Small layouts for the storage tests, shaped like the system's files: a currency
// file with two unique keys (one numeric, one text), an employee file with
// non-unique and composite keys, and a rate file whose keys begin with a parent
// value (for ranges). Each is built once.
#pragma once

#include "storage/record.h"

#include <cstdint>
#include <string_view>

namespace storage_tests {

// "Curr", prefix CUR: COD USHORT, OBOZN STRING(4), NAME STRING(30), CREDIT BYTE,
// RATE REAL, AMOUNT DECIMAL, NOTE CSTRING(21), a reserved byte, DAY LONG.
// Keys CODE_KEY (COD, unique, primary), OBOZN_KEY (OBOZN, unique).
const storage::RecordLayout& currencyLayout();
// The same label with a different field list (a table that does not match).
const storage::RecordLayout& otherCurrencyLayout();

// "Pers", prefix PER: SCODE USHORT, LNAME STRING(25), FNAME STRING(40), OTD_ID
// USHORT, SALARY DECIMAL. Keys SCODE_KEY (unique, primary), NAME_KEY (LNAME, not
// unique), OTD_KEY (OTD_ID, LNAME, not unique).
const storage::RecordLayout& personLayout();
// The same fields, protected, label "Secret".
const storage::RecordLayout& secretLayout();
// A second view of "Secret" under prefix SEV.
const storage::RecordLayout& secretView();

// "Rate", prefix RAT: VALUT STRING(4), NUMBER USHORT, DATE LONG, KURS REAL.
// Keys VALUTNUMBER_KEY (VALUT, NUMBER, unique, primary), VALUT_KEY (VALUT, DATE, unique).
const storage::RecordLayout& rateLayout();

// Field setters used throughout the tests.
void setCurrency(storage::Record& r, int code, std::string_view obozn, std::string_view name = {});
void setPerson(storage::Record& r, int code, std::string_view lname, int otd = 0);
void setRate(storage::Record& r, std::string_view valut, int number, int date);

std::int64_t code(const storage::Record& r);                         // the first field as a number
std::string text(const storage::Record& r, std::string_view field);  // without trailing blanks

}  // namespace storage_tests
