// The main window: the tree menu, and how the mouse and the keys open its entries.

#include "ui/main_window.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include "screens/screen_registry.h"
#include "ui/about_window.h"
#include "ui/message_box.h"
#include "ui/transfer_window.h"
#include "ui_test_support.h"

using zentrail::ui::frmMain;
using zentrail::ui::MessageBox;

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    // What the operator was told during each test.
    zentrail::ui::RecordShownBoxes shown_;
    std::unique_ptr<zentrail::testing::GeneratedDemo> demo_;
    std::unique_ptr<zentrail::testing::DemoProgram> program_;
    std::unique_ptr<frmMain> window_;

    QTreeWidgetItem* Entry(const QString& text) {
        QTreeWidgetItem* root = window_->tvwMainMenu->topLevelItem(0);
        for (int i = 0; i < root->childCount(); ++i)
            if (root->child(i)->text(0) == text) return root->child(i);
        return nullptr;
    }

    void Click(QTreeWidgetItem* item) {
        QTreeWidget* tree = window_->tvwMainMenu;
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(item).center());
    }

    // Closes the open screen with its Exit button and lets the window go.
    void CloseScreen() {
        QPointer<zentrail::ui::TransferWindow> screen = window_->OpenTransferWindow();
        QVERIFY(screen);
        QTest::mouseClick(screen->cmdExit, Qt::LeftButton);
        QTRY_VERIFY(screen.isNull());
    }

private slots:
    void initTestCase() {
        demo_ = std::make_unique<zentrail::testing::GeneratedDemo>(5, 3, "ui-main");
        program_ = std::make_unique<zentrail::testing::DemoProgram>(*demo_);
    }

    void init() {
        shown_.Clear();
        window_ = std::make_unique<frmMain>(program_->Context());
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }

    void cleanup() { window_.reset(); }

    void treeHoldsTheEntriesInOrder() {
        QCOMPARE(window_->windowTitle(), QString("Zentrail"));
        QTreeWidget* tree = window_->tvwMainMenu;
        QCOMPARE(tree->topLevelItemCount(), 1);
        QTreeWidgetItem* root = tree->topLevelItem(0);
        QCOMPARE(root->text(0), QString("CVR-MENU"));
        QCOMPARE(root->data(0, Qt::UserRole).toString(), QString("CVR-MENU"));
        QVERIFY(root->isExpanded());
        QVERIFY(!root->icon(0).isNull());
        QCOMPARE(tree->currentItem(), root);
        const std::vector<std::pair<QString, QString>> expected = {
            {"CVR02-11", "Item"},        {"CVR02-01", "Sale "},       {"CVR02-02", "Purchase"},
            {"CVR02-03", "Sale Return"}, {"CVR02-04", "IDT"},         {"CVR02-05", "Receipt"},
            {"CVR02-06", "Service"},     {"CVR02-07", "Credit Note"}, {"CVR02-09", "About Calvera"},
            {"CVR02-10", "Exit"}};
        QCOMPARE(root->childCount(), static_cast<int>(expected.size()));
        for (int i = 0; i < root->childCount(); ++i) {
            QCOMPARE(root->child(i)->data(0, Qt::UserRole).toString(), expected[i].first);
            QCOMPARE(root->child(i)->text(0), expected[i].second);
            QVERIFY(!root->child(i)->icon(0).isNull());
        }
        QCOMPARE(window_->Label1->text(), QString("Zentrail Verson - 5.4 compiled on 07-Dec-2018"));
        QCOMPARE(window_->lblCamsPath->text(), QString("File Version :-"));
    }

    void clickOpensTheScreenModallyAndClosingReturnsToTheTree() {
        QTreeWidgetItem* sale = Entry("Sale ");
        QVERIFY(sale);
        Click(sale);
        zentrail::ui::TransferWindow* screen = window_->OpenTransferWindow();
        QVERIFY(screen);
        QVERIFY(screen->isVisible());
        QVERIFY(screen->isModal());
        QCOMPARE(screen->windowTitle(),
                 QString("Import Sales Transaction SERVER:127.0.0.1 PORT:9"));
        QCOMPARE(screen->fraPrg->title(), QString("Importing Sales"));
        CloseScreen();
        QCOMPARE(window_->tvwMainMenu->currentItem(), sale);
        // A closed screen is made afresh the next time.
        Click(sale);
        QVERIFY(window_->OpenTransferWindow());
        CloseScreen();
    }

    void arrowKeysSelectWithoutOpeningAndEnterOpens() {
        QTreeWidget* tree = window_->tvwMainMenu;
        tree->setFocus();
        tree->setCurrentItem(Entry("Item"));
        QTest::keyClick(tree, Qt::Key_Down);
        QCOMPARE(tree->currentItem(), Entry("Sale "));
        QVERIFY(!window_->OpenTransferWindow());
        QTest::keyClick(tree, Qt::Key_Up);
        QTest::keyClick(tree, Qt::Key_Down);
        QVERIFY(!window_->OpenTransferWindow());
        QCOMPARE(window_->RecordedKey(), QString("CVR02-01"));
        QTest::keyClick(tree, Qt::Key_Return);
        QVERIFY(window_->OpenTransferWindow());
        QCOMPARE(window_->OpenTransferWindow()->windowTitle().left(24),
                 QString("Import Sales Transaction"));
        CloseScreen();
        // Enter on the item entry opens the item screen: no date pickers there.
        tree->setFocus();
        tree->setCurrentItem(Entry("Item"));
        QTest::keyClick(tree, Qt::Key_Enter);
        zentrail::ui::TransferWindow* item = window_->OpenTransferWindow();
        QVERIFY(item);
        QVERIFY(!item->dtpFrom->isVisible());
        QVERIFY(!item->dtpTo->isVisible());
        CloseScreen();
        QVERIFY(shown_.Boxes().empty());
    }

    void everyScreenOpensWithItsTitleAndFrameCaption() {
        const std::pair<QString, std::pair<QString, QString>> screens[] = {
            {"Item", {"Import Sales Transaction", "Importing Sales"}},
            {"Sale ", {"Import Sales Transaction", "Importing Sales"}},
            {"Purchase", {"Import Purchase Transaction", "Importing Purchase"}},
            {"Sale Return", {"Import Credit Note Transaction", "Importing Credit Note"}},
            {"IDT", {"Import IDT Transaction", "Importing IDT"}},
            {"Receipt", {"Import Receipt Transaction", "Importing Receipt"}},
            {"Service", {"Import Service Transaction", "Importing Service"}},
            {"Credit Note", {"Import Credit Note Transaction", "Importing Credit Note"}},
        };
        QTreeWidget* tree = window_->tvwMainMenu;
        for (const auto& [text, design] : screens) {
            tree->setFocus();
            tree->setCurrentItem(Entry(text));
            QTest::keyClick(tree, Qt::Key_Return);
            zentrail::ui::TransferWindow* screen = window_->OpenTransferWindow();
            QVERIFY2(screen, qPrintable(text));
            QCOMPARE(screen->windowTitle(), design.first + " SERVER:127.0.0.1 PORT:9");
            QCOMPARE(screen->fraPrg->title(), design.second);
            CloseScreen();
        }
        QVERIFY(shown_.Boxes().empty());
    }

    void clickOnTheRootOnlyExpandsOrCollapses() {
        QTreeWidgetItem* root = window_->tvwMainMenu->topLevelItem(0);
        Click(root);
        QVERIFY(!root->isExpanded());
        Click(root);
        QVERIFY(root->isExpanded());
        QVERIFY(!window_->OpenTransferWindow());
        QVERIFY(!window_->OpenAboutBox());
        QVERIFY(shown_.Boxes().empty());
    }

    void aboutOpensTheAboutBox() {
        Click(Entry("About Calvera"));
        zentrail::ui::frmAbout* about = window_->OpenAboutBox();
        QVERIFY(about);
        QVERIFY(about->isVisible());
        QCOMPARE(about->windowTitle(), QString("About Zentrail"));
        auto* picture = about->findChild<QLabel*>("picture");
        QVERIFY(picture);
        QVERIFY(!picture->pixmap().isNull());
        about->close();
    }

    void exitEndsTheProgramWithoutAQuestion() {
        QSignalSpy exit(window_.get(), &frmMain::ExitChosen);
        Click(Entry("Exit"));
        QCOMPARE(exit.count(), 1);
        QVERIFY(!window_->isVisible());
        QVERIFY(shown_.Boxes().empty());
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
