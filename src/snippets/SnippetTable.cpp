#include "snippets/SnippetTable.h"

#include <array>

namespace {

using L = QLatin1StringView;

constexpr Snippet fixed(const char* item, const char* block)
{
    return {L(item), SnippetKind::Fixed, L(""), L(block), L("")};
}

constexpr Snippet prompted(const char* item, const char* prompt, const char* before, const char* after)
{
    return {L(item), SnippetKind::Prompted, L(prompt), L(before), L(after)};
}

constexpr Snippet wrap(const char* item, const char* before, const char* after)
{
    return {L(item), SnippetKind::Wrap, L(""), L(before), L(after)};
}

// The PHP output item really is named mnuASPOuput; mnuASPOutput is the ASP
// one. Shortcut keys belong to the command table, like every other command's.
constexpr std::array<Snippet, 22> kSnippets{{
    fixed("mnuHTMLTags", "<html>\r\n\r\n</html>"),
    wrap("mnuHTMLBold", "<b>", "</b>"),
    wrap("mnuHTMLUnderlined", "<u>", "</u>"),
    wrap("mnuHTMLItalic", "<i>", "</i>"),
    prompted("mnuHTMLComment", "Insert your HTML comment here:", "<!--", "-->"),

    fixed("mnudotNETScript", "<script runat=\"server\">\r\n\r\n</script>"),
    fixed("mnudotNETForm", "<form runat=\"server\">\r\n\r\n</form>"),
    prompted("mnudotNETComment_VB", "Insert your Visual Basic .NET comment here:", "'", ""),
    prompted("mnudotNETComment_CCJ", "Insert your C#, C++ or JScript comment here:", "//", ""),
    prompted("mnudotNETComment_Delphi", "Insert your Delphi .NET comment here:", "{* ", " *}"),

    fixed("mnuASPTags", "<%\r\n\r\n%>"),
    prompted("mnuASPOutput", "Insert your ASP output here:", "Response.Write (\"", "\")"),
    prompted("mnuASPComment", "Insert your ASP comment here:", "'", ""),

    fixed("mnuPHPTags", "<?php\r\n\r\n?>"),
    prompted("mnuASPOuput", "Insert your PHP output here:", "echo \"", "\";"),
    prompted("mnuPHPComment", "Insert your PHP comment here:", "//", ""),

    fixed("mnuJSTags", "<Script Language=\"JavaScript\">\r\n\r\n</script>"),
    prompted("mnuJSOutput", "Insert your JavaScript output here:", "Document.Write (\"", "\")"),
    prompted("mnuJSComment", "Insert your JavaScript comment here:", "//", ""),

    fixed("mnuVBSTags", "<Script Language=\"VBScript\">\r\n\r\n</script>"),
    prompted("mnuVBSOutput", "Insert your VBScript output here:", "Document.Write \"", "\""),
    prompted("mnuVBSComment", "Insert your VBScript comment here:", "'", ""),
}};

}

namespace Snippets {

std::span<const Snippet> table()
{
    return kSnippets;
}

const Snippet* find(QStringView menuItem)
{
    for (const Snippet& s : kSnippets)
        if (menuItem == s.menuItem)
            return &s;
    return nullptr;
}

QString text(const Snippet& snippet, const QString& middle, LineBreak style)
{
    QString out = TextFormats::withLineBreaks(QString(snippet.before), style);
    if (snippet.kind != SnippetKind::Fixed)
        out += middle;
    out += TextFormats::withLineBreaks(QString(snippet.after), style);
    return out;
}

}
