#include "ui/log_model.h"

#include <QBrush>
#include <QColor>
#include <QDateTime>

namespace zentrail::ui {

namespace {

// The record without its time; its line breaks are CR LF, the view wants LF alone.
QString RecordText(const LogRecord& record) {
    QString text = QString::fromStdString(record.text);
    if (!record.document.empty())
        text += QLatin1Char(' ') + QString::fromStdString(record.document);
    text.remove(QLatin1Char('\r'));
    return text;
}

QString TimeOf(const LogRecord& record) {
    const auto msecs =
        std::chrono::duration_cast<std::chrono::milliseconds>(record.time.time_since_epoch())
            .count();
    return QDateTime::fromMSecsSinceEpoch(msecs).toString("HH:mm:ss");
}

}  // namespace

void LogModel::Append(std::vector<LogRecord> records) {
    if (records.empty()) return;
    const int first = static_cast<int>(records_.size());
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(records.size()) - 1);
    for (LogRecord& record : records) records_.push_back(std::move(record));
    endInsertRows();
}

void LogModel::Clear() {
    if (records_.empty()) return;
    beginResetModel();
    records_.clear();
    endResetModel();
}

QString LogModel::PlainText() const {
    QStringList lines;
    for (const LogRecord& record : records_) lines << RecordText(record);
    return lines.join(QLatin1Char('\n'));
}

int LogModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(records_.size());
}

QVariant LogModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const LogRecord& record = records_[static_cast<size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            return TimeOf(record) + QStringLiteral("  ") + RecordText(record);
        case Qt::ToolTipRole:
            return RecordText(record);
        case Qt::ForegroundRole:
            if (record.kind == LogRecord::Kind::Error) return QBrush(QColor(0xb0, 0x00, 0x20));
            if (record.kind == LogRecord::Kind::Warning) return QBrush(QColor(0x8a, 0x5a, 0x00));
            return {};
        default:
            return {};
    }
}

}  // namespace zentrail::ui
