#include "help/ReleaseNotes.h"

namespace ReleaseNotes {

QList<Release> history()
{
    return {
        {QStringLiteral("1.6"),
         {QStringLiteral("Help > Interface: a guide to every menu, button and window"),
          QStringLiteral("LiveHTML keeps the preview's scroll position while you type"),
          QStringLiteral("Typing stays smooth with the live preview on, even in very large pages"),
          QStringLiteral("Database Connection Wizard writes PHP code for MySQL as well as ASP"),
          QStringLiteral("Revert Document added to the Edit menu (Ctrl+F12)")}},
        {QStringLiteral("1.5.1"),
         {QStringLiteral("Closing the preview window now clears the ViewHTML check mark"),
          QStringLiteral("Fixed Replace All stopping at the first match in long documents"),
          QStringLiteral("Ctrl+V now always pastes plain text, never formatting")}},
        {QStringLiteral("1.5"),
         {QStringLiteral("Web Page Templates: pick a ready-made page, preview it and insert it"),
          QStringLiteral("Custom Font converter writes either font tags or CSS style spans"),
          QStringLiteral("ANSI Converter for looking up character codes"),
          QStringLiteral("Toolbar buttons for the Web Page Wizard and the Database Connection Wizard")}},
        {QStringLiteral("1.4.2"),
         {QStringLiteral("Fixed the settings window not remembering font sizes with decimals"),
          QStringLiteral("The open and save dialogs start in the folder you used last")}},
        {QStringLiteral("1.4.1"),
         {QStringLiteral("Fixed a crash when printing an empty document"),
          QStringLiteral("Merge Documents accepts a blank second or third file")}},
        {QStringLiteral("1.4"),
         {QStringLiteral("Merge Documents joins up to three files at the caret"),
          QStringLiteral("Spell Checker with suggestions for single words and a whole-document check"),
          QStringLiteral("Print with a chosen number of copies"),
          QStringLiteral("File's properties window")}},
        {QStringLiteral("1.3.5"),
         {QStringLiteral("Always On Top option in the View menu"),
          QStringLiteral("Zoom In and Zoom Out in the View menu and the right-click menu"),
          QStringLiteral("Length of selected in the right-click menu")}},
        {QStringLiteral("1.3"),
         {QStringLiteral("LiveHTML: the preview follows every change of the document"),
          QStringLiteral("Find/Replace window with search direction and Replace All"),
          QStringLiteral("Lock text (Ctrl+L) protects the document from accidental typing")}},
        {QStringLiteral("1.2"),
         {QStringLiteral("Web Page Wizard builds a complete page skeleton with colours and meta data"),
          QStringLiteral("JavaScript and VBScript tags, output statements and comments"),
          QStringLiteral("Shortcut keys for every language: F1 to F4 with Ctrl or Shift")}},
        {QStringLiteral("1.1"),
         {QStringLiteral("ViewHTML shows the document as a web page"),
          QStringLiteral("ASP, PHP and .NET tags and comments in the Web Development menu"),
          QStringLiteral("Time and date insertion (F5)"),
          QStringLiteral("Upper case, lower case and reverse for the selected text")}},
        {QStringLiteral("1.0"),
         {QStringLiteral("First release: a plain text editor for hand-written web pages"),
          QStringLiteral("HTML tags, bold, italic and underline commands"),
          QStringLiteral("Choice of editor font in the Settings window")}},
    };
}

QString format(const QList<Release>& releases)
{
    const QString eol = QStringLiteral("\r\n");
    const QString separator = QString(90, QLatin1Char('-')) + eol;
    QString out;
    for (qsizetype i = 0; i < releases.size(); ++i) {
        if (i > 0)
            out += separator;
        out += QStringLiteral("Version ") + releases[i].version + eol;
        for (const QString& change : releases[i].changes)
            out += QStringLiteral("   \u00BB ") + change + eol;
    }
    return out;
}

QString text()
{
    return format(history());
}

}
