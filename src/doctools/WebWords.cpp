#include "doctools/WebWords.h"

#include <QSet>
#include <QString>

namespace WebWords {

namespace {

const QSet<QString>& words()
{
    static const QSet<QString> set = [] {
        const char* const list[] = {
            // elements
            "a", "abbr", "acronym", "address", "applet", "area", "article", "aside", "audio", "b", "base",
            "basefont", "bdi", "bdo", "bgsound", "big", "blink", "blockquote", "body", "br", "button", "canvas",
            "caption", "center", "cite", "code", "col", "colgroup", "datalist", "dd", "del", "details", "dfn",
            "dialog", "dir", "div", "dl", "dt", "em", "embed", "fieldset", "figcaption", "figure", "font",
            "footer", "form", "frame", "frameset", "head", "header", "hgroup", "hr", "html", "i", "iframe",
            "ilayer", "img", "input", "ins", "isindex", "kbd", "keygen", "label", "layer", "legend", "li",
            "link", "listing", "main", "map", "mark", "marquee", "menu", "meta", "meter", "nav", "nobr",
            "noembed", "noframes", "nolayer", "noscript", "object", "ol", "optgroup", "option", "output", "p",
            "param", "picture", "plaintext", "pre", "progress", "q", "rp", "rt", "ruby", "s", "samp", "script",
            "section", "select", "small", "source", "span", "strike", "strong", "style", "sub", "summary", "sup",
            "svg", "table", "tbody", "td", "textarea", "tfoot", "th", "thead", "time", "title", "tr", "track",
            "tt", "u", "ul", "var", "video", "wbr", "xmp",
            // attributes
            "accesskey", "alink", "alt", "autocomplete", "autofocus", "autoplay", "bgcolor", "bgproperties",
            "bordercolor", "cellpadding", "cellspacing", "charset", "classid", "codebase", "codetype", "colspan",
            "contenteditable", "crossorigin", "datetime", "dirname", "enctype", "formaction", "formenctype",
            "formmethod", "formnovalidate", "formtarget", "frameborder", "framespacing", "hreflang", "href",
            "hspace", "ismap", "leftmargin", "longdesc", "marginheight", "marginwidth", "maxlength",
            "minlength", "nohref", "noresize", "noshade", "novalidate", "nowrap", "onabort", "onblur", "onchange",
            "onclick", "ondblclick", "onerror", "onfocus", "oninput", "onkeydown", "onkeypress", "onkeyup",
            "onload", "onmousedown", "onmousemove", "onmouseout", "onmouseover", "onmouseup", "onreset",
            "onresize", "onscroll", "onselect", "onsubmit", "onunload", "placeholder", "readonly", "rel",
            "rowspan", "scrollamount", "scrolldelay", "spellcheck", "src", "srcdoc", "srclang", "srcset",
            "tabindex", "topmargin", "usemap", "valign", "vlink", "vspace",
            // formats, languages and their everyday words
            "ajax", "ascii", "asp", "aspx", "cgi", "css", "dhtml", "doctype", "dom", "favicon", "ftp", "gif",
            "htm", "http", "https", "ico", "javascript", "jpeg", "jpg", "jquery", "js", "json", "jsp",
            "mailto", "mysql", "nbsp", "perl", "php", "png", "rss", "sql", "stylesheet", "stylesheets", "svg",
            "url", "urls", "utf", "vbscript", "webp", "www", "xhtml", "xml", "xsl", "xslt",
        };
        QSet<QString> s;
        for (const char* w : list)
            s.insert(QString::fromLatin1(w));
        return s;
    }();
    return set;
}

}

bool contains(QStringView word)
{
    return words().contains(word.toString().toLower());
}

}
