#include "demo/refbooks/sample_references.h"

namespace demo {

const std::vector<SamplePrice>& samplePrices() {
    static const std::vector<SamplePrice> prices = {
        {1, "Закупочная", 0, 1.00, "Цена поставщика с учетом доставки"},
        {2, "Оптовая", 0, 1.18, "От 50 000 руб. в одной накладной"},
        {3, "Мелкооптовая", 0, 1.27, "От 10 000 руб. в одной накладной"},
        {4, "Розничная", 0, 1.45, "Цена на ценнике в магазинах"},
        {5, "Дисконтная карта", 5, 1.45, "Розничная со скидкой по карте покупателя"},
        {6, "Дилерская", 3, 1.18, "Оптовая для дилеров по договору"},
    };
    return prices;
}

// Store 1 is the central store in Moscow, 2 and 3 the shops, 4 and 5 the stores
// of the regional companies; the responsible employees are the library's.
const std::vector<SampleStore>& sampleStores() {
    static const std::vector<SampleStore> stores = {
        {1, "Центральный склад", "ул. Авиамоторная, д. 12, стр. 5", "г. Москва",
         "(495)214-37-20", "(495)214-37-29", false, false, 2, 20},
        {2, "Магазин \"На Садовой\"", "Садовая-Кудринская ул., д. 21", "г. Москва",
         "(495)254-18-60", "", true, false, 4, 14},
        {3, "Магазин \"На Бакунинской\"", "ул. Бакунинская, д. 74", "г. Москва",
         "(495)261-48-70", "", true, false, 4, 19},
        {4, "Склад в Нижнем Новгороде", "ул. Родионова, д. 165, корп. 13",
         "г. Нижний Новгород", "(831)433-12-10", "(831)433-12-05", false, true, 2, 25},
        {5, "Склад в Екатеринбурге", "ул. Складская, д. 4", "г. Екатеринбург",
         "(343)371-55-20", "(343)371-55-09", false, true, 2, 26},
    };
    return stores;
}

const std::vector<SampleOperationType>& sampleOperationTypes() {
    static const std::vector<SampleOperationType> types = {
        {1, "ПН", "Приходная накладная", true, false, true},
        {2, "РН", "Расходная накладная", true, false, false},
        {3, "ВП", "Возврат от покупателя", true, false, true},
        {4, "ВЗ", "Возврат поставщику", true, false, false},
        {5, "ПМ", "Перемещение между участками", true, false, false},
        {6, "СП", "Списание товара", true, false, false},
        {7, "ИН", "Инвентаризация", true, false, false},
        {8, "ЧК", "Розничная продажа (чек)", true, true, false},
        {10, "ПКО", "Приходный кассовый ордер", false, true, true},
        {11, "РКО", "Расходный кассовый ордер", false, true, false},
        {12, "ПП", "Платежное поручение", false, true, false},
        {13, "ВБ", "Поступление на расчетный счет", false, true, true},
        {20, "ПЦ", "Переоценка товара", true, false, false},
    };
    return types;
}

}  // namespace demo
