#pragma once
#include "editor/SyntaxLanguage.h"

#include <QObject>
#include <QString>
#include <memory>

class QsciLexer;
class RichTextBox;

// Colours the editor's text by the document's language: by its file name's
// extension, or, while untitled, as HTML when the text starts with "<". Only
// how the text looks changes: the text, positions, selection, searches,
// printing's text and saved bytes are the same with colouring as without.
//
// Colouring keeps a style byte per character beside the text; a document
// shown plain has none. Colouring is done for what is shown, when it is
// shown, never for the whole of a large document at once. A document too
// large to carry the style bytes, or with a line too long to colour quickly,
// is shown plain, and notice() says why.
class SyntaxColouring : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kMaxDocumentBytes = 32LL * 1024 * 1024;
    static constexpr qint64 kMaxLineBytes = 1024LL * 1024;

    explicit SyntaxColouring(RichTextBox& box, QObject* parent = nullptr);
    ~SyntaxColouring() override;

    // The user's option: off shows every document plain.
    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }
    // The document's file, "" while untitled.
    void setDocumentName(const QString& path);
    // The file at path is about to replace the whole text: the old text's
    // style bytes go first, so that a file too large to colour never has
    // room made for them, and the new text is judged by the file's name
    // until the document takes it. Colouring is decided again once the new
    // text is in, or the load failed.
    void prepareForLoad(const QString& path);

    // What the text is coloured as now: Plain when it is not coloured.
    SyntaxLanguage language() const { return m_applied; }
    // The language the document is written in, coloured or not (colouring
    // switched off, or a document too large to colour).
    SyntaxLanguage documentLanguage() const;
    // Why the document is shown plain though its language is coloured; ""
    // when it is not.
    QString notice() const { return m_notice; }

signals:
    void noticeChanged(const QString& notice);
    // What language() answers changed.
    void languageChanged(SyntaxLanguage language);

private:
    void onTextChanged();
    void update();
    SyntaxLanguage wantedLanguage() const;
    bool hasLineLongerThan(qint64 limit) const;
    void apply(SyntaxLanguage language);
    void applyColours();
    void setNotice(const QString& notice);

    RichTextBox& m_box;
    bool m_enabled = true;
    QString m_name;
    // The file being loaded, until the document is named after it.
    QString m_loadingName;
    SyntaxLanguage m_applied = SyntaxLanguage::Plain;
    QString m_notice;
    // What the last look at the text's line lengths found, and the length
    // the text had then.
    bool m_longLine = false;
    qint64 m_scannedLength = 0;
    bool m_scanPending = false;
    std::unique_ptr<QsciLexer> m_html;
    std::unique_ptr<QsciLexer> m_css;
    std::unique_ptr<QsciLexer> m_javaScript;
    std::unique_ptr<QsciLexer> m_xml;
};
