#include "Contrast.h"
#include "editor/EngineProbe.h"
#include "TestRegistry.h"
#include "editing/EditingCommands.h"
#include "editor/ColourScheme.h"
#include "editor/LineNumberMargin.h"
#include "editor/RichTextBox.h"
#include "editor/SyntaxColouring.h"

#include <Qsci/qscilexercss.h>
#include <Qsci/qscilexerhtml.h>

#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

Q_DECLARE_METATYPE(SyntaxLanguage)

namespace {

using Sci = QsciScintillaBase;
using H = QsciLexerHTML;
using S = QsciLexerCSS;
constexpr int kSheet = ColourScheme::kStyleSheetBase;

long send(RichTextBox& box, unsigned int message, unsigned long w = 0, long l = 0)
{
    return EngineProbe::of(box).SendScintilla(message, w, l);
}

// Styled from the first line to the last in one go, as when the whole page
// is shown at once.
void lexAll(RichTextBox& box)
{
    send(box, Sci::SCI_COLOURISE, 0, -1);
}

QByteArray stylesOf(RichTextBox& box)
{
    QByteArray styles;
    const long length = send(box, Sci::SCI_GETLENGTH);
    for (long i = 0; i < length; ++i)
        styles.append(char(send(box, Sci::SCI_GETSTYLEAT, static_cast<unsigned long>(i))));
    return styles;
}

QString lexerName(RichTextBox& box)
{
    QByteArray name(64, '\0');
    EngineProbe::of(box).SendScintilla(Sci::SCI_GETLEXERLANGUAGE, 0UL, name.data());
    return QString::fromLatin1(name.constData());
}

bool hasStyleBytes(RichTextBox& box)
{
    return !(send(box, Sci::SCI_GETDOCUMENTOPTIONS) & Sci::SC_DOCUMENTOPTION_STYLES_NONE);
}

// Where the styles differ, as "position: got, wanted", for a failure's message.
QByteArray firstDifference(const QByteArray& text, const QByteArray& got, const QByteArray& wanted)
{
    for (qsizetype i = 0; i < std::min(got.size(), wanted.size()); ++i)
        if (got[i] != wanted[i])
            return QByteArray::number(i) + " ('" + text.mid(i, 12) + "'): " + QByteArray::number(uchar(got[i])) +
                   ", wanted " + QByteArray::number(uchar(wanted[i]));
    return got.size() == wanted.size() ? QByteArray() : QByteArray("lengths differ");
}

// A page with two style sheets, a script and server code, CR LF line breaks.
const QByteArray kPage =
    "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<style type=\"text/css\">\r\n"
    "/* colours */\r\nbody { color: #333;\r\n  margin: 0 }\r\np.note > a:hover { color: red !important }\r\n"
    "</style>\r\n<script>\r\nvar s = \"<style>\";\r\n</script>\r\n</head>\r\n<body>\r\n"
    "<p class=\"x\">Text &amp; more</p>\r\n<STYLE>\r\nh1 { font-size: <?php echo $size; ?>px;\r\n"
    "  border: 1px solid }\r\n</STYLE>\r\n<p>after</p>\r\n</body>\r\n</html>\r\n";

}

class SyntaxColouringTest : public QObject {
    Q_OBJECT
private slots:
    // QScintilla's own lexers, chosen by the extension in any case;
    // everything else is plain, with no style bytes at all.
    void lexerChosenByFileName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<SyntaxLanguage>("language");
        QTest::addColumn<QString>("lexer");
        const QString html = QStringLiteral("hypertext.stylesheets");
        QTest::newRow("html") << "/w/index.html" << SyntaxLanguage::Html << html;
        QTest::newRow("HTM upper case") << "/w/INDEX.HTM" << SyntaxLanguage::Html << html;
        QTest::newRow("php") << "/w/cart.php" << SyntaxLanguage::Html << html;
        QTest::newRow("asp") << "/w/default.asp" << SyntaxLanguage::Html << html;
        QTest::newRow("aspx") << "/w/Default.aspx" << SyntaxLanguage::Html << html;
        QTest::newRow("css") << "/w/site.css" << SyntaxLanguage::Css << "css";
        QTest::newRow("js") << "/w/app.Js" << SyntaxLanguage::JavaScript << "cpp";
        QTest::newRow("xml") << "/w/feed.xml" << SyntaxLanguage::Xml << "xml";
        QTest::newRow("xhtml") << "/w/page.xhtml" << SyntaxLanguage::Xml << "xml";
        QTest::newRow("svg") << "/w/logo.svg" << SyntaxLanguage::Xml << "xml";
        QTest::newRow("txt") << "/w/notes.txt" << SyntaxLanguage::Plain << "null";
        QTest::newRow("cpp") << "/w/main.cpp" << SyntaxLanguage::Plain << "null";
        QTest::newRow("no extension") << "/w/Makefile" << SyntaxLanguage::Plain << "null";
        QTest::newRow("dot in a folder's name") << "/w/site.html/readme" << SyntaxLanguage::Plain << "null";
        QTest::newRow("html before the last dot") << "/w/page.html.bak" << SyntaxLanguage::Plain << "null";
    }
    void lexerChosenByFileName()
    {
        QFETCH(QString, name);
        QFETCH(SyntaxLanguage, language);
        RichTextBox box;
        SyntaxColouring colouring(box);
        box.SetText(QStringLiteral("Plain words first, <b>markup</b> later"));
        colouring.setDocumentName(name);
        QCOMPARE(colouring.language(), language);
        QTEST(lexerName(box), "lexer");
        QCOMPARE(hasStyleBytes(box), language != SyntaxLanguage::Plain);
        // Switched off, every document is plain.
        colouring.setEnabled(false);
        QCOMPARE(colouring.language(), SyntaxLanguage::Plain);
        QVERIFY(!hasStyleBytes(box));
        colouring.setEnabled(true);
        QCOMPARE(colouring.language(), language);
    }

    // An untitled document is HTML when its text starts with "<" after any
    // blanks, decided again as its first characters change.
    void untitledTextStartingWithMarkupIsHtml_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<SyntaxLanguage>("language");
        QTest::newRow("tag") << "<html>" << SyntaxLanguage::Html;
        QTest::newRow("after blanks and line breaks") << " \t\r\n\r\n  <p>x" << SyntaxLanguage::Html;
        QTest::newRow("lone <") << "<" << SyntaxLanguage::Html;
        QTest::newRow("markup later") << "Hello <b>you</b>" << SyntaxLanguage::Plain;
        QTest::newRow("blanks only") << "   \r\n" << SyntaxLanguage::Plain;
        QTest::newRow("empty") << "" << SyntaxLanguage::Plain;
        QTest::newRow("non-breaking space is no blank") << "\u00A0<p>" << SyntaxLanguage::Plain;
    }
    void untitledTextStartingWithMarkupIsHtml()
    {
        QFETCH(QString, text);
        QFETCH(SyntaxLanguage, language);
        RichTextBox box;
        SyntaxColouring colouring(box);
        box.SetText(text);
        QCOMPARE(colouring.language(), language);

        // Typed in front of plain text, then taken away again.
        box.SetText(QStringLiteral("notes"));
        QCOMPARE(colouring.language(), SyntaxLanguage::Plain);
        box.SetSelStart(0);
        box.SetSelText(text);
        QCOMPARE(colouring.language(), language);
        box.SetSelStart(0);
        box.SetSelLength(int(text.size()));
        box.SetSelText(QString());
        QCOMPARE(colouring.language(), SyntaxLanguage::Plain);

        // A named document goes by its name, whatever its text.
        box.SetText(text);
        colouring.setDocumentName(QStringLiteral("/w/readme.txt"));
        QCOMPARE(colouring.language(), SyntaxLanguage::Plain);
        colouring.setDocumentName(QString());
        QCOMPARE(colouring.language(), language);
    }

    // The text of a style element takes the CSS lexer's styles (above the
    // HTML lexer's); markup around it, scripts and server code keep theirs.
    void styleSheetsTakeCssStyles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("probe");   // the first character of its first occurrence
        QTest::addColumn<int>("style");
        const QByteArray simple = "<style>p { color: red }</style>";
        QTest::newRow("selector") << "a.html" << simple << QByteArray("p {") << kSheet + S::Tag;
        QTest::newRow("property") << "a.html" << simple << QByteArray("color") << kSheet + S::CSS1Property;
        QTest::newRow("value") << "a.html" << simple << QByteArray("red") << kSheet + S::Value;
        QTest::newRow("opening tag") << "a.html" << simple << QByteArray("<style>") << int(H::Tag);
        QTest::newRow("closing tag") << "a.html" << simple << QByteArray("</style>") << int(H::Tag);
        QTest::newRow("a .css file: the same styles, unshifted") << "a.css" << QByteArray("p { color: red }")
                                                                 << QByteArray("color") << int(S::CSS1Property);
        QTest::newRow("comment over lines") << "a.php" << kPage << QByteArray("colours") << kSheet + S::Comment;
        QTest::newRow("class selector") << "a.php" << kPage << QByteArray("note") << kSheet + S::ClassSelector;
        QTest::newRow("pseudo-class") << "a.php" << kPage << QByteArray("hover") << kSheet + S::PseudoClass;
        QTest::newRow("!important") << "a.php" << kPage << QByteArray("important") << kSheet + S::Important;
        QTest::newRow("attribute of the style tag") << "a.php" << kPage << QByteArray("type=") << int(H::Attribute);
        QTest::newRow("upper-case STYLE") << "a.php" << kPage << QByteArray("h1 {") << kSheet + S::Tag;
        QTest::newRow("PHP inside a sheet") << "a.php" << kPage << QByteArray("echo") << int(H::PHPKeyword);
        QTest::newRow("CSS on after PHP") << "a.php" << kPage << QByteArray("px;") << kSheet + S::Value;
        QTest::newRow("next line of that sheet") << "a.php" << kPage << QByteArray("border") << kSheet + S::CSS1Property;
        QTest::newRow("text after a sheet") << "a.php" << kPage << QByteArray("after") << int(H::Default);
        QTest::newRow("\"<style>\" in a script string") << "a.php" << kPage << QByteArray("<style>\";")
                                                        << int(H::JavaScriptDoubleQuotedString);
        QTest::newRow("entity in the body") << "a.php" << kPage << QByteArray("&amp;") << int(H::Entity);
        QTest::newRow("<style> in a comment") << "a.html" << QByteArray("<!-- <style>p{}</style> -->")
                                              << QByteArray("p{") << int(H::HTMLComment);
        QTest::newRow("<styles> is another tag") << "a.html" << QByteArray("<styles>p { }</styles>")
                                                 << QByteArray("p {") << int(H::Default);
        QTest::newRow("XML has no sheets") << "a.xml" << QByteArray("<style>p { color: red }</style>")
                                           << QByteArray("color") << int(H::Default);
    }
    void styleSheetsTakeCssStyles()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, probe);
        RichTextBox box;
        SyntaxColouring colouring(box);
        colouring.setDocumentName(name);
        box.SetTextUtf8(text);
        lexAll(box);
        const qsizetype at = text.indexOf(probe);
        QVERIFY(at >= 0);
        QTEST(int(uchar(send(box, Sci::SCI_GETSTYLEAT, static_cast<unsigned long>(at)))), "style");
    }

    // Editing styles again only from the edited line on, a line at a time as
    // the view asks, gives what styling the whole new text at once gives.
    void relexingAfterAnEditMatchesLexingItAll_data()
    {
        QTest::addColumn<QByteArray>("find");      // where the edit goes
        QTest::addColumn<int>("remove");           // bytes taken away there
        QTest::addColumn<QByteArray>("insert");
        QTest::newRow("a property typed in a sheet") << QByteArray("margin") << 0 << QByteArray("padding: 2px; ");
        QTest::newRow("a comment opened in a sheet") << QByteArray("body {") << 0 << QByteArray("/* ");
        QTest::newRow("a comment closed") << QByteArray(" colours */") << 11 << QByteArray();
        QTest::newRow("the sheet ended early") << QByteArray("p.note") << 0 << QByteArray("</style>\r\n");
        QTest::newRow("the opening tag deleted") << QByteArray("<style type") << 23 << QByteArray();
        QTest::newRow("a new sheet in the body") << QByteArray("<p class") << 0 << QByteArray("<style>\r\nb{x:1}\r\n");
        QTest::newRow("server code split over lines") << QByteArray("echo") << 0 << QByteArray("\r\n");
        QTest::newRow("the closing tag's name broken") << QByteArray("</STYLE>") << 3 << QByteArray();
        QTest::newRow("a quote left open in a value") << QByteArray("#333") << 0 << QByteArray("\"");
    }
    void relexingAfterAnEditMatchesLexingItAll()
    {
        QFETCH(QByteArray, find);
        QFETCH(int, remove);
        QFETCH(QByteArray, insert);
        RichTextBox box;
        SyntaxColouring colouring(box);
        colouring.setDocumentName(QStringLiteral("page.php"));
        box.SetTextUtf8(kPage);
        lexAll(box);

        const long at = long(kPage.indexOf(find));
        QVERIFY(at >= 0);
        box.selectBytes(at, at + remove);
        box.SetSelTextUtf8(insert);
        QByteArray edited = kPage;
        edited.replace(at, remove, insert);
        QCOMPARE(box.document().utf8(), QByteArrayView(edited));

        // From the line the engine says styling must start again at.
        const long lines = send(box, Sci::SCI_GETLINECOUNT);
        long line = send(box, Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(send(box, Sci::SCI_GETENDSTYLED)));
        QVERIFY(send(box, Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line)) <= at);
        for (; line < lines; ++line) {
            const long start = send(box, Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
            send(box, Sci::SCI_COLOURISE, static_cast<unsigned long>(start),
                 send(box, Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line + 1)));
        }

        RichTextBox fresh;
        SyntaxColouring freshColouring(fresh);
        freshColouring.setDocumentName(QStringLiteral("page.php"));
        fresh.SetTextUtf8(edited);
        lexAll(fresh);
        const QByteArray got = stylesOf(box);
        const QByteArray wanted = stylesOf(fresh);
        QVERIFY2(got == wanted, firstDifference(edited, got, wanted).constData());
    }

    // Every style shows the editor's font at its size, never bold or italic,
    // through font changes and zoom, and keeps its colour.
    void theEditorFontAppliesToEveryStyle_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("step");
        for (const char* name : {"a.html", "a.css", "a.js", "a.xml", "a.txt"})
            for (const char* step : {"font", "zoom in", "zoom out"})
                QTest::newRow(QByteArray(name).append(", ").append(step).constData()) << name << step;
    }
    void theEditorFontAppliesToEveryStyle()
    {
        QFETCH(QString, name);
        QFETCH(QString, step);
        RichTextBox box;
        SyntaxColouring colouring(box);
        LineNumberMargin numbers(box);
        numbers.setVisible(true);
        colouring.setDocumentName(name);
        box.SetFontSize(11);
        if (step == QLatin1String("font"))
            QVERIFY(box.SetFontName(QStringLiteral("DejaVu Serif")));
        else if (step == QLatin1String("zoom in"))
            EditingCommands::zoomIn(box);
        else
            EditingCommands::zoomOut(box);

        const QByteArray face = box.FontName().toUtf8();
        const long hundredths = std::lround(box.FontSize() * 100);
        for (int style = 0; style <= Sci::STYLE_MAX; ++style) {
            const auto s = static_cast<unsigned long>(style);
            QByteArray font(256, '\0');
            EngineProbe::of(box).SendScintilla(Sci::SCI_STYLEGETFONT, s, font.data());
            QCOMPARE(QByteArray(font.constData()), face);
            QCOMPARE(send(box, Sci::SCI_STYLEGETSIZEFRACTIONAL, s), hundredths);
            QCOMPARE(send(box, Sci::SCI_STYLEGETBOLD, s), 0L);
            QCOMPARE(send(box, Sci::SCI_STYLEGETITALIC, s), 0L);
        }
        for (const ColourScheme::StyleColour& c : ColourScheme::styles(colouring.language())) {
            const long bgr = c.colour.red() | (c.colour.green() << 8) | (c.colour.blue() << 16);
            QCOMPARE(send(box, Sci::SCI_STYLEGETFORE, static_cast<unsigned long>(c.style)), bgr);
        }
        QCOMPARE(colouring.language() == SyntaxLanguage::Plain, name.endsWith(QLatin1String(".txt")));
    }

    // As wide as the largest line number needs: wider past 99 and 9999
    // lines, no wider for lines that need no more digits, wider with the font.
    void lineNumbersAreAsWideAsTheCountNeeds_data()
    {
        QTest::addColumn<int>("fewer");
        QTest::addColumn<int>("more");
        QTest::addColumn<bool>("wider");
        QTest::newRow("1 and 99 lines") << 1 << 99 << false;
        QTest::newRow("99 and 100") << 99 << 100 << true;
        QTest::newRow("100 and 999") << 100 << 999 << false;
        QTest::newRow("9999 and 10000") << 9999 << 10000 << true;
    }
    void lineNumbersAreAsWideAsTheCountNeeds()
    {
        QFETCH(int, fewer);
        QFETCH(int, more);
        RichTextBox box;
        LineNumberMargin numbers(box);
        QCOMPARE(numbers.width(), 0);
        numbers.setVisible(true);
        box.SetText(QStringLiteral("x\r\n").repeated(fewer - 1));
        const int before = numbers.width();
        QVERIFY(before > 0);
        // Line by line, as typed.
        box.SetSelStart(box.TextLength());
        for (int line = fewer; line < more; ++line)
            box.InsertText(QStringLiteral("\r\n"));
        QCOMPARE(int(send(box, Sci::SCI_GETLINECOUNT)), more);
        QTEST(numbers.width() > before, "wider");
        QVERIFY(numbers.width() >= before);

        const int at9 = numbers.width();
        box.SetFontSize(18);
        QVERIFY(numbers.width() > at9);
        box.SetFontSize(9);
        QCOMPARE(numbers.width(), at9);
        numbers.setVisible(false);
        QCOMPARE(numbers.width(), 0);
    }

    // A document too large to carry its style bytes, or with a line too long
    // to colour quickly, is shown plain, and says why; once it is no longer
    // so, it is coloured again.
    void colouringStepsAsideForHugeTextAndLongLines_data()
    {
        QTest::addColumn<QByteArray>("unit");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("notice");
        const QString large = QStringLiteral("larger than 32 MB");
        const QString longLine = QStringLiteral("a line longer than 1 MB");
        QTest::newRow("32 MB in short lines") << QByteArray("<p>word</p>\r\n") << SyntaxColouring::kMaxDocumentBytes
                                              << QString();
        QTest::newRow("a byte over 32 MB") << QByteArray("<p>word</p>\r\n") << SyntaxColouring::kMaxDocumentBytes + 1
                                           << large;
        QTest::newRow("one line of 1 MB") << QByteArray("<b>x</b>") << SyntaxColouring::kMaxLineBytes << QString();
        QTest::newRow("one line a byte longer") << QByteArray("<b>x</b>") << SyntaxColouring::kMaxLineBytes + 1
                                                << longLine;
        QTest::newRow("lines ended by CR alone") << QByteArray("<b>x</b>\r") << 3 * SyntaxColouring::kMaxLineBytes
                                                 << QString();
    }
    void colouringStepsAsideForHugeTextAndLongLines()
    {
        QFETCH(QByteArray, unit);
        QFETCH(qint64, size);
        QFETCH(QString, notice);
        QByteArray text = unit.repeated(size / unit.size());
        text.append(unit.left(size - text.size()));
        QCOMPARE(text.size(), size);

        RichTextBox box;
        SyntaxColouring colouring(box);
        QSignalSpy notices(&colouring, &SyntaxColouring::noticeChanged);
        colouring.setDocumentName(QStringLiteral("/w/big.html"));
        colouring.prepareForLoad(QStringLiteral("/w/big.html"));
        QVERIFY(!hasStyleBytes(box));   // no room for styles while the file comes in
        box.SetTextUtf8(text);
        QVERIFY(colouring.notice().contains(notice));
        QCOMPARE(colouring.notice().isEmpty(), notice.isEmpty());
        QCOMPARE(colouring.language(), notice.isEmpty() ? SyntaxLanguage::Html : SyntaxLanguage::Plain);
        QCOMPARE(hasStyleBytes(box), notice.isEmpty());
        QCOMPARE(notices.size(), notice.isEmpty() ? 0 : 1);

        // Cut down below the limits, the page is coloured again.
        box.SetTextUtf8(text.left(4096));
        QCOMPARE(colouring.language(), SyntaxLanguage::Html);
        QCOMPARE(colouring.notice(), QString());
    }

    // While a tool window disables the main window, every style shows on
    // one background (nothing lighter behind some words), and each line
    // has ink that reads well on it; enabled again, the same holds.
    void disabledTextIsReadableOnOneBackground_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("step");
        for (const char* step : {"disabled", "coloured while disabled", "font set while disabled", "enabled again"}) {
            QTest::addRow("plain text, %s", step) << "notes.txt" << step;
            QTest::addRow("coloured page, %s", step) << "page.html" << step;
        }
    }
    void disabledTextIsReadableOnOneBackground()
    {
        QFETCH(QString, name);
        QFETCH(QString, step);
        QWidget window;
        auto* box = new RichTextBox(nullptr, &window);
        SyntaxColouring colouring(*box);
        window.resize(400, 160);
        box->resize(window.size());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        box->SetText(QStringLiteral("<p class=\"x\">\r\nPlain words &amp; more\r\n</p>"));
        colouring.setDocumentName(step == QLatin1String("coloured while disabled") ? QStringLiteral("notes.txt") : name);
        window.setEnabled(false);
        colouring.setDocumentName(name);
        if (step == QLatin1String("font set while disabled"))
            QVERIFY(box->SetFontName(QStringLiteral("DejaVu Sans Mono")));
        window.setEnabled(step == QLatin1String("enabled again"));
        lexAll(*box);

        const QImage shot = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRect view = box->viewport()->geometry();
        const QRgb back = shot.pixel(view.bottomRight() - QPoint(3, 3));   // below the text
        for (int line = 0; line < 3; ++line) {
            const int top = view.top() + line * int(send(*box, Sci::SCI_TEXTHEIGHT, 0));
            double best = 1;
            for (int y = top; y < top + int(send(*box, Sci::SCI_TEXTHEIGHT, 0)); ++y) {
                for (int x = view.left(); x <= view.right(); ++x) {
                    const QRgb c = shot.pixel(x, y);
                    QVERIFY2(qGray(c) <= qGray(back) + 2, qPrintable(QStringLiteral("line %1: %2 behind text on %3")
                                                                        .arg(line + 1)
                                                                        .arg(QColor(c).name(), QColor(back).name())));
                    best = std::max(best, contrastRatio(c, back));
                }
            }
            QVERIFY2(best >= 4.5, qPrintable(QStringLiteral("line %1: contrast %2").arg(line + 1).arg(best)));
        }
    }

    // Typing makes a line too long one character at a time: the caret's line
    // is looked at after each change.
    void aLineTypedTooLongTurnsColouringOff()
    {
        RichTextBox box;
        SyntaxColouring colouring(box);
        colouring.setDocumentName(QStringLiteral("/w/a.js"));
        const QByteArray line(SyntaxColouring::kMaxLineBytes - 1, 'x');
        box.SetTextUtf8("var a;\n" + line + "\nvar b;\n");
        QCOMPARE(colouring.language(), SyntaxLanguage::JavaScript);
        box.selectBytes(7 + line.size(), 7 + line.size());
        box.SetSelText(QStringLiteral("y"));
        QCOMPARE(colouring.language(), SyntaxLanguage::JavaScript);
        box.SetSelText(QStringLiteral("z"));
        QCOMPARE(colouring.language(), SyntaxLanguage::Plain);
        QVERIFY(colouring.notice().contains(QLatin1String("a line longer than 1 MB")));
    }
};

QP_REGISTER_TEST(SyntaxColouringTest)
#include "tst_SyntaxColouring.moc"
