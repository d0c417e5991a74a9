#include "TestRegistry.h"

namespace TestRegistry {

std::vector<std::pair<const char*, Factory>>& all()
{
    static std::vector<std::pair<const char*, Factory>> tests;
    return tests;
}

int add(const char* name, Factory factory)
{
    all().emplace_back(name, std::move(factory));
    return int(all().size());
}

int runAll(int argc, char** argv)
{
    // QP_TEST=ClassName runs one class; the usual Qt Test arguments apply to it.
    const QByteArray only = qgetenv("QP_TEST");
    int failed = 0;
    for (auto& [name, factory] : all()) {
        if (!only.isEmpty() && only != name)
            continue;
        QObject* test = factory();
        failed += QTest::qExec(test, argc, argv) != 0;
        delete test;
    }
    return failed ? 1 : 0;
}

}
