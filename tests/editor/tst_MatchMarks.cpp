#include "TestRegistry.h"
#include "editor/EngineProbe.h"
#include "editor/MarkIds.h"
#include "editor/MatchMarks.h"
#include "editor/PageOutline.h"
#include "editor/RichTextBox.h"
#include "editor/SyntaxColouring.h"

#include <QTest>

namespace {

using Sci = QsciScintillaBase;
using Ranges = QList<std::pair<int, int>>;

struct MarkedBox {
    RichTextBox box;
    SyntaxColouring colouring{box};
    PageOutline outline{box.document(), colouring};
    MatchMarks marks{box, outline};
    MarkedBox(const QString& name, const QString& text, int caret)
    {
        colouring.setDocumentName(name);
        box.resize(500, 200);
        box.show();
        box.SetText(text);
        box.SetSelStart(caret);
    }
    // The stretches of text in the tag pair's box, as [begin, end) positions.
    Ranges boxedTags()
    {
        Ranges ranges;
        auto& e = EngineProbe::of(box);
        const auto mark = static_cast<unsigned long>(MarkIds::kTagPair);
        for (long at = 0; at < box.document().byteLength();) {
            const long end = e.SendScintilla(Sci::SCI_INDICATOREND, mark, at);
            if (e.SendScintilla(Sci::SCI_INDICATORVALUEAT, mark, at))
                ranges.append({int(at), int(end)});
            at = end > at ? end : box.document().byteLength();
        }
        return ranges;
    }
};

}

class MatchMarksTest : public QObject {
    Q_OBJECT
private slots:
    void marksFollowTheCaret_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("caret");
        QTest::addColumn<int>("bracket");
        QTest::addColumn<int>("partner");
        QTest::addColumn<Ranges>("tags");
        const QString code = QStringLiteral("f(a[1]) {}");
        QTest::newRow("bracket after the caret") << "a.js" << code << 1 << 1 << 6 << Ranges{};
        QTest::newRow("bracket before the caret first") << "a.js" << code << 7 << 6 << 1 << Ranges{};
        QTest::newRow("nested pair") << "a.js" << code << 3 << 3 << 5 << Ranges{};
        QTest::newRow("no bracket beside the caret") << "a.js" << code << 0 << -1 << -1 << Ranges{};
        QTest::newRow("an unpaired bracket is not marked") << "a.txt" << "f(a" << 1 << -1 << -1 << Ranges{};
        QTest::newRow("a bracket in a string does not pair with code")
            << "a.js" << "f(\")\", 2)" << 1 << 1 << 8 << Ranges{};
        QTest::newRow("tag pair around the caret")
            << "a.html" << "<div><p>one</p></div>" << 9 << -1 << -1 << Ranges{{6, 7}, {13, 14}};
        QTest::newRow("an implied end: the start tag alone")
            << "a.html" << "<ul><li>one<li>two</ul>" << 9 << -1 << -1 << Ranges{{5, 7}};
        QTest::newRow("XML") << "a.xml" << "<a><b>x</b></a>" << 7 << -1 << -1 << Ranges{{4, 5}, {9, 10}};
        QTest::newRow("no tags in a style sheet") << "a.css" << "<p>x</p>" << 4 << -1 << -1 << Ranges{};
        QTest::newRow("brackets in a page's text") << "a.html" << "<p>(x)</p>" << 3 << 3 << 5 << Ranges{{1, 2}, {8, 9}};
    }
    void marksFollowTheCaret()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(int, caret);
        QFETCH(int, bracket);
        QFETCH(int, partner);
        QFETCH(Ranges, tags);
        MarkedBox m(name, text, caret);
        QTRY_COMPARE(m.marks.brackets(), (std::pair<long, long>(bracket, partner)));
        QTRY_COMPARE(m.boxedTags(), tags);
    }

    // The marks move with the caret and the text, and the caret's line is
    // marked while the view is enabled.
    void marksFollowEditsAndTheCaretLineGoesWhileDisabled()
    {
        MarkedBox m(QStringLiteral("a.html"), QStringLiteral("<b>(x)</b>\r\n<i>y</i>"), 15);
        QTRY_COMPARE(m.boxedTags(), (Ranges{{13, 14}, {18, 19}}));
        m.box.SetSelStart(4);
        QTRY_COMPARE(m.marks.brackets(), (std::pair<long, long>(3, 5)));
        QTRY_COMPARE(m.boxedTags(), (Ranges{{1, 2}, {8, 9}}));
        QTest::keyClicks(&m.box, QStringLiteral("ab"));
        QTRY_COMPARE(m.marks.brackets(), (std::pair<long, long>(-1, -1)));
        QTRY_COMPARE(m.boxedTags(), (Ranges{{1, 2}, {10, 11}}));

        auto& e = EngineProbe::of(m.box);
        QCOMPARE(e.SendScintilla(Sci::SCI_GETCARETLINEVISIBLE), 1L);
        m.box.setEnabled(false);
        QCOMPARE(e.SendScintilla(Sci::SCI_GETCARETLINEVISIBLE), 0L);
        m.box.setEnabled(true);
        QCOMPARE(e.SendScintilla(Sci::SCI_GETCARETLINEVISIBLE), 1L);
    }
};

QP_REGISTER_TEST(MatchMarksTest)
#include "tst_MatchMarks.moc"
