#include "ui/grid_model.h"

namespace zentrail::ui {

void GridModel::Show(const zentrail::TransferGrid* grid) {
    beginResetModel();
    grid_ = grid;
    endResetModel();
}

int GridModel::rowCount(const QModelIndex& parent) const {
    return grid_ && !parent.isValid() ? static_cast<int>(grid_->RowCount()) : 0;
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return grid_ && !parent.isValid() ? static_cast<int>(grid_->ColumnCount()) : 0;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!grid_ || !index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const size_t row = static_cast<size_t>(index.row());
    const size_t column = static_cast<size_t>(index.column());
    if (row >= grid_->RowCount() || column >= grid_->ColumnCount()) return QString();
    const std::string_view text = grid_->Text(row, column);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (!grid_ || role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    return QString::fromStdString(grid_->ColumnCaption(static_cast<size_t>(section)));
}

}  // namespace zentrail::ui
