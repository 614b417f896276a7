#pragma once

#include <QString>

namespace kivo::test {

// The common dialogs' library as this build made it, for the controls of the tests
// and the System folders they set up.
QString commonDialogsLibrary();

} // namespace kivo::test
