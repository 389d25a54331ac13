#include "ui/report_engine.h"

#include "framework/report_pager.h"
#include "tests/helpers/qt_application.h"
#include "tests/helpers/temp_folder.h"
#include "tests/ui/sample_report.h"
#include "ui/report_fonts.h"
#include "ui/report_runner.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>

namespace {

using testing_support::SampleSource;
using testing_support::TempFolder;
namespace r = framework::report;

QString inFolder(const TempFolder& folder, const char* name) {
    return QString::fromStdString((folder.path() / name).string());
}

// Page `index` painted at 4 pixels per millimetre.
QImage pageImage(const ui::PageQueue& pages, int index) {
    const QSizeF mm = pages.pageSizeMm();
    QImage image(static_cast<int>(mm.width() * 4), static_cast<int>(mm.height() * 4),
                 QImage::Format_RGB32);
    image.fill(Qt::gray);
    QPainter painter(&image);
    pages.paint(painter, index, QRectF(0, 0, image.width(), image.height()));
    painter.end();
    return image;
}

// Dark pixels inside a rectangle given in millimetres of the page.
int darkPixels(const QImage& image, double x, double y, double width, double height) {
    int dark = 0;
    for (int py = static_cast<int>(y * 4); py < static_cast<int>((y + height) * 4); ++py)
        for (int px = static_cast<int>(x * 4); px < static_cast<int>((x + width) * 4); ++px)
            if (qGray(image.pixel(px, py)) < 128) ++dark;
    return dark;
}

TEST(ReportFonts, ArialCyrIsDrawnWithAnInstalledFontWithCyrillic) {
    testing_support::qtApplication();
    const QString family = ui::reportFontFamily("Arial Cyr");
    const QStringList families = QFontDatabase::families();
    if (families.contains(QStringLiteral("Liberation Sans"))) {
        EXPECT_EQ(family, QStringLiteral("Liberation Sans"));
    } else if (families.contains(QStringLiteral("DejaVu Sans"))) {
        EXPECT_EQ(family, QStringLiteral("DejaVu Sans"));
    }
    EXPECT_TRUE(QFontDatabase::writingSystems(family).contains(QFontDatabase::Cyrillic));
    EXPECT_EQ(ui::reportFontFamily("Arial"), family);
    EXPECT_EQ(ui::reportFontFamily("No Such Font Anywhere"), family);
}

TEST(ReportEngine, RendersTheListIntoAPdfWithTitlePageNumbersAndLines) {
    testing_support::qtApplication();
    TempFolder folder;
    SampleSource source(testing_support::sampleRows(120));
    const ui::Report report = testing_support::sampleReport(source);
    const QString pdf = inFolder(folder, "typeop.pdf");

    const ui::PdfRendering result = ui::renderToPdf(report, source, pdf);
    EXPECT_EQ(result.response, framework::kResponseCompleted);
    EXPECT_EQ(result.pages, 3);  // fifty lines a page
    ASSERT_TRUE(result.written);
    EXPECT_FALSE(source.quickScan);  // switched off again after the run

    EXPECT_EQ(testing_support::pdfPageCount(pdf), 3);
    // pdftotext rebuilds blanks from the gaps between glyphs and writes runs of
    // them as one, so the texts are compared with their blanks simplified.
    QStringList pages = testing_support::pdfText(pdf).split(QLatin1Char('\f'));
    for (QString& page : pages) page = page.simplified();
    ASSERT_GE(pages.size(), 3);
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Типы Операций")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Страница 1")));
    EXPECT_FALSE(pages[0].contains(QStringLiteral("Страница 2")));
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Страница 2")));
    EXPECT_TRUE(pages[2].contains(QStringLiteral("Страница 3")));
    EXPECT_TRUE(pages[2].contains(QStringLiteral("Типы Операций")));  // the header on every page
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Код Обозначение Наименование Товарная C деньгами Приход")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("1 T1 Операция номер 1 ")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Операция номер 50")));
    EXPECT_FALSE(pages[0].contains(QStringLiteral("Операция номер 51")));
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Операция номер 51")));
    EXPECT_TRUE(pages[2].contains(QStringLiteral("Операция номер 120")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("T17")));

    // The font is embedded: the layout's "Arial Cyr" became an installed font.
    const QString fonts = testing_support::programOutput(QStringLiteral("pdffonts"), {pdf});
    EXPECT_TRUE(fonts.contains(ui::reportFontFamily("Arial Cyr").remove(QLatin1Char(' '))))
        << fonts.toStdString();
}

TEST(ReportEngine, NothingToPrintWritesNoFile) {
    testing_support::qtApplication();
    TempFolder folder;
    SampleSource source({});
    const ui::Report report = testing_support::sampleReport(source);
    const QString pdf = inFolder(folder, "empty.pdf");
    const ui::PdfRendering result = ui::renderToPdf(report, source, pdf);
    EXPECT_EQ(result.response, framework::kResponseCancelled);
    EXPECT_EQ(result.pages, 0);
    EXPECT_FALSE(result.written);
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST(ReportEngine, ReadErrorKeepsThePagesPrintedBeforeIt) {
    testing_support::qtApplication();
    TempFolder folder;
    std::vector<int> shown;
    framework::setReportMessageHook(
        [&](int number, const std::string&, const storage::ErrorState&) { shown.push_back(number); });
    SampleSource source(testing_support::sampleRows(200));
    source.failAt = 61;
    const ui::Report report = testing_support::sampleReport(source);
    const QString pdf = inFolder(folder, "partial.pdf");
    const ui::PdfRendering result = ui::renderToPdf(report, source, pdf);
    framework::setReportMessageHook({});
    EXPECT_EQ(shown, std::vector<int>{35});
    EXPECT_EQ(result.response, framework::kResponseCompleted);
    EXPECT_EQ(result.pages, 2);  // sixty lines
    const QString text = testing_support::pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("Операция номер 60")));
    EXPECT_FALSE(text.contains(QStringLiteral("Операция номер 61")));
}

TEST(ReportEngine, CheckBoxesAreTickedOnlyForSetFlags) {
    testing_support::qtApplication();
    std::vector<testing_support::SampleRow> rows(2);
    rows[0].id = 1;
    rows[0].goods = rows[0].money = rows[0].receipt = true;
    rows[1].id = 2;  // all three flags 0
    SampleSource source(rows);
    const ui::Report report = testing_support::sampleReport(source);
    ui::ReportEngine engine(report.layout);
    framework::SilentProgressView silent;
    const ui::PageQueue* pages = nullptr;
    QImage image;
    framework::runReportCycle(source, engine, silent, report.cycle, [&](framework::ReportPages&) {
        pages = &engine.pages();
        image = pageImage(*pages, 0);
        return false;
    });
    ASSERT_FALSE(image.isNull());
    // Body starts at 10 + 27 mm; the boxes sit 0.75 mm into each 5 mm line, 15 mm
    // of left margin plus their position in the band.
    const double firstLine = 37 + 0.75;
    const double secondLine = firstLine + 5;
    for (double x : {125.0, 148.0, 170.0}) {
        // The inside of the square, away from its frame.
        const int ticked = darkPixels(image, 15 + x + 0.7, firstLine + 0.7, 2.1, 2.1);
        const int empty = darkPixels(image, 15 + x + 0.7, secondLine + 0.7, 2.1, 2.1);
        EXPECT_GT(ticked, 4) << "box at " << x;
        EXPECT_EQ(empty, 0) << "box at " << x;
        // Both squares are drawn.
        EXPECT_GT(darkPixels(image, 15 + x - 0.3, secondLine - 0.3, 4.1, 4.1), 20);
    }
}

TEST(ReportEngine, LogoComesFromItsFileAndAnEmptyNameShowsNothing) {
    testing_support::qtApplication();
    TempFolder folder;
    QImage logo(40, 20, QImage::Format_RGB32);
    logo.fill(QColor(200, 0, 0));
    ASSERT_TRUE(logo.save(inFolder(folder, "logo.png")));

    std::string logoFile = ".\\LOGO.PNG";  // found without regard to letter case
    SampleSource source(testing_support::sampleRows(3));
    ui::Report report = testing_support::sampleReport(source);
    report.layout.pageHeader.items.push_back(
        r::image({0, 0, 20, 10}, [&] { return logoFile; }));
    auto redAt = [](const QImage& image) {
        const QColor c = image.pixelColor(static_cast<int>((15 + 10) * 4), static_cast<int>((10 + 4) * 4));
        return c.red() > 150 && c.green() < 80;
    };

    for (bool withLogo : {true, false}) {
        logoFile = withLogo ? ".\\LOGO.PNG" : "";
        ui::ReportEngine engine(report.layout);
        framework::SilentProgressView silent;
        QImage image;
        framework::runReportCycle(source, engine, silent, report.cycle,
                                  [&](framework::ReportPages&) {
                                      image = pageImage(engine.pages(), 0);
                                      return false;
                                  });
        EXPECT_EQ(redAt(image), withLogo);
    }
}

TEST(ReportEngine, PrintHandsThePagesToThePrinterWhenThePreviewSaysSo) {
    testing_support::qtApplication();
    SampleSource source(testing_support::sampleRows(60));
    const ui::Report report = testing_support::sampleReport(source);
    ui::ReportEngine engine(report.layout);
    int printedPages = 0;
    engine.setPrintHandler([&](const ui::PageQueue& pages) { printedPages = pages.size(); });
    framework::SilentProgressView silent;
    framework::runReportCycle(source, engine, silent, report.cycle,
                              [](framework::ReportPages&) { return true; });
    EXPECT_EQ(printedPages, 2);
    EXPECT_EQ(engine.pages().size(), 0);  // the page queue is freed at the end
}

TEST(ReportEngine, TenThousandLinesStayCompactInMemory) {
    testing_support::qtApplication();
    SampleSource source(testing_support::sampleRows(10000));
    const ui::Report report = testing_support::sampleReport(source);
    ui::ReportEngine engine(report.layout);
    framework::SilentProgressView silent;
    std::size_t bytes = 0;
    int pages = 0;
    framework::runReportCycle(source, engine, silent, report.cycle,
                              [&](framework::ReportPages&) {
                                  bytes = engine.pages().bytes();
                                  pages = engine.pages().size();
                                  return false;
                              });
    EXPECT_EQ(pages, 200);
    // Recorded drawing kept compressed, not bitmaps: a few kilobytes a page.
    EXPECT_LT(bytes / static_cast<std::size_t>(pages), 20u * 1024u);
}

}  // namespace
