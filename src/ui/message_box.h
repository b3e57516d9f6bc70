#pragma once

#include <QMessageBox>
#include <QString>
#include <optional>
#include <vector>

class QWidget;

namespace zentrail::ui {

// Every message box of the program goes through here, so that a test can give the answer of
// the next box instead of waiting for an operator.
class MessageBox {
public:
    enum class Icon { Information, Critical, Question };

    struct Shown {
        Icon icon;
        QString title;
        QString text;
        QMessageBox::StandardButton answer;
    };

    // Shows a modal box and returns the button that closed it.
    static QMessageBox::StandardButton Show(
        QWidget* parent, Icon icon, const QString& title, const QString& text,
        QMessageBox::StandardButtons buttons = QMessageBox::Ok,
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static void Information(QWidget* parent, const QString& title, const QString& text);
    static void Critical(QWidget* parent, const QString& title, const QString& text);
    // Yes or No; true for Yes.
    static bool Question(QWidget* parent, const QString& title, const QString& text);

    // The next box is not shown: it is recorded and answers `button` at once.
    static void SetNextAnswer(QMessageBox::StandardButton button);
    // Every box shown (or answered by the hook) since the last ClearShown, oldest first.
    static const std::vector<Shown>& ShownBoxes();
    static void ClearShown();

private:
    static std::optional<QMessageBox::StandardButton>& NextAnswer();
    static std::vector<Shown>& ShownList();
};

}  // namespace zentrail::ui
