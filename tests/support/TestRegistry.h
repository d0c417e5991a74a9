#pragma once
#include <QObject>
#include <QTest>
#include <functional>
#include <utility>
#include <vector>

// Several Qt Test classes per subsystem executable: each test file registers
// its class, and the shared main() runs them all.
namespace TestRegistry {

using Factory = std::function<QObject*()>;
int add(const char* name, Factory factory);
std::vector<std::pair<const char*, Factory>>& all();
// Runs every registered class (or the one named by QP_TEST); 0 when all passed.
int runAll(int argc, char** argv);

}

#define QP_REGISTER_TEST(Class) \
    static const int qp_registered_##Class = TestRegistry::add(#Class, [] { return new Class; });
