#include "ScriptedPrompts.h"
#include "TestRegistry.h"
#include "find/frmFind.h"
#include "editor/RichTextBox.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>
#include <QWindow>

#include <memory>

// The Find/Replace window over a stand-in main window holding the pad.
class TestFrmFind : public QObject {
    Q_OBJECT

    std::unique_ptr<QWidget> m_owner;
    RichTextBox* m_pad = nullptr;
    ScriptedPrompts m_prompts;
    QPointer<frmFind> m_find;

    template <typename W = QLineEdit>
    W* child(const char* name) const
    {
        W* w = m_find->findChild<W*>(QLatin1String(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    QComboBox* direction() const { return child<QComboBox>("cboDirection"); }
    QPoint selection() const { return {m_pad->SelStart(), m_pad->SelLength()}; }
    // Shown as the main window shows it, minus the placing.
    void openFind()
    {
        m_find = new frmFind(m_pad, m_prompts, m_owner.get());
        m_find->show();
        m_find->raise();
        m_find->activateWindow();
    }
    void focusField()
    {
        m_find->activateWindow();
        child("txtFind")->setFocus();
        QTRY_VERIFY(child("txtFind")->hasFocus());
    }

private slots:
    void init()
    {
        m_owner = std::make_unique<QWidget>();
        m_pad = new RichTextBox(nullptr, m_owner.get());
        (new QVBoxLayout(m_owner.get()))->addWidget(m_pad);
        m_owner->show();
        m_prompts.clear();
        openFind();
        QVERIFY(QTest::qWaitForWindowExposed(m_find));
    }

    void cleanup()
    {
        delete m_find;   // owned, not a child: the main window deletes it so
        m_owner.reset();
        QCOMPARE(m_prompts.pending(), 0);
    }

    void loadsEmptyWithRight()
    {
        QCOMPARE(m_find->windowTitle(), QStringLiteral("Quirkpad - Find/Replace"));
        QVERIFY(m_find->isWindow() && !m_find->isModal() && m_owner->isEnabled());
        auto* tabs = child<QTabWidget>("tabFindReplace");
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->tabText(0) + tabs->tabText(1), QStringLiteral("FindReplace"));
        QVERIFY(!direction()->isEditable());
        QCOMPARE(direction()->itemText(0) + direction()->itemText(1), QStringLiteral("LeftRight"));
        QCOMPARE(direction()->currentIndex(), 1);
        QCOMPARE(m_find->findChildren<QLabel*>(QStringLiteral("lblFind")).size(), 2);
        for (const char* name : {"txtFind", "txtFind_Rep", "txtReplace"})
            QVERIFY2(child(name)->text().isEmpty(), name);
    }

    // Each press selects the next occurrence and hands the pad the focus;
    // the last one names the text as typed.
    void findNextThenNotFound()
    {
        m_pad->SetText(QStringLiteral("a Hello hello"));
        child("txtFind")->setText(QStringLiteral("HELLO"));
        m_find->FindNext();
        QCOMPARE(selection(), QPoint(2, 5));
        QTRY_VERIFY(m_pad->hasFocus());
        child<QPushButton>("cmdFind")->click();
        QCOMPARE(selection(), QPoint(8, 5));

        focusField();
        m_prompts.answer(Prompts::Answer::Ok);
        m_find->FindNext();
        QCOMPARE(m_prompts.calls.size(), 1);
        QCOMPARE(m_prompts.calls[0].text, QStringLiteral("Cannot find \"HELLO\"."));
        QCOMPARE(m_prompts.calls[0].icon, Prompts::Icon::Information);
        QCOMPARE(m_prompts.calls[0].buttons, Prompts::Buttons::Ok);
        QCOMPARE(selection(), QPoint(8, 5));
        QTRY_VERIFY(m_pad->hasFocus());
    }

    // Left from the very start: the message at once, and the focus stays.
    void leftFromTheStartKeepsFocus()
    {
        m_pad->SetText(QStringLiteral("abc abc"));
        direction()->setCurrentIndex(0);
        child("txtFind")->setText(QStringLiteral("abc"));
        focusField();
        m_prompts.answer(Prompts::Answer::Ok);
        m_find->FindNext();
        QCOMPARE(m_prompts.messages(), QStringList{QStringLiteral("Cannot find \"abc\".")});
        QVERIFY(child("txtFind")->hasFocus());
    }

    // While a tool window has the main window disabled, Find Next still
    // selects, and the keyboard stays here for the next Enter.
    void aDisabledMainWindowLeavesTheKeyboardHere()
    {
        m_pad->SetText(QStringLiteral("bb bb"));
        child("txtFind")->setText(QStringLiteral("bb"));
        focusField();
        QTRY_VERIFY(m_find->isActiveWindow());
        m_owner->setEnabled(false);
        QTest::keyClick(child("txtFind"), Qt::Key_Return);
        QCOMPARE(selection(), QPoint(0, 2));
        QTest::qWait(50);
        QVERIFY(m_find->isActiveWindow());
        QVERIFY(child("txtFind")->hasFocus());
        QTest::keyClick(child("txtFind"), Qt::Key_Return);
        QCOMPARE(selection(), QPoint(3, 2));
        m_owner->setEnabled(true);
    }

    void emptySearchTextDoesNothing()
    {
        m_pad->SetText(QStringLiteral("abc"));
        m_pad->SetSelStart(1);
        QTest::keyClick(child("txtFind"), Qt::Key_Return);
        QVERIFY(m_prompts.calls.isEmpty());
        QCOMPARE(selection(), QPoint(1, 0));
    }

    void enterRunsFindNext_data()
    {
        QTest::addColumn<QByteArray>("focus");
        QTest::addColumn<int>("key");
        QTest::newRow("text box, Return") << QByteArray("txtFind") << int(Qt::Key_Return);
        QTest::newRow("text box, keypad Enter") << QByteArray("txtFind") << int(Qt::Key_Enter);
        QTest::newRow("direction list") << QByteArray("cboDirection") << int(Qt::Key_Return);
    }

    void enterRunsFindNext()
    {
        QFETCH(QByteArray, focus);
        QFETCH(int, key);
        m_pad->SetText(QStringLiteral("one two one"));
        child("txtFind")->setText(QStringLiteral("ONE"));
        const auto mods = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
        QTest::keyClick(child<QWidget>(focus.constData()), Qt::Key(key), mods);
        QCOMPARE(selection(), QPoint(0, 3));
        QTest::keyClick(child<QWidget>(focus.constData()), Qt::Key(key), mods);
        QCOMPARE(selection(), QPoint(8, 3));
    }

    // The Replace tab has its own search field, and Enter in its fields
    // replaces nothing.
    void replaceTabUsesItsOwnFields()
    {
        m_pad->SetText(QStringLiteral("cat Cat cat"));
        child("txtFind")->setText(QStringLiteral("dog"));
        child<QTabWidget>("tabFindReplace")->setCurrentIndex(1);
        child("txtFind_Rep")->setText(QStringLiteral("cat"));
        child("txtReplace")->setText(QStringLiteral("dog"));
        QTest::keyClick(child("txtReplace"), Qt::Key_Return);
        QCOMPARE(m_pad->Text(), QStringLiteral("cat Cat cat"));
        child<QPushButton>("cmdReplace")->click();
        QCOMPARE(m_pad->Text(), QStringLiteral("dog Cat dog"));
        QCOMPARE(child("txtFind")->text(), QStringLiteral("dog"));
    }

    // Each Find Next activates the main window; the Find window must stay
    // above it rather than drop behind, which on X11 takes a dialog that
    // names the main window as its owner (WM_TRANSIENT_FOR).
    void staysAboveTheMainWindow()
    {
        QWindow* handle = m_find->windowHandle();
        QVERIFY(handle);
        QCOMPARE(handle->transientParent(), m_owner->windowHandle());
        QCOMPARE(handle->type(), Qt::Dialog);
    }

    // Closed, the window is gone: the next one starts empty with "Right".
    void closedIsGone()
    {
        child("txtFind")->setText(QStringLiteral("x"));
        direction()->setCurrentIndex(0);
        m_find->close();
        QTRY_VERIFY(m_find.isNull());
        openFind();
        QCOMPARE(child("txtFind")->text(), QString());
        QCOMPARE(direction()->currentIndex(), 1);
        int open = 0;
        for (QWidget* top : QApplication::topLevelWidgets())
            open += qobject_cast<frmFind*>(top) != nullptr;
        QCOMPARE(open, 1);
    }
};

QP_REGISTER_TEST(TestFrmFind)
#include "tst_frmFind.moc"
