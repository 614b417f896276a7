/* A kivotools library whose port check records the device it was given and
   reports that the port does not open, so that nothing is sent. */

#if defined(_WIN32)
#define RECORDING_EXPORT __declspec(dllexport)
#define RECORDING_CALL __stdcall
#else
#define RECORDING_EXPORT __attribute__((visibility("default")))
#define RECORDING_CALL
#endif

#include <stdint.h>

static int32_t recorded = -12345;

RECORDING_EXPORT int32_t RECORDING_CALL checkMidiPort(int32_t deviceId)
{
    recorded = deviceId;
    return 1;
}

RECORDING_EXPORT int32_t recordedDevice(void)
{
    return recorded;
}
