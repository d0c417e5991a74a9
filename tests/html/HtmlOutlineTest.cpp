#include "TestRegistry.h"
#include "html/HtmlOutline.h"

#include <QTest>

using namespace Html;

namespace {

const QByteArray kCaret = "|";
const QByteArray kOpen = "\xC2\xAB", kClose = "\xC2\xBB"; // « »

// A page written with its caret as '|': the bytes without it, and where it was.
std::pair<QByteArray, qsizetype> withCaret(QByteArray text)
{
    const qsizetype caret = text.indexOf(kCaret);
    text.remove(caret, kCaret.size());
    return {text, caret};
}

// The page with « » around the tags that a pair names (or "-").
QByteArray markPair(QByteArrayView page, const std::optional<TagPair>& pair)
{
    if (!pair)
        return "-";
    QByteArray marked = page.toByteArray();
    for (const ByteRange& r : {pair->end, pair->start}) { // the later first
        if (r.isNull())
            continue;
        marked.insert(r.end, kClose);
        marked.insert(r.begin, kOpen);
    }
    return marked;
}

QByteArray pathText(const std::optional<ElementPath>& path)
{
    if (!path)
        return "-";
    QByteArrayList steps;
    for (const PathStep& s : *path)
        steps << s.tag + '[' + QByteArray::number(s.index) + ']' + (s.id.isEmpty() ? "" : '#' + s.id);
    return steps.join('/');
}

ElementPath pathFrom(const QByteArray& text)
{
    ElementPath path;
    for (const QByteArray& step : text.split('/')) {
        if (step.isEmpty())
            continue;
        const qsizetype open = step.indexOf('['), close = step.indexOf(']'), hash = step.indexOf('#');
        path.append(PathStep{step.left(open), step.mid(open + 1, close - open - 1).toInt(),
                             hash < 0 ? QByteArray() : step.mid(hash + 1)});
    }
    return path;
}

Syntax syntaxOf(const QByteArray& tag)
{
    return tag.startsWith("xml") ? Syntax::Xml : Syntax::Html;
}

// A page as hand-coders write them, for the checks that run over every position.
const char kSitePage[] =
    "<!DOCTYPE html>\r\n<html lang=\"en\">\r\n<head>\r\n<meta charset=\"utf-8\">\r\n<title>Caf\xC3\xA9 & co</title>\r\n"
    "<style>\r\n  p > a { color: red }\r\n</style>\r\n</head>\r\n<body>\r\n<div id=\"menu\" class=\"box\">\r\n"
    "  <ul><li><a href=\"/\">Home</a><li><a href=\"/about\">About <b>us</b></a></ul>\r\n</div>\r\n"
    "<!-- <p>old</p> -->\r\n<section>\r\n  <h2>Prices &amp; offers</h2>\r\n  <p>First<br>line\r\n"
    "  <p>Second <img src=\"x.png\" alt=\"\"> line</p>\r\n  <table border=1>\r\n    <tr><th>Item<th>Price\r\n"
    "    <tr><td>Tea</td><td>&euro; 2</td></tr>\r\n  </table>\r\n  <form action=\"<?php echo $url ?>\">\r\n"
    "    <select name=s><option>One<option selected>Two</select>\r\n    <textarea>a <b> c</textarea>\r\n"
    "  </form>\r\n</section>\r\n<script>\r\n  if (a < b && c > d) { document.write(\"<p>x</p>\") }\r\n</script>\r\n"
    "<svg width=\"10\" height=\"10\"><g><circle r=\"4\"/><foreignObject><p>In svg</p></foreignObject></g></svg>\r\n"
    "<footer><p>&copy; 2026 <i>Example</i></p></footer>\r\n</body>\r\n</html>\r\n";

}

class HtmlOutlineTest : public QObject {
    Q_OBJECT
private slots:
    void closingTag_data();
    void closingTag();
    void nameToClose_data();
    void nameToClose();
    void tagPair_data();
    void tagPair();
    void elementPath_data();
    void elementPath();
    void startTagOfPath_data();
    void startTagOfPath();
    void everyStartTagFoundFromItsPath();
    void keptStatesFollowEdits_data();
    void keptStatesFollowEdits();
    void pathJson_data();
    void pathJson();
};

void HtmlOutlineTest::closingTag_data()
{
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QByteArray>("expected");
    auto row = [](const char* name, const char* page, const char* expected) {
        QTest::newRow(name) << QByteArray(page) << QByteArray(expected);
    };
    row("element", "<p>Text <div>|", "</div>");
    row("case as typed", "<DiV class=\"a b\">|", "</DiV>");
    row("> in quoted values", "<a title=\"x>y\" data-x='>'>|", "</a>");
    row("'/' of an unquoted value", "<a href=foo/>|", "</a>");
    row("raw text element itself", "<script>|", "</script>");
    row("after a script", "<script>var p = \"<p>\";</script><p>|", "</p>");
    row("after server code", "<?php if ($a > 1) { ?><div>|<?php } ?>", "</div>");
    row("server code in a value", "<a href=\"<?php echo \"x\" ?>\">|", "</a>");
    row("entities in a value", "<p title=\"a&gt;b\">|", "</p>");
    row("another end follows", "<b>|</i>", "</b>");
    row("CR LF", "<ul>\r\n  <li>|\r\n</ul>", "</li>");
    row("svg image is no img", "<svg><image href=\"a.png\">|", "</image>");
    row("option", "<select><option>|", "</option>");
    row("template", "<template>|", "</template>");
    row("svg element", "<svg><circle r=\"2\">|", "</circle>");
    row("mathml element", "<math><mi>|", "</mi>");
    row("after a textarea", "<textarea>a</textarea><b>|", "</b>");
    row("br", "<p>line<br>|", "-");
    row("img in upper case", "<IMG src=x>|", "-");
    row("input", "<input type=\"text\">|", "-");
    row("legacy keygen", "<keygen>|", "-");
    row("img inside svg leaves svg", "<svg><img src=a>|", "-");
    row("self-closed", "<div/>|", "-");
    row("end tag", "<p>x</p>|", "-");
    row("doctype", "<!DOCTYPE html>|", "-");
    row("comment", "<!-- note -->|", "-");
    row("inside a comment", "<!-- <div>| -->", "-");
    row("inside a script", "<script>if (a) { s = \"<div>|\" }</script>", "-");
    row("inside a style", "<style> p > a {} <b>| </style>", "-");
    row("inside a textarea", "<textarea><b>|</textarea>", "-");
    row("inside a title", "<title>a <i>|</title>", "-");
    row("inside php", "<?php echo \"<div>|\"; ?>", "-");
    row("inside asp", "<% Response.Write(\"<b>|\") %>", "-");
    row("inside noscript", "<noscript><p>|</noscript>", "-");
    row("inside xmp", "<xmp><p>|</xmp>", "-");
    row("after plaintext", "<plaintext><p>|", "-");
    row("inside CDATA in svg", "<svg><![CDATA[<g>|]]></svg>", "-");
    row("declaration <?xml?>", "<?xml version=\"1.0\"?>|", "-");
    row("'>' inside a quoted value", "<a title=\"x>|\">", "-");
    row("same end follows", "<div>|</div>", "-");
    row("same end follows, other case", "<DIV>|</div >", "-");
    row("no '>' before the caret", "<div|", "-");
    row("xml element", "<Item>|", "</Item>");
    row("xml has no void elements", "<br>|", "</br>");
    row("xml end of other case", "<a>|</A>", "</a>");
    row("xml after a comment", "<!-- <a> --><b>|", "</b>");
    row("xml inside a comment", "<!-- <a>| -->", "-");
    row("xml inside a processing instruction", "<?php echo '<a>|' ?>", "-");
    row("xml self-closed", "<br/>|", "-");
    row("xml CDATA", "<![CDATA[ <a>| ]]>", "-");
}

void HtmlOutlineTest::closingTag()
{
    QFETCH(QByteArray, page);
    QFETCH(QByteArray, expected);
    const auto [text, caret] = withCaret(page);
    HtmlOutline outline(syntaxOf(QTest::currentDataTag()));
    QCOMPARE(outline.closingTagAfter(text, caret).value_or("-"), expected);
}

void HtmlOutlineTest::nameToClose_data()
{
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QByteArray>("expected");
    auto row = [](const char* name, const char* page, const char* expected) {
        QTest::newRow(name) << QByteArray(page) << QByteArray(expected);
    };
    row("innermost", "<div><p>text</|", "p");
    row("after a closed child", "<div><p>a</p></|", "div");
    row("as written", "<Section><P>x</p></|", "Section");
    row("p closed by a block", "<body><p>a<div>b</div></|", "body");
    row("li closed by li", "<ul><li>one<li>two</|", "li");
    row("implied tbody skipped", "<table><tr><td>x</td></tr></|", "table");
    row("void elements skipped", "<div><br><img src=a></|", "div");
    row("misnested formatting", "<div><b><i>x</b></|", "div");
    row("svg", "<svg><g></|", "g");
    row("in a script", "<script>var a = 1;</|", "script");
    row("in a textarea", "<textarea>abc</|", "textarea");
    row("CR LF", "<ul>\r\n  <li>a\r\n</|", "li");
    row("in a style", "<style>p { }</|", "style");
    row("nested svg", "<svg><g><text>a</|", "text");
    row("after a cell", "<table><tr><td>a</td></|", "tr");
    row("in a comment", "<div><!-- </| -->", "-");
    row("in a value", "<div title=\"</|\">", "-");
    row("in php", "<div><?php echo \"</|\"; ?>", "-");
    row("in plaintext", "<plaintext>abc</|", "-");
    row("nothing written open", "text</|", "-");
    row("xml after CDATA", "<a><![CDATA[</b>]]></|", "a");
    row("xml in CDATA", "<a><![CDATA[</|]]>", "-");
    row("xml", "<Root><Item>a</Item></|", "Root");
    row("xml end of another name", "<a><b></c></|", "b");
}

void HtmlOutlineTest::nameToClose()
{
    QFETCH(QByteArray, page);
    QFETCH(QByteArray, expected);
    const auto [text, caret] = withCaret(page);
    HtmlOutline outline(syntaxOf(QTest::currentDataTag()));
    QCOMPARE(outline.nameToClose(text, caret).value_or("-"), expected);
}

void HtmlOutlineTest::tagPair_data()
{
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QByteArray>("expected");
    auto row = [](const char* name, const char* page, const char* expected) {
        QTest::newRow(name) << QByteArray(page) << QByteArray(expected);
    };
    row("in text", "<p>te|xt</p>", "«<p>»text«</p>»");
    row("in a start tag", "<p cl|ass=\"a\">x</p>", "«<p class=\"a\">»x«</p>»");
    row("before a start tag", "<div>|<p>x</p></div>", "<div>«<p>»x«</p>»</div>");
    row("in an end tag", "<div><p>x</p|></div>", "<div>«<p>»x«</p>»</div>");
    row("outer end tag", "<div><p>x</p></di|v>", "«<div>»<p>x</p>«</div>»");
    row("nested same name", "<div><div>a</div>b|</div>", "«<div>»<div>a</div>b«</div>»");
    row("end of other case", "<DIV>x|</div>", "«<DIV>»x«</div>»");
    row("end implied by a sibling", "<ul><li>on|e<li>two</ul>", "<ul>«<li>»one<li>two</ul>");
    row("p closed by a block", "<p>a|b<div>c</div>", "«<p>»ab<div>c</div>");
    row("open to the end", "<div>abc|", "«<div>»abc");
    row("misnested", "<b><i>x|y</b></i>", "<b>«<i>»xy</b></i>");
    row("before a misnested end", "<b><i>x|</b></i>", "«<b>»<i>x«</b>»</i>");
    row("script text", "<script>var a = \"<div>|\";</script>", "«<script>»var a = \"<div>\";«</script>»");
    row("comment inside", "<p>a <!-- no|te --> b</p>", "«<p>»a <!-- note --> b«</p>»");
    row("table cell", "<table><tr><td>a|</td></tr></table>", "<table><tr>«<td>»a«</td>»</tr></table>");
    row("implied tbody", "<table><tr><td>a</td></tr>|</table>", "«<table>»<tr><td>a</td></tr>«</table>»");
    row("CR LF", "<ul>\r\n<li>a|</li>\r\n</ul>", "<ul>\r\n«<li>»a«</li>»\r\n</ul>");
    row("style text", "<style>p > a {}|</style>", "«<style>»p > a {}«</style>»");
    row("option closed by option", "<select><option>a|b<option>c</select>",
        "<select>«<option>»ab<option>c</select>");
    row("svg", "<svg><g>x|</g></svg>", "<svg>«<g>»x«</g>»</svg>");
    row("svg self-closed", "<svg><circle r=\"1\"|/></svg>", "-");
    row("server code inside", "<p><?php echo '</p>' ?>|</p>", "«<p>»<?php echo '</p>' ?>«</p>»");
    row("body", "<body>\r\nText|\r\n</body>", "«<body>»\r\nText\r\n«</body>»");
    row("html", "<html><head></head> | <body></body></html>", "«<html>»<head></head>  <body></body>«</html>»");
    row("html ends body", "<body>x|y</html>", "«<body>»xy</html>");
    row("in the body end tag", "<body>x</bo|dy></html>", "«<body>»x«</body>»</html>");
    row("in the html end tag", "<html><body>x</body></ht|ml>", "«<html>»<body>x</body>«</html>»");
    row("body end out of scope", "<body><table><tr><td></body>x</table> | </body>",
        "«<body>»<table><tr><td></body>x</table>  «</body>»");
    row("void", "<p>a<b|r>b</p>", "-");
    row("stray end tag", "<div>x</sp|an></div>", "-");
    row("ignored start tag", "<div><t|r>x</div>", "-");
    row("no element", "ab|c", "-");
    row("xml", "<Item>x|</Item>", "«<Item>»x«</Item>»");
    row("xml end of other case", "<a><b>x|y</B></b></a>", "<a>«<b>»xy</B>«</b>»</a>");
    row("xml no void elements", "<a><br>x|</br></a>", "<a>«<br>»x«</br>»</a>");
    row("xml in a comment", "<a><!-- <b>| --></a>", "«<a>»<!-- <b> -->«</a>»");
    row("xml self-closed", "<a><b/|></a>", "-");
}

void HtmlOutlineTest::tagPair()
{
    QFETCH(QByteArray, page);
    QFETCH(QByteArray, expected);
    const auto [text, caret] = withCaret(page);
    HtmlOutline outline(syntaxOf(QTest::currentDataTag()));
    const std::optional<TagPair> pair = outline.tagPairAt(text, caret);
    QCOMPARE(markPair(text, pair), expected);
    if (pair) { // the names lie inside the tags, and are the same name
        QCOMPARE(pair->startName.begin, pair->start.begin + 1);
        if (!pair->end.isNull()) {
            QCOMPARE(pair->endName.begin, pair->end.begin + 2);
            QCOMPARE(pair->endName.end - pair->endName.begin, pair->startName.end - pair->startName.begin);
        }
    }
}

void HtmlOutlineTest::elementPath_data()
{
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QByteArray>("expected");
    auto row = [](const char* name, const char* page, const char* expected) {
        QTest::newRow(name) << QByteArray(page) << QByteArray(expected);
    };
    row("well-formed",
        "<!DOCTYPE html><html><head><title>t</title></head><body><div><p>a</p><p>b|</p></div></body></html>",
        "div[0]/p[1]");
    row("implied html, head, body", "<title>t</title><p>a<p>b|", "p[1]");
    row("li closes li", "<ul><li>a<li>b|</ul>", "ul[0]/li[1]");
    row("dt and dd", "<dl><dt>a<dd>b<dt>c|</dl>", "dl[0]/dt[1]");
    row("p closed by div", "<p>a<div>b|</div>", "div[0]");
    row("p closed by table", "<!DOCTYPE html><p>a<table><tr><td>x|", "table[0]/tbody[0]/tr[0]/td[0]");
    row("quirks: table in p", "<p>a<table><tr><td>x|", "p[0]/table[0]/tbody[0]/tr[0]/td[0]");
    row("implied tbody", "<table><tr><td>a</td><td>b|</td></tr></table>", "table[0]/tbody[0]/tr[0]/td[1]");
    row("thead then rows", "<table><thead><tr><th>h</th></tr></thead><tr><td>x|", "table[0]/tbody[0]/tr[0]/td[0]");
    row("moved before its table", "<div>0</div><table><tr><td>a</td></tr><div>x|</div></table>", "div[1]");
    row("end tag closes what it must", "<div><span>a</div></span><p>b|", "p[0]");
    row("end tag out of scope ignored", "<div><table><tr><td></div>x|", "div[0]/table[0]/tbody[0]/tr[0]/td[0]");
    row("formatting reopened", "<p><b>a<i>b</b>c|</i></p>", "p[0]/i[0]");
    row("formatting into next p", "<p><b>a</p><p>b|</p>", "p[1]/b[0]");
    row("before a misnested end", "<b>1<p>2|</b>3</p>", "b[0]/p[0]");
    row("after a misnested end", "<b>1<p>2</b>3|</p>", "p[0]");
    row("in a start tag", "<div><p cl|ass=a>x</p></div>", "div[0]/p[0]");
    row("in an end tag", "<div><p>x</p|></div>", "div[0]/p[0]");
    row("in a void tag", "<p>a<img sr|c=x></p>", "p[0]/img[0]");
    row("after a void tag", "<p>a<img src=x>|b</p>", "p[0]");
    row("before a start tag", "<div>|<p>x</p></div>", "div[0]");
    row("in a comment", "<div><!-- a|b --></div>", "div[0]");
    row("after server code", "<div><?php echo \"<p>\" ?>x|</div>", "div[0]");
    row("entities", "<p>&lt;div&gt; x|</p>", "p[0]");
    row("ids", "<div id=\"main\"><p id=a>x|</p></div>", "div[0]#main/p[0]#a");
    row("id with an entity unchecked", "<div id=\"a&amp;b\">x|</div>", "div[0]");
    row("custom element", "<My-Widget><p>x|</p></My-Widget>", "my-widget[0]/p[0]");
    row("svg", "<svg><g><circle r=\"1\"/><re|ct/></g></svg>", "svg[0]/g[0]/rect[0]");
    row("svg foreignObject", "<svg><foreignObject><p>x|</p></foreignObject></svg>", "svg[0]/foreignobject[0]/p[0]");
    row("select", "<select><option>a<option>b|</select>", "select[0]/option[1]");
    row("after body", "<body><p>a</p></body><p>b|</p>", "p[1]");
    row("textarea", "<form><textarea>a <b>|</textarea></form>", "form[0]/textarea[0]");
    row("nested form ignored", "<form><div><form><p>x|", "form[0]/div[0]/p[0]");
    row("heading closes heading", "<h1>a<h2>b|", "h2[0]");
    row("a closes a", "<a href=1>x<a href=2>y|", "a[1]");
    row("lone </p> makes a p", "<div></|p>x</div>", "div[0]/p[0]");
    row("CR LF", "<ul>\r\n<li>a\r\n<li>b|\r\n</ul>", "ul[0]/li[1]");
    row("byte order mark", "\xEF\xBB\xBF<p>x|", "p[0]");
    row("caption", "<table><caption>c|</caption><tr><td>x</table>", "table[0]/caption[0]");
    row("colgroup, then rows", "<table><colgroup><col></colgroup><tr><td>x|</table>", "table[0]/tbody[0]/tr[0]/td[0]");
    row("col implies colgroup", "<table><col><tr><td>x|</table>", "table[0]/tbody[0]/tr[0]/td[0]");
    row("row closes row", "<table><tr><td>a<tr><td>b|</table>", "table[0]/tbody[0]/tr[1]/td[0]");
    row("cell closes cell", "<table><tr><td>a<td>b|</table>", "table[0]/tbody[0]/tr[0]/td[1]");
    row("table in a cell", "<table><tr><td><table><tr><td>in|</table></td></tr></table>",
        "table[0]/tbody[0]/tr[0]/td[0]/table[0]/tbody[0]/tr[0]/td[0]");
    row("after a table in a cell", "<table><tr><td><table><tr><td>a</table>after|</td></tr></table>",
        "table[0]/tbody[0]/tr[0]/td[0]");
    row("formatting moved before its table", "<table><b>x|<tr><td>c</table>", "b[0]");
    row("cell after moved formatting", "<table><b>x<tr><td>c|</table>", "table[0]/tbody[0]/tr[0]/td[0]");
    row("text in a table", "<div><table>x|<tr><td>a</table></div>", "div[0]/table[0]");
    row("cell closes select", "<table><tr><td><select><option>a<td>b|</table>", "table[0]/tbody[0]/tr[0]/td[1]");
    row("input closes select", "<div><select><option>a<input>x|</div>", "div[0]");
    row("select closes select", "<div><select><option>a<select>b|</div>", "div[0]");
    row("optgroup closes option", "<select><option>a<optgroup><option>b|</select>", "select[0]/optgroup[0]/option[0]");
    row("form in a table", "<table><form><tr><td>x|</table>", "table[0]/tbody[0]/tr[0]/td[0]");
    row("li in a nested list", "<ul><li>a<ul><li>b</ul><li>c|</ul>", "ul[0]/li[1]");
    row("li closes li across div", "<ul><li>a<div><li>b|</div></ul>", "ul[0]/li[1]");
    row("li closes li across p", "<ul><li><p>a<li>b|</ul>", "ul[0]/li[1]");
    row("li in a new list", "<li>a<ol><li>b|", "li[0]/ol[0]/li[0]");
    row("option outside select", "<option>a<option>b|", "option[1]");
    row("p in button", "<button><p>a|</button>", "button[0]/p[0]");
    row("button end closes p", "<button><p>a</button>b|", "-");
    row("p in button in p", "<p>a<button>b<p>c|", "p[0]/button[0]/p[0]");
    row("heading end closes heading", "<h1>a</h2>b|", "-");
    row("center closes p", "<p>a<center>b|", "center[0]");
    row("object", "<p><b>x<object>y|", "p[0]/b[0]/object[0]");
    row("ruby", "<ruby>a<rt>b<rp>c|</ruby>", "ruby[0]/rp[0]");
    row("nobr closes nobr", "<nobr>a<nobr>b|", "nobr[1]");
    row("p leaves svg", "<svg><g><p>out|</svg>", "p[0]");
    row("mathml text", "<math><mi><b>x|</b></mi></math>", "math[0]/mi[0]/b[0]");
    row("svg title", "<svg><title><b>t|</b></title></svg>", "svg[0]/title[0]/b[0]");
    row("annotation-xml as html",
        "<math><annotation-xml encoding=\"text/html\"><div>a|</div></annotation-xml></math>",
        "math[0]/annotation-xml[0]/div[0]");
    row("font with color leaves svg", "<svg><font color=red>x|</font></svg>", "font[0]");
    row("font stays in svg", "<svg><font>x|</font></svg>", "svg[0]/font[0]");
    row("after </html>", "<p>a</p></html><p>x|", "p[1]");
    row("head after body", "<body><p>a</p><head><p>b|", "p[1]");
    row("spaces around head", "<html> <head> <title>t</title> </head> <p>x|", "p[0]");
    row("HTML 4.01 strict", "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" "
        "\"http://www.w3.org/TR/html4/strict.dtd\"><p>a<table><tr><td>x|", "table[0]/tbody[0]/tr[0]/td[0]");
    row("HTML 4.01 loose, no system id", "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">"
        "<p>a<table><tr><td>x|", "p[0]/table[0]/tbody[0]/tr[0]/td[0]");
    row("HTML 4.01 loose", "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
        "\"http://www.w3.org/TR/html4/loose.dtd\"><p>a<table><tr><td>x|", "table[0]/tbody[0]/tr[0]/td[0]");
    row("XHTML 1.0", "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
        "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\"><p>a<table><tr><td>x|", "table[0]/tbody[0]/tr[0]/td[0]");
    row("other doctype", "<!DOCTYPE foo><p>a<table><tr><td>x|", "p[0]/table[0]/tbody[0]/tr[0]/td[0]");
    row("script escapes", "<script><!--<script></script><p>not</p>--></script><p>x|", "p[0]");
    row("comment ended by --!>", "<!-- a --!><p>x|", "p[0]");
    row("comment <!-->", "<!--><p>x|", "p[0]");
    row("bogus comment", "<!x <p>y> <p>x|", "p[0]");
    row("unquoted value ending in /", "<a href=x/><p>y|", "a[0]/p[0]");
    row("'<' in text", "<p>a < b|</p>", "p[0]");
    row("template content apart", "<template><p>a</p></template><p>b|", "p[0]");
    row("names in upper case", "<DIV><P>x|</P></DIV>", "div[0]/p[0]");
    row("'>' in a value", "<div title=\"a>b\"><p>x|", "div[0]/p[0]");
    row("server code in a value", "<div class=\"<?php echo 1 ?>\"><p>x|", "div[0]/p[0]");
    row("server code first", "<?php echo 1; ?><p>x|", "p[0]");
    row("a around a block", "<a href=x><div>y</a>z|</div>", "div[0]");
    row("formatting reopened in order", "<p><em>a<strong>b<p>c|", "p[1]/em[0]/strong[0]");
    row("select in a cell", "<table><tr><td><select><option>a|</select></td></tr></table>",
        "table[0]/tbody[0]/tr[0]/td[0]/select[0]/option[0]");
    row("textarea moved before its table", "<div><table><textarea>x|</textarea></table></div>", "div[0]/textarea[0]");
    row("iframe", "<p><iframe>x|</iframe>", "p[0]/iframe[0]");
    row("xmp closes p", "<p>a<xmp>x|</xmp>", "xmp[0]");
    row("dd closes dd", "<dl><dt>a<dd>b|<dd>c</dl>", "dl[0]/dd[0]");
    row("br in upper case", "<P>a<BR>b|</P>", "p[0]");
    row("rows after a tbody", "<table><tbody><tr><td>a</td></tr></tbody><tr><td>b|</td></tr></table>",
        "table[0]/tbody[1]/tr[0]/td[0]");
    row("tfoot", "<table><tfoot><tr><td>f|</td></tr></tfoot><tbody><tr><td>b</td></tr></tbody></table>",
        "table[0]/tfoot[0]/tr[0]/td[0]");
    row("second tbody", "<table><tbody><tr><td>a</tbody><tbody><tr><td>b|</table>", "table[0]/tbody[1]/tr[0]/td[0]");
    row("counted per name", "<div><span>a</span></div><div><span>b|</span></div>", "div[1]/span[0]");
    row("in a style in a table", "<table><style>p{}|</style><tr><td>x</table>", "-");
    row("text in body", "<p>a</p> b|c", "-");
    row("in head", "<title>t|</title><p>x", "-");
    row("head content after head", "<html><head></head><title>t|</title><body><p>x", "-");
    row("in a script", "<p>a</p><script>var x|;</script>", "-");
    row("in a style in body", "<div><style>p{}|</style></div>", "-");
    row("in a template", "<template><p>x|</p></template>", "-");
    row("frameset", "<frameset><frame|></frameset>", "-");
    row("xml", "<a><b>x|</b></a>", "-");
}

void HtmlOutlineTest::elementPath()
{
    QFETCH(QByteArray, page);
    QFETCH(QByteArray, expected);
    const auto [text, caret] = withCaret(page);
    HtmlOutline outline(syntaxOf(QTest::currentDataTag()));
    QCOMPARE(pathText(outline.elementPathAt(text, caret)), expected);
}

void HtmlOutlineTest::startTagOfPath_data()
{
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QByteArray>("path");
    auto row = [](const char* name, const char* page, const char* path) {
        QTest::newRow(name) << QByteArray(page) << QByteArray(path);
    };
    // « marks the start tag expected; none in the page: no position.
    row("cell", "<table><tr><td>a</td>«<td>b</td></tr></table>", "table[0]/tbody[0]/tr[0]/td[1]");
    row("upper case", "<p>a</p>«<DIV>b</DIV>", "div[0]");
    row("ids agree", "<div>a</div>«<div id=b>b</div>", "div[1]#b");
    row("id only in the browser", "<div>a</div>«<div>b</div>", "div[1]#late");
    row("svg name", "<svg>«<linearGradient id=g></svg>", "svg[0]/lineargradient[0]#g");
    row("moved by a misnested end", "<b>1«<p>2</b>3</p>", "p[0]");
    row("empty path is body", "<head></head>«<body><p>x</p></body>", "");
    row("moved before its table", "<table><tr><td>a</td></tr>«<div>x</div></table>", "div[0]");
    row("after </body>", "<body><p>a</p></body>«<p>b</p>", "p[1]");
    row("foreign content", "<svg><g></g>«<g><circle/></g></svg>", "svg[0]/g[1]");
    row("lone </p>", "<div></p>x</div>", "div[0]/p[0]");
    row("ids disagree", "<div id=a>x</div>", "div[0]#b");
    row("made by a script", "<div>x</div>", "div[3]");
    row("implied tbody", "<table><tr><td>x</td></tr></table>", "table[0]/tbody[0]");
    row("reopened formatting", "<p><b>a</p><p>b</p>", "p[1]/b[0]");
    row("not under body", "<title>t</title><p>x</p>", "title[0]");
    row("implied body", "<p>x</p>", "");
    row("xml", "<a><b/></a>", "a[0]");
}

void HtmlOutlineTest::startTagOfPath()
{
    QFETCH(QByteArray, page);
    QFETCH(QByteArray, path);
    const qsizetype expected = page.indexOf(kOpen);
    if (expected >= 0)
        page.remove(expected, kOpen.size());
    HtmlOutline outline(syntaxOf(QTest::currentDataTag()));
    QCOMPARE(outline.startTagOf(page, pathFrom(path)).value_or(-1), expected);
}

// From inside each start tag of a page under body, the path leads back to it.
void HtmlOutlineTest::everyStartTagFoundFromItsPath()
{
    const QByteArray page(kSitePage);
    // Where "<b>" and the like are text, not tags.
    const auto inText = [&](qsizetype at) {
        for (const auto& [open, close] : {std::pair{"<!--", "-->"}, {"<textarea>", "</textarea>"}, {"<script>", "</script>"}})
            if (at > page.indexOf(open) && at < page.indexOf(close))
                return true;
        return false;
    };
    HtmlOutline outline;
    int found = 0;
    for (qsizetype at = page.indexOf('<', page.indexOf("<body>") + 1); at >= 0; at = page.indexOf('<', at + 1)) {
        const char next = page[at + 1];
        if (!((next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z')) || inText(at))
            continue;
        const std::optional<ElementPath> path = outline.elementPathAt(page, at + 1);
        if (page.sliced(at).startsWith("<script")) { // hides itself
            QVERIFY(!path);
            continue;
        }
        QVERIFY2(path, page.mid(at, 20).constData());
        QCOMPARE(outline.startTagOf(page, *path).value_or(-1), at);
        ++found;
    }
    QCOMPARE(found, 33);
}

// Kept states never change an answer: after each edit, told as the editor
// tells it, every answer equals the answer from the page's start.
void HtmlOutlineTest::keptStatesFollowEdits_data()
{
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QByteArrayList>("edits"); // "find=>replacement", applied in turn
    QTest::newRow("site") << QByteArray(kSitePage)
                          << QByteArrayList{"<section>=><section><div><p>", "</style>=><!--</style>",
                                            "<footer>=>--><footer>", "<ul>=><ol>", "Second=><table><tr><td>Second",
                                            "<script>=>", "<!DOCTYPE html>=><!DOCTYPE html PUBLIC "
                                                          "\"-//W3C//DTD HTML 4.01 Transitional//EN\">"};
    QTest::newRow("misnested")
        << QByteArray("<p><b>1<i>2</b>3</i><table><tr><td>x<td><select><option>a<td>y</table><b>4<p>5</b>6</p>"
                      "<a href=1>a<div>b<a href=2>c</a>d</div><ul><li>e<div><li>f</div></ul><svg><g><p>g</svg>"
                      "<nobr>h<nobr>i</nobr><form><table><form><tr><td>j</form></table>k")
        << QByteArrayList{"<i>=>", "</b>3=>3", "<table>=><table><caption>", "<div>b=><div><p>b", "<svg>=>"};
}

void HtmlOutlineTest::keptStatesFollowEdits()
{
    QFETCH(QByteArray, page);
    QFETCH(QByteArrayList, edits);
    HtmlOutline kept(Syntax::Html, 24);
    for (const QByteArray& edit : edits) {
        const qsizetype arrow = edit.indexOf("=>");
        const QByteArray find = edit.left(arrow), replacement = edit.mid(arrow + 2);
        const qsizetype at = page.indexOf(find);
        QVERIFY(at >= 0);
        page.replace(at, find.size(), replacement);
        kept.textChanged(at);
        for (qsizetype caret = page.size(); caret >= 0; caret -= 3) {
            HtmlOutline fresh;
            QCOMPARE(pathText(kept.elementPathAt(page, caret)), pathText(fresh.elementPathAt(page, caret)));
            QCOMPARE(kept.nameToClose(page, caret).value_or("-"), fresh.nameToClose(page, caret).value_or("-"));
            QCOMPARE(kept.closingTagAfter(page, caret).value_or("-"), fresh.closingTagAfter(page, caret).value_or("-"));
            QCOMPARE(markPair(page, kept.tagPairAt(page, caret)), markPair(page, fresh.tagPairAt(page, caret)));
        }
    }
}

void HtmlOutlineTest::pathJson_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("steps") << QByteArray(R"([{"tag":"div","index":0,"id":"main"},{"tag":"p","index":2}])")
                           << QByteArray("div[0]#main/p[2]");
    QTest::newRow("body") << QByteArray("[]") << QByteArray("");
    QTest::newRow("not an array") << QByteArray(R"({"tag":"div","index":0})") << QByteArray("-");
    QTest::newRow("negative index") << QByteArray(R"([{"tag":"div","index":-1}])") << QByteArray("-");
    QTest::newRow("fraction") << QByteArray(R"([{"tag":"div","index":1.5}])") << QByteArray("-");
    QTest::newRow("no tag") << QByteArray(R"([{"index":0}])") << QByteArray("-");
    QTest::newRow("id not text") << QByteArray(R"([{"tag":"div","index":0,"id":3}])") << QByteArray("-");
    QTest::newRow("broken") << QByteArray("[{") << QByteArray("-");
}

void HtmlOutlineTest::pathJson()
{
    QFETCH(QByteArray, json);
    QFETCH(QByteArray, expected);
    const std::optional<ElementPath> path = pathFromJson(json);
    QCOMPARE(pathText(path), expected);
    if (path)
        QCOMPARE(pathFromJson(pathToJson(*path)), path);
}

QP_REGISTER_TEST(HtmlOutlineTest)
#include "HtmlOutlineTest.moc"
