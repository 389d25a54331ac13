#include "staffdocs/d_mol_rp.h"

#include "access/access_files.h"
#include "framework/file_access.h"
#include "platform/dates.h"
#include "staffdocs/power_of_attorney.h"
#include "staffdocs/report_context.h"
#include "staffdocs/staff_lists.h"
#include "staffdocs/staff_source.h"
#include "staffdocs/travel_certificate.h"

#include <strings.h>

namespace staffdocs {

namespace {

struct DocumentEntry {
    StaffDocument document;
    const char* name;
    framework::ReportDefinition (*definition)(ReportContext&);
    const char* key;
    const char* label;  // named by a read error
};

const DocumentEntry kDocuments[] = {
    {StaffDocument::Staff, "Staff", staffListReport, "MOL:NAME_KEY", "OtdMOL"},
    {StaffDocument::StaffByDepartment, "StaffByDepartment", staffByDepartmentReport,
     "MOL:OTD_KEY", "OtdMOL"},
    {StaffDocument::StaffStatement, "StaffStatement", staffStatementReport, "MOL:OTD_KEY",
     "OtdMOL"},
    {StaffDocument::TravelCertificate, "TravelCertificate", travelCertificateReport,
     "MOL:SCODE_KEY", "MOL"},
    {StaffDocument::PowerOfAttorney, "PowerOfAttorney", powerOfAttorneyReport, "MOL:SCODE_KEY",
     "MOL"},
};

const DocumentEntry& entry(StaffDocument document) {
    for (const DocumentEntry& e : kDocuments)
        if (e.document == document) return e;
    return kDocuments[0];
}

}  // namespace

const char* documentName(StaffDocument document) { return entry(document).name; }

std::optional<StaffDocument> findDocument(std::string_view name) {
    for (const DocumentEntry& e : kDocuments)
        if (std::string_view(e.name).size() == name.size() &&
            strncasecmp(e.name, name.data(), name.size()) == 0)
            return e.document;
    return std::nullopt;
}

bool forOneEmployee(StaffDocument document) {
    return document == StaffDocument::TravelCertificate ||
           document == StaffDocument::PowerOfAttorney;
}

int runDocument(StaffDocument document, const DocumentRunner& runner) {
    dostup::AccessFiles& files = dostup::accessFiles();
    const DocumentEntry& e = entry(document);
    framework::FileUse mol(files.mol);
    framework::FileUse otdMol(files.otdMol);

    ReportContext context(files.mol, files.otdMol);
    context.requisites = readRequisites();
    context.today = platform::today();
    context.century = centuryDigits(context.today);
    context.employee = context.values.code();
    const framework::ReportDefinition report = e.definition(context);

    std::function<bool()> filter;
    if (!forOneEmployee(document))
        filter = [&context] { return context.values.code() > 0; };  // "mol:SCode>0"
    StaffSource source(files.mol, files.otdMol, e.key, e.label, std::move(filter));
    return runner(report, source);
}

int printDocument(StaffDocument document) {
    return runDocument(document, [](const framework::ReportDefinition& report,
                                    framework::RecordSource& source) {
        return framework::runReport(report, source);
    });
}

bool fetchEmployee(std::uint16_t code) {
    storage::DataFile& mol = dostup::accessFiles().mol;
    framework::FileUse use(mol);
    mol.record().clear();
    mol.record().setInt("MOL:SCODE", code);
    return mol.get(*mol.layout().key("MOL:SCODE_KEY")) == storage::error::kNone;
}

}  // namespace staffdocs
