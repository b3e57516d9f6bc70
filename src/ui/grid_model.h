#pragma once

#include <QAbstractTableModel>

#include "screens/transfer_grid.h"

namespace zentrail::ui {

// The screen's grid as a table, read in place: no copy of the cells, no item per cell.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Shows `grid` (nullptr: nothing). The grid must not change while it is shown: the window
    // shows nothing while Get Data rebuilds it.
    void Show(const zentrail::TransferGrid* grid);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const zentrail::TransferGrid* grid_ = nullptr;
};

}  // namespace zentrail::ui
