#pragma once
#include <QString>

#include <optional>
#include <utility>

// What an operation that can fail gives back: its value, or the description
// of the failure, worded for the user (the shared error box shows it as it
// stands). The caller decides whether and how to show it; code that does the
// work never shows a box itself.
//
//     Result<QByteArray> readIt();
//     if (auto bytes = readIt()) use(*bytes); else report(bytes.error());
//     return Failure(tr("..."));                  // a failure of any Result
//     return Result<>();                          // success without a value
struct Failure {
    explicit Failure(QString description) : text(std::move(description)) {}
    QString text;
};

template <typename T = void>
class [[nodiscard]] Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(Failure failure) : m_error(std::move(failure.text)) {}

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    // "" on success.
    const QString& error() const { return m_error; }

    T& value() & { return *m_value; }
    const T& value() const& { return *m_value; }
    T&& value() && { return std::move(*m_value); }
    T& operator*() & { return *m_value; }
    const T& operator*() const& { return *m_value; }
    T* operator->() { return &*m_value; }
    const T* operator->() const { return &*m_value; }
    T valueOr(T fallback) const& { return m_value ? *m_value : std::move(fallback); }
    T valueOr(T fallback) && { return m_value ? std::move(*m_value) : std::move(fallback); }

private:
    std::optional<T> m_value;
    QString m_error;
};

template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure) : m_ok(false), m_error(std::move(failure.text)) {}

    bool ok() const { return m_ok; }
    explicit operator bool() const { return m_ok; }
    const QString& error() const { return m_error; }

private:
    bool m_ok = true;
    QString m_error;
};
