#include "access/starter_objects.h"

#include "framework/file_access.h"
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
        {"Object", "Обьекты системы"},
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

const std::vector<std::string>& anonymousBans() {
    static const std::vector<std::string> objects = {"MOL",    "KatMOL", "OtdMOL",
                                                     "Object", "Dostup", "MolLOG"};
    return objects;
}

void registerAnonymousBans(storage::DataFile& rights, storage::DataFile& objects) {
    framework::FileUse use(objects);
    for (const std::string& designation : anonymousBans()) {
        objects.record().clear();
        objects.record().setText("OBJ:OBOZN", designation);
        if (objects.get(*objects.layout().key("OBOZN_KEY")) != storage::error::kNone) continue;
        storage::Record& row = rights.record();
        row.clear();
        row.setInt("DOS:KATEGCODE", 0);
        row.setInt("DOS:OBJECTID", objects.record().getInt("OBJ:ID"));
        for (const char* flag : {"OPENFLAG", "INSERTFLAG", "CHANGEFLAG", "DELETEFLAG", "OKFLAG",
                                 "UTWFLAG", "RUTWFLAG", "PRINTFLAG"})
            row.setInt(flag, 1);
        rights.add();  // a duplicate: another station wrote it first
    }
    rights.record().clear();
}

}  // namespace dostup
