#pragma once

#include <QMessageBox>
#include <QString>
#include <optional>
#include <vector>

class QWidget;

namespace zentrail::ui {

class RecordShownBoxes;

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

    // Shows a modal box and returns the button that closed it. `openText`, when given, is the
    // caption of the Open button.
    static QMessageBox::StandardButton Show(
        QWidget* parent, Icon icon, const QString& title, const QString& text,
        QMessageBox::StandardButtons buttons = QMessageBox::Ok,
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton,
        const QString& openText = {});
    static void Information(QWidget* parent, const QString& title, const QString& text);
    static void Critical(QWidget* parent, const QString& title, const QString& text);
    // Yes or No; true for Yes.
    static bool Question(QWidget* parent, const QString& title, const QString& text);

    // The next box is not shown: it answers `button` at once.
    static void SetNextAnswer(QMessageBox::StandardButton button);

private:
    friend class RecordShownBoxes;
    static std::optional<QMessageBox::StandardButton>& NextAnswer();
    static RecordShownBoxes*& Recorder();
};

// While one lives, every box shown (or answered by SetNextAnswer) is kept in it, oldest first;
// without one nothing is kept. For tests, which look at what the operator was told. The
// innermost of nested records gets the boxes.
class RecordShownBoxes {
public:
    RecordShownBoxes();
    ~RecordShownBoxes();
    RecordShownBoxes(const RecordShownBoxes&) = delete;
    RecordShownBoxes& operator=(const RecordShownBoxes&) = delete;

    const std::vector<MessageBox::Shown>& Boxes() const { return boxes_; }
    void Clear() { boxes_.clear(); }

private:
    friend class MessageBox;
    std::vector<MessageBox::Shown> boxes_;
    RecordShownBoxes* outer_;
};

}  // namespace zentrail::ui
