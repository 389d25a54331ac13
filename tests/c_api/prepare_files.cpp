// Prepares a data folder for the C binding test through the library's own code:
// an employee, access objects, one rights row and saved filters.
#include "access/access_files.h"
#include "access/dostup.h"
#include "framework/file_access.h"
#include "platform/cp1251.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: prepare_files FOLDER\n");
        return 2;
    }
    std::filesystem::remove_all(argv[1]);
    std::filesystem::create_directories(std::filesystem::path(argv[1]) / "Dat");
    std::filesystem::current_path(argv[1]);
    DOSTUP_INITDLL();
    auto& files = dostup::accessFiles();
    // The objects are registered below, with the codes the rights row names.
    framework::setNewFileFiller(files.object, {});

    framework::useFile(files.mol);
    storage::Record& mol = files.mol.record();
    mol.clear();
    mol.setValue("MOL:SCODE", "7");
    mol.setValue("MOL:LNAME", platform::ru("Петров"));
    mol.setValue("MOL:FNAME", platform::ru("Иван Сергеевич"));
    mol.setValue("MOL:KATEGCODE", "3");
    if (files.mol.add() != 0) return 1;
    // The operator the dispatcher test vouches for: an employee, so that the
    // bans of nobody logged in (category 0) do not apply to him.
    mol.setValue("MOL:SCODE", "12");
    mol.setValue("MOL:LNAME", platform::ru("Сидоров"));
    if (files.mol.add() != 0) return 1;

    framework::useFile(files.object);
    storage::Record& object = files.object.record();
    object.clear();
    object.setValue("OBJ:ID", "1");
    object.setValue("OBJ:OBOZN", "Valut");
    if (files.object.add() != 0) return 1;

    // The saved filters asked about by the selection test.
    object.clear();
    object.setValue("OBJ:ID", "2");
    object.setValue("OBJ:OBOZN", "Filter");
    if (files.object.add() != 0) return 1;
    // The employee lists' object, so MOL_T and MOL_S open without a message.
    object.clear();
    object.setValue("OBJ:ID", "3");
    object.setValue("OBJ:OBOZN", "MOL");
    if (files.object.add() != 0) return 1;
    framework::useFile(files.filter);
    storage::Record& filter = files.filter.record();
    filter.clear();
    filter.setValue("FIL:TABLE", "MOL_t");
    filter.setValue("FIL:NUMBER", "1");
    filter.setValue("FIL:NAME", "Working");
    filter.setValue("FIL:EXPRESSION", "mol:SCode>0");
    if (files.filter.add() != 0) return 1;
    filter.setValue("FIL:TABLE", "Store_t");
    filter.setValue("FIL:NAME", "Other");
    if (files.filter.add() != 0) return 1;

    framework::useFile(files.dostup);
    storage::Record& rights = files.dostup.record();
    rights.clear();
    rights.setValue("DOS:KATEGCODE", "3");
    rights.setValue("DOS:OBJECTID", "1");
    rights.setValue("DOS:DELETEFLAG", "1");
    rights.setValue("DOS:PRINTFLAG", "1");
    if (files.dostup.add() != 0) return 1;
    return 0;
}
