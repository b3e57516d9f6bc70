#pragma once

#include <QAbstractListModel>
#include <vector>

#include "screens/screen_observer.h"

namespace zentrail::ui {

// A screen's log records, one row each: time, text and the document it is about; errors and
// warnings stand out by colour.
class LogModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    void Append(std::vector<LogRecord> records);
    void Clear();
    // Every row's text, one per line, as the view shows them without their time.
    QString PlainText() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    std::vector<LogRecord> records_;
};

}  // namespace zentrail::ui
