#include "TestRegistry.h"
#include "text/Indentation.h"
#include "text/LineBreaks.h"
#include "text/StatusText.h"

#include <QTest>

// Small facts about the text for auto-indent and the status bar.
class TextFactsTest : public QObject {
    Q_OBJECT

private slots:
    void leadingBlanksOfALine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("blanks");

        QTest::newRow("none") << "<p>" << "";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("spaces") << "    <li>" << "    ";
        QTest::newRow("tabs and spaces as they stand") << "\t  \t<a> b" << "\t  \t";
        QTest::newRow("blanks only") << " \t " << " \t ";
        QTest::newRow("other white space is not a blank") << "\u00A0\u3000x" << "";
    }
    void leadingBlanksOfALine()
    {
        QFETCH(QString, line);
        QFETCH(QString, blanks);

        QCOMPARE(Indentation::leadingBlanks(QStringView(line)).toString(), blanks);
        const QByteArray utf8 = line.toUtf8();
        QCOMPARE(Indentation::leadingBlanks(QByteArrayView(utf8)).toByteArray(), blanks.toUtf8());
    }

    void namesTheLineBreaks_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("counts");   // CR LF, LF, CR
        QTest::addColumn<QString>("name");

        QTest::newRow("none") << QByteArray("<p>") << "0 0 0" << "";
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << "2 0 0" << "CR LF";
        QTest::newRow("LF") << QByteArray("a\nb\n\n") << "0 3 0" << "LF";
        QTest::newRow("CR") << QByteArray("\ra\rb") << "0 0 2" << "CR";
        QTest::newRow("LF CR is two") << QByteArray("a\n\rb") << "0 1 1" << "Mixed";
        QTest::newRow("CR LF and LF") << QByteArray("a\r\nb\nc") << "1 1 0" << "Mixed";
        QTest::newRow("CR CR LF") << QByteArray("a\r\r\n") << "1 0 1" << "Mixed";
        QTest::newRow("lone LF at the end") << QByteArray("a\r\n\n") << "1 1 0" << "Mixed";
        // A CR LF across the scan's 16-byte steps or its 64 KB blocks is one break.
        QTest::newRow("across 16 bytes") << QByteArray(15, 'x') + "\r\n" + QByteArray(20, 'y') + "\r\n" << "2 0 0"
                                         << "CR LF";
        QTest::newRow("CR ending 16 bytes, LF later") << QByteArray(15, 'x') + "\rx\n" + QByteArray(20, 'y') << "0 1 1"
                                                      << "Mixed";
        QTest::newRow("across a block's end") << QByteArray(65535, 'x') + "\r\n" + QByteArray(70000, 'y') + "\r\n"
                                              << "2 0 0" << "CR LF";
        QTest::newRow("mixed late in a long text")
            << QByteArray(200000, 'x').replace(qsizetype(0), 2, "\r\n") + "\n" << "1 1 0" << "Mixed";
    }
    void namesTheLineBreaks()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, counts);
        QFETCH(QString, name);

        const LineBreaks::Counts c = LineBreaks::count(text);
        QCOMPARE(QStringLiteral("%1 %2 %3").arg(c.crLf).arg(c.lf).arg(c.cr), counts);
        QCOMPARE(LineBreaks::name(LineBreaks::detect(text)), name);
        QCOMPARE(LineBreaks::detect(text), LineBreaks::styleOf(c));
    }

    void tellsTheCaretAndSelection_data()
    {
        QTest::addColumn<QString>("lineBeforeCaret");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("caret");

        QTest::newRow("start of the document") << "" << 0 << "Ln 1, Col 1";
        QTest::newRow("ASCII") << "<p>abcd" << 11 << "Ln 12, Col 8";
        QTest::newRow("a tab is one") << "\t\tx" << 2 << "Ln 3, Col 4";
        QTest::newRow("accented letters") << "café " << 0 << "Ln 1, Col 6";
        QTest::newRow("a combining mark is a character") << "e\u0301" << 0 << "Ln 1, Col 3";
        QTest::newRow("an emoji is one") << "\U0001F600" << 0 << "Ln 1, Col 2";
    }
    void tellsTheCaretAndSelection()
    {
        QFETCH(QString, lineBeforeCaret);
        QFETCH(int, line);
        QFETCH(QString, caret);

        const QByteArray utf8 = lineBeforeCaret.toUtf8();
        QCOMPARE(StatusText::caret(line, StatusText::column(utf8)), caret);
    }

    void countsTheSelectedCharacters_data()
    {
        QTest::addColumn<QByteArray>("selected");
        QTest::addColumn<QString>("shown");

        QTest::newRow("nothing") << QByteArray() << "";
        QTest::newRow("one") << QByteArray("a") << "1 selected";
        QTest::newRow("characters, not bytes") << QString("café €\U0001F600").toUtf8() << "7 selected";
        QTest::newRow("CR LF is one line break") << QByteArray("a\r\nb\nc\rd") << "7 selected";
        QTest::newRow("broken UTF-8 byte by byte") << QByteArray("a\xFF\xFE") << "3 selected";
        QTest::newRow("long: sixteen bytes at a time")
            << (QString(7, QChar(0xE9)) + "x\r\n" + QString(40, QChar(0x20AC)) + "\r\n").toUtf8() << "50 selected";
    }
    void countsTheSelectedCharacters()
    {
        QFETCH(QByteArray, selected);
        QFETCH(QString, shown);

        QCOMPARE(StatusText::selection(StatusText::characters(selected)), shown);
    }
};

QP_REGISTER_TEST(TextFactsTest)
#include "TextFactsTest.moc"
