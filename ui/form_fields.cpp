// The measures and pictures the form window's parts share.
#include "ui/form_fields.h"

#include "platform/picture.h"
#include "storage/record.h"

#include <QPainter>

namespace ui::form_fields {

using framework::form::FormField;

std::vector<FormWindow*>& runningForms() {
    static std::vector<FormWindow*> forms;
    return forms;
}


bool isNumeric(const FormField& field) {
    const platform::Picture picture(field.picture);
    return picture.valid() && picture.kind() != platform::PictureKind::Text;
}

// The indicator pictures of a form: "check" a green tick, anything else a red cross.
QPixmap indicatorPixmap(const std::string& kind, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal m = size * 0.18;
    const qreal e = size - m;
    if (kind == "check") {
        painter.setPen(QPen(QColor(0, 150, 0), size * 0.16, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const QPointF tick[] = {{m, size * 0.55}, {size * 0.42, e}, {e, m}};
        painter.drawPolyline(tick, 3);
    } else {
        painter.setPen(QPen(QColor(210, 0, 0), size * 0.16, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(m, m), QPointF(e, e));
        painter.drawLine(QPointF(m, e), QPointF(e, m));
    }
    return pixmap;
}

int pictureChars(const FormField& field, const storage::Record& record) {
    const platform::Picture picture(field.picture);
    if (picture.valid() && picture.width() > 0) return picture.width();
    const int index = record.layout().fieldIndex(field.field);
    if (index < 0) return 10;
    return static_cast<int>(record.layout().fields()[static_cast<std::size_t>(index)].size);
}

QString trimmedBlanks(QString text, bool leading) {
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == QLatin1Char(' ')) --end;
    text.truncate(end);
    if (leading) {
        qsizetype begin = 0;
        while (begin < text.size() && text[begin] == QLatin1Char(' ')) ++begin;
        text.remove(0, begin);
    }
    return text;
}

}  // namespace ui::form_fields
