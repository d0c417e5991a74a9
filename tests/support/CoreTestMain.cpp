#include "TestRegistry.h"

#include <QCoreApplication>

// The test programs of plain-code libraries: no window system, no sandbox
// of settings (such code reads none).
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return TestRegistry::runAll(argc, argv);
}
