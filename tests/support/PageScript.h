#pragma once
#include "preview/BrowserView.h"

#include <QTest>
#include <QVariant>

#include <memory>
#include <utility>

// The result of a script in the page a browser view shows (invalid when no
// answer came within ten seconds, which is said on the test's output).
inline QVariant evaluate(BrowserView* view, const QString& script)
{
    auto result = std::make_shared<std::pair<bool, QVariant>>(false, QVariant());
    view->runScript(script, [result](const QVariant& v) { *result = {true, v}; });
    if (!QTest::qWaitFor([&] { return result->first; }, 10000))
        qWarning("no answer from the page to: %s", qPrintable(script));
    return result->second;
}
