#pragma once

#include "WindowFixture.h"

#include <QString>

namespace kivo::test {

// What became of a second start of the program on the running window's data folder.
struct SecondStart {
    bool loaded = true;
    bool handedOver = false;
    bool arrived = false;
};

// Starts a second copy of the program on the same data folder, as a second click on a
// file does, and waits until the running window has taken what it handed over.
SecondStart startSecondCopy(frmKivo &running, const QString &commandLine);

// A main window to which later starts hand their command lines over.
class HandOverFixture : public WindowFixture {
protected:
    // The command line's file was offered to the library with the name prompt, or nothing
    // was offered when name is null.
    void verifyOffered(const DialogSeen &seen, const QString &name, const QString &path);
};

} // namespace kivo::test
