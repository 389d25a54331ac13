// Printing from the command line: "--print NAME --pdf FILE" starts up as usual,
// renders the named report over the data files into the PDF without any window,
// and reports what went wrong on standard error with a non-zero exit code.
#include "framework/file_access.h"
#include "platform/cp1251.h"
#include "refbooks/ref_files.h"
#include "refbooks/ref_layouts.h"
#include "shell/print_command.h"
#include "storage/data_file.h"
#include "tests/helpers/command_line.h"
#include "tests/helpers/qt_application.h"
#include "tests/helpers/temp_folder.h"
#include "tests/ui/sample_report.h"

#include <gtest/gtest.h>

#include <QFile>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

using platform::ru;

class PrintCommand : public ::testing::Test {
protected:
    PrintCommand() { std::filesystem::create_directories(folder.path() / "Dat"); }

    // Operation types 1..count in the data folder that start-up names, ".\Dat\".
    void addTypes(int count) {
        storage::DataFile file(refbooks::typeOpLayout());
        file.setName(".\\Dat\\TypeOp");
        framework::FileUse use(file);
        for (int code = 1; code <= count; ++code) {
            file.record().clear();
            file.record().setValue("TOP:ID", std::to_string(code));
            file.record().setValue("TOP:NAME", ru("Тип ") + std::to_string(code));
            ASSERT_EQ(file.add(), 0);
        }
    }

    // Runs the command line; `error` receives what it wrote on standard error.
    std::optional<int> run(std::initializer_list<const char*> arguments) {
        testing_support::CommandLine line(arguments);
        testing::internal::CaptureStderr();
        const std::optional<int> code =
            shell::runPrintCommand(line.argc(), line.argv());
        error = testing::internal::GetCapturedStderr();
        return code;
    }

    QString inFolder(const std::string& name) const {
        return QString::fromStdString((folder.path() / name).string());
    }

    testing_support::TempFolder folder;
    std::string error;
};

TEST_F(PrintCommand, RendersTheOperationTypesIntoAPdf) {
    testing_support::qtApplication();
    addTypes(60);
    EXPECT_EQ(run({"--print", "TypeOp", "--pdf", "types.pdf"}), 0);
    EXPECT_EQ(error, "");
    const QString pdf = inFolder("types.pdf");
    ASSERT_TRUE(QFile::exists(pdf));
    EXPECT_EQ(testing_support::pdfPageCount(pdf), 2);
    const QString text = testing_support::pdfText(pdf).simplified();
    EXPECT_TRUE(text.contains(QStringLiteral("Типы Операций")));
    EXPECT_TRUE(text.contains(QStringLiteral("60 Тип 60")));

    // Any letter case, and the options with "=".
    EXPECT_EQ(run({"--pdf=again.pdf", "--print=typeop"}), 0);
    EXPECT_TRUE(QFile::exists(inFolder("again.pdf")));
    EXPECT_EQ(framework::userCount(refbooks::referenceFiles().typeOp), 0) << "the file is released";
}

TEST_F(PrintCommand, RendersTheStoresIntoAPdf) {
    testing_support::qtApplication();
    EXPECT_EQ(run({"--print", "Store", "--pdf", "none.pdf"}), 2) << "no store: nothing to print";
    {
        storage::DataFile file(refbooks::storeLayout());
        file.setName(".\\Dat\\Store");
        framework::FileUse use(file);
        file.record().clear();
        file.record().setValue("STO:COD", "4");
        file.record().setValue("STO:NAME", ru("Центральный склад"));
        file.record().setValue("STO:ADRESS1", ru("ул. Мира, 5"));
        file.record().setValue("STO:PHONE", "555-12-34");
        ASSERT_EQ(file.add(), 0);
    }
    EXPECT_EQ(run({"--print", "Store", "--pdf", "stores.pdf"}), 0);
    EXPECT_EQ(error, "");
    const QString text = testing_support::pdfText(inFolder("stores.pdf")).simplified();
    EXPECT_TRUE(text.contains(QStringLiteral("Справочник Участков"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Код Участок Адрес Телефон"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("4 Центральный склад ул. Мира, 5 555-12-34")))
        << text.toStdString();
    EXPECT_EQ(framework::userCount(refbooks::referenceFiles().store), 0) << "the file is released";
}

TEST_F(PrintCommand, WrongCommandLinesFailWithAMessage) {
    EXPECT_EQ(run({}), std::nullopt) << "no --print: the program opens its frame";
    EXPECT_EQ(run({"--pdf", "x.pdf"}), std::nullopt);

    EXPECT_EQ(run({"--print", "Stuff", "--pdf", "x.pdf"}), 1);
    EXPECT_NE(error.find("unknown report \"Stuff\""), std::string::npos) << error;
    EXPECT_NE(error.find("TypeOp"), std::string::npos) << "the known reports are named";

    EXPECT_EQ(run({"--print"}), 1);
    EXPECT_NE(error.find("--print needs the name of a report"), std::string::npos) << error;
    EXPECT_EQ(run({"--print", "TypeOp"}), 1);
    EXPECT_NE(error.find("needs --pdf FILE"), std::string::npos) << error;

    EXPECT_EQ(run({"--print", "TypeOp", "--pdf", "no/such/folder/x.pdf"}), 1);
    EXPECT_NE(error.find("cannot write no/such/folder/x.pdf: no such folder"), std::string::npos)
        << error;
    std::filesystem::create_directories(folder.path() / "folder.pdf");
    EXPECT_EQ(run({"--print", "TypeOp", "--pdf", "folder.pdf"}), 1);
    EXPECT_NE(error.find("it is a folder"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "x.pdf"));
}

// A write that fails is a failure, never "written": a full device gives exit 1
// and a Russian message, and is written in place (a temporary file renamed onto
// it would replace the device); an existing PDF is replaced only by a whole one.
TEST_F(PrintCommand, AFailedWriteIsReportedAndReplacesNothing) {
    testing_support::qtApplication();
    addTypes(3);
    EXPECT_EQ(run({"--print", "TypeOp", "--pdf", "/dev/full"}), 1);
    EXPECT_NE(error.find("PDF-файл не записан: /dev/full"), std::string::npos) << error;
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full")) << "the device is still a device";

    folder.write("kept.pdf", "an earlier PDF");
    EXPECT_EQ(run({"--print", "TypeOp", "--pdf", "kept.pdf"}), 0);
    EXPECT_EQ(testing_support::pdfPageCount(inFolder("kept.pdf")), 1);
    std::size_t leftovers = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        if (entry.path().filename().string().rfind("kept.pdf", 0) == 0) ++leftovers;
    EXPECT_EQ(leftovers, 1u) << "no temporary file left beside it";
}

TEST_F(PrintCommand, AnEmptyFileWritesNothing) {
    testing_support::qtApplication();
    EXPECT_EQ(run({"--print", "TypeOp", "--pdf", "empty.pdf"}), 2);
    EXPECT_NE(error.find("TypeOp has nothing to print; no file was written"), std::string::npos)
        << error;
    EXPECT_FALSE(QFile::exists(inFolder("empty.pdf")));
}

TEST_F(PrintCommand, RegisteredReportsArePrintedByName) {
    testing_support::qtApplication();
    QString renderedTo;
    shell::registerPrintableReport({"StoreList", "stores", [&](const QString& path) {
                                        renderedTo = path;
                                        return ui::PdfRendering{1, 1, true};
                                    }});
    EXPECT_NE(shell::findPrintableReport("storelist"), nullptr);
    EXPECT_EQ(shell::printableReports().front().name, "TypeOp");
    EXPECT_EQ(run({"--print", "StoreList", "--pdf", "stores.pdf"}), 0);
    EXPECT_EQ(renderedTo, QStringLiteral("stores.pdf"));
    EXPECT_EQ(run({"--print", "Nothing", "--pdf", "x.pdf"}), 1);
    // The program's own reports first, those registered after them.
    EXPECT_NE(error.find("(known reports: TypeOp, "), std::string::npos) << error;
    EXPECT_NE(error.find(", StoreList)"), std::string::npos) << error;
}

// As the program calls it first thing in main(): no application exists yet, so
// the command makes an offscreen one for itself. A process of its own.
TEST_F(PrintCommand, WorksBeforeAnyApplicationExists) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    addTypes(3);
    EXPECT_EXIT(
        {
            const bool noApplication = QCoreApplication::instance() == nullptr;
            const std::optional<int> code = run({"--print", "TypeOp", "--pdf", "fresh.pdf"});
            std::exit(noApplication && code == 0 && QFile::exists(inFolder("fresh.pdf")) ? 0 : 3);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
