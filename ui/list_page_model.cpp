#include "ui/list_page_model.h"

#include "ui/qt_user_services.h"

#include <QPainter>

namespace ui {

namespace {

Qt::Alignment sideOf(framework::browse::CellAlignment::Side side) {
    switch (side) {
        case framework::browse::CellAlignment::Side::Right: return Qt::AlignRight;
        case framework::browse::CellAlignment::Side::Centre: return Qt::AlignHCenter;
        case framework::browse::CellAlignment::Side::Left: break;
    }
    return Qt::AlignLeft;
}

// A cell as the table shows it: the picture's padding is not shown; the column's
// alignment places the text. Text keeps its leading blanks in left-aligned columns.
QString shownCell(const std::string& cp1251, Qt::Alignment alignment) {
    QString text = toQt(cp1251);
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == QLatin1Char(' ')) --end;
    text.truncate(end);
    if (alignment != Qt::AlignLeft) {
        qsizetype begin = 0;
        while (begin < text.size() && text[begin] == QLatin1Char(' ')) ++begin;
        text.remove(0, begin);
    }
    return text;
}

// The rectangle left once the indent is taken off the aligned side.
QRect indented(const QRect& rect, const ColumnPlacement& placement) {
    if (placement.alignment & Qt::AlignRight) return rect.adjusted(0, 0, -placement.indent, 0);
    if (placement.alignment & Qt::AlignHCenter) return rect;
    return rect.adjusted(placement.indent, 0, 0, 0);
}

const ColumnPlacement kNoPlacement{};

}  // namespace

ColumnPlacement placementOf(const framework::browse::CellAlignment& alignment,
                            const DialogUnits& units) {
    return {sideOf(alignment.side), units.x(alignment.indent)};
}

ListPageModel::ListPageModel(QObject* parent) : QAbstractTableModel(parent) {}

void ListPageModel::setColumns(const std::vector<framework::browse::ColumnDefinition>& columns,
                               const DialogUnits& units) {
    beginResetModel();
    headers_.clear();
    data_.clear();
    head_.clear();
    for (const auto& column : columns) {
        headers_ << toQt(column.header);
        data_.push_back(placementOf(column.data, units));
        head_.push_back(placementOf(column.head, units));
    }
    rows_.clear();
    endResetModel();
}

void ListPageModel::setRows(const std::vector<std::vector<std::string>>& rows) {
    beginResetModel();
    rows_.clear();
    rows_.reserve(rows.size());
    for (const auto& row : rows) {
        QStringList cells;
        for (std::size_t c = 0; c < row.size(); ++c)
            cells << shownCell(row[c], dataPlacement(static_cast<int>(c)).alignment);
        rows_.push_back(cells);
    }
    endResetModel();
}

const ColumnPlacement& ListPageModel::dataPlacement(int column) const {
    return column >= 0 && column < static_cast<int>(data_.size())
               ? data_[static_cast<std::size_t>(column)]
               : kNoPlacement;
}

const ColumnPlacement& ListPageModel::headerPlacement(int column) const {
    return column >= 0 && column < static_cast<int>(head_.size())
               ? head_[static_cast<std::size_t>(column)]
               : kNoPlacement;
}

QString ListPageModel::cell(int row, int column) const {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return {};
    const QStringList& cells = rows_[static_cast<std::size_t>(row)];
    return column >= 0 && column < cells.size() ? cells[column] : QString();
}

int ListPageModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ListPageModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant ListPageModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    switch (role) {
        case Qt::DisplayRole: return cell(index.row(), index.column());
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(dataPlacement(index.column()).alignment | Qt::AlignVCenter);
        default: return {};
    }
}

QVariant ListPageModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= headers_.size()) return {};
    switch (role) {
        case Qt::DisplayRole: return headers_[section];
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(headerPlacement(section).alignment | Qt::AlignVCenter);
        default: return {};
    }
}

void ListCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const auto* model = qobject_cast<const ListPageModel*>(index.model());
    if (!model) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // The background and selection span the whole cell; the text keeps its indent.
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    const QString text = background.text;
    background.text.clear();
    QStyle* style = option.widget ? option.widget->style() : nullptr;
    if (style) style->drawControl(QStyle::CE_ItemViewItem, &background, painter, option.widget);

    const ColumnPlacement& placement = model->dataPlacement(index.column());
    const QRect area = indented(option.rect.adjusted(2, 0, -2, 0), placement);
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group =
        !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
        : (option.state & QStyle::State_Active) ? QPalette::Active
                                                : QPalette::Inactive;
    painter->save();
    painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(option.font);
    const QString shown = option.fontMetrics.elidedText(text, Qt::ElideRight, area.width());
    painter->drawText(area, static_cast<int>(placement.alignment | Qt::AlignVCenter), shown);
    painter->restore();
}

ListHeader::ListHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

void ListHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    const auto* page = qobject_cast<const ListPageModel*>(model());
    if (!page || !rect.isValid()) {
        QHeaderView::paintSection(painter, rect, logicalIndex);
        return;
    }
    QStyleOptionHeader option;
    initStyleOption(&option);
    initStyleOptionForIndex(&option, logicalIndex);
    option.rect = rect;
    painter->save();
    style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
    const ColumnPlacement& placement = page->headerPlacement(logicalIndex);
    QStyleOptionHeader label = option;
    label.rect = indented(rect, placement);
    label.textAlignment = placement.alignment | Qt::AlignVCenter;
    style()->drawControl(QStyle::CE_HeaderLabel, &label, painter, this);
    painter->restore();
}

}  // namespace ui
