#include "access/access_files.h"

#include "access/access_layouts.h"
#include "access/employee_log.h"
#include "access/rights_journal.h"
#include "access/starter_objects.h"
#include "framework/file_access.h"
#include "framework/referential_rules.h"

namespace dostup {

namespace {

AccessFiles& makeFiles() {
    static AccessFiles files{
        storage::DataFile(molLayout()),    storage::DataFile(modLayout()),
        storage::DataFile(katMolLayout()), storage::DataFile(otdMolLayout()),
        storage::DataFile(objectLayout()), storage::DataFile(dostupLayout()),
        storage::DataFile(molLogLayout()), storage::DataFile(filterLayout()),
        storage::DataFile(histListLayout()), storage::DataFile(rightsLogLayout()),
        storage::DataFile(molChangeLayout()),
    };
    for (storage::DataFile* file : {&files.mol, &files.mod, &files.katMol, &files.otdMol,
                                    &files.object, &files.dostup, &files.molLog, &files.filter,
                                    &files.histList, &files.rightsLog, &files.molChange})
        file->setOwnerPassword(ownerPasswordOf(file->layout()));

    // A department with employees, and an employee with change-log entries, cannot
    // be deleted; a change of their code is carried to the children.
    framework::setChildLinks(files.otdMol, {{&files.mol, "OMO:OTD_ID", "MOL:OTD_ID",
                                             files.mol.layout().key("OTD_KEY"), true}});
    // The changed fields go with their employee's code like the change log.
    framework::setChildLinks(files.mol, {{&files.molLog, "MOL:SCODE", "MLO:SCODE",
                                          files.molLog.layout().key("SCODE_KEY"), true},
                                         {&files.molChange, "MOL:SCODE", "MCH:SCODE",
                                          files.molChange.layout().key("ENTRY_KEY"), true}});
    // A new installation's object file starts with the objects the screens ask for.
    framework::setNewFileFiller(files.object, registerStarterObjects);
    // and its rights file with the bans that keep an operator who has not logged
    // in away from the staff and the rights.
    // Change-log entries a killed process left held in the employee file reach
    // the change log as soon as the file is taken into use again.
    framework::setOpenedHook(files.mol, finishEmployeeLog);
    // Rights journal entries a killed process left held in a file the rights
    // screens write reach the journal when that file is taken into use again.
    for (storage::DataFile* written : {&files.dostup, &files.katMol, &files.object})
        framework::setOpenedHook(*written, finishRightsLog);
    framework::setNewFileFiller(files.dostup, [](storage::DataFile& rights) {
        registerAnonymousBans(rights, accessFiles().object);
    });
    return files;
}

}  // namespace

AccessFiles& accessFiles() {
    static AccessFiles& files = makeFiles();
    return files;
}

}  // namespace dostup
