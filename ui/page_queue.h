// The page queue of a report: one page image per printed page, each the recorded
// painting of the page (a QPicture) in hundredths of a millimetre, so a page is
// replayed sharp at any size: on screen in the preview, on a printer, into a PDF.
// Pages are kept compressed: a full page of a list records about 55 KB of drawing
// commands, which compress to about 6 KB.
#pragma once

class QIODevice;

#include <QByteArray>
#include <QPicture>
#include <QSizeF>
#include <QString>

#include <cstddef>
#include <vector>

class QPainter;
class QPrinter;
class QRectF;

namespace ui {

class PageQueue {
public:
    static constexpr double kUnitsPerMm = 100.0;

    void reset(QSizeF pageSizeMm);
    void append(const QPicture& page);
    void clear();

    int size() const { return static_cast<int>(pages_.size()); }
    bool empty() const { return pages_.empty(); }
    // The entry's name: "Page 1", "Page 2", ...
    QString name(int index) const;
    QPicture page(int index) const;
    QSizeF pageSizeMm() const { return pageSizeMm_; }
    // Bytes held by the page images (compressed).
    std::size_t bytes() const;

    // Paints page `index` (0-based) on a white sheet filling `target`.
    void paint(QPainter& painter, int index, const QRectF& target) const;
    // Pages from..to (1-based, to 0 = the last) on a printer already set up; the
    // printer's page size and orientation are set to the report's.
    bool print(QPrinter& printer, int from = 1, int to = 0) const;
    // Every page into a PDF file (vector text, fonts embedded), written under a
    // temporary name and renamed at the end: false, with a file of that name left
    // as it was, when anything failed (a full disk, a folder that cannot be
    // written). `personal`: the file is readable by its owner alone (mode 0600),
    // for documents that hold personal data.
    bool writePdf(const QString& path, const QString& title = QString(), bool personal = false) const;

private:
    // Every page as a PDF into the device; false when painting failed.
    bool paintPdf(QIODevice& device, const QString& title) const;

    QSizeF pageSizeMm_{210, 297};
    std::vector<QByteArray> pages_;
};

}  // namespace ui
