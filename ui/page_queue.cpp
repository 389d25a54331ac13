#include "ui/page_queue.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QPrinter>
#include <QRectF>

#include <algorithm>
#include <utility>

namespace ui {

namespace {

QPageLayout pageLayoutFor(QSizeF sizeMm) {
    const bool landscape = sizeMm.width() > sizeMm.height();
    const QSizeF portrait = landscape ? sizeMm.transposed() : sizeMm;
    return QPageLayout(QPageSize(portrait, QPageSize::Millimeter),
                       landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

}  // namespace

void PageQueue::reset(QSizeF pageSizeMm) {
    pages_.clear();
    pageSizeMm_ = pageSizeMm;
}

void PageQueue::append(const QPicture& page) {
    QByteArray compressed = qCompress(reinterpret_cast<const uchar*>(page.data()),
                                      static_cast<qsizetype>(page.size()), 1);
    compressed.squeeze();  // qCompress leaves room for the worst case allocated
    pages_.push_back(std::move(compressed));
}

QPicture PageQueue::page(int index) const {
    QPicture picture;
    if (index < 0 || index >= size()) return picture;
    const QByteArray data = qUncompress(pages_[static_cast<std::size_t>(index)]);
    picture.setData(data.constData(), static_cast<uint>(data.size()));
    return picture;
}

void PageQueue::clear() { pages_.clear(); }

QString PageQueue::name(int index) const { return QStringLiteral("Page %1").arg(index + 1); }

std::size_t PageQueue::bytes() const {
    std::size_t total = 0;
    for (const QByteArray& page : pages_) total += static_cast<std::size_t>(page.size());
    return total;
}

void PageQueue::paint(QPainter& painter, int index, const QRectF& target) const {
    if (index < 0 || index >= size()) return;
    painter.save();
    painter.fillRect(target, Qt::white);
    painter.setClipRect(target, Qt::IntersectClip);
    const QPicture page = this->page(index);
    painter.translate(target.topLeft());
    painter.scale(target.width() / (pageSizeMm_.width() * kUnitsPerMm),
                  target.height() / (pageSizeMm_.height() * kUnitsPerMm));
    // Playing a picture scales it by the device's resolution over the picture's
    // own; the page units are absolute, so that scaling is undone first.
    if (const QPaintDevice* device = painter.device()) {
        painter.scale(static_cast<double>(page.logicalDpiX()) / device->logicalDpiX(),
                      static_cast<double>(page.logicalDpiY()) / device->logicalDpiY());
    }
    painter.drawPicture(0, 0, page);
    painter.restore();
}

bool PageQueue::print(QPrinter& printer, int from, int to) const {
    if (pages_.empty()) return false;
    if (to <= 0 || to > size()) to = size();
    from = std::clamp(from, 1, to);
    printer.setFullPage(true);
    printer.setPageLayout(pageLayoutFor(pageSizeMm_));
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const double dotsPerMm = printer.resolution() / 25.4;
    const QRectF sheet(0, 0, pageSizeMm_.width() * dotsPerMm, pageSizeMm_.height() * dotsPerMm);
    for (int page = from; page <= to; ++page) {
        if (page > from) printer.newPage();
        paint(painter, page - 1, sheet);
    }
    return painter.end();
}

bool PageQueue::paintPdf(QIODevice& device, const QString& title) const {
    QPdfWriter writer(&device);
    writer.setCreator(QStringLiteral("Tarvo"));
    if (!title.isEmpty()) writer.setTitle(title);
    writer.setResolution(1200);
    writer.setPageLayout(pageLayoutFor(pageSizeMm_));
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    const double dotsPerMm = writer.resolution() / 25.4;
    const QRectF sheet(0, 0, pageSizeMm_.width() * dotsPerMm, pageSizeMm_.height() * dotsPerMm);
    for (int page = 0; page < size(); ++page) {
        if (page > 0) writer.newPage();
        paint(painter, page, sheet);
    }
    return painter.end();  // writes the trailer
}

bool PageQueue::writePdf(const QString& path, const QString& title, bool personal) const {
    if (pages_.empty()) return false;
    // A device or a pipe (/dev/stdout, /dev/full) is written in place: a
    // temporary file renamed onto it would replace the device itself. Its write
    // errors show when the buffer is flushed.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile() && !target.isDir()) {
        QFile device(path);
        if (!device.open(QIODevice::WriteOnly)) return false;
        return paintPdf(device, title) && device.flush() && device.error() == QFileDevice::NoError;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (personal && !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) return false;
    // The file replaces its name only when every write reached the disk.
    if (!paintPdf(file, title) || !file.flush() || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace ui
