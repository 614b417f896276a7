#include "Global.h"

#include "platform/ModalSeam.h"
#include "platform/RuntimeError.h"

#include <QDir>
#include <QFile>

#include <array>
#include <exception>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace kivo {

namespace {

constexpr qsizetype maxNameLength = 255;
// The longest file name of a file system that names no limit of its own, in the units
// of fileNameLength.
constexpr qsizetype defaultMaxFileNameLength = 255;
// QSaveFile writes the new content beside the file, under the file's name followed by a
// dot and six characters of its own (QTemporaryFile's template), and then moves it over
// the file; on Linux a file first written unnamed gets that name too once one exists.
constexpr qsizetype safeSaveSuffixLength = 7;

// Device names of the platform. The two lists are compared exactly, so the lower-case
// list's "lpt4" without an upper-case twin is kept as users' files rely on it.
const std::array<QLatin1StringView, 23> reservedNames = {
    QLatin1StringView("CON"),  QLatin1StringView("AUX"),  QLatin1StringView("COM1"),
    QLatin1StringView("COM2"), QLatin1StringView("COM3"), QLatin1StringView("COM4"),
    QLatin1StringView("LPT1"), QLatin1StringView("LPT2"), QLatin1StringView("LPT3"),
    QLatin1StringView("PRN"),  QLatin1StringView("NUL"),  QLatin1StringView("con"),
    QLatin1StringView("aux"),  QLatin1StringView("com1"), QLatin1StringView("com2"),
    QLatin1StringView("com3"), QLatin1StringView("com4"), QLatin1StringView("lpt1"),
    QLatin1StringView("lpt2"), QLatin1StringView("lpt3"), QLatin1StringView("lpt4"),
    QLatin1StringView("prn"),  QLatin1StringView("nul"),
};

const QString forbiddenCharacters = QStringLiteral("\\/:\"*?<>|");

bool isAsciiAlphaNumeric(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
}

bool isReserved(const QString &name)
{
    for (const auto &reserved : reservedNames) {
        if (name == reserved)
            return true;
    }
    return false;
}

bool hasForbiddenCharacter(const QString &name)
{
    for (const QChar c : name) {
        // Control characters would break the TAB and CR LF layout of the data files.
        if (forbiddenCharacters.contains(c) || c.category() == QChar::Other_Control)
            return true;
    }
    return false;
}

bool checkName(const QString &name)
{
    if (name.isEmpty() || name.size() > maxNameLength)
        return false;
    if (isReserved(name))
        return false;
    // A list called Library would share the library's file and overwrite it.
    if (name.compare(libraryFileBaseName(), Qt::CaseInsensitive) == 0)
        return false;
    if (!isAlphaNumeric(name.left(1)))
        return false;
    if (hasForbiddenCharacter(name))
        return false;
    // A name whose list file cannot be created would be lost at the next start.
    return fitsFileName(name + dataFileExtension(), dataPath());
}

QString &dataPathStorage()
{
    static QString path;
    return path;
}

QString &appPathStorage()
{
    static QString path;
    return path;
}

} // namespace

QString trimBlanks(const QString &s)
{
    qsizetype first = 0;
    qsizetype last = s.size();
    while (first < last && s.at(first) == u' ')
        ++first;
    while (last > first && s.at(last - 1) == u' ')
        --last;
    return s.mid(first, last - first);
}

bool isValidName(QString &strName)
{
    try {
        strName = trimBlanks(strName);
        return checkName(strName);
    } catch (const std::exception &error) {
        msgBox(describe(error));
        return false;
    }
}

QString dataFileExtension()
{
    return QStringLiteral(".dat");
}

QString libraryFileBaseName()
{
    return QStringLiteral("Library");
}

qsizetype maxFileNameLength(const QString &folder)
{
#ifdef Q_OS_WIN
    Q_UNUSED(folder);
    return defaultMaxFileNameLength;
#else
    const QByteArray path = QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder);
    const long limit = ::pathconf(path.constData(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<qsizetype>(limit) : defaultMaxFileNameLength;
#endif
}

qsizetype fileNameLength(const QString &fileName)
{
#ifdef Q_OS_WIN
    return fileName.size();
#else
    return QFile::encodeName(fileName).size();
#endif
}

bool fitsFileName(const QString &fileName, const QString &folder)
{
    return fileNameLength(fileName) <= maxFileNameLength(folder);
}

bool fitsSavedFileName(const QString &fileName, const QString &folder)
{
    return fileNameLength(fileName) + safeSaveSuffixLength <= maxFileNameLength(folder);
}

qsizetype maxSavableNameLength()
{
    return maxFileNameLength(dataPath()) - safeSaveSuffixLength - fileNameLength(dataFileExtension());
}

bool isSavableName(const QString &strName)
{
    return fitsSavedFileName(strName + dataFileExtension(), dataPath());
}

bool isAlphaNumeric(const QString &str)
{
    if (str.isEmpty())
        return false;
    for (const QChar c : str) {
        if (!isAsciiAlphaNumeric(c))
            return false;
    }
    return true;
}

QChar pathSeparator()
{
    return QDir::separator();
}

bool isPathSeparator(QChar c)
{
    return c == pathSeparator() || c == u'/';
}

qsizetype lastSeparatorIndex(const QString &s)
{
    for (qsizetype i = s.size() - 1; i >= 0; --i) {
        if (isPathSeparator(s.at(i)))
            return i;
    }
    return -1;
}

QString getFileName(const QString &s)
{
    return s.mid(lastSeparatorIndex(s) + 1);
}

QString getBaseName(const QString &s)
{
    const qsizetype start = lastSeparatorIndex(s) + 1;
    const qsizetype dot = s.lastIndexOf(u'.');
    if (dot < start)
        throw RuntimeError(ErrorNumber::InvalidArgument);
    return getProposedName(s);
}

QString getProposedName(const QString &s)
{
    const qsizetype start = lastSeparatorIndex(s) + 1;
    const qsizetype dot = s.lastIndexOf(u'.');
    return dot < start ? s.mid(start) : s.mid(start, dot - start);
}

QString stripQuotes(const QString &s)
{
    if (s.isEmpty())
        throw RuntimeError(ErrorNumber::InvalidArgument);
    QString t = s.startsWith(u'"') ? s.mid(1) : s;
    if (t.isEmpty())
        throw RuntimeError(ErrorNumber::InvalidArgument);
    if (t.endsWith(u'"'))
        t.chop(1);
    return t;
}

QString stripTrailingSlash(const QString &s)
{
    if (s.isEmpty())
        throw RuntimeError(ErrorNumber::InvalidArgument);
    if (isPathSeparator(s.back()))
        return s.left(s.size() - 1);
    return s;
}

const QString &dataPath()
{
    return dataPathStorage();
}

void setDataPath(const QString &path)
{
    dataPathStorage() = path;
}

const QString &appPath()
{
    return appPathStorage();
}

void setAppPath(const QString &path)
{
    appPathStorage() = path;
}

} // namespace kivo
