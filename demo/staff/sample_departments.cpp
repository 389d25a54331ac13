#include "demo/staff/sample_staff.h"

namespace demo {

const std::vector<SampleDepartment>& sampleDepartments() {
    static const std::vector<SampleDepartment> departments = {
        {1, "Дирекция", 1, "Руководство компании"},
        {2, "Бухгалтерия", 5, "Учет, касса, расчеты с поставщиками и покупателями"},
        {3, "Отдел оптовых продаж", 9, "Работа с оптовыми покупателями"},
        {4, "Розничные магазины", 14, "Магазины на Садовой и на Бакунинской"},
        {5, "Склад", 20, "Центральный склад и склады в Нижнем Новгороде и Екатеринбурге"},
        {6, "Отдел снабжения", 27, "Закупки и доставка товара"},
    };
    return departments;
}

}  // namespace demo
