// Quirkpad: a lexer of the editor's own, not part of Scintilla.
/** @file LexHTMLStyleSheets.cpp
 ** HTML, with the style sheets inside pages coloured as CSS.
 **
 ** Scintilla's HTML lexer leaves the text of a <style> element plain. This
 ** lexer runs the HTML lexer, then the CSS lexer over each style sheet of the
 ** range the HTML lexer styled. The CSS lexer works through a view of the
 ** document that shifts its styles up by StyleSheetBase, above every style
 ** the HTML lexer uses, and shows it nothing but its own styles; the HTML
 ** lexer sees the text of a sheet as the plain text it takes it for. PHP and
 ** ASP inside a sheet keep the HTML lexer's styles.
 **
 ** Whether a line starts inside a style sheet is kept in a bit of the line
 ** state the HTML lexer keeps per line, so lexing can start again at any line.
 **/
// The License.txt file describes the conditions under which this software may be distributed.

#include <cstdlib>
#include <cstring>
#include <cassert>
#include <cctype>

#include <algorithm>
#include <string>
#include <vector>

#include "ILexer.h"
#include "Scintilla.h"
#include "SciLexer.h"

#include "WordList.h"
#include "LexAccessor.h"
#include "Accessor.h"
#include "LexerModule.h"

using namespace Scintilla;

extern LexerModule lmHTML;
extern LexerModule lmCss;

namespace {

// A style sheet's text has the CSS lexer's style plus this; the HTML lexer
// uses styles below it (its sub-styles, which would start here, are never
// allocated).
constexpr int StyleSheetBase = 128;
// The HTML lexer keeps its per-line state in the low 20 bits.
constexpr int LineEndsInStyleSheet = 1 << 24;
// The HTML lexer's keyword sets come first, then the CSS lexer's.
constexpr int HtmlWordLists = 6;
constexpr int CssWordLists = 3;

int StyleNumber(char style) noexcept {
	return static_cast<unsigned char>(style);
}

bool IsStyleSheetStyle(int style) noexcept {
	return style >= StyleSheetBase;
}

// Code that runs on the server: it keeps its own colours inside a sheet.
bool IsServerStyle(int style) noexcept {
	return style == SCE_H_QUESTION || style == SCE_H_ASP || style == SCE_H_ASPAT ||
		style == SCE_H_XMLSTART || style == SCE_H_XMLEND ||
		(style >= SCE_HJA_START && style <= SCE_HJA_REGEX) ||
		(style >= SCE_HBA_START && style <= SCE_HBA_STRINGEOL) ||
		(style >= SCE_HPHP_COMPLEX_VARIABLE && style <= SCE_HPHP_OPERATOR);
}

bool IsTagNameChar(int ch) noexcept {
	return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
		ch == '-' || ch == '_' || ch == ':' || ch == '.';
}

// The document as it is, for the views below to change one part of.
class DocumentView : public IDocumentWithLineEnd {
protected:
	IDocument *doc;
	IDocumentWithLineEnd *docWithLineEnd;
public:
	explicit DocumentView(IDocument *doc_) : doc(doc_),
		docWithLineEnd(doc_->Version() >= dvLineEnd ? static_cast<IDocumentWithLineEnd *>(doc_) : nullptr) {
	}
	virtual ~DocumentView() = default;
	int SCI_METHOD Version() const override { return doc->Version(); }
	void SCI_METHOD SetErrorStatus(int status) override { doc->SetErrorStatus(status); }
	Sci_Position SCI_METHOD Length() const override { return doc->Length(); }
	void SCI_METHOD GetCharRange(char *buffer, Sci_Position position, Sci_Position lengthRetrieve) const override {
		doc->GetCharRange(buffer, position, lengthRetrieve);
	}
	char SCI_METHOD StyleAt(Sci_Position position) const override { return doc->StyleAt(position); }
	Sci_Position SCI_METHOD LineFromPosition(Sci_Position position) const override {
		return doc->LineFromPosition(position);
	}
	Sci_Position SCI_METHOD LineStart(Sci_Position line) const override { return doc->LineStart(line); }
	int SCI_METHOD GetLevel(Sci_Position line) const override { return doc->GetLevel(line); }
	int SCI_METHOD SetLevel(Sci_Position line, int level) override { return doc->SetLevel(line, level); }
	int SCI_METHOD GetLineState(Sci_Position line) const override { return doc->GetLineState(line); }
	int SCI_METHOD SetLineState(Sci_Position line, int state) override { return doc->SetLineState(line, state); }
	void SCI_METHOD StartStyling(Sci_Position position, char mask) override { doc->StartStyling(position, mask); }
	bool SCI_METHOD SetStyleFor(Sci_Position length, char style) override { return doc->SetStyleFor(length, style); }
	bool SCI_METHOD SetStyles(Sci_Position length, const char *styles) override { return doc->SetStyles(length, styles); }
	void SCI_METHOD DecorationSetCurrentIndicator(int indicator) override { doc->DecorationSetCurrentIndicator(indicator); }
	void SCI_METHOD DecorationFillRange(Sci_Position position, int value, Sci_Position fillLength) override {
		doc->DecorationFillRange(position, value, fillLength);
	}
	void SCI_METHOD ChangeLexerState(Sci_Position start, Sci_Position end) override { doc->ChangeLexerState(start, end); }
	int SCI_METHOD CodePage() const override { return doc->CodePage(); }
	bool SCI_METHOD IsDBCSLeadByte(char ch) const override { return doc->IsDBCSLeadByte(ch); }
	const char * SCI_METHOD BufferPointer() override { return doc->BufferPointer(); }
	int SCI_METHOD GetLineIndentation(Sci_Position line) override { return doc->GetLineIndentation(line); }
	Sci_Position SCI_METHOD LineEnd(Sci_Position line) const override { return docWithLineEnd->LineEnd(line); }
	Sci_Position SCI_METHOD GetRelativePosition(Sci_Position positionStart, Sci_Position characterOffset) const override {
		return docWithLineEnd->GetRelativePosition(positionStart, characterOffset);
	}
	int SCI_METHOD GetCharacterAndWidth(Sci_Position position, Sci_Position *pWidth) const override {
		return docWithLineEnd->GetCharacterAndWidth(position, pWidth);
	}
};

// What the HTML lexer sees: a style sheet's text in the plain text style it
// gave it before the sheet was coloured. Notes where it starts styling (it
// may go back before the position it was asked to start at).
class HtmlView : public DocumentView {
	Sci_Position firstStyled;
public:
	HtmlView(IDocument *doc_, Sci_Position startPos) : DocumentView(doc_), firstStyled(startPos) {
	}
	Sci_Position FirstStyled() const noexcept { return firstStyled; }
	char SCI_METHOD StyleAt(Sci_Position position) const override {
		const char style = doc->StyleAt(position);
		return IsStyleSheetStyle(StyleNumber(style)) ? static_cast<char>(SCE_H_DEFAULT) : style;
	}
	void SCI_METHOD StartStyling(Sci_Position position, char mask) override {
		firstStyled = std::min(firstStyled, position);
		doc->StartStyling(position, mask);
	}
};

// What the CSS lexer sees: its own styles where it styled, and plain CSS
// everywhere else; what it writes goes up by StyleSheetBase. Line states and
// fold levels stay the HTML lexer's.
class CssView : public DocumentView {
	std::vector<char> shifted;
public:
	explicit CssView(IDocument *doc_) : DocumentView(doc_) {
	}
	char SCI_METHOD StyleAt(Sci_Position position) const override {
		const int style = StyleNumber(doc->StyleAt(position));
		return static_cast<char>(IsStyleSheetStyle(style) ? style - StyleSheetBase : SCE_CSS_DEFAULT);
	}
	bool SCI_METHOD SetStyleFor(Sci_Position length, char style) override {
		return doc->SetStyleFor(length, static_cast<char>(StyleNumber(style) + StyleSheetBase));
	}
	bool SCI_METHOD SetStyles(Sci_Position length, const char *styles) override {
		shifted.resize(length);
		for (Sci_Position i = 0; i < length; i++)
			shifted[i] = static_cast<char>(StyleNumber(styles[i]) + StyleSheetBase);
		return doc->SetStyles(length, shifted.data());
	}
	int SCI_METHOD SetLineState(Sci_Position line, int) override { return doc->GetLineState(line); }
	int SCI_METHOD SetLevel(Sci_Position line, int) override { return doc->GetLevel(line); }
};

class LexerHTMLStyleSheets : public ILexer {
	ILexer *html;
	ILexer *css;
	std::string wordListSets;

	// Whether the text at i, styled by the HTML lexer as the start of a tag,
	// begins "<style" followed by the end of the name.
	static bool IsStyleTagAt(LexAccessor &text, IDocument *doc, Sci_Position i, bool closing) {
		const int style = StyleNumber(doc->StyleAt(i));
		if (!closing && style != SCE_H_TAG && style != SCE_H_TAGUNKNOWN)
			return false;
		const char *name = closing ? "</style" : "<style";
		const Sci_Position length = static_cast<Sci_Position>(strlen(name));
		for (Sci_Position k = 0; k < length; k++) {
			const char ch = text.SafeGetCharAt(i + k);
			if (static_cast<char>(tolower(static_cast<unsigned char>(ch))) != name[k])
				return false;
		}
		return !IsTagNameChar(static_cast<unsigned char>(text.SafeGetCharAt(i + length)));
	}

	// The position just after the next opening style tag in [pos, end), or
	// end when no such tag ends before end.
	static Sci_Position SheetStartFrom(LexAccessor &text, IDocument *doc, Sci_Position pos, Sci_Position end) {
		Sci_Position i = pos;
		while (i < end) {
			// Most "<" start some other tag: the next letter tells.
			if (text[i] != '<' || (text.SafeGetCharAt(i + 1) | 0x20) != 's' || !IsStyleTagAt(text, doc, i, false)) {
				i++;
				continue;
			}
			Sci_Position j = i + 6;
			for (; j < end; j++) {
				const int style = StyleNumber(doc->StyleAt(j));
				const bool tagStyle = style == SCE_H_TAG || style == SCE_H_TAGUNKNOWN;
				if (text[j] == '>' && (tagStyle || style == SCE_H_TAGEND))
					return j + 1;
				if (text[j] == '<' && tagStyle)
					break;	// another tag began: that one never closed
			}
			if (j >= end)
				return end;	// the tag goes on past what was styled
			i = j;
		}
		return end;
	}

	// Where the style sheet that goes on at pos ends (the "<" of its closing
	// tag, as a browser finds it), or end when it goes on past end.
	static Sci_Position SheetEndFrom(LexAccessor &text, IDocument *doc, Sci_Position pos, Sci_Position end) {
		for (Sci_Position i = pos; i < end; i++) {
			if (text[i] == '<' && text.SafeGetCharAt(i + 1) == '/' && IsStyleTagAt(text, doc, i, true))
				return i;
		}
		return end;
	}

	// The CSS state in effect just before pos: that of the last coloured
	// character, looking back over server code (a little way only).
	static int CssStateBefore(IDocument *doc, Sci_Position pos) {
		const Sci_Position limit = std::max<Sci_Position>(0, pos - 4096);
		for (Sci_Position i = pos - 1; i >= limit; i--) {
			const int style = StyleNumber(doc->StyleAt(i));
			if (IsStyleSheetStyle(style))
				return style - StyleSheetBase;
			if (!IsServerStyle(style))
				break;
		}
		return SCE_CSS_DEFAULT;
	}

	// Colours [start, end) of one style sheet as CSS, leaving server code as
	// the HTML lexer styled it.
	void LexSheet(IDocument *doc, CssView &cssView, Sci_Position start, Sci_Position end) {
		Sci_Position pos = start;
		while (pos < end) {
			Sci_Position runEnd = pos;
			while (runEnd < end && !IsServerStyle(StyleNumber(doc->StyleAt(runEnd))))
				runEnd++;
			if (runEnd > pos)
				css->Lex(pos, runEnd - pos, CssStateBefore(doc, pos), &cssView);
			pos = runEnd;
			while (pos < end && IsServerStyle(StyleNumber(doc->StyleAt(pos))))
				pos++;
		}
	}

	// Whether the line holding pos starts inside a style sheet.
	static bool LineStartsInSheet(IDocument *doc, Sci_Position line) {
		return line > 0 && (doc->GetLineState(line - 1) & LineEndsInStyleSheet) != 0;
	}

	// Notes in the line state of each line whose line end lies in the sheet
	// (styled before end) that the next line starts inside it.
	static void MarkLines(IDocument *doc, Sci_Position sheetStart, Sci_Position sheetEnd, Sci_Position end) {
		const Sci_Position last = std::min(sheetEnd, end);
		if (last <= sheetStart)
			return;
		const Sci_Position lastLine = doc->LineFromPosition(last - 1);
		for (Sci_Position line = doc->LineFromPosition(sheetStart); line <= lastLine; line++) {
			const Sci_Position lineEnd = doc->LineStart(line + 1) - 1;
			if (lineEnd >= last)
				break;
			doc->SetLineState(line, doc->GetLineState(line) | LineEndsInStyleSheet);
		}
	}

	void ColourStyleSheets(IDocument *doc, Sci_Position from, Sci_Position end) {
		LexAccessor text(doc);
		CssView cssView(doc);
		const Sci_Position fromLine = doc->LineFromPosition(from);
		bool inSheet = (doc->LineStart(fromLine) == from) ? LineStartsInSheet(doc, fromLine) :
			(from > 0 && IsStyleSheetStyle(StyleNumber(doc->StyleAt(from - 1))));
		Sci_Position pos = from;
		bool lexed = false;
		while (pos < end) {
			if (!inSheet) {
				pos = SheetStartFrom(text, doc, pos, end);
				if (pos >= end)
					break;
			}
			const Sci_Position sheetEnd = SheetEndFrom(text, doc, pos, end);
			LexSheet(doc, cssView, pos, sheetEnd);
			MarkLines(doc, pos, sheetEnd, end);
			lexed = lexed || sheetEnd > pos;
			pos = sheetEnd;
			inSheet = false;
		}
		if (lexed) {
			// Colouring the sheets moved the end of styling back; the HTML
			// lexer had styled up to end.
			doc->StartStyling(end, static_cast<char>(0xff));
		}
	}

public:
	LexerHTMLStyleSheets() : html(lmHTML.Create()), css(lmCss.Create()) {
		wordListSets = html->DescribeWordListSets();
		const char *cssSets = css->DescribeWordListSets();
		for (int n = 0; n < CssWordLists && cssSets && *cssSets; n++) {
			const char *lineEnd = strchr(cssSets, '\n');
			const size_t length = lineEnd ? static_cast<size_t>(lineEnd - cssSets) : strlen(cssSets);
			wordListSets += "\nCSS: ";
			wordListSets.append(cssSets, length);
			cssSets = lineEnd ? lineEnd + 1 : nullptr;
		}
	}
	virtual ~LexerHTMLStyleSheets() {
		html->Release();
		css->Release();
	}
	LexerHTMLStyleSheets(const LexerHTMLStyleSheets &) = delete;
	LexerHTMLStyleSheets &operator=(const LexerHTMLStyleSheets &) = delete;

	static ILexer *Factory() {
		return new LexerHTMLStyleSheets();
	}

	int SCI_METHOD Version() const override {
		return lvOriginal;
	}
	void SCI_METHOD Release() override {
		delete this;
	}
	const char * SCI_METHOD PropertyNames() override {
		return html->PropertyNames();
	}
	int SCI_METHOD PropertyType(const char *name) override {
		return html->PropertyType(name);
	}
	const char * SCI_METHOD DescribeProperty(const char *name) override {
		return html->DescribeProperty(name);
	}
	Sci_Position SCI_METHOD PropertySet(const char *key, const char *val) override {
		const Sci_Position h = html->PropertySet(key, val);
		const Sci_Position c = css->PropertySet(key, val);
		if (h < 0)
			return c;
		return c < 0 ? h : std::min(h, c);
	}
	const char * SCI_METHOD DescribeWordListSets() override {
		return wordListSets.c_str();
	}
	Sci_Position SCI_METHOD WordListSet(int n, const char *wl) override {
		if (n < HtmlWordLists)
			return html->WordListSet(n, wl);
		if (n < HtmlWordLists + CssWordLists)
			return css->WordListSet(n - HtmlWordLists, wl);
		return -1;
	}
	void SCI_METHOD Lex(Sci_PositionU startPos, Sci_Position lengthDoc, int initStyle, IDocument *pAccess) override {
		HtmlView htmlView(pAccess, static_cast<Sci_Position>(startPos));
		const int htmlInitStyle = IsStyleSheetStyle(initStyle & 0xff) ? SCE_H_DEFAULT : initStyle;
		html->Lex(startPos, lengthDoc, htmlInitStyle, &htmlView);
		ColourStyleSheets(pAccess, htmlView.FirstStyled(), static_cast<Sci_Position>(startPos) + lengthDoc);
	}
	void SCI_METHOD Fold(Sci_PositionU, Sci_Position, int, IDocument *) override {
		// The HTML lexer folds while it lexes, when folding is asked for.
	}
	void * SCI_METHOD PrivateCall(int, void *) override {
		return nullptr;
	}
};

const char *const wordListDescriptions[] = {
	"HTML elements and attributes",
	"JavaScript keywords",
	"VBScript keywords",
	"Python keywords",
	"PHP keywords",
	"SGML and DTD keywords",
	"CSS1 Properties",
	"Pseudo-classes",
	"CSS2 Properties",
	nullptr,
};

}

LexerModule lmHTMLStyleSheets(SCLEX_AUTOMATIC, LexerHTMLStyleSheets::Factory, "hypertext.stylesheets",
	wordListDescriptions);
