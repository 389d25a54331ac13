// The printed list of the operation types over a real TypeOp file, rendered into
// a PDF and into page images: title and page number on every page, the headings
// (with the Latin C of "C деньгами"), every record in code order, and check boxes
// ticked only for the flags that are 1.
#include "framework/data_file_source.h"
#include "framework/file_access.h"
#include "platform/cp1251.h"
#include "refbooks/ref_layouts.h"
#include "refbooks/typeop_report.h"
#include "storage/data_file.h"
#include "tests/helpers/qt_application.h"
#include "tests/helpers/temp_folder.h"
#include "tests/ui/sample_report.h"
#include "ui/report_engine.h"
#include "ui/report_runner.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <filesystem>
#include <random>

namespace {

namespace r = framework::report;
using platform::ru;

class TypeOpReport : public ::testing::Test {
protected:
    TypeOpReport() {
        testing_support::qtApplication();
        std::filesystem::create_directories(folder.path() / "Dat");
        file.setName(".\\Dat\\TypeOp");
    }
    ~TypeOpReport() override {
        while (framework::userCount(file) > 0) framework::releaseFile(file);
    }

    // Codes 1..count added in a shuffled order; flags follow the code.
    void addTypes(int count) {
        std::vector<int> codes;
        for (int i = 1; i <= count; ++i) codes.push_back(i);
        std::shuffle(codes.begin(), codes.end(), std::mt19937(7));
        framework::FileUse use(file);
        for (int code : codes) {
            file.record().clear();
            file.record().setValue("TOP:ID", std::to_string(code));
            file.record().setValue("TOP:OBOZN", "K" + std::to_string(code));
            file.record().setValue("TOP:NAME", ru("Операция ") + std::to_string(code));
            file.record().setValue("TOP:TOWFLAG", code % 2 ? "1" : "0");
            file.record().setValue("TOP:MANYFLAG", code % 3 ? "0" : "1");
            file.record().setValue("TOP:PRICHODFLAG", code == 1 ? "1" : "0");
            ASSERT_EQ(file.add(), 0) << file.driverErrorText();
        }
    }

    ui::PdfRendering render(const QString& pdf) {
        framework::FileUse use(file);
        framework::DataFileSource source(file, file.layout().key(refbooks::kTypeOpReportKey));
        return ui::renderToPdf(refbooks::typeOpReport(file), source, pdf);
    }

    QString inFolder(const char* name) const {
        return QString::fromStdString((folder.path() / name).string());
    }

    testing_support::TempFolder folder;
    storage::DataFile file{refbooks::typeOpLayout()};
};

TEST_F(TypeOpReport, PdfHasTheTitleHeadingsAndEveryTypeInCodeOrderOnEveryPage) {
    addTypes(120);
    const QString pdf = inFolder("typeop.pdf");
    const ui::PdfRendering result = render(pdf);
    EXPECT_EQ(result.response, framework::kResponseCompleted);
    ASSERT_TRUE(result.written);
    EXPECT_EQ(result.pages, 3);
    EXPECT_EQ(testing_support::pdfPageCount(pdf), 3);

    QStringList pages = testing_support::pdfText(pdf).split(QLatin1Char('\f'));
    for (QString& page : pages) page = page.simplified();
    ASSERT_GE(pages.size(), 3);
    for (int p = 0; p < 3; ++p) {
        const QString& page = pages[p];
        EXPECT_TRUE(page.contains(QStringLiteral("Типы Операций"))) << p;
        EXPECT_TRUE(page.contains(QStringLiteral("Страница %1").arg(p + 1))) << p;
        EXPECT_TRUE(page.contains(
            QStringLiteral("Код Обозначение Наименование Товарная C деньгами Приход")))
            << page.left(300).toStdString();
        EXPECT_FALSE(page.contains(QStringLiteral("С деньгами"))) << "the Cyrillic С is wrong";
    }
    EXPECT_TRUE(pages[0].contains(QStringLiteral("1 K1 Операция 1 ")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("2 K2 Операция 2 3 K3 Операция 3")))
        << "code order, although the records were added shuffled";
    const int lastOnFirst = pages[0].lastIndexOf(QStringLiteral("Операция "));
    const int perPage = pages[0].mid(lastOnFirst + 9).section(QLatin1Char(' '), 0, 0).toInt();
    EXPECT_GT(perPage, 40);
    EXPECT_FALSE(pages[0].contains(QStringLiteral("Операция %1 ").arg(perPage + 1)));
    EXPECT_TRUE(pages[1].contains(QStringLiteral("%1 K%1 Операция %1").arg(perPage + 1)));
    EXPECT_TRUE(pages[2].contains(QStringLiteral("120 K120 Операция 120")));
}

TEST_F(TypeOpReport, CheckBoxesAreTickedForFlagsOfOneAndEmptyForZero) {
    addTypes(4);  // 1: goods and receipt; 2: none; 3: goods and money; 4: none
    const framework::ReportDefinition report = refbooks::typeOpReport(file);
    const r::Layout& layout = report.layout;
    std::vector<r::Box> boxes;
    for (const r::Item& item : layout.detail.items)
        if (item.kind == r::Item::Kind::CheckBox) {
            boxes.push_back(item.box);
            EXPECT_TRUE(item.text.empty()) << "check boxes without text";
        }
    ASSERT_EQ(boxes.size(), 3u);

    ui::ReportEngine engine(layout);
    framework::SilentProgressView silent;
    QImage image;
    {
        framework::FileUse use(file);
        framework::DataFileSource source(file, file.layout().key(refbooks::kTypeOpReportKey));
        // The first page at 4 pixels to the millimetre, where the preview would open.
        auto paintFirstPage = [&](framework::ReportPages&) {
            const QSizeF mm = engine.pages().pageSizeMm();
            image = QImage(static_cast<int>(mm.width() * 4), static_cast<int>(mm.height() * 4),
                           QImage::Format_RGB32);
            QPainter painter(&image);
            engine.pages().paint(painter, 0, QRectF(0, 0, image.width(), image.height()));
            return false;
        };
        framework::runReportCycle(source, engine, silent, report.cycle, paintFirstPage);
    }
    ASSERT_FALSE(image.isNull());
    // Dark pixels inside a square of the page, 4 pixels to the millimetre.
    auto dark = [&](double x, double y, double side) {
        int count = 0;
        for (int py = static_cast<int>(y * 4); py < static_cast<int>((y + side) * 4); ++py)
            for (int px = static_cast<int>(x * 4); px < static_cast<int>((x + side) * 4); ++px)
                if (qGray(image.pixel(px, py)) < 128) ++count;
        return count;
    };
    const bool expected[4][3] = {{true, false, true}, {false, false, false},
                                 {true, true, false}, {false, false, false}};
    const double bodyTop = layout.marginTop + layout.pageHeader.height;
    for (int line = 0; line < 4; ++line) {
        for (std::size_t b = 0; b < boxes.size(); ++b) {
            const double x = layout.marginLeft + boxes[b].x;
            const double y = bodyTop + line * layout.detail.height + boxes[b].y;
            const int inside = dark(x + 0.8, y + 0.8, boxes[b].width - 1.6);
            if (expected[line][b]) EXPECT_GT(inside, 4) << "line " << line + 1 << " box " << b;
            else EXPECT_EQ(inside, 0) << "line " << line + 1 << " box " << b;
            EXPECT_GT(dark(x - 0.3, y - 0.3, boxes[b].width + 0.6), 20) << "the square is drawn";
        }
    }
}

}  // namespace
