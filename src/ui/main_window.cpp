#include "ui/main_window.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "screens/screen_registry.h"
#include "ui/about_window.h"
#include "ui/message_box.h"
#include "ui/pictures.h"
#include "ui/transfer_window.h"

namespace zentrail::ui {

namespace {

constexpr int kKeyRole = Qt::UserRole;

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The frame's background: the picture, kept to its proportions, covering the whole area.
class Background : public QWidget {
public:
    explicit Background(QWidget* parent) : QWidget(parent), picture_(Picture("background")) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QPixmap scaled =
            picture_.scaled(size(), Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
        painter.drawPixmap((width() - scaled.width()) / 2, (height() - scaled.height()) / 2,
                           scaled);
    }

private:
    QPixmap picture_;
};

}  // namespace

frmMain::frmMain(zentrail::ScreenContext context, QWidget* parent)
    : QMainWindow(parent), context_(context) {
    setWindowTitle("Zentrail");
    setWindowIcon(ProgramIcon());
    auto* background = new Background(this);
    setCentralWidget(background);
    auto* layout = new QVBoxLayout(background);
    auto* row = new QHBoxLayout;
    tvwMainMenu = new QTreeWidget(background);
    tvwMainMenu->setObjectName("tvwMainMenu");
    tvwMainMenu->setHeaderHidden(true);
    tvwMainMenu->setColumnCount(1);
    tvwMainMenu->setIconSize(QSize(16, 16));
    tvwMainMenu->setFixedWidth(220);
    tvwMainMenu->setExpandsOnDoubleClick(false);
    tvwMainMenu->setStyleSheet("QTreeWidget { background: rgba(255, 255, 255, 215); }");
    row->addWidget(tvwMainMenu);
    row->addStretch();
    layout->addLayout(row, 1);
    Label1 = new QLabel("Zentrail Verson - 5.4 compiled on 07-Dec-2018", background);
    Label1->setObjectName("Label1");
    lblCamsPath = new QLabel("File Version :-", background);
    lblCamsPath->setObjectName("lblCamsPath");
    layout->addWidget(Label1);
    layout->addWidget(lblCamsPath);
    resize(820, 560);

    BuildTree();
    connect(tvwMainMenu, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { OnClicked(item); });
    connect(tvwMainMenu, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { OnCurrentChanged(item); });
    tvwMainMenu->installEventFilter(this);
}

TransferWindow* frmMain::OpenTransferWindow() const { return transferWindow_.data(); }

frmAbout* frmMain::OpenAboutBox() const { return about_.data(); }

void frmMain::BuildTree() {
    tvwMainMenu->clear();
    auto* root = new QTreeWidgetItem(tvwMainMenu, QStringList(Text(kMenuRootKey)));
    root->setData(0, kKeyRole, Text(kMenuRootKey));
    root->setIcon(0, Picture("node-open"));
    for (const MenuEntry& entry : MenuEntries()) {
        auto* item = new QTreeWidgetItem(root, QStringList(Text(entry.text)));
        item->setData(0, kKeyRole, Text(entry.key));
        item->setIcon(0, Picture("node-form"));
    }
    root->setExpanded(true);
    tvwMainMenu->setCurrentItem(root);
}

void frmMain::OnClicked(QTreeWidgetItem* item) {
    // Only the mouse gives this signal: the keys select without opening.
    recordedKey_ = item->data(0, kKeyRole).toString();
    item->setExpanded(!item->isExpanded());
    OpenEntry();
}

void frmMain::OnCurrentChanged(QTreeWidgetItem* item) {
    if (item) recordedKey_ = item->data(0, kKeyRole).toString();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tvwMainMenu && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            OpenEntry();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::OpenEntry() {
    const MenuEntry* entry = nullptr;
    for (const MenuEntry& candidate : MenuEntries())
        if (Text(candidate.key) == recordedKey_) entry = &candidate;
    if (!entry) return;  // the root
    switch (entry->action) {
        case MenuAction::Screen:
            OpenScreen(*entry);
            break;
        case MenuAction::About:
            ShowAboutBox();
            break;
        case MenuAction::Exit:
            Exit();
            break;
    }
}

void frmMain::ShowAboutBox() {
    if (!about_) about_ = new frmAbout(this);
    about_->setWindowModality(Qt::WindowModal);
    about_->show();
}

void frmMain::Exit() {
    emit ExitChosen();
    close();
    QApplication::quit();
}

void frmMain::OpenScreen(const MenuEntry& entry) {
    // A closed window may wait for its deletion a little; it counts as gone.
    if (transferWindow_ && transferWindow_->isVisible()) {
        transferWindow_->raise();
        transferWindow_->activateWindow();
        return;
    }
    transferWindow_ =
        new TransferWindow(std::make_unique<TransferScreen>(context_, *entry.definition), this);
    transferWindow_->show();
}

}  // namespace zentrail::ui
