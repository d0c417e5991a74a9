#pragma once
#include "base/Result.h"

#include <QString>

class BrowserView;
class QWidget;

// The browser engine module (Qt WebEngine, that is Chromium) is large: it is
// loaded from AppPaths::pluginDir() the first time a page must be shown, so
// that an editing session without a preview never maps it.
namespace BrowserEngine {

// The module file looked for.
QString modulePath();

// A new view inside the parent; the module is loaded on the first call.
// Fails with a description for the error box.
Result<BrowserView*> createView(QWidget* parent);

// True once the module has been loaded in this process.
bool isLoaded();

// What the engine must find in the environment before it starts: Chromium
// refuses to run its sandbox for the root user, so only then is the sandbox
// switched off; background networking (component updates, pings) is never
// wanted for a local preview. Run by createView() before the module loads;
// values the user set are kept.
void prepareEnvironment();

}
