#pragma once

class QComboBox;

namespace kivo {

// The load list and the MIDI output device selected in the main window's two combo
// boxes, remembered in the per-user settings from one run to the next: the rows
// "Loadlist" and "Device", the number of devices "Device Count", and the name of the
// selected device "Device Name", by which it is found again wherever the MIDI system
// lists it now.
class RememberedSelections final {
public:
    RememberedSelections(QComboBox &cboActiveList, QComboBox &cboDevice);

    // Selects the remembered rows, once the boxes are filled; an empty box is left so.
    // Selecting a load list runs the box's click handling, which makes it the active one.
    void restoreSelections();
    // Remembers the rows selected now.
    void rememberSelections() const;

private:
    void restoreLoadList();
    void restoreDevice();

    QComboBox &m_lists;
    QComboBox &m_devices;
};

} // namespace kivo
