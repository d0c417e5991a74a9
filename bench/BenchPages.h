#pragma once
#include <QByteArray>

#include <cstdint>
#include <random>

// The page the checking benchmarks work on, generated deterministically: a
// hand-written-style page with CR LF line breaks, a style sheet in its head,
// sections of headings, paragraphs with links and inline markup, lists,
// tables, and forms, some text beyond ASCII, and a problem Tidy reports (an
// unclosed element, an unknown attribute, a repeated id, an image without
// alt text, a bad entity) in about every `problemEvery`th block. It ends
// a little past `target` bytes (its last block and closing tags).
namespace BenchPages {

inline QByteArray checkedPage(qsizetype target, int problemEvery = 40)
{
    std::mt19937 random{std::uint32_t(target)};
    static const char* const words[] = {"the", "page", "site", "editor", "layout", "header", "footer", "menu",
                                        "link", "table", "cell", "café", "naïve", "price €", "résumé", "list",
                                        "form", "field", "button", "image", "caption", "section", "article"};
    auto word = [&] { return QByteArray(words[random() % (sizeof words / sizeof *words)]); };
    auto sentence = [&](int n) {
        QByteArray s;
        for (int i = 0; i < n; ++i) {
            if (i)
                s += ' ';
            s += word();
        }
        return s;
    };

    QByteArray out = "<!DOCTYPE html>\r\n<html lang=\"en\">\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
                     "<title>Benchmark page</title>\r\n<style>\r\nbody { margin: 0 auto; max-width: 60em; }\r\n"
                     "td, th { padding: 2px 6px; }\r\n</style>\r\n</head>\r\n<body>\r\n";
    long block = 0;
    while (out.size() < target) {
        ++block;
        const QByteArray id = QByteArray::number(block);
        switch (block % 5) {
        case 0:
            out += "<h2 id=\"s" + id + "\">" + sentence(3) + "</h2>\r\n";
            break;
        case 1:
            out += "<p>" + sentence(8) + " <a href=\"page" + id + ".html\">" + sentence(2) + "</a>, <b>" + sentence(2)
                   + "</b> and <em>" + sentence(3) + "</em>.</p>\r\n";
            break;
        case 2:
            out += "<ul>\r\n\t<li>" + sentence(4) + "</li>\r\n\t<li>" + sentence(3) + "</li>\r\n</ul>\r\n";
            break;
        case 3:
            out += "<table>\r\n\t<tr><th>" + word() + "</th><td>" + sentence(3) + "</td></tr>\r\n\t<tr><th>" + word()
                   + "</th><td><img src=\"i" + id + ".png\" alt=\"" + word() + "\"></td></tr>\r\n</table>\r\n";
            break;
        default:
            out += "<form action=\"send.php\" method=\"post\">\r\n\t<label for=\"f" + id + "\">" + word()
                   + "</label>\r\n\t<input id=\"f" + id + "\" name=\"f" + id + "\" type=\"text\">\r\n</form>\r\n";
            break;
        }
        if (block % problemEvery == problemEvery / 2) {
            switch ((block / problemEvery) % 5) {
            case 0: out += "<p>" + sentence(4) + " <b>" + sentence(2) + "</p>\r\n"; break;
            case 1: out += "<p colour=\"red\">" + sentence(4) + "</p>\r\n"; break;
            case 2: out += "<p id=\"s5\">" + sentence(4) + "</p>\r\n"; break;
            case 3: out += "<p><img src=\"x.png\"> " + sentence(3) + "</p>\r\n"; break;
            default: out += "<p>" + sentence(3) + " &amp &bogus; " + word() + "</p>\r\n"; break;
            }
        }
    }
    out += "</body>\r\n</html>\r\n";
    return out;
}

}
