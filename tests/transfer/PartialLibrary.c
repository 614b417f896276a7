/* A library that exports one of the functions that the program binds, so that
   the binding of the others finds no entry point. */

#if defined(_WIN32)
#define PARTIAL_EXPORT __declspec(dllexport)
#define PARTIAL_CALL __stdcall
#else
#define PARTIAL_EXPORT __attribute__((visibility("default")))
#define PARTIAL_CALL
#endif

#include <stdint.h>

PARTIAL_EXPORT int32_t PARTIAL_CALL checkMidiPort(int32_t deviceId)
{
    return deviceId + 40;
}
