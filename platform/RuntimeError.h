#pragma once

#include "kivoruntime_export.h"

#include <QString>

#include <stdexcept>

namespace kivo {

// The platform's error numbers that callers tell apart; they keep the values that
// the program's run-time library used, so descriptions and handlers match it.
enum class ErrorNumber {
    InvalidArgument = 5,
    BadFileNumber = 52,
    FileNotFound = 53,
    PathFileAccess = 75,
    PathNotFound = 76,
    EntryPointNotFound = 453,
    PrinterError = 482,
    CancelError = 32755,
    Other = 1,
};

// A run-time error with the description that a command shows the user.
class KIVORUNTIME_EXPORT RuntimeError : public std::runtime_error {
public:
    RuntimeError(ErrorNumber number, const QString &description);
    explicit RuntimeError(ErrorNumber number);

    ErrorNumber number() const noexcept { return m_number; }
    QString description() const;

    static QString standardDescription(ErrorNumber number);

private:
    ErrorNumber m_number;
};

// What the user is told of an error: a run-time error's description, or the message
// of any other error, which the system gives in its own 8-bit encoding.
KIVORUNTIME_EXPORT QString describe(const std::exception &error);

} // namespace kivo
