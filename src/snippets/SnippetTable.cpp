#include "snippets/SnippetTable.h"

#include <array>

namespace {

using L = QLatin1StringView;

constexpr Snippet fixed(Cmd item, const char* block)
{
    return {item, SnippetKind::Fixed, L(""), L(block), L("")};
}

constexpr Snippet prompted(Cmd item, const char* prompt, const char* before, const char* after)
{
    return {item, SnippetKind::Prompted, L(prompt), L(before), L(after)};
}

constexpr Snippet wrap(Cmd item, const char* before, const char* after)
{
    return {item, SnippetKind::Wrap, L(""), L(before), L(after)};
}

// The PHP output item really is named mnuASPOuput; mnuASPOutput is the ASP
// one. Shortcut keys belong to the command table, like every other command's.
constexpr std::array<Snippet, 22> kSnippets{{
    fixed(Cmd::mnuHTMLTags, "<html>\r\n\r\n</html>"),
    wrap(Cmd::mnuHTMLBold, "<b>", "</b>"),
    wrap(Cmd::mnuHTMLUnderlined, "<u>", "</u>"),
    wrap(Cmd::mnuHTMLItalic, "<i>", "</i>"),
    prompted(Cmd::mnuHTMLComment, "Insert your HTML comment here:", "<!--", "-->"),

    fixed(Cmd::mnudotNETScript, "<script runat=\"server\">\r\n\r\n</script>"),
    fixed(Cmd::mnudotNETForm, "<form runat=\"server\">\r\n\r\n</form>"),
    prompted(Cmd::mnudotNETComment_VB, "Insert your Visual Basic .NET comment here:", "'", ""),
    prompted(Cmd::mnudotNETComment_CCJ, "Insert your C#, C++ or JScript comment here:", "//", ""),
    prompted(Cmd::mnudotNETComment_Delphi, "Insert your Delphi .NET comment here:", "{* ", " *}"),

    fixed(Cmd::mnuASPTags, "<%\r\n\r\n%>"),
    prompted(Cmd::mnuASPOutput, "Insert your ASP output here:", "Response.Write (\"", "\")"),
    prompted(Cmd::mnuASPComment, "Insert your ASP comment here:", "'", ""),

    fixed(Cmd::mnuPHPTags, "<?php\r\n\r\n?>"),
    prompted(Cmd::mnuASPOuput, "Insert your PHP output here:", "echo \"", "\";"),
    prompted(Cmd::mnuPHPComment, "Insert your PHP comment here:", "//", ""),

    fixed(Cmd::mnuJSTags, "<Script Language=\"JavaScript\">\r\n\r\n</script>"),
    prompted(Cmd::mnuJSOutput, "Insert your JavaScript output here:", "Document.Write (\"", "\")"),
    prompted(Cmd::mnuJSComment, "Insert your JavaScript comment here:", "//", ""),

    fixed(Cmd::mnuVBSTags, "<Script Language=\"VBScript\">\r\n\r\n</script>"),
    prompted(Cmd::mnuVBSOutput, "Insert your VBScript output here:", "Document.Write \"", "\""),
    prompted(Cmd::mnuVBSComment, "Insert your VBScript comment here:", "'", ""),
}};

}

namespace Snippets {

std::span<const Snippet> table()
{
    return kSnippets;
}

const Snippet* find(Cmd command)
{
    for (const Snippet& s : kSnippets)
        if (s.command == command)
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
