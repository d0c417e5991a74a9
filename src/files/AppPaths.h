#pragma once
#include "base/Result.h"

#include <QString>

// Where the program finds the files shipped with it, and its private
// temporary folder.
namespace AppPaths {

// The folder holding Interface.html, Files/ and Examples/: beside the
// executable in a build tree, <prefix>/share/quirkpad when installed.
QString dataDir();
void setDataDir(const QString& dir);   // tests

// The folder from which the browser engine module is loaded.
QString pluginDir();
void setPluginDir(const QString& dir);   // tests

// A private (0700) folder of this running instance inside the user's
// temporary location, made on first use. Two running editors never share it.
// Fails when the folder cannot be made.
Result<QString> tempDir();

// Empties and removes the temporary folder (at orderly exit). Nothing
// outside it is touched. The next tempDir() makes a fresh one.
void deleteTempFolder();

}
