// The record of shown message boxes exists only while a test holds one.

#include "ui/message_box.h"

#include <QTest>

using zentrail::ui::MessageBox;
using zentrail::ui::RecordShownBoxes;

class MessageBoxTest : public QObject {
    Q_OBJECT

private:
    static bool AskAnswered(QMessageBox::StandardButton answer, const QString& text) {
        MessageBox::SetNextAnswer(answer);
        return MessageBox::Question(nullptr, "Zentrail", text);
    }

private slots:
    void boxesAreKeptOnlyWhileARecordLives() {
        QVERIFY(AskAnswered(QMessageBox::Yes, "before"));
        RecordShownBoxes record;
        QVERIFY(!AskAnswered(QMessageBox::No, "during"));
        QCOMPARE(record.Boxes().size(), size_t{1});
        const MessageBox::Shown& box = record.Boxes()[0];
        QCOMPARE(box.icon, MessageBox::Icon::Question);
        QCOMPARE(box.title, QString("Zentrail"));
        QCOMPARE(box.text, QString("during"));
        QCOMPARE(box.answer, QMessageBox::No);
        record.Clear();
        QVERIFY(record.Boxes().empty());
    }

    void theInnermostRecordGetsTheBoxes() {
        RecordShownBoxes outer;
        AskAnswered(QMessageBox::Yes, "first");
        {
            RecordShownBoxes inner;
            AskAnswered(QMessageBox::Yes, "second");
            QCOMPARE(inner.Boxes().size(), size_t{1});
            QCOMPARE(inner.Boxes()[0].text, QString("second"));
        }
        AskAnswered(QMessageBox::Yes, "third");
        QCOMPARE(outer.Boxes().size(), size_t{2});
        QCOMPARE(outer.Boxes()[0].text, QString("first"));
        QCOMPARE(outer.Boxes()[1].text, QString("third"));
    }
};

QTEST_MAIN(MessageBoxTest)
#include "message_box_test.moc"
