#include "ScriptedPrompts.h"
#include "TestRegistry.h"
#include "find/frmFind.h"
#include "platform/RichTextBox.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

// The Find/Replace window over a stand-in main window holding the pad.
class TestFrmFind : public QObject {
    Q_OBJECT

    std::unique_ptr<QWidget> m_owner;
    RichTextBox* m_pad = nullptr;
    ScriptedPrompts m_prompts;
    QPointer<frmFind> m_find;

    template <typename W>
    W* child(const char* name) const
    {
        W* w = m_find->findChild<W*>(QLatin1String(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    QLineEdit* edit(const char* name) const { return child<QLineEdit>(name); }

    void openFind() { frmFind::open(m_find, m_pad, m_prompts, m_owner.get()); }

    void closeFind()
    {
        m_find->close();
        QTRY_VERIFY(m_find.isNull());
    }

    QPoint selection() const { return {m_pad->SelStart(), m_pad->SelLength()}; }

private slots:
    void init()
    {
        m_owner = std::make_unique<QWidget>();
        m_pad = new RichTextBox(m_owner.get());
        m_pad->setObjectName(QStringLiteral("rtbPad"));
        (new QVBoxLayout(m_owner.get()))->addWidget(m_pad);
        m_owner->resize(600, 400);
        m_owner->show();
        m_prompts.clear();
        openFind();
        QVERIFY(QTest::qWaitForWindowExposed(m_find));
    }

    void cleanup()
    {
        m_owner.reset();   // takes the Find window with it
        QVERIFY(m_find.isNull());
        QCOMPARE(m_prompts.pending(), 0);
    }

    void loadsWithCaptionsAndRight()
    {
        QCOMPARE(m_find->windowTitle(), QStringLiteral("Quirkpad - Find/Replace"));
        QVERIFY(m_find->isWindow());
        QCOMPARE(m_find->parentWidget(), m_owner.get());
        auto* tabs = child<QTabWidget>("tabFindReplace");
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->tabText(0), QStringLiteral("Find"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("Replace"));
        QCOMPARE(tabs->currentIndex(), 0);

        auto* direction = child<QComboBox>("cboDirection");
        QVERIFY(!direction->isEditable());
        QCOMPARE(direction->count(), 2);
        QCOMPARE(direction->itemText(0), QStringLiteral("Left"));
        QCOMPARE(direction->itemText(1), QStringLiteral("Right"));
        QCOMPARE(direction->currentIndex(), 1);

        const QList<QLabel*> findLabels = m_find->findChildren<QLabel*>(QStringLiteral("lblFind"));
        QCOMPARE(findLabels.size(), 2);
        for (QLabel* l : findLabels)
            QCOMPARE(l->text(), QStringLiteral("Find:"));
        QCOMPARE(child<QLabel>("lblDirection")->text(), QStringLiteral("Direction:"));
        QCOMPARE(child<QLabel>("lblReplace")->text(), QStringLiteral("Replace:"));
        QCOMPARE(child<QPushButton>("cmdFind")->text(), QStringLiteral("Find Next"));
        QVERIFY(child<QPushButton>("cmdFind")->isDefault());
        QCOMPARE(child<QPushButton>("cmdReplace")->text(), QStringLiteral("Replace All"));
        for (const char* name : {"txtFind", "txtFind_Rep", "txtReplace"})
            QVERIFY2(edit(name)->text().isEmpty(), name);
    }

    // "a Hello hello" from the start: both occurrences in turn, then the
    // message naming the text as typed; the pad gets the focus each time.
    void findNextSequence()
    {
        m_pad->SetText(QStringLiteral("a Hello hello"));
        edit("txtFind")->setText(QStringLiteral("HELLO"));
        m_find->FindNext();
        QCOMPARE(selection(), QPoint(2, 5));
        QTRY_VERIFY(m_pad->hasFocus());

        child<QPushButton>("cmdFind")->click();
        QCOMPARE(selection(), QPoint(8, 5));

        m_find->activateWindow();
        edit("txtFind")->setFocus();
        QTRY_VERIFY(edit("txtFind")->hasFocus());
        m_prompts.answer(Prompts::Answer::Ok);
        m_find->FindNext();
        QCOMPARE(m_prompts.calls.size(), 1);
        QCOMPARE(m_prompts.calls[0].text, QStringLiteral("Cannot find \"HELLO\"."));
        QCOMPARE(m_prompts.calls[0].icon, Prompts::Icon::Information);
        QCOMPARE(m_prompts.calls[0].buttons, Prompts::Buttons::Ok);
        QCOMPARE(selection(), QPoint(8, 5));
        QTRY_VERIFY(m_pad->hasFocus());
    }

    // Searching left from the start reports at once and leaves the focus.
    void leftFromTheStart()
    {
        m_pad->SetText(QStringLiteral("abc abc"));
        child<QComboBox>("cboDirection")->setCurrentIndex(0);
        edit("txtFind")->setText(QStringLiteral("abc"));
        m_find->activateWindow();
        edit("txtFind")->setFocus();
        QTRY_VERIFY(edit("txtFind")->hasFocus());
        m_prompts.answer(Prompts::Answer::Ok);
        m_find->FindNext();
        QCOMPARE(m_prompts.messages(), QStringList{QStringLiteral("Cannot find \"abc\".")});
        QVERIFY(edit("txtFind")->hasFocus());

        m_pad->SetSelStart(7);
        m_find->FindNext();
        QCOMPARE(selection(), QPoint(4, 3));
    }

    void emptySearchTextDoesNothing()
    {
        m_pad->SetText(QStringLiteral("abc"));
        m_pad->SetSelStart(1);
        m_pad->SetSelLength(1);
        m_find->FindNext();
        QTest::keyClick(edit("txtFind"), Qt::Key_Return);
        QVERIFY(m_prompts.calls.isEmpty());
        QCOMPARE(selection(), QPoint(1, 1));
    }

    void enterRunsFindNext_data()
    {
        QTest::addColumn<QByteArray>("focus");
        QTest::addColumn<int>("key");
        QTest::newRow("Return in the text box") << QByteArray("txtFind") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter in the text box") << QByteArray("txtFind") << int(Qt::Key_Enter);
        QTest::newRow("Return in the direction list") << QByteArray("cboDirection") << int(Qt::Key_Return);
        QTest::newRow("Return on the button") << QByteArray("cmdFind") << int(Qt::Key_Return);
    }

    void enterRunsFindNext()
    {
        QFETCH(QByteArray, focus);
        QFETCH(int, key);
        m_pad->SetText(QStringLiteral("one two one"));
        edit("txtFind")->setText(QStringLiteral("ONE"));
        auto* target = m_find->findChild<QWidget*>(QLatin1String(focus));
        QVERIFY(target);
        const Qt::KeyboardModifiers mods = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
        QTest::keyClick(target, Qt::Key(key), mods);
        QCOMPARE(selection(), QPoint(0, 3));
        QTest::keyClick(target, Qt::Key(key), mods);
        QCOMPARE(selection(), QPoint(8, 3));
    }

    // The Replace tab has its own search field; Enter there replaces nothing
    // unless the focus is on "Replace All".
    void replaceTabUsesItsOwnFields()
    {
        m_pad->SetText(QStringLiteral("cat Cat cat"));
        edit("txtFind")->setText(QStringLiteral("dog"));
        child<QTabWidget>("tabFindReplace")->setCurrentIndex(1);
        edit("txtFind_Rep")->setText(QStringLiteral("cat"));
        edit("txtReplace")->setText(QStringLiteral("dog"));
        QCOMPARE(edit("txtFind")->text(), QStringLiteral("dog"));

        QTest::keyClick(edit("txtReplace"), Qt::Key_Return);
        QCOMPARE(m_pad->Text(), QStringLiteral("cat Cat cat"));

        child<QPushButton>("cmdReplace")->click();
        QCOMPARE(m_pad->Text(), QStringLiteral("dog Cat dog"));
        QCOMPARE(m_pad->SelStart(), 0);
        QCOMPARE(edit("txtFind")->text(), QStringLiteral("dog"));
        QVERIFY(m_prompts.calls.isEmpty());
    }

    // One window at a time: opening again brings the same one back as it
    // was; after closing, a new one starts empty with "Right".
    void reopening()
    {
        edit("txtFind")->setText(QStringLiteral("x"));
        edit("txtFind_Rep")->setText(QStringLiteral("y"));
        edit("txtReplace")->setText(QStringLiteral("z"));
        child<QComboBox>("cboDirection")->setCurrentIndex(0);
        frmFind* first = m_find;
        openFind();
        QCOMPARE(m_find.data(), first);
        QCOMPARE(edit("txtFind")->text(), QStringLiteral("x"));
        QCOMPARE(child<QComboBox>("cboDirection")->currentIndex(), 0);
        QCOMPARE(m_owner->findChildren<frmFind*>().size(), 1);

        closeFind();
        openFind();
        QVERIFY(QTest::qWaitForWindowExposed(m_find));
        for (const char* name : {"txtFind", "txtFind_Rep", "txtReplace"})
            QVERIFY2(edit(name)->text().isEmpty(), name);
        QCOMPARE(child<QComboBox>("cboDirection")->currentIndex(), 1);
    }

    // Both windows stay usable: the Find window is not modal and leaves
    // its owner enabled.
    void leavesTheMainWindowUsable()
    {
        QVERIFY(!m_find->isModal());
        QVERIFY(m_owner->isEnabled());
        QVERIFY(m_pad->isEnabled());
    }

    // Every control is laid out wholly inside its tab, at least as big as
    // it asks to be, with no two overlapping.
    void nothingClippedOrOverlapping()
    {
        for (int tab = 0; tab < 2; ++tab) {
            auto* tabs = child<QTabWidget>("tabFindReplace");
            tabs->setCurrentIndex(tab);
            QWidget* page = tabs->currentWidget();
            const QList<QWidget*> controls = page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
            QVERIFY(controls.size() >= 5);
            for (QWidget* c : controls) {
                QVERIFY2(page->rect().contains(c->geometry()), qPrintable(c->objectName()));
                QVERIFY2(c->width() >= c->minimumSizeHint().width(), qPrintable(c->objectName()));
                QVERIFY2(c->height() >= c->minimumSizeHint().height(), qPrintable(c->objectName()));
                for (QWidget* other : controls)
                    if (other != c)
                        QVERIFY2(!c->geometry().intersects(other->geometry()),
                                 qPrintable(c->objectName() + QStringLiteral(" / ") + other->objectName()));
            }
        }
    }
};

QP_REGISTER_TEST(TestFrmFind)
#include "tst_frmFind.moc"
