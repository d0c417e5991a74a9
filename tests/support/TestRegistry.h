#pragma once
#include <QObject>
#include <functional>
#include <utility>
#include <vector>

// Several Qt Test classes per subsystem executable: each test file registers
// its class, and the shared main() runs them all.
namespace TestRegistry {

using Factory = std::function<QObject*()>;
int add(const char* name, Factory factory);
std::vector<std::pair<const char*, Factory>>& all();

}

#define QP_REGISTER_TEST(Class) \
    static const int qp_registered_##Class = TestRegistry::add(#Class, [] { return new Class; });
