#include "ui/grid_delegate.h"

namespace zentrail::ui {

QSize GridDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    if (!measuring_) return QStyledItemDelegate::sizeHint(option, index);
    const QString text = index.data(Qt::DisplayRole).toString();
    auto known = sizes_.constFind(text);
    if (known != sizes_.constEnd()) return *known;
    const QSize size = QStyledItemDelegate::sizeHint(option, index);
    sizes_.insert(text, size);
    return size;
}

}  // namespace zentrail::ui
