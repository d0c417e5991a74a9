#include "FakePacing.h"
#include "EditorParts.h"
#include "ScriptedSpellingDialog.h"
#include "TestDictionaries.h"
#include "TestRegistry.h"
#include "doctools/frmSpellCheck.h"
#include "doctools/frmSpelling.h"
#include "services/HunspellSpeller.h"
#include "editor/RichTextBox.h"
#include "widgets/SimpleComboBox.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

template <typename W>
W* child(QObject* parent, const char* name)
{
    W* w = parent->findChild<W*>(QLatin1String(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}

// The word marked in the spelling dialog's line.
QString markedText(QTextEdit* edit)
{
    QString marked;
    for (QTextBlock b = edit->document()->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().fontWeight() == QFont::Bold)
                marked += it.fragment().text();
    return marked;
}

// A document with its view, and the Spell Checker over it.
struct SpellCheckFixture {
    EditorParts main;
    ScriptedSpellingDialog dialog;
    std::unique_ptr<frmSpellCheck> window;
    QList<int> progress;

    explicit SpellCheckFixture(const QString& dictionaryFolder = testDictionaries(), bool scriptedDialog = true)
    {
        window = std::make_unique<frmSpellCheck>(main.pad, HunspellSpeller::open(dictionaryFolder, "en_US"),
                                                 main.prompts, nullptr, scriptedDialog ? &dialog : nullptr);
        QObject::connect(bar(), &QProgressBar::valueChanged, [this](int v) { progress << v; });
    }

    RichTextBox& pad() { return main.pad; }
    QProgressBar* bar() { return child<QProgressBar>(window.get(), "barProgress"); }
    SimpleComboBox* list() { return child<SimpleComboBox>(window.get(), "lstSuggestions"); }
    QString count() { return child<QLabel>(window.get(), "lblNumSugges")->text(); }
    QStringList listed()
    {
        QStringList items;
        for (int i = 0; i < list()->count(); ++i)
            items << list()->itemText(i);
        return items;
    }
    void checkWord(const QString& typed)
    {
        QLineEdit* word = child<QLineEdit>(window.get(), "txtWord");
        word->clear();
        // Key by key, any alphabet (keyClicks takes Latin-1 only).
        for (QChar c : typed) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(word, &press);
        }
        child<QPushButton>(window.get(), "cmdCheck")->click();
    }
    // A document the user has just opened: nothing changed yet.
    void open(const QString& text)
    {
        pad().SetText(text);
        main.doc.setModified(false);
        pad().SetSelStart(pad().TextLength());
    }
    void checkWholeDocument() { child<QPushButton>(window.get(), "cmdLoadWord")->click(); }
};

const QString kComplete = QStringLiteral("The spelling check is complete.");

}

class SpellCheckWindowTest : public QObject {
    Q_OBJECT
private slots:
    // The window opens with the dictionary of the user's locale, as the
    // main window makes it, and the texts as designed.
    void opensWithTheTextsAsDesigned()
    {
        const QByteArray savedLocale = qgetenv("LC_ALL");
        qputenv("LC_ALL", "en_US.UTF-8");
        EditorParts f;
        frmSpellCheck* s = f.open<frmSpellCheck>(f.pad, HunspellSpeller::forUserLocale(), f.prompts);
        qputenv("LC_ALL", savedLocale);
        QCOMPARE(s->windowTitle(), QStringLiteral("Quirkpad - Spell Checker"));
        QCOMPARE(child<QPushButton>(s, "cmdLoadWord")->text(), QStringLiteral("Check Whole Document"));
        QCOMPARE(child<QPushButton>(s, "cmdHelp")->text(), QStringLiteral("Help"));
        QCOMPARE(child<QGroupBox>(s, "fraSingleSugg")->title(), QStringLiteral("Single Word Spell Check Tool"));
        QCOMPARE(child<QGroupBox>(s, "fraChecl")->title(), QString());
        QCOMPARE(child<QPushButton>(s, "cmdCheck")->text(), QStringLiteral("Check"));
        QCOMPARE(child<QLineEdit>(s, "txtWord")->text(), QString());
        QCOMPARE(child<QLabel>(s, "lblNumSugges")->text(), QStringLiteral("Number of suggestions: None"));
        QCOMPARE(child<QLabel>(s, "lblNote")->text(),
                 QStringLiteral("Note: Spelling uses the English (United States) Hunspell dictionary."));
        QCOMPARE(child<QPushButton>(s, "cmdCancel")->text(), QStringLiteral("Cancel"));
        QCOMPARE(child<SimpleComboBox>(s, "lstSuggestions")->count(), 0);
        auto* bar = child<QProgressBar>(s, "barProgress");
        QCOMPARE(QPoint(bar->minimum(), bar->maximum()), QPoint(0, 100));
        QCOMPARE(bar->value(), 0);

        QPointer<frmSpellCheck> open = s;
        child<QPushButton>(s, "cmdCancel")->click();
        QTRY_VERIFY(!open);
    }

    void helpAndNoteNameTheDictionary_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("note");

        QTest::newRow("dictionary") << true
                                    << "Spelling uses the English (United States) Hunspell dictionary.";
        QTest::newRow("none") << false
                              << "Spelling needs a Hunspell dictionary (the Debian package hunspell-en-us).";
    }
    void helpAndNoteNameTheDictionary()
    {
        QFETCH(bool, installed);
        QFETCH(QString, note);

        QTemporaryDir empty;
        SpellCheckFixture f(installed ? testDictionaries() : empty.path());
        QCOMPARE(child<QLabel>(f.window.get(), "lblNote")->text(), "Note: " + note);
        f.main.prompts.answer(Prompts::Answer::Ok);
        child<QPushButton>(f.window.get(), "cmdHelp")->click();
        QCOMPARE(f.main.prompts.calls.size(), 1);
        QCOMPARE(f.main.prompts.calls[0].text,
                 "- SPELL CHECKER HELP -\r\n\r\nYou can use this Spell Checker tool to either check a single word "
                 "(using the Single Word Spell Check Tool) or check your whole document (click Check Whole "
                 "Document).\r\n\r\n"
                     + note);
        QCOMPARE(f.main.prompts.calls[0].icon, Prompts::Icon::Information);
    }

    // Each check clears the list first, lists Hunspell's suggestions in its
    // order and moves the bar through 30, 60, 70, 90 and back to 0.
    void singleWordCheck_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("suggestions");
        QTest::addColumn<QString>("warning");

        const QString none;
        QTest::newRow("four suggestions") << "cxt" << QStringList{"cat", "cot", "cut", "text"} << none;
        QTest::newRow("a right word gets suggestions too")
            << "cat" << QStringList{"act", "sat", "cot", "cut", "mat", "cat"} << none;
        QTest::newRow("no suggestions") << "qqqq" << QStringList{}
                                        << "Unable to return suggestions for: 'qqqq'.";
        QTest::newRow("empty word") << "" << QStringList{} << "Unable to return suggestions for: ''.";
        QTest::newRow("apostrophe") << "dont" << QStringList{"don't"} << none;
        QTest::newRow("digits") << "wrld2" << QStringList{"world"} << none;
        QTest::newRow("non-Latin") << "привет" << QStringList{}
                                   << "Unable to return suggestions for: 'привет'.";
        QTest::newRow("typed past 50 characters") << QString(60, QLatin1Char('q')) << QStringList{}
                                                  << "Unable to return suggestions for: '" + QString(50, 'q') + "'.";
    }
    void singleWordCheck()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, suggestions);
        QFETCH(QString, warning);

        SpellCheckFixture f;
        f.checkWord("teh");
        QCOMPARE(f.listed(), QStringList{"the"});
        f.progress.clear();
        if (!warning.isEmpty())
            f.main.prompts.answer(Prompts::Answer::Ok);
        f.checkWord(typed);
        QCOMPARE(f.progress, (QList<int>{30, 60, 70, 90, 0}));
        QCOMPARE(f.listed(), suggestions);
        QCOMPARE(f.count(), suggestions.isEmpty() ? QStringLiteral("Number of suggestions: None")
                                                  : "Number of suggestions: " + QString::number(suggestions.size()));
        QCOMPARE(f.main.prompts.messages(), warning.isEmpty() ? QStringList{} : QStringList{warning});
        if (!warning.isEmpty())
            QCOMPARE(f.main.prompts.calls[0].icon, Prompts::Icon::Exclamation);
        // Choosing an entry only shows it in the edit field.
        if (!suggestions.isEmpty()) {
            f.list()->list()->setCurrentRow(suggestions.size() - 1);
            QCOMPARE(f.list()->editText(), suggestions.last());
            QCOMPARE(child<QLineEdit>(f.window.get(), "txtWord")->text(), typed.left(50));
            QCOMPARE(f.pad().Text(), QString());
        }
    }

    // Without a dictionary both checks fail as the box says; the bar stays
    // at 30, the list, the count and the document as they were.
    void withoutADictionaryChecksFail()
    {
        QTemporaryDir empty;
        SpellCheckFixture f(empty.path());
        f.list()->addItem(QStringLiteral("kept"));
        child<QLabel>(f.window.get(), "lblNumSugges")->setText(QStringLiteral("Number of suggestions: 1"));
        const QString error = "Error:\r\n\"No spelling dictionary was found in " + empty.path()
                              + ". Install the Debian package hunspell-en-us.\"";

        f.main.prompts.answer(Prompts::Answer::Ok);
        f.checkWord("teh");
        QCOMPARE(f.progress, QList<int>{30});
        QCOMPARE(f.listed(), QStringList{"kept"});
        QCOMPARE(f.count(), QStringLiteral("Number of suggestions: 1"));

        f.open(QStringLiteral("teh wrld\r\n"));
        QSignalSpy changes(&f.pad().document(), &Document::contentsChanged);
        f.main.prompts.answer(Prompts::Answer::Ok);
        f.checkWholeDocument();
        QCOMPARE(f.main.prompts.messages(), (QStringList{error, error}));
        QCOMPARE(f.main.prompts.calls[1].icon, Prompts::Icon::Error);
        QCOMPARE(f.pad().Text(), QStringLiteral("teh wrld\r\n"));
        QCOMPARE(changes.count(), 0);
        QVERIFY(!f.main.doc.isModified());
        QVERIFY(f.dialog.asked.isEmpty());
    }

    // The corrected document, exactly: one undo step and one change when
    // something was corrected, nothing at all otherwise.
    void wholeDocumentCheck_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QString>("corrected");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<int>("caretBefore");   // -1: at the end
        QTest::addColumn<int>("caretAfter");

        QTest::newRow("page with markup")
            << "<html>\r\n<p class=\"wrld\">teh <a href=\"cxt.html\">wrld</a> cat</p>\r\n</html>\r\n"
            << QStringList{"change:the", "change:world"}
            << "<html>\r\n<p class=\"wrld\">the <a href=\"cxt.html\">world</a> cat</p>\r\n</html>\r\n" << true
            << -1 << -1;
        QTest::newRow("LF and CR documents, wide characters before")
            << "😀 teh\nwrld\rcat" << QStringList{"change:the", "change:world"} << "😀 the\nworld\rcat" << true
            << -1 << -1;
        QTest::newRow("caret between corrections keeps its text")
            << "cxt teh wrld" << QStringList{"change:a cat", "ignore", "change:world"} << "a cat teh world" << true
            << 6 << 8;
        QTest::newRow("caret inside a corrected word goes to its start")
            << "cxt teh wrld" << QStringList{"change:a cat", "ignore", "change:world"} << "a cat teh world" << true
            << 11 << 10;
        QTest::newRow("caret before the corrections stays") << "the teh" << QStringList{"change:three"}
                                                            << "the three" << true << 2 << 2;
        QTest::newRow("last character kept") << "the cat teh" << QStringList{"change:the"} << "the cat the" << true
                                             << -1 << -1;
        QTest::newRow("cancel keeps the corrections")
            << "teh wrld" << QStringList{"change:the", "cancel"} << "the wrld" << false << -1 << -1;
        QTest::newRow("nothing misspelt") << "the cat\r\n" << QStringList{} << "the cat\r\n" << true << -1 << -1;
        QTest::newRow("everything ignored") << "teh wrld" << QStringList{"ignore", "ignoreall"} << "teh wrld"
                                            << true << -1 << -1;
        QTest::newRow("cancel before any correction") << "teh" << QStringList{"cancel"} << "teh" << false << -1
                                                      << -1;
        QTest::newRow("empty document") << "" << QStringList{} << "" << true << -1 << -1;
    }
    void wholeDocumentCheck()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, script);
        QFETCH(QString, corrected);
        QFETCH(bool, complete);
        QFETCH(int, caretBefore);
        QFETCH(int, caretAfter);

        SpellCheckFixture f;
        f.open(text);
        if (caretBefore >= 0)
            f.pad().SetSelStart(caretBefore);
        f.dialog.script = script;
        QSignalSpy changes(&f.pad().document(), &Document::contentsChanged);
        if (complete)
            f.main.prompts.answer(Prompts::Answer::Ok);
        f.checkWholeDocument();
        QVERIFY(f.dialog.script.isEmpty());
        QCOMPARE(f.main.prompts.messages(), complete ? QStringList{kComplete} : QStringList{});
        QCOMPARE(f.pad().Text(), corrected);
        const bool changed = corrected != text;
        QCOMPARE(changes.count(), changed ? 1 : 0);
        QCOMPARE(f.main.doc.isModified(), changed);
        QCOMPARE(f.pad().SelStart(), caretAfter >= 0 ? caretAfter : f.pad().TextLength());
        if (changed) {
            f.pad().Undo();
            QCOMPARE(f.pad().Text(), text);
        }
    }

    // The spelling dialog itself, by mouse and keyboard: each step is the
    // user's answer to one question.
    void spellingDialogByHand_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("shown");   // line | marked word
        QTest::addColumn<QString>("corrected");

        QTest::newRow("suggestion, typed text, change all")
            << "<p>teh wrld</p>\r\n<p>wrld cxt</p>"
            << QStringList{"click:cmdChange", "type:world click:cmdChangeAll", "pick:2 click:cmdChange"}
            << QStringList{"<p>teh wrld</p>|teh", "<p>the wrld</p>|wrld", "<p>world cxt</p>|cxt"}
            << "<p>the world</p>\r\n<p>world cut</p>";
        QTest::newRow("ignore, ignore all, double-click")
            << "teh teh cxt teh wrld"
            << QStringList{"click:cmdIgnore", "click:cmdIgnoreAll", "doubleclick:1", "click:cmdIgnore"}
            << QStringList{"teh teh cxt teh wrld|teh", "teh teh cxt teh wrld|teh", "teh teh cxt teh wrld|cxt",
                           "teh teh cot teh wrld|wrld"}
            << "teh teh cot teh wrld";
        QTest::newRow("add to dictionary passes the word and its capitalised form")
            << "wrld teh wrld Wrld" << QStringList{"click:cmdAddToDictionary", "click:cmdIgnore"}
            << QStringList{"wrld teh wrld Wrld|wrld", "wrld teh wrld Wrld|teh"} << "wrld teh wrld Wrld";
        QTest::newRow("escape calls it off, corrections kept")
            << "teh wrld cxt" << QStringList{"click:cmdChange", "key:Escape"}
            << QStringList{"teh wrld cxt|teh", "the wrld cxt|wrld"} << "the wrld cxt";
        QTest::newRow("enter changes to the field")
            << "wrld" << QStringList{"key:Return"} << QStringList{"wrld|wrld"} << "world";
    }
    void spellingDialogByHand()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, shown);
        QFETCH(QString, corrected);

        SpellCheckFixture f(testDictionaries(), false);
        f.main.pad.show();
        f.window->show();
        f.open(text);
        QStringList seen;
        QTimer hand;
        hand.setInterval(10);
        QObject::connect(&hand, &QTimer::timeout, [&] {
            auto* d = f.window->findChild<frmSpelling*>();
            if (!d || !d->isVisible())
                return;
            auto* context = child<QTextEdit>(d, "txtNotInDictionary");
            seen << context->toPlainText() + "|" + markedText(context);
            if (steps.isEmpty()) {
                seen << "(asked once more)";
                d->reject();
                return;
            }
            for (const QString& action : steps.takeFirst().split(' ')) {
                const QString what = action.section(':', 0, 0);
                const QString arg = action.section(':', 1);
                auto* list = child<QListWidget>(d, "lstSpellingSuggestions");
                if (what == "click")
                    d->findChild<QPushButton*>(arg)->click();
                else if (what == "type")
                    child<QLineEdit>(d, "txtChangeTo")->setText(arg);
                else if (what == "pick")
                    list->setCurrentRow(arg.toInt());
                else if (what == "doubleclick") {
                    list->doItemsLayout();   // the list lays its items out lazily
                    const QPoint at = list->visualItemRect(list->item(arg.toInt())).center();
                    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
                    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
                }
                else if (what == "key")
                    QTest::keyClick(child<QLineEdit>(d, "txtChangeTo"),
                                    arg == "Escape" ? Qt::Key_Escape : Qt::Key_Return);
            }
        });
        hand.start();
        if (!corrected.isEmpty() && !steps.last().startsWith("key:Escape"))
            f.main.prompts.answer(Prompts::Answer::Ok);
        f.checkWholeDocument();
        hand.stop();
        QCOMPARE(seen, shown);
        QCOMPARE(f.pad().Text(), corrected);
        QVERIFY(!f.window->findChild<frmSpelling*>());
        QCOMPARE(f.main.prompts.pending(), 0);
    }

    // A long document: the search shows its progress, the window keeps
    // answering, and Cancel ends it with the document untouched. The
    // progress is paced by the test, so the steps are the same on any machine.
    void longDocumentShowsProgressAndCancels()
    {
        SpellCheckFixture f;
        QString text;
        const QString row = QStringLiteral("<tr><td>The cat sat on teh mat.</td></tr>\r\n");
        while (text.size() < 6 * 65536)
            text += row;
        f.open(text);
        QSignalSpy changes(&f.pad().document(), &Document::contentsChanged);
        FakePacing pacing;
        pacing.cancelAfter = 3;
        f.checkWholeDocument();
        const QList<int> shown = pacing.shown;
        QCOMPARE(shown.size(), 3);
        QVERIFY2(shown[0] < shown[1] && shown[1] < shown[2] && shown[2] < 1000, qPrintable(QString::number(shown[2])));
        QVERIFY(f.dialog.asked.isEmpty());
        QVERIFY(f.main.prompts.calls.isEmpty());
        QCOMPARE(changes.count(), 0);
        QCOMPARE(f.pad().TextLength(), text.size());
        QVERIFY(!f.main.doc.isModified());
    }
};

QP_REGISTER_TEST(SpellCheckWindowTest)
#include "SpellCheckWindowTest.moc"
