#include "demo/staff/sample_staff.h"

namespace demo {

const std::vector<SampleCategory>& sampleCategories() {
    static const std::vector<SampleCategory> categories = {
        {1, nullptr},  // administrators: no ban
        {2, "Бухгалтерия"},
        {3, "Менеджеры и продавцы"},
        {4, "Кладовщики"},
    };
    return categories;
}

const std::vector<SampleObject>& sampleObjects() {
    static const std::vector<SampleObject> objects = {
        {"Документ", "Prihod", "Приходные накладные"},
        {"Документ", "Rashod", "Расходные накладные"},
        {"Документ", "KassOrder", "Кассовые ордера"},
        {"Поле", "PriceZakup", "Закупочная цена товара"},
        {"Отчет", "RepOstatki", "Остатки товаров на складах"},
        {"Отчет", "RepProdaji", "Продажи за период"},
        {"Меню", "MenuService", "Меню \"Сервис\""},
    };
    return objects;
}

// The administrators' category 1 is never banned anything. Category 0, the
// operator who has not logged in, gets the bans every new installation gives it
// (the library's administrative objects, written when the rights file is
// created) and nothing more.
const std::vector<SampleBan>& sampleBans() {
    using namespace ban;
    static const std::vector<SampleBan> bans = {
        // Accounting: keeps the books, leaves the staff and the rights alone.
        {2, "KatMOL", kOpen},
        {2, "Dostup", kOpen},
        {2, "MOL", kInsert | kDelete},
        {2, "OtdMOL", kEdit},
        {2, "TypeOp", kEdit},
        {2, "Store", kDelete},
        {2, "MenuService", kOpen},
        // Managers and shop assistants: sell, do not set up.
        {3, "Firm", kEdit | kWrite},
        {3, "Valut", kEdit},
        {3, "Kurs", kEdit},
        {3, "Price", kEdit},
        {3, "TypeOp", kEdit},
        {3, "Store", kEdit},
        {3, "MOL", kEdit},
        {3, "MolLOG", kOpen},
        {3, "OtdMOL", kEdit},
        {3, "KatMOL", kOpen},
        {3, "Dostup", kOpen},
        {3, "Filter", kDelete},
        {3, "Prihod", kApprove | kCancelApproval},
        {3, "KassOrder", kDelete | kApprove | kCancelApproval},
        {3, "PriceZakup", kOpen},
        {3, "MenuService", kOpen},
        // Storekeepers: goods in and out, nothing of money or staff.
        {4, "Firm", kOpen},
        {4, "Valut", kEdit},
        {4, "Kurs", kEdit},
        {4, "Price", kEdit},
        {4, "TypeOp", kEdit},
        {4, "Store", kInsert | kDelete},
        {4, "MOL", kEdit | kPrint},
        {4, "MolLOG", kOpen},
        {4, "OtdMOL", kEdit},
        {4, "KatMOL", kOpen},
        {4, "Dostup", kOpen},
        {4, "Filter", kEdit},
        {4, "KassOrder", kOpen},
        {4, "Rashod", kCancelApproval},
        {4, "RepProdaji", kOpen},
        {4, "MenuService", kOpen},
    };
    return bans;
}

}  // namespace demo
