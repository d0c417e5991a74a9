#include "doctools/CharacterReferences.h"

#include <QString>

#include <algorithm>
#include <iterator>

namespace CharacterReferences {

namespace {

struct Named {
    const char* name;
    char32_t character;
};

// The names of HTML 4 and the letters of Latin Extended-A that HTML 5 added
// (&cacute;, &scedil;): what hand-written pages use. Sorted by name.
constexpr Named kNamed[] = {
    {"AElig", 198}, {"Aacute", 193}, {"Abreve", 258}, {"Acirc", 194}, {"Agrave", 192}, {"Alpha", 913},
    {"Amacr", 256}, {"Aogon", 260}, {"Aring", 197}, {"Atilde", 195}, {"Auml", 196}, {"Beta", 914}, {"Cacute", 262},
    {"Ccaron", 268}, {"Ccedil", 199}, {"Ccirc", 264}, {"Cdot", 266}, {"Chi", 935}, {"Dagger", 8225},
    {"Dcaron", 270}, {"Delta", 916}, {"Dstrok", 272}, {"ENG", 330}, {"ETH", 208}, {"Eacute", 201}, {"Ecaron", 282},
    {"Ecirc", 202}, {"Edot", 278}, {"Egrave", 200}, {"Emacr", 274}, {"Eogon", 280}, {"Epsilon", 917}, {"Eta", 919},
    {"Euml", 203}, {"Gamma", 915}, {"Gbreve", 286}, {"Gcedil", 290}, {"Gcirc", 284}, {"Gdot", 288}, {"Hcirc", 292},
    {"Hstrok", 294}, {"IJlig", 306}, {"Iacute", 205}, {"Icirc", 206}, {"Idot", 304}, {"Igrave", 204},
    {"Imacr", 298}, {"Iogon", 302}, {"Iota", 921}, {"Itilde", 296}, {"Iuml", 207}, {"Jcirc", 308}, {"Kappa", 922},
    {"Kcedil", 310}, {"Lacute", 313}, {"Lambda", 923}, {"Lcaron", 317}, {"Lcedil", 315}, {"Lmidot", 319},
    {"Lstrok", 321}, {"Mu", 924}, {"Nacute", 323}, {"Ncaron", 327}, {"Ncedil", 325}, {"Ntilde", 209}, {"Nu", 925},
    {"OElig", 338}, {"Oacute", 211}, {"Ocirc", 212}, {"Odblac", 336}, {"Ograve", 210}, {"Omacr", 332},
    {"Omega", 937}, {"Omicron", 927}, {"Oslash", 216}, {"Otilde", 213}, {"Ouml", 214}, {"Phi", 934}, {"Pi", 928},
    {"Prime", 8243}, {"Psi", 936}, {"Racute", 340}, {"Rcaron", 344}, {"Rcedil", 342}, {"Rho", 929}, {"Sacute", 346},
    {"Scaron", 352}, {"Scedil", 350}, {"Scirc", 348}, {"Sigma", 931}, {"THORN", 222}, {"Tau", 932}, {"Tcaron", 356},
    {"Tcedil", 354}, {"Theta", 920}, {"Tstrok", 358}, {"Uacute", 218}, {"Ubreve", 364}, {"Ucirc", 219},
    {"Udblac", 368}, {"Ugrave", 217}, {"Umacr", 362}, {"Uogon", 370}, {"Upsilon", 933}, {"Uring", 366},
    {"Utilde", 360}, {"Uuml", 220}, {"Wcirc", 372}, {"Xi", 926}, {"Yacute", 221}, {"Ycirc", 374}, {"Yuml", 376},
    {"Zacute", 377}, {"Zcaron", 381}, {"Zdot", 379}, {"Zeta", 918}, {"aacute", 225}, {"abreve", 259},
    {"acirc", 226}, {"acute", 180}, {"aelig", 230}, {"agrave", 224}, {"alefsym", 8501}, {"alpha", 945},
    {"amacr", 257}, {"amp", 38}, {"and", 8743}, {"ang", 8736}, {"aogon", 261}, {"apos", 39}, {"aring", 229},
    {"asymp", 8776}, {"atilde", 227}, {"auml", 228}, {"bdquo", 8222}, {"beta", 946}, {"brvbar", 166},
    {"bull", 8226}, {"cacute", 263}, {"cap", 8745}, {"ccaron", 269}, {"ccedil", 231}, {"ccirc", 265}, {"cdot", 267},
    {"cedil", 184}, {"cent", 162}, {"chi", 967}, {"circ", 710}, {"clubs", 9827}, {"cong", 8773}, {"copy", 169},
    {"crarr", 8629}, {"cup", 8746}, {"curren", 164}, {"dArr", 8659}, {"dagger", 8224}, {"darr", 8595},
    {"dcaron", 271}, {"deg", 176}, {"delta", 948}, {"diams", 9830}, {"divide", 247}, {"dstrok", 273},
    {"eacute", 233}, {"ecaron", 283}, {"ecirc", 234}, {"edot", 279}, {"egrave", 232}, {"emacr", 275},
    {"empty", 8709}, {"emsp", 8195}, {"eng", 331}, {"ensp", 8194}, {"eogon", 281}, {"epsilon", 949},
    {"equiv", 8801}, {"eta", 951}, {"eth", 240}, {"euml", 235}, {"euro", 8364}, {"exist", 8707}, {"fnof", 402},
    {"forall", 8704}, {"frac12", 189}, {"frac14", 188}, {"frac34", 190}, {"frasl", 8260}, {"gamma", 947},
    {"gbreve", 287}, {"gcirc", 285}, {"gdot", 289}, {"ge", 8805}, {"gt", 62}, {"hArr", 8660}, {"harr", 8596},
    {"hcirc", 293}, {"hearts", 9829}, {"hellip", 8230}, {"hstrok", 295}, {"iacute", 237}, {"icirc", 238},
    {"iexcl", 161}, {"igrave", 236}, {"ijlig", 307}, {"imacr", 299}, {"image", 8465}, {"imath", 305},
    {"infin", 8734}, {"inodot", 305}, {"int", 8747}, {"iogon", 303}, {"iota", 953}, {"iquest", 191}, {"isin", 8712},
    {"itilde", 297}, {"iuml", 239}, {"jcirc", 309}, {"kappa", 954}, {"kcedil", 311}, {"kgreen", 312},
    {"lArr", 8656}, {"lacute", 314}, {"lambda", 955}, {"lang", 9001}, {"laquo", 171}, {"larr", 8592},
    {"lcaron", 318}, {"lcedil", 316}, {"lceil", 8968}, {"ldquo", 8220}, {"le", 8804}, {"lfloor", 8970},
    {"lmidot", 320}, {"lowast", 8727}, {"loz", 9674}, {"lrm", 8206}, {"lsaquo", 8249}, {"lsquo", 8216},
    {"lstrok", 322}, {"lt", 60}, {"macr", 175}, {"mdash", 8212}, {"micro", 181}, {"middot", 183}, {"minus", 8722},
    {"mu", 956}, {"nabla", 8711}, {"nacute", 324}, {"napos", 329}, {"nbsp", 160}, {"ncaron", 328}, {"ncedil", 326},
    {"ndash", 8211}, {"ne", 8800}, {"ni", 8715}, {"not", 172}, {"notin", 8713}, {"nsub", 8836}, {"ntilde", 241},
    {"nu", 957}, {"oacute", 243}, {"ocirc", 244}, {"odblac", 337}, {"oelig", 339}, {"ograve", 242}, {"oline", 8254},
    {"omacr", 333}, {"omega", 969}, {"omicron", 959}, {"oplus", 8853}, {"or", 8744}, {"ordf", 170}, {"ordm", 186},
    {"oslash", 248}, {"otilde", 245}, {"otimes", 8855}, {"ouml", 246}, {"para", 182}, {"part", 8706},
    {"permil", 8240}, {"perp", 8869}, {"phi", 966}, {"pi", 960}, {"piv", 982}, {"plusmn", 177}, {"pound", 163},
    {"prime", 8242}, {"prod", 8719}, {"prop", 8733}, {"psi", 968}, {"quot", 34}, {"rArr", 8658}, {"racute", 341},
    {"radic", 8730}, {"rang", 9002}, {"raquo", 187}, {"rarr", 8594}, {"rcaron", 345}, {"rcedil", 343},
    {"rceil", 8969}, {"rdquo", 8221}, {"real", 8476}, {"reg", 174}, {"rfloor", 8971}, {"rho", 961}, {"rlm", 8207},
    {"rsaquo", 8250}, {"rsquo", 8217}, {"sacute", 347}, {"sbquo", 8218}, {"scaron", 353}, {"scedil", 351},
    {"scirc", 349}, {"sdot", 8901}, {"sect", 167}, {"shy", 173}, {"sigma", 963}, {"sigmaf", 962}, {"sim", 8764},
    {"spades", 9824}, {"sub", 8834}, {"sube", 8838}, {"sum", 8721}, {"sup", 8835}, {"sup1", 185}, {"sup2", 178},
    {"sup3", 179}, {"supe", 8839}, {"szlig", 223}, {"tau", 964}, {"tcaron", 357}, {"tcedil", 355}, {"there4", 8756},
    {"theta", 952}, {"thetasym", 977}, {"thinsp", 8201}, {"thorn", 254}, {"tilde", 732}, {"times", 215},
    {"trade", 8482}, {"tstrok", 359}, {"uArr", 8657}, {"uacute", 250}, {"uarr", 8593}, {"ubreve", 365},
    {"ucirc", 251}, {"udblac", 369}, {"ugrave", 249}, {"umacr", 363}, {"uml", 168}, {"uogon", 371}, {"upsih", 978},
    {"upsilon", 965}, {"uring", 367}, {"utilde", 361}, {"uuml", 252}, {"wcirc", 373}, {"weierp", 8472}, {"xi", 958},
    {"yacute", 253}, {"ycirc", 375}, {"yen", 165}, {"yuml", 255}, {"zacute", 378}, {"zcaron", 382}, {"zdot", 380},
    {"zeta", 950}, {"zwj", 8205}, {"zwnj", 8204},
};

bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

int hexValue(QChar c)
{
    if (isAsciiDigit(c))
        return c.unicode() - '0';
    const char16_t lower = c.unicode() | 0x20;
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

std::optional<char32_t> lookUp(QStringView name)
{
    const auto before = [](const Named& n, QStringView key) { return QLatin1StringView(n.name) < key; };
    const auto* found = std::lower_bound(std::begin(kNamed), std::end(kNamed), name, before);
    if (found != std::end(kNamed) && QLatin1StringView(found->name) == name)
        return found->character;
    return std::nullopt;
}

}

std::optional<Reference> read(QStringView text)
{
    if (text.size() < 2 || text[0] != QLatin1Char('&'))
        return std::nullopt;
    qsizetype i = 1;
    std::optional<char32_t> character;
    if (text[1] == QLatin1Char('#')) {
        const bool hex = text.size() > 2 && (text[2] == QLatin1Char('x') || text[2] == QLatin1Char('X'));
        i = hex ? 3 : 2;
        const qsizetype digits = i;
        char32_t value = 0;
        for (; i < text.size(); ++i) {
            const int d = hex ? hexValue(text[i]) : (isAsciiDigit(text[i]) ? text[i].unicode() - '0' : -1);
            if (d < 0)
                break;
            // Past the last code point it only has to stay past it.
            value = std::min<char32_t>(value * (hex ? 16 : 10) + char32_t(d), 0x110000);
        }
        if (i == digits)
            return std::nullopt;
        const bool none = value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF);
        character = none ? char32_t(0xFFFD) : value;
    } else {
        if (!isAsciiLetter(text[1]))
            return std::nullopt;
        while (i < text.size() && (isAsciiLetter(text[i]) || isAsciiDigit(text[i])))
            ++i;
        character = lookUp(text.sliced(1, i - 1));
    }
    if (i < text.size() && text[i] == QLatin1Char(';'))
        ++i;
    return Reference{i, character};
}

}
