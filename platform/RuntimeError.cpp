#include "RuntimeError.h"

namespace kivo {

RuntimeError::RuntimeError(ErrorNumber number, const QString &description)
    : std::runtime_error(description.toStdString())
    , m_number(number)
{
}

RuntimeError::RuntimeError(ErrorNumber number)
    : RuntimeError(number, standardDescription(number))
{
}

QString RuntimeError::description() const
{
    return QString::fromUtf8(what());
}

QString describe(const std::exception &error)
{
    if (const auto *runtimeError = dynamic_cast<const RuntimeError *>(&error))
        return runtimeError->description();
    return QString::fromLocal8Bit(error.what());
}

QString RuntimeError::standardDescription(ErrorNumber number)
{
    switch (number) {
    case ErrorNumber::InvalidArgument:
        return QStringLiteral("Invalid procedure call or argument");
    case ErrorNumber::BadFileNumber:
        return QStringLiteral("Bad file name or number");
    case ErrorNumber::FileNotFound:
        return QStringLiteral("File not found");
    case ErrorNumber::PathFileAccess:
        return QStringLiteral("Path/File access error");
    case ErrorNumber::PathNotFound:
        return QStringLiteral("Path not found");
    case ErrorNumber::EntryPointNotFound:
        return QStringLiteral("Can't find DLL entry point");
    case ErrorNumber::PrinterError:
        return QStringLiteral("Printer error");
    case ErrorNumber::CancelError:
        return QStringLiteral("Cancel was selected.");
    case ErrorNumber::Other:
        break;
    }
    return QStringLiteral("Application-defined or object-defined error");
}

} // namespace kivo
