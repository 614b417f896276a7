// A common dialogs' library of a later interface version than the program's: its
// entry point hands out no dialogs for the version the program asks for.

#include "platform/CommonDialogs.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT kivo::CommonDialogs *kivoCommonDialogs(std::int32_t version)
{
    Q_UNUSED(version);
    return nullptr;
}
