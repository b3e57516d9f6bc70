#include "ui/message_box.h"

#include <QAbstractButton>

namespace zentrail::ui {

std::optional<QMessageBox::StandardButton>& MessageBox::NextAnswer() {
    static std::optional<QMessageBox::StandardButton> answer;
    return answer;
}

RecordShownBoxes*& MessageBox::Recorder() {
    static RecordShownBoxes* recorder = nullptr;
    return recorder;
}

RecordShownBoxes::RecordShownBoxes() : outer_(MessageBox::Recorder()) {
    MessageBox::Recorder() = this;
}

RecordShownBoxes::~RecordShownBoxes() { MessageBox::Recorder() = outer_; }

void MessageBox::SetNextAnswer(QMessageBox::StandardButton button) { NextAnswer() = button; }

QMessageBox::StandardButton MessageBox::Show(QWidget* parent, Icon icon, const QString& title,
                                             const QString& text,
                                             QMessageBox::StandardButtons buttons,
                                             QMessageBox::StandardButton defaultButton,
                                             const QString& openText) {
    QMessageBox::StandardButton answer;
    if (std::optional<QMessageBox::StandardButton>& next = NextAnswer(); next) {
        answer = *next;
        next.reset();
    } else {
        QMessageBox box(parent);
        box.setIcon(icon == Icon::Information ? QMessageBox::Information
                    : icon == Icon::Critical  ? QMessageBox::Critical
                                              : QMessageBox::Question);
        box.setWindowTitle(title);
        box.setText(text);
        box.setStandardButtons(buttons);
        if (defaultButton != QMessageBox::NoButton) box.setDefaultButton(defaultButton);
        if (QAbstractButton* open = box.button(QMessageBox::Open); open && !openText.isEmpty()) {
            open->setText(openText);
            // Escape and the title bar's close still answer OK.
            if (buttons.testFlag(QMessageBox::Ok)) box.setEscapeButton(QMessageBox::Ok);
        }
        answer = static_cast<QMessageBox::StandardButton>(box.exec());
    }
    if (RecordShownBoxes* recorder = Recorder())
        recorder->boxes_.push_back(Shown{icon, title, text, answer});
    return answer;
}

void MessageBox::Information(QWidget* parent, const QString& title, const QString& text) {
    Show(parent, Icon::Information, title, text);
}

void MessageBox::Critical(QWidget* parent, const QString& title, const QString& text) {
    Show(parent, Icon::Critical, title, text);
}

bool MessageBox::Question(QWidget* parent, const QString& title, const QString& text) {
    return Show(parent, Icon::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace zentrail::ui
