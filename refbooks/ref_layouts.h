// Record layouts of the six reference files of Tarvo: organisations, price types,
// currencies, exchange rates, stores and operation types. Each layout is built once
// on first use and lives for the whole run.
#pragma once

#include "storage/record_layout.h"

#include <vector>

namespace refbooks {

const storage::RecordLayout& firmLayout();    // Firm, prefix GLO
const storage::RecordLayout& priceLayout();   // Price, prefix PRI
const storage::RecordLayout& valutLayout();   // Valut, prefix VAL
const storage::RecordLayout& kursLayout();    // Kurs, prefix KUR, stored as "KursVal"
const storage::RecordLayout& storeLayout();   // Store, prefix STO
const storage::RecordLayout& typeOpLayout();  // TypeOp, prefix TOP

// All six, in the order above.
const std::vector<const storage::RecordLayout*>& referenceLayouts();

}  // namespace refbooks
