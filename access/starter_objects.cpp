#include "access/starter_objects.h"

#include "platform/cp1251.h"
#include "storage/data_file.h"

namespace dostup {

const std::vector<StarterObject>& starterObjects() {
    static const std::vector<StarterObject> objects = {
        // The program's reference books.
        {"Firm", "Фирмы"},
        {"Price", "Цены"},
        {"Valut", "Валюты"},
        {"Kurs", "Курсы валют"},
        {"Store", "Участки"},
        {"TypeOp", "Типы операций"},
        // The library's screens.
        {"MOL", "Сотрудники"},
        {"MolLOG", "Журнал изменений сотрудников"},
        {"OtdMOL", "Подразделения"},
        {"KatMOL", "Категории сотрудников"},
        {"Dostup", "Права доступа"},
        {"Filter", "Фильтры"},
    };
    return objects;
}

void registerStarterObjects(storage::DataFile& object) {
    int code = 0;
    for (const StarterObject& starter : starterObjects()) {
        storage::Record& record = object.record();
        record.clear();
        record.setValue("OBJ:ID", std::to_string(++code));
        record.setValue("OBJ:TYPE", platform::ru("Справочник"));
        record.setValue("OBJ:OBOZN", starter.designation);
        record.setValue("OBJ:NAME", platform::ru(starter.name));
        object.add();  // a duplicate: another station registered it first
    }
    object.record().clear();
}

}  // namespace dostup
