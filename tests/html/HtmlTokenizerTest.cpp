#include "TestRegistry.h"
#include "html/HtmlTokenizer.h"

#include <QTest>

using namespace Html;

namespace {

const char* kindName(Token::Kind kind)
{
    switch (kind) {
    case Token::Text: return "text";
    case Token::StartTag: return "start";
    case Token::EndTag: return "end";
    case Token::Comment: return "comment";
    case Token::Doctype: return "doctype";
    case Token::ServerCode: return "server";
    case Token::CData: return "cdata";
    case Token::Nothing: return "nothing";
    }
    return "?";
}

// "data", "cdata", "xml", or the text element that reads on: "script",
// "style", "title", "plaintext".
ReadState stateOf(const QByteArray& name)
{
    ReadState state;
    state.syntax = name == "xml" ? Syntax::Xml : Syntax::Html;
    state.cdata = name == "cdata" || name == "xml";
    const Tag tag = tagOf(name);
    state.textEnd = tag;
    switch (tag) {
    case Tag::Script: state.content = Content::ScriptData; break;
    case Tag::Style: state.content = Content::RawText; break;
    case Tag::Title: state.content = Content::Rcdata; break;
    case Tag::Plaintext: state.content = Content::Plaintext; break;
    default: break;
    }
    return state;
}

}

class HtmlTokenizerTest : public QObject {
    Q_OBJECT
private slots:
    void firstToken_data();
    void firstToken();
    void attribute_data();
    void attribute();
};

void HtmlTokenizerTest::firstToken_data()
{
    QTest::addColumn<QByteArray>("state");
    QTest::addColumn<QByteArray>("page"); // '|' where the token ends
    QTest::addColumn<QByteArray>("expected");
    auto row = [](const char* name, const char* state, const char* page, const char* expected) {
        QTest::newRow(name) << QByteArray(state) << QByteArray(page) << QByteArray(expected);
    };
    row("text up to markup", "data", "abc|<p>", "text");
    row("a lone '<' is text", "data", "a < b|<p>", "text");
    row("'<' and a digit is text", "data", "a<1 b|<b>", "text");
    row("start tag", "data", "<p class=\"a>b\" title='>'>|x", "start p");
    row("self-closed", "data", "<br/>|x", "start br /");
    row("'/' of an unquoted value", "data", "<a href=x/>|y", "start a");
    row("end tag with attributes", "data", "</p class=\">\">|y", "end p");
    row("</>", "data", "</>|x", "nothing");
    row("</ and a digit", "data", "</1>|x", "comment");
    row("comment", "data", "<!-- a -- > b -->|x", "comment");
    row("comment <!-->", "data", "<!-->|x", "comment");
    row("comment <!--->", "data", "<!--->|x", "comment");
    row("comment --!>", "data", "<!-- a --!>|x", "comment");
    row("comment to the end", "data", "<!-- a|", "comment, cut");
    row("doctype", "data", "<!DOCTYPE html>|x", "doctype");
    row("bogus comment", "data", "<!x>|y", "comment");
    row("CDATA is a comment in HTML", "data", "<![CDATA[a>|b]]>", "comment");
    row("CDATA in SVG", "cdata", "<![CDATA[a>b]]>|c", "cdata");
    row("php", "data", "<?php if ($a > 1) { ?>|x", "server");
    row("short php", "data", "<? echo $a ?>|x", "server");
    row("asp", "data", "<% If a > b Then %>|x", "server");
    row("server code to the end", "data", "<?php echo 1;|", "server, cut");
    row("server code in a value", "data", "<a href=\"<?php echo \"x\" ?>\">|y", "start a");
    row("server code among attributes", "data", "<div <?php echo $a > 1 ? 'a' : 'b' ?>>|x", "start div");
    row("tag to the end", "data", "<div class=\"a>|", "start div, cut");
    row("script text", "script", "var s = \"</p>\";|</script>", "text");
    row("script end tag", "script", "</SCRIPT >|x", "end SCRIPT");
    row("not the script's end", "script", "a </scripts> b|</script>", "text");
    row("script escapes", "script", "<!--<script></script>-->|</script>", "text");
    row("escape without script", "script", "a <!-- b |</script>-->", "text");
    row("server code in a script", "script", "x <?php echo \"</script>\" ?>|</script>", "text");
    row("style text", "style", "p > a { }|</style>", "text");
    row("title text", "title", "a <b> &amp;|</title>", "text");
    row("plaintext", "plaintext", "a</plaintext><p>|", "text, cut");
    row("xml doctype subset", "xml", "<!DOCTYPE a [<!ENTITY e \">\">]>|<a/>", "doctype");
    row("xml processing instruction", "xml", "<?xml version=\"1.0\"?>|<a/>", "server");
}

void HtmlTokenizerTest::firstToken()
{
    QFETCH(QByteArray, state);
    QFETCH(QByteArray, page);
    QFETCH(QByteArray, expected);
    const qsizetype end = page.indexOf('|');
    page.remove(end, 1);
    const Token t = readToken(page, 0, stateOf(state));
    QByteArray seen = kindName(t.kind);
    if (t.isTag())
        seen += ' ' + t.name(page).toByteArray() + (t.selfClosing ? " /" : "");
    if (!t.complete)
        seen += ", cut";
    QCOMPARE(seen, expected);
    QCOMPARE(t.begin, 0);
    QCOMPARE(t.end, end);
}

void HtmlTokenizerTest::attribute_data()
{
    QTest::addColumn<QByteArray>("tag");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("double quotes") << QByteArray("<a href=\"x\" id=\"a b\">") << QByteArray("a b");
    QTest::newRow("name in upper case") << QByteArray("<a ID='z'>") << QByteArray("z");
    QTest::newRow("unquoted") << QByteArray("<a id=q/>") << QByteArray("q/");
    QTest::newRow("spaces around =") << QByteArray("<a id = \"s\">") << QByteArray("s");
    QTest::newRow("no value") << QByteArray("<a id>") << QByteArray("");
    QTest::newRow("the first of two") << QByteArray("<a id=x id=y>") << QByteArray("x");
    QTest::newRow("not a longer name") << QByteArray("<a data-id=1 id=2>") << QByteArray("2");
    QTest::newRow("not inside a value") << QByteArray("<a title=\"id=x\" id=q>") << QByteArray("q");
    QTest::newRow("after server code") << QByteArray("<a title=\"<?php echo \"id=x\" ?>\" id=q>") << QByteArray("q");
    QTest::newRow("none") << QByteArray("<a href=id>") << QByteArray("-");
}

void HtmlTokenizerTest::attribute()
{
    QFETCH(QByteArray, tag);
    QFETCH(QByteArray, expected);
    const Token t = readToken(tag, 0, ReadState{});
    QCOMPARE(t.kind, Token::StartTag);
    const std::optional<QByteArrayView> id = attributeOf(tag, t, "id");
    QCOMPARE(id ? id->toByteArray() : QByteArray("-"), expected);
}

QP_REGISTER_TEST(HtmlTokenizerTest)
#include "HtmlTokenizerTest.moc"
