// Shared by the tests of the staff documents: the access files in a temporary
// data folder, employees and departments put straight into them, the INI file of
// the library's settings, and the documents rendered into PDF files or watched
// band by band.
#pragma once

#include "access/access_files.h"
#include "access/access_layouts.h"
#include "access/dostup.h"
#include "framework/file_access.h"
#include "framework/report_pager.h"
#include "framework/shared_state.h"
#include "platform/cp1251.h"
#include "platform/fixed_text.h"
#include "platform/ini_file.h"
#include "platform/user_services.h"
#include "staffdocs/d_mol_rp.h"
#include "storage/data_file.h"
#include "tests/helpers/qt_application.h"
#include "tests/helpers/temp_folder.h"
#include "tests/ui/sample_report.h"
#include "ui/report_runner.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QString>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace staffdocs_tests {

using platform::ru;

struct Employee {
    int code = 0;
    std::string surname;  // UTF-8
    std::string names;
    int department = 0;
    std::string title = {};
    std::string phone = {};
    std::string passportSeries = {};
    std::string passportNumber = {};
};

// What one band printed: its kind and the texts of its items, in code page 1251.
struct PrintedBand {
    std::string kind;  // "page", "group", "detail"
    std::vector<std::string> texts;
};

// A report engine that prints nothing but notes the texts of every band, through
// the same pager as the real one.
class BandRecorder : public framework::ReportPages, private framework::report::BandPainter {
public:
    explicit BandRecorder(const framework::report::Layout& layout)
        : layout_(layout), pager_(layout, *this) {}

    void open() override { pager_.start(); }
    void printDetail() override { pager_.detail(); }
    void endPage() override { pager_.finish(); }
    std::size_t pageCount() const override { return static_cast<std::size_t>(pager_.pages()); }
    void print() override {}
    void close() override {}

    std::vector<PrintedBand> bands;

private:
    void beginPage(int) override {}
    void finishPage(int) override {}
    void placeBand(const framework::report::Band& band, double, int page) override {
        PrintedBand printed;
        if (&band == &layout_.detail) printed.kind = "detail";
        else if (&band == &layout_.pageHeader) printed.kind = "page";
        else printed.kind = "group";
        for (const auto& item : band.items) {
            if (item.kind == framework::report::Item::Kind::Field ||
                item.kind == framework::report::Item::Kind::Text)
            {
                const std::string text = framework::report::itemText(item, page);
                const std::size_t first = text.find_first_not_of(' ');
                printed.texts.emplace_back(
                    first == std::string::npos ? std::string_view{}
                                               : platform::clip(std::string_view(text).substr(first)));
            }
        }
        bands.push_back(std::move(printed));
    }

    const framework::report::Layout& layout_;
    framework::report::ReportPager pager_;
};

class StaffDocsTest : public ::testing::Test {
protected:
    StaffDocsTest() {
        testing_support::qtApplication();
        std::filesystem::create_directories(folder.path() / "Dat");
        dostup::AccessFiles& f = dostup::accessFiles();
        for (storage::DataFile* file : {&f.mol, &f.mod, &f.otdMol})
            file->setName(".\\Dat\\" + file->label());
        platform::writeCString(g_IniFileName, ".\\TARVO.INI");
        framework::setReportMessageHook(
            [this](int number, const std::string& text, const storage::ErrorState&) {
                messages.push_back(std::to_string(number) + " " + text);
            });
    }
    ~StaffDocsTest() override {
        dostup::AccessFiles& f = dostup::accessFiles();
        for (storage::DataFile* file : {&f.mol, &f.mod, &f.otdMol})
            while (framework::userCount(*file) > 0) framework::releaseFile(*file);
        framework::setReportMessageHook({});
        framework::setReportRunner({});
    }

    static storage::DataFile& mol() { return dostup::accessFiles().mol; }

    void addEmployees(const std::vector<Employee>& employees) {
        storage::DataFile station(mol().layout());
        station.setName(mol().name());
        station.setOwnerPassword(dostup::ownerPasswordOf(mol().layout()));
        framework::FileUse use(station);
        station.begin();
        for (const Employee& e : employees) {
            storage::Record& r = station.record();
            r.clear();
            r.setValue("MOL:SCODE", std::to_string(e.code));
            r.setValue("MOL:LNAME", ru(e.surname));
            r.setValue("MOL:FNAME", ru(e.names));
            r.setValue("MOL:OTD_ID", std::to_string(e.department));
            r.setValue("MOL:TITLE", ru(e.title));
            r.setValue("MOL:BPHONE", e.phone);
            r.setValue("MOL:PASPSER", ru(e.passportSeries));
            r.setValue("MOL:PASPNUMBER", e.passportNumber);
            ASSERT_EQ(station.add(), 0) << station.errorText();
        }
        station.commit();
    }

    void addDepartments(const std::map<int, std::string>& departments) {
        storage::DataFile station(dostup::accessFiles().otdMol.layout());
        station.setName(dostup::accessFiles().otdMol.name());
        framework::FileUse use(station);
        for (const auto& [code, name] : departments) {
            station.record().clear();
            station.record().setValue("OMO:OTD_ID", std::to_string(code));
            station.record().setValue("OMO:NAME", ru(name));
            ASSERT_EQ(station.add(), 0) << station.errorText();
        }
    }

    void setRequisite(const char* key, const std::string& utf8) {
        platform::writeIni("KELM", key, ru(utf8), ".\\TARVO.INI");
    }

    QString inFolder(const std::string& name) const {
        return QString::fromStdString((folder.path() / name).string());
    }

    // Renders the document (the forms for `employee`) into a PDF in the folder.
    ui::PdfRendering render(staffdocs::StaffDocument document, const std::string& name,
                            int employee = 0) {
        if (staffdocs::forOneEmployee(document)) staffdocs::fetchEmployee(static_cast<std::uint16_t>(employee));
        ui::PdfRendering result;
        staffdocs::runDocument(document, [&](const framework::ReportDefinition& report,
                                             framework::RecordSource& source) {
            result = ui::renderToPdf(report, source, inFolder(name));
            return result.response;
        });
        return result;
    }

    // The document's bands as printed, without rendering.
    std::vector<PrintedBand> bands(staffdocs::StaffDocument document) {
        std::vector<PrintedBand> printed;
        staffdocs::runDocument(document, [&](const framework::ReportDefinition& report,
                                             framework::RecordSource& source) {
            BandRecorder recorder(report.layout);
            framework::SilentProgressView silent;
            const int response = framework::runReportCycle(source, recorder, silent, report.cycle);
            printed = recorder.bands;
            return response;
        });
        return printed;
    }

    // The PDF's text, one entry per page, blanks folded.
    QStringList pages(const std::string& name) {
        QStringList list = testing_support::pdfText(inFolder(name)).split(QLatin1Char('\f'));
        for (QString& page : list) page = page.simplified();
        while (!list.isEmpty() && list.back().isEmpty()) list.pop_back();
        return list;
    }

    testing_support::TempFolder folder;
    std::vector<std::string> messages;
};

// True when each text occurs after the one before it.
inline bool inOrder(const QString& text, const std::vector<const char*>& parts, std::string* missing) {
    int from = 0;
    for (const char* part : parts) {
        const int at = text.indexOf(QString::fromUtf8(part).simplified(), from);
        if (at < 0) {
            *missing = part;
            return false;
        }
        from = at + 1;
    }
    return true;
}

}  // namespace staffdocs_tests
