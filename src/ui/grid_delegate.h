#pragma once

#include <QHash>
#include <QSize>
#include <QStyledItemDelegate>

namespace zentrail::ui {

// Draws the grid's cells as the standard delegate does. While the columns are sized it
// measures each distinct text once: a long listing repeats dates, rates and names in many of
// the rows the view measures, and measuring a text lays it out. Every cell of the grid differs
// only in its text, so the text alone decides the size.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Sizes are remembered while it lives; none outlives it, so a change of font or style
    // between two sizings is seen.
    class Measuring {
    public:
        explicit Measuring(GridDelegate& delegate) : delegate_(delegate) {
            delegate_.measuring_ = true;
        }
        ~Measuring() {
            delegate_.measuring_ = false;
            delegate_.sizes_.clear();
        }
        Measuring(const Measuring&) = delete;
        Measuring& operator=(const Measuring&) = delete;

    private:
        GridDelegate& delegate_;
    };

private:
    bool measuring_ = false;
    mutable QHash<QString, QSize> sizes_;
};

}  // namespace zentrail::ui
