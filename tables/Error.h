#pragma once
#include <QString>
#include <stdexcept>

namespace tables {

// Every failure of the table layer is one of these. The message is written
// for the operator (Japanese, short, saying what to do where there is
// something to do); windows show it as it stands.
class Error : public std::runtime_error {
public:
    explicit Error(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

// Text that a field (or the currency type) cannot take: not a number, out of
// range, too long for its field, or a character Shift_JIS cannot hold.
class ConversionError : public Error {
public:
    using Error::Error;
};

// Checked arithmetic left the currency range.
class OverflowError : public Error {
public:
    using Error::Error;
};

// The database could not do what was asked: missing folder, table or field,
// busy past the timeout, read-only, full, not a database.
class DatabaseError : public Error {
public:
    using Error::Error;
};

} // namespace tables
