#include "ui/report_engine.h"

#include "ui/shared_printer.h"

#include "platform/dates.h"
#include "platform/paths.h"
#include "ui/qt_user_services.h"
#include "ui/report_fonts.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPen>
#include <QPrintDialog>
#include <QPrinter>
#include <QWidget>

#include <algorithm>

namespace ui {

namespace report = framework::report;

namespace {

constexpr double kUnits = PageQueue::kUnitsPerMm;
constexpr double kUnitsPerPoint = kUnits * 25.4 / 72.0;

QRectF unitsRect(double x, double y, double width, double height) {
    return QRectF(x * kUnits, y * kUnits, width * kUnits, height * kUnits);
}

int alignmentFlags(report::Align align) {
    switch (align) {
        case report::Align::Right: return Qt::AlignRight;
        case report::Align::Center: return Qt::AlignHCenter;
        default: return Qt::AlignLeft;
    }
}

// The text cut to what fits into the width. A text that does not fit its box is
// cut rather than clipped: a clip would be recorded into the page with every text.
QString fitted(const QString& text, const QFontMetrics& metrics, double width) {
    if (metrics.horizontalAdvance(text) <= width) return text;
    int fits = 0;
    for (int n = 1; n <= text.size(); ++n) {
        if (metrics.horizontalAdvance(text.left(n)) > width) break;
        fits = n;
    }
    return text.left(fits);
}

}  // namespace

ReportEngine::ReportEngine(const report::Layout& layout) : layout_(layout), pager_(layout, *this) {}

ReportEngine::~ReportEngine() {
    if (painter_ && painter_->isActive()) painter_->end();
}

void ReportEngine::loadImages(const report::Band& band) {
    for (const report::Item& item : band.items) {
        if (item.kind != report::Item::Kind::Image || !item.imageFile) continue;
        const std::string file = item.imageFile();
        QImage image;
        if (!file.empty())
            image.load(QString::fromStdString(platform::hostPath(file).string()));
        images_[&item] = image;
    }
}

void ReportEngine::open() {
    if (painter_ && painter_->isActive()) painter_->end();
    images_.clear();
    loadImages(layout_.pageHeader);
    loadImages(layout_.pageFooter);
    loadImages(layout_.detail);
    for (const report::Group& group : layout_.groups) {
        loadImages(group.header);
        loadImages(group.footer);
    }
    pages_.reset(QSizeF(layout_.pageWidth, layout_.pageHeight));
    pager_.start();
}

void ReportEngine::printDetail() { pager_.detail(); }

void ReportEngine::endPage() { pager_.finish(); }

void ReportEngine::print() {
    if (pages_.empty()) return;
    if (printHandler_) printHandler_(pages_);
    else printWithDialog(pages_);
}

void ReportEngine::close() {
    if (painter_ && painter_->isActive()) painter_->end();
    painter_.reset();
    pages_.clear();
    images_.clear();
}

void ReportEngine::beginPage(int) {
    current_ = QPicture();
    current_.setBoundingRect(QRect(0, 0, static_cast<int>(layout_.pageWidth * kUnits),
                                   static_cast<int>(layout_.pageHeight * kUnits)));
    painter_ = std::make_unique<QPainter>(&current_);
    painter_->setRenderHint(QPainter::Antialiasing, true);
    painter_->setRenderHint(QPainter::TextAntialiasing, true);
}

void ReportEngine::finishPage(int page) {
    if (painter_) {
        // Every printed page says when it was printed, with its number, small in
        // the bottom margin, whatever the report's own bands hold.
        const platform::CivilDate date = platform::civilDate(platform::today());
        const QString stamp = QString::fromUtf8("Напечатано %1.%2.%3    стр. %4")
                                  .arg(date.day, 2, 10, QLatin1Char('0'))
                                  .arg(date.month, 2, 10, QLatin1Char('0'))
                                  .arg(date.year)
                                  .arg(page);
        painter_->setFont(reportFont(framework::report::Font{"Arial Cyr", 7}, kUnitsPerPoint));
        painter_->setPen(QPen(Qt::black));
        const double top = layout_.pageHeight - layout_.marginBottom + 2;
        painter_->drawText(unitsRect(layout_.marginLeft, top,
                                     layout_.pageWidth - layout_.marginLeft - layout_.marginRight, 4),
                           Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, stamp);
        painter_->end();
    }
    painter_.reset();
    pages_.append(current_);
    current_ = QPicture();
}

void ReportEngine::placeBand(const report::Band& band, double top, int page) {
    if (!painter_) return;
    for (const report::Item& item : band.items) drawItem(item, band, top, page);
}

void ReportEngine::drawItem(const report::Item& item, const report::Band& band, double top,
                            int page) {
    QPainter& p = *painter_;
    const double x = layout_.marginLeft + item.box.x;
    const double y = top + item.box.y;
    const QRectF box = unitsRect(x, y, item.box.width, item.box.height);
    const report::Font& font = item.font ? *item.font : band.font ? *band.font : layout_.font;
    QPen pen(Qt::black);
    pen.setWidthF(item.lineWidth * kUnits);
    // Every state change is recorded into the page: set only what differs.
    if (p.pen() != pen) p.setPen(pen);
    if (p.brush().style() != Qt::NoBrush) p.setBrush(Qt::NoBrush);
    auto useFont = [&p](const QFont& wanted) {
        if (p.font() != wanted) p.setFont(wanted);
    };

    switch (item.kind) {
        case report::Item::Kind::Text:
        case report::Item::Kind::Field:
        case report::Item::Kind::PageNumber: {
            const QString text = toQt(report::itemText(item, page));
            if (text.isEmpty()) return;
            useFont(reportFont(font, kUnitsPerPoint));
            p.drawText(box,
                       alignmentFlags(report::effectiveAlign(item)) | Qt::AlignVCenter |
                           Qt::TextSingleLine | Qt::TextDontClip,
                       fitted(text, p.fontMetrics(), box.width()));
            return;
        }
        case report::Item::Kind::CheckBox: {
            const double side = std::min(item.box.height, 3.2);
            const QRectF square = unitsRect(x, y + (item.box.height - side) / 2, side, side);
            p.drawRect(square);
            if (item.checked && item.checked()) {
                QPen tick(Qt::black);
                tick.setWidthF(0.35 * kUnits);
                tick.setCapStyle(Qt::RoundCap);
                tick.setJoinStyle(Qt::RoundJoin);
                p.setPen(tick);
                const QPointF points[] = {
                    square.topLeft() + QPointF(0.2 * square.width(), 0.5 * square.height()),
                    square.topLeft() + QPointF(0.42 * square.width(), 0.76 * square.height()),
                    square.topLeft() + QPointF(0.82 * square.width(), 0.2 * square.height())};
                p.drawPolyline(points, 3);
                p.setPen(pen);
            }
            if (!item.text.empty()) {
                useFont(reportFont(font, kUnitsPerPoint));
                const QRectF label = unitsRect(x + side + 1.5, y, item.box.width - side - 1.5,
                                               item.box.height);
                p.drawText(label,
                           Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine |
                               Qt::TextDontClip,
                           fitted(toQt(item.text), p.fontMetrics(), label.width()));
            }
            return;
        }
        case report::Item::Kind::Image: {
            auto it = images_.find(&item);
            if (it == images_.end() || it->second.isNull()) return;
            const QImage& image = it->second;
            QSizeF size = QSizeF(image.size()).scaled(box.size(), Qt::KeepAspectRatio);
            p.drawImage(QRectF(box.topLeft(), size), image);
            return;
        }
        case report::Item::Kind::Line:
            p.drawLine(box.topLeft(), box.bottomRight());
            return;
        case report::Item::Kind::Frame:
            p.drawRect(box);
            return;
    }
}

void printWithDialog(const PageQueue& pages) {
    QPrinter& printer = sharedPrinter();  // as File → "Print Setup" left it
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    dialog.setMinMax(1, pages.size());
    dialog.setFromTo(1, pages.size());
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dialog.exec() != QDialog::Accepted) return;
    int from = 1;
    int to = pages.size();
    if (printer.printRange() == QPrinter::PageRange) {
        from = printer.fromPage();
        to = printer.toPage();
    }
    pages.print(printer, from, to);
}

}  // namespace ui
