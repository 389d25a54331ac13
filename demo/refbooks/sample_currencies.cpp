#include "demo/refbooks/sample_references.h"

namespace demo {

const std::vector<SampleCurrency>& sampleCurrencies() {
    static const std::vector<SampleCurrency> currencies = {
        {1, "Руб", "Российский рубль", 643, 1, 0, 0},
        {2, "USD", "Доллар США", 840, 91.5, 2, 3.5},
        {3, "EUR", "Евро", 978, 99.2, 2, 3.5},
        {4, "CNY", "Китайский юань", 156, 12.6, 2.5, 4},
        {5, "BYN", "Белорусский рубль", 933, 27.9, 3, 5},
    };
    return currencies;
}

}  // namespace demo
