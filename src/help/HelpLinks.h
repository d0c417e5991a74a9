#pragma once
#include <QString>

// The maker's addresses, in one place: the About window's buttons, the Help
// menu's web site items and the templates window open these through Shell.
namespace HelpLinks {

QString creator();          // the author's name, as the About window shows it
QString homePage();         // the maker's home page
QString emailAddress();     // the maker's contact address, as shown
QString mailLink();         // "mailto:" + emailAddress()
QString supportPage();      // <home>/support.aspx
QString productPage();      // <home>/projects.aspx?ProjectID=2
QString templatesPage();    // where more page templates can be found

}
