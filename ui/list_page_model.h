// What the list window's table shows: exactly the rows of the browse engine's
// page (cells already formatted through the columns' pictures), the column
// headers, and where text sits in each column. The model keeps no data of its
// own beyond the page it was last given.
#pragma once

#include "framework/browse/browse_definition.h"
#include "ui/dialog_units.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QStringList>
#include <QStyledItemDelegate>

#include <string>
#include <vector>

namespace ui {

// A column's alignment in pixels: the side and the indent from it.
struct ColumnPlacement {
    Qt::Alignment alignment = Qt::AlignLeft;
    int indent = 0;
};

ColumnPlacement placementOf(const framework::browse::CellAlignment& alignment,
                            const DialogUnits& units);

class ListPageModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ListPageModel(QObject* parent = nullptr);

    void setColumns(const std::vector<framework::browse::ColumnDefinition>& columns,
                    const DialogUnits& units);
    // The engine's page: one vector of code page 1251 cells per row.
    void setRows(const std::vector<std::vector<std::string>>& rows);

    const ColumnPlacement& dataPlacement(int column) const;
    const ColumnPlacement& headerPlacement(int column) const;
    QString cell(int row, int column) const;  // as shown (0-based)

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList headers_;
    std::vector<ColumnPlacement> data_;
    std::vector<ColumnPlacement> head_;
    std::vector<QStringList> rows_;
};

// Cells drawn with their column's indent from its aligned side.
class ListCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

// Headers drawn with their own alignment and indent.
class ListHeader : public QHeaderView {
public:
    explicit ListHeader(QWidget* parent = nullptr);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

}  // namespace ui
