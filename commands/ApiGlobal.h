#pragma once

#include <QString>
#include <QStringView>
#include <QVariant>

// The settings store of the program: named values below the settings key
// "Tulvex/Kivo Rudovaz/1.0", per user and machine-wide. Every answer is text that
// callers compare with the markers below; nothing here shows a message.
namespace kivo {

// The two roots that callers name. The per-user key is created and written by the
// program; the machine-wide one is written by the installation and only read here.
enum class RootKey : quint32 { HKEY_CURRENT_USER = 0x80000001, HKEY_LOCAL_MACHINE = 0x80000002 };

inline constexpr QStringView MarkerNone = u"NONE";
inline constexpr QStringView MarkerSuccess = u"SUCCESS";
inline constexpr QStringView MarkerFailure = u"FAILURE";

// Creates the settings key below hKey when it is missing. A failure shows in the
// answer of a later setRegistryValue.
void createRegistryKey(RootKey hKey);

// Stores value as text. Answers MarkerFailure when the key does not exist (it is
// never created here), cannot be read whole, or the store refuses the write, else
// MarkerSuccess.
QString setRegistryValue(RootKey hKey, const QString &valueName, const QString &value);
// Numbers are stored as decimal text, "-1" for -1.
QString setRegistryValue(RootKey hKey, const QString &valueName, qint64 value);

// The value as text, numbers in decimal digits. A missing key or value, an empty
// text, the number 0 and a value of any other kind answer MarkerNone.
QString getRegistryValue(RootKey hKey, const QString &valueName);

// A value of any key of the store, the key named by its path below the root as on
// Windows ("SOFTWARE\Microsoft\Shared Tools\MSINFO"): text, a number, or what else was
// stored; an invalid QVariant when the key or the value is missing.
QVariant queryRegistryValue(RootKey hKey, const QString &keyName, const QString &valueName);
// True for a value that the store holds as a 32-bit number (a DWORD on Windows).
bool isStoredNumber(const QVariant &value);

// What the settings key below hKey holds. A key that a first start created but could
// not fill (a full disk) holds nothing; one whose store cannot be read or parsed is
// told apart, so that the user can be shown where it is.
enum class KeyState { Missing, Empty, HoldsValues, Unreadable };
KeyState registryKeyState(RootKey hKey);
// Where the settings key below hKey is kept: its settings file (its registry path on
// Windows), in the platform's form.
QString registryKeyLocation(RootKey hKey);

// The user's documents folder without a trailing separator, empty text when it
// cannot be located.
QString getPersonalFolder();

} // namespace kivo
