#include "ui/date_field.h"

#include <QCalendarWidget>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include "screens/calendar_date.h"
#include "screens/transfer_screen.h"

namespace zentrail::ui {

namespace {

const QString kFormat = QString::fromStdString(TransferScreen::DateDisplayFormat());

}  // namespace

DateField::DateField(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    edit_ = new QLineEdit(this);
    edit_->setObjectName("edit");
    edit_->setPlaceholderText("dd/mm/yyyy");
    // Wide enough for the date and no more.
    edit_->setMaximumWidth(edit_->fontMetrics().horizontalAdvance("00/00/00000") + 16);
    button_ = new QToolButton(this);
    button_->setObjectName("calendarButton");
    button_->setArrowType(Qt::DownArrow);
    button_->setFocusPolicy(Qt::NoFocus);
    button_->setToolTip("Calendar (F4)");
    layout->addWidget(edit_);
    layout->addWidget(button_);
    setFocusProxy(edit_);
    edit_->installEventFilter(this);
    connect(edit_, &QLineEdit::textChanged, this, [this] {
        ReadText();
        emit Changed();
    });
    // A finished date reads the same way whichever way it was typed.
    connect(edit_, &QLineEdit::editingFinished, this, [this] {
        if (date_.isValid() && edit_->text() != date_.toString(kFormat))
            edit_->setText(date_.toString(kFormat));
    });
    connect(button_, &QToolButton::clicked, this, &DateField::OpenCalendar);
    setDate(QDate::currentDate());
}

void DateField::setDate(const QDate& date) { edit_->setText(date.toString(kFormat)); }

QString DateField::text() const { return edit_->text(); }

void DateField::ReadText() {
    const TypedDate typed = CalendarDate::FromTyped(edit_->text().toStdString());
    date_ = typed.date ? QDate(typed.date->year, typed.date->month, typed.date->day) : QDate();
    problem_ = QString::fromStdString(typed.problem);
    ShowValidity();
}

void DateField::ShowValidity() {
    // Red while the text is no date, so that a wrong day is seen before it is used.
    edit_->setStyleSheet(problem_.isEmpty() ? QString()
                                            : QStringLiteral("QLineEdit { background: #ffd6d6; }"));
    edit_->setToolTip(problem_);
}

void DateField::OpenCalendar() {
    auto* calendar = new QCalendarWidget(this);
    calendar->setWindowFlags(Qt::Popup);
    calendar->setAttribute(Qt::WA_DeleteOnClose);
    calendar->setObjectName("calendar");
    const QDate shown = date_.isValid() ? date_ : QDate::currentDate();
    calendar->setSelectedDate(shown);
    calendar->setCurrentPage(shown.year(), shown.month());
    connect(calendar, &QCalendarWidget::activated, this, [this, calendar](const QDate& picked) {
        setDate(picked);
        calendar->close();
        edit_->setFocus();
    });
    connect(calendar, &QCalendarWidget::clicked, this, [this, calendar](const QDate& picked) {
        setDate(picked);
        calendar->close();
        edit_->setFocus();
    });
    calendar->adjustSize();
    calendar->move(mapToGlobal(QPoint(0, height())));
    calendar->show();
    calendar->setFocus();
}

bool DateField::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F4 ||
            (key->key() == Qt::Key_Down && key->modifiers().testFlag(Qt::AltModifier))) {
            OpenCalendar();
            return true;
        }
    }
    if (watched == edit_ && event->type() == QEvent::MouseButtonPress &&
        edit_->selectedText() != edit_->text()) {
        // A click selects the whole date, so that what is typed right after it replaces the
        // date instead of landing where the click fell; a second click places the cursor.
        edit_->setFocus(Qt::MouseFocusReason);
        edit_->selectAll();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace zentrail::ui
