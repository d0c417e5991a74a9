#include "base/Failure.h"

#include <cerrno>
#include <cstring>
#include <new>
#include <stdexcept>

QString describeFailure(std::exception_ptr failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        return QString::fromLocal8Bit(std::strerror(ENOMEM));
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
    }
    return QStringLiteral("Unknown failure");
}
