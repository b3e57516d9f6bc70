#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include "screens/screen_context.h"

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace zentrail {
struct MenuEntry;
}

namespace zentrail::ui {

class TransferWindow;
class frmAbout;

// The program's frame: the tree menu of the screens, read from the registration table. A mouse
// click on an entry opens it; the arrow keys only select, and Enter opens the selected entry.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(zentrail::ScreenContext context, QWidget* parent = nullptr);

    QTreeWidget* tvwMainMenu = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lblCamsPath = nullptr;

    // The window of the screen opened last, while it is open.
    TransferWindow* OpenTransferWindow() const;
    frmAbout* OpenAboutBox() const;
    // The key of the entry last clicked or selected.
    const QString& RecordedKey() const { return recordedKey_; }

    // What the tree's About and Exit entries do, for the menu bar too.
    void ShowAboutBox();
    void Exit();

signals:
    // Exit was chosen; the program ends.
    void ExitChosen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildTree();
    void OnClicked(QTreeWidgetItem* item);
    void OnCurrentChanged(QTreeWidgetItem* item);
    // Opens the entry of the recorded key.
    void OpenEntry();
    void OpenScreen(const zentrail::MenuEntry& entry);

    zentrail::ScreenContext context_;
    QString recordedKey_;
    QPointer<TransferWindow> transferWindow_;
    QPointer<frmAbout> about_;
};

}  // namespace zentrail::ui
