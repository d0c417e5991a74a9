#pragma once
#include <QString>
#include <exception>

// The description of a failure that arrived as an exception, worded for the
// shared error box: running out of memory in the system's words, anything
// else as the exception itself says.
QString describeFailure(std::exception_ptr failure);
