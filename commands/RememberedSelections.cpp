#include "RememberedSelections.h"

#include "commands/ApiGlobal.h"
#include "model/NumberParsing.h"
#include "platform/MidiDevices.h"

#include <QComboBox>

#include <optional>

namespace kivo {

namespace {

QString remembered(const QString &valueName)
{
    return getRegistryValue(RootKey::HKEY_CURRENT_USER, valueName);
}

void remember(const QString &valueName, const QString &value)
{
    setRegistryValue(RootKey::HKEY_CURRENT_USER, valueName, value);
}

void remember(const QString &valueName, int value)
{
    setRegistryValue(RootKey::HKEY_CURRENT_USER, valueName, value);
}

// The row that a remembered value selects: its own when it names a row of the box;
// row 0 for "NONE", -1, the number of rows and every other value that names none.
int rememberedRow(const QString &value, int rows)
{
    if (value == MarkerNone)
        return 0;
    const std::optional<int> row = roundToInteger<int>(numericValue(value));
    return row && *row >= 0 && *row < rows ? *row : 0;
}

// Selects the first row that reads as row `row` does, as setting the box's text does.
void selectRow(QComboBox &box, int row)
{
    box.setCurrentIndex(box.findText(box.itemText(row), Qt::MatchFixedString));
}

// The row of the remembered unit: the row that bears its name, the remembered row
// first among namesakes; failing that a row of the same device at another address of
// the MIDI system. -1 when the unit is gone, so that no other unit takes its place.
int rowOfDevice(const QComboBox &box, const QString &name, int rememberedRow)
{
    int best = -1;
    int bestRank = 0;
    for (int row = 0; row < box.count(); ++row) {
        const QString text = box.itemText(row);
        int rank = text == name ? 4 : sameOutputDevice(text, name) ? 2 : 0;
        if (rank == 0)
            continue;
        if (row == rememberedRow)
            ++rank;
        if (rank > bestRank) {
            best = row;
            bestRank = rank;
        }
    }
    return best;
}

} // namespace

RememberedSelections::RememberedSelections(QComboBox &cboActiveList, QComboBox &cboDevice)
    : m_lists(cboActiveList)
    , m_devices(cboDevice)
{
}

void RememberedSelections::restoreSelections()
{
    restoreLoadList();
    restoreDevice();
}

void RememberedSelections::restoreLoadList()
{
    if (m_lists.count() > 0)
        selectRow(m_lists, rememberedRow(remembered(QStringLiteral("Loadlist")), m_lists.count()));
}

void RememberedSelections::restoreDevice()
{
    const int devices = m_devices.count();
    if (devices == 0)
        return;
    const QString name = remembered(QStringLiteral("Device Name"));
    if (name != MarkerNone) {
        const int row = rememberedRow(remembered(QStringLiteral("Device")), devices);
        m_devices.setCurrentIndex(rowOfDevice(m_devices, name, row));
        return;
    }
    // Settings of a run that kept no name: the row alone tells.
    const QString count = remembered(QStringLiteral("Device Count"));
    // Another set of devices than at the last run: the remembered row means nothing.
    if (count != MarkerNone && numericValue(count) != static_cast<double>(devices)) {
        selectRow(m_devices, 0);
        return;
    }
    selectRow(m_devices, rememberedRow(remembered(QStringLiteral("Device")), devices));
}

void RememberedSelections::rememberSelections() const
{
    remember(QStringLiteral("Loadlist"), m_lists.currentIndex());
    remember(QStringLiteral("Device"), m_devices.currentIndex());
    remember(QStringLiteral("Device Count"), m_devices.count());
    // With no row selected the remembered unit is away: its name is kept, so that it
    // is selected again when it is back.
    if (m_devices.currentIndex() >= 0)
        remember(QStringLiteral("Device Name"), m_devices.currentText());
}

} // namespace kivo
