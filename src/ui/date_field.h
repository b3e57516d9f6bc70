#pragma once

#include <QDate>
#include <QString>
#include <QWidget>

class QCalendarWidget;
class QLineEdit;
class QToolButton;

namespace zentrail::ui {

// A date as the operator types it, dd/mm/yyyy or eight digits, used exactly as typed: a day the
// calendar lacks is shown as such, never moved to another, and the other field never changes
// what is typed here. F4 or Alt+Down, or the arrow, opens a calendar.
class DateField : public QWidget {
    Q_OBJECT
public:
    explicit DateField(QWidget* parent = nullptr);

    // The typed date; an invalid QDate when the text is none (Problem() says why).
    QDate date() const { return date_; }
    void setDate(const QDate& date);
    QString text() const;
    QString Problem() const { return problem_; }
    QLineEdit* Editor() const { return edit_; }
    QToolButton* CalendarButton() const { return button_; }
    void OpenCalendar();

signals:
    // The text or the date changed, typed, picked or set.
    void Changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ReadText();
    void ShowValidity();

    QLineEdit* edit_ = nullptr;
    QToolButton* button_ = nullptr;
    QDate date_;
    QString problem_;
};

}  // namespace zentrail::ui
