#include "html/HtmlNames.h"

#include <array>
#include <cstring>

namespace Html {

namespace {

constexpr const char* kNames[] = {
    "",
#define QP_HTML_TAG_NAME(id, name) name,
    QP_HTML_TAGS(QP_HTML_TAG_NAME)
#undef QP_HTML_TAG_NAME
};
static_assert(std::size(kNames) == std::size_t(Tag::Count));

constexpr std::size_t kLengths[] = {
    0,
#define QP_HTML_TAG_LENGTH(id, name) sizeof(name) - 1,
    QP_HTML_TAGS(QP_HTML_TAG_LENGTH)
#undef QP_HTML_TAG_LENGTH
};

constexpr std::size_t kLongestName = 14; // annotation-xml
constexpr unsigned kSlots = 512;

unsigned slotOf(const char* lower, std::size_t length)
{
    unsigned h = unsigned(length) * 2654435761u;
    for (std::size_t i = 0; i < length; ++i)
        h = (h ^ unsigned(quint8(lower[i]))) * 16777619u;
    return (h >> 7) % kSlots;
}

// Open addressing over the few names: built once, read without locks.
struct NameTable {
    std::array<Tag, kSlots> buckets{};
    NameTable()
    {
        for (std::size_t t = 1; t < std::size_t(Tag::Count); ++t) {
            unsigned s = slotOf(kNames[t], kLengths[t]);
            while (buckets[s] != Tag::Other)
                s = (s + 1) % kSlots;
            buckets[s] = Tag(t);
        }
    }
};

const NameTable& nameTable()
{
    static const NameTable table;
    return table;
}

// One bit per tag for each group.
using TagSet = std::array<bool, std::size_t(Tag::Count)>;

constexpr TagSet setOf(std::initializer_list<Tag> tags)
{
    TagSet set{};
    for (Tag t : tags)
        set[std::size_t(t)] = true;
    return set;
}

constexpr TagSet kVoid = setOf({Tag::Area, Tag::Base, Tag::Basefont, Tag::Bgsound, Tag::Br, Tag::Col, Tag::Embed,
                                Tag::Frame, Tag::Hr, Tag::Image, Tag::Img, Tag::Input, Tag::Keygen, Tag::Link,
                                Tag::Meta, Tag::Param, Tag::Source, Tag::Track, Tag::Wbr});

constexpr TagSet kFormatting = setOf({Tag::A, Tag::B, Tag::Big, Tag::Code, Tag::Em, Tag::Font, Tag::I, Tag::Nobr,
                                      Tag::S, Tag::Small, Tag::Strike, Tag::Strong, Tag::Tt, Tag::U});

constexpr TagSet kSpecialHtml = setOf(
    {Tag::Address, Tag::Applet, Tag::Area, Tag::Article, Tag::Aside, Tag::Base, Tag::Basefont, Tag::Bgsound,
     Tag::Blockquote, Tag::Body, Tag::Br, Tag::Button, Tag::Caption, Tag::Center, Tag::Col, Tag::Colgroup, Tag::Dd,
     Tag::Details, Tag::Dir, Tag::Div, Tag::Dl, Tag::Dt, Tag::Embed, Tag::Fieldset, Tag::Figcaption, Tag::Figure,
     Tag::Footer, Tag::Form, Tag::Frame, Tag::Frameset, Tag::H1, Tag::H2, Tag::H3, Tag::H4, Tag::H5, Tag::H6,
     Tag::Head, Tag::Header, Tag::Hgroup, Tag::Hr, Tag::Html, Tag::Iframe, Tag::Img, Tag::Input, Tag::Keygen,
     Tag::Li, Tag::Link, Tag::Listing, Tag::Main, Tag::Marquee, Tag::Menu, Tag::Meta, Tag::Nav, Tag::Noembed,
     Tag::Noframes, Tag::Noscript, Tag::Object, Tag::Ol, Tag::P, Tag::Param, Tag::Plaintext, Tag::Pre,
     Tag::Script, Tag::Search, Tag::Section, Tag::Select, Tag::Source, Tag::Style, Tag::Summary, Tag::Table,
     Tag::Tbody, Tag::Td, Tag::Template, Tag::Textarea, Tag::Tfoot, Tag::Th, Tag::Thead, Tag::Title, Tag::Tr,
     Tag::Track, Tag::Ul, Tag::Wbr, Tag::Xmp});

constexpr TagSet kClosesParagraph = setOf(
    {Tag::Address, Tag::Article, Tag::Aside, Tag::Blockquote, Tag::Center, Tag::Details, Tag::Dialog, Tag::Dir,
     Tag::Div, Tag::Dl, Tag::Fieldset, Tag::Figcaption, Tag::Figure, Tag::Footer, Tag::Header, Tag::Hgroup,
     Tag::Main, Tag::Menu, Tag::Nav, Tag::Ol, Tag::P, Tag::Search, Tag::Section, Tag::Summary, Tag::Ul});

constexpr TagSet kImpliedEnd = setOf(
    {Tag::Dd, Tag::Dt, Tag::Li, Tag::Optgroup, Tag::Option, Tag::P, Tag::Rb, Tag::Rp, Tag::Rt, Tag::Rtc});

constexpr TagSet kImpliedEndThorough =
    setOf({Tag::Caption, Tag::Colgroup, Tag::Dd, Tag::Dt, Tag::Li, Tag::Optgroup, Tag::Option, Tag::P, Tag::Rb,
           Tag::Rp, Tag::Rt, Tag::Rtc, Tag::Tbody, Tag::Td, Tag::Tfoot, Tag::Th, Tag::Thead, Tag::Tr});

constexpr TagSet kLeavesForeign = setOf(
    {Tag::B, Tag::Big, Tag::Blockquote, Tag::Body, Tag::Br, Tag::Center, Tag::Code, Tag::Dd, Tag::Div, Tag::Dl,
     Tag::Dt, Tag::Em, Tag::Embed, Tag::H1, Tag::H2, Tag::H3, Tag::H4, Tag::H5, Tag::H6, Tag::Head, Tag::Hr,
     Tag::I, Tag::Img, Tag::Li, Tag::Listing, Tag::Menu, Tag::Meta, Tag::Nobr, Tag::Ol, Tag::P, Tag::Pre,
     Tag::Ruby, Tag::S, Tag::Small, Tag::Span, Tag::Strong, Tag::Strike, Tag::Sub, Tag::Sup, Tag::Table, Tag::Tt,
     Tag::U, Tag::Ul, Tag::Var});

constexpr TagSet kScopeHtml = setOf({Tag::Applet, Tag::Caption, Tag::Html, Tag::Table, Tag::Td, Tag::Th,
                                     Tag::Marquee, Tag::Object, Tag::Template});

bool in(const TagSet& set, Tag tag)
{
    return set[std::size_t(tag)];
}

bool isMathText(Tag tag)
{
    return tag == Tag::Mi || tag == Tag::Mo || tag == Tag::Mn || tag == Tag::Ms || tag == Tag::Mtext;
}

bool isSvgHtmlPoint(Tag tag)
{
    return tag == Tag::ForeignObject || tag == Tag::Desc || tag == Tag::Title;
}

}

bool sameNameNoCase(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = char(x + 32);
        if (y >= 'A' && y <= 'Z')
            y = char(y + 32);
        if (x != y)
            return false;
    }
    return true;
}

Tag tagOf(QByteArrayView name)
{
    const std::size_t length = std::size_t(name.size());
    if (length == 0 || length > kLongestName)
        return Tag::Other;
    char lower[kLongestName];
    for (std::size_t i = 0; i < length; ++i) {
        const char c = name[qsizetype(i)];
        lower[i] = (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
    }
    const NameTable& table = nameTable();
    for (unsigned s = slotOf(lower, length);; s = (s + 1) % kSlots) {
        const Tag t = table.buckets[s];
        if (t == Tag::Other)
            return Tag::Other;
        if (kLengths[std::size_t(t)] == length && std::memcmp(kNames[std::size_t(t)], lower, length) == 0)
            return t;
    }
}

QByteArrayView nameOf(Tag tag)
{
    return QByteArrayView(kNames[std::size_t(tag)], qsizetype(kLengths[std::size_t(tag)]));
}

bool isVoid(Tag tag)
{
    return in(kVoid, tag);
}

bool isFormatting(Tag tag)
{
    return in(kFormatting, tag);
}

bool isSpecial(Tag tag, Space space)
{
    switch (space) {
    case Space::Html: return in(kSpecialHtml, tag);
    case Space::MathMl: return isMathText(tag) || tag == Tag::AnnotationXml;
    case Space::Svg: return isSvgHtmlPoint(tag);
    }
    return false;
}

bool closesParagraph(Tag tag)
{
    return in(kClosesParagraph, tag);
}

bool hasImpliedEnd(Tag tag, bool thorough)
{
    return in(thorough ? kImpliedEndThorough : kImpliedEnd, tag);
}

bool leavesForeignContent(Tag tag)
{
    return in(kLeavesForeign, tag);
}

bool isIntegrationPoint(Tag tag, Space space)
{
    return (space == Space::MathMl && isMathText(tag)) || (space == Space::Svg && isSvgHtmlPoint(tag));
}

bool boundsScope(Tag tag, Space space)
{
    switch (space) {
    case Space::Html: return in(kScopeHtml, tag);
    case Space::MathMl: return isMathText(tag) || tag == Tag::AnnotationXml;
    case Space::Svg: return isSvgHtmlPoint(tag);
    }
    return false;
}

}
