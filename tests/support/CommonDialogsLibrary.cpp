#include "CommonDialogsLibrary.h"

namespace kivo::test {

QString commonDialogsLibrary()
{
    return QStringLiteral(KIVO_COMMON_DIALOGS_LIBRARY);
}

} // namespace kivo::test
