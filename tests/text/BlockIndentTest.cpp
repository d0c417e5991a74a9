#include "TestRegistry.h"
#include "text/BlockIndent.h"

#include <QTest>

// Tab and Shift+Tab on selected lines, applied to a whole small document.
class BlockIndentTest : public QObject {
    Q_OBJECT

    // "1:0-3:2" is anchor line 1, column 0 to caret line 3, column 2.
    static BlockIndent::Selection selection(const QString& text)
    {
        const QStringList ends = text.split('-');
        auto position = [](const QString& p) {
            return BlockIndent::Position{p.section(':', 0, 0).toInt(), p.section(':', 1).toInt()};
        };
        return {position(ends[0]), position(ends[1])};
    }
    static QString text(const BlockIndent::Selection& s)
    {
        return QStringLiteral("%1:%2-%3:%4").arg(s.anchor.line).arg(s.anchor.column).arg(s.caret.line).arg(s.caret.column);
    }

private slots:
    void indentsAndOutdentsTheSelectedLines_data()
    {
        QTest::addColumn<bool>("indent");
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<bool>("tabs");
        QTest::addColumn<int>("spaces");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("selectedAfter");

        QTest::newRow("tab") << true << "a\nb\nc" << "0:0-2:1" << true << 4 << "\ta\n\tb\n\tc" << "0:0-2:2";
        QTest::newRow("ends at column 0: that line is left") << true << "a\nb\nc" << "0:0-2:0" << true << 4
                                                             << "\ta\n\tb\nc" << "0:0-2:0";
        QTest::newRow("selected upwards") << true << "ab\ncd\nef" << "2:1-0:1" << true << 4 << "\tab\n\tcd\n\tef"
                                          << "2:2-0:2";
        QTest::newRow("upwards from column 0 of the last line")
            << true << "ab\ncd\nef" << "2:0-0:1" << true << 4 << "\tab\n\tcd\nef" << "2:0-0:2";
        QTest::newRow("empty lines stay empty") << true << "a\n\nb" << "0:0-2:1" << true << 4 << "\ta\n\n\tb"
                                                << "0:0-2:2";
        QTest::newRow("spaces") << true << "a\n  b\nc" << "0:0-2:1" << false << 2 << "  a\n    b\n  c"
                                << "0:0-2:3";
        QTest::newRow("each line's own kind") << true << "\ta\n  b\nc\nd" << "0:1-3:0" << true << 4
                                              << "\t\ta\n      b\n\tc\nd" << "0:2-3:0";
        QTest::newRow("only the block's lines") << true << "x\na\nb\ny" << "1:1-2:1" << false << 4
                                                << "x\n    a\n    b\ny" << "1:5-2:5";
        QTest::newRow("outdent") << false << "\ta\n    b\n  c\nd" << "0:2-3:1" << false << 4 << "a\nb\nc\nd"
                                 << "0:1-3:1";
        QTest::newRow("outdent one level of several") << false << "\t\ta\n        b" << "0:0-1:9" << true << 4
                                                      << "\ta\n    b" << "0:0-1:5";
        QTest::newRow("outdent spaces before a tab") << false << "  \tx\n\ty" << "0:4-1:2" << false << 4
                                                     << "\tx\ny" << "0:2-1:1";
        QTest::newRow("outdent: end inside the removed blanks") << false << "    abc\n    d" << "0:2-1:0" << false
                                                                << 4 << "abc\n    d" << "0:0-1:0";
        QTest::newRow("outdent: nothing to remove") << false << "a\nb" << "0:1-1:1" << true << 4 << "a\nb"
                                                    << "0:1-1:1";
    }
    void indentsAndOutdentsTheSelectedLines()
    {
        QFETCH(bool, indent);
        QFETCH(QString, document);
        QFETCH(QString, selected);
        QFETCH(bool, tabs);
        QFETCH(int, spaces);
        QFETCH(QString, result);
        QFETCH(QString, selectedAfter);

        const BlockIndent::Selection sel = selection(selected);
        QVERIFY(BlockIndent::spansLines(sel));
        QVERIFY(!BlockIndent::spansLines({sel.anchor, {sel.anchor.line, 99}}));
        const BlockIndent::Lines lines = BlockIndent::linesOf(sel);
        QStringList all = document.split('\n');
        const QStringList block = all.mid(lines.first, lines.last - lines.first + 1);
        const BlockIndent::Unit unit{tabs, spaces};
        const BlockIndent::Outcome out = indent ? BlockIndent::indent(block, lines.first, sel, unit)
                                                : BlockIndent::outdent(block, lines.first, sel, unit);
        QCOMPARE(out.lines.size(), block.size());
        for (qsizetype i = 0; i < block.size(); ++i)
            all[lines.first + i] = out.lines[i];
        QCOMPARE(all.join('\n'), result);
        QCOMPARE(text(out.selection), selectedAfter);
        QCOMPARE(out.changed, result != document);
    }

    void guessesTheDocumentsLevel_data()
    {
        QTest::addColumn<QString>("sample");
        QTest::addColumn<bool>("tabs");
        QTest::addColumn<int>("spaces");

        QTest::newRow("nothing indented: a tab") << "<p>\n<p>" << true << 4;
        QTest::newRow("tabs") << "<ul>\n\t<li>\n\t\t<a>\n\t</li>" << true << 4;
        QTest::newRow("two spaces") << "<ul>\n  <li>\n    <a>\n  </li>\n</ul>" << false << 2;
        QTest::newRow("four spaces") << "f {\n    a\n    if {\n        b\n    }\n}" << false << 4;
        QTest::newRow("comments' one space outnumbered")
            << "/**\n * x\n */\nf {\n    a\n    if {\n        b\n    }\n}" << false << 4;
        QTest::newRow("blank lines between") << "a\n\n  b\n   \n    c" << false << 2;
        QTest::newRow("an indented start") << "   a\n   b" << false << 3;
        QTest::newRow("more tabs than spaces") << "a\n\tb\n\tc\n  d" << true << 4;
        QTest::newRow("as many of each") << "a\n\tb\n  c" << true << 4;
        QTest::newRow("steps from a tab line not counted") << "\ta\n\t\tb\n  c\n  d\n    e" << false << 2;
    }
    void guessesTheDocumentsLevel()
    {
        QFETCH(QString, sample);
        QFETCH(bool, tabs);
        QFETCH(int, spaces);

        QCOMPARE(BlockIndent::detect(sample.split('\n'), 4), (BlockIndent::Unit{tabs, spaces}));
    }
};

QP_REGISTER_TEST(BlockIndentTest)
#include "BlockIndentTest.moc"
