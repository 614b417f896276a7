/* A kivotools library that sends nothing: its port check records the device it
   was given and reports that the port does not open, unless a test lets it open;
   then each writeMidi call is recorded and succeeds, but for the locations that a
   test marks as failing. */

#if defined(_WIN32)
#define RECORDING_EXPORT __declspec(dllexport)
#define RECORDING_CALL __stdcall
#else
#define RECORDING_EXPORT __attribute__((visibility("default")))
#define RECORDING_CALL
#endif

#include <stdint.h>

enum { locations = 12 };

static int32_t recorded = -12345;
static int32_t portResult = 1;
static uint32_t failing = 0;
static int32_t written[locations];
static int32_t writes = 0;

RECORDING_EXPORT int32_t RECORDING_CALL checkMidiPort(int32_t deviceId)
{
    recorded = deviceId;
    return portResult;
}

RECORDING_EXPORT int32_t RECORDING_CALL writeMidi(const char *path, int32_t location, int32_t deviceId)
{
    (void)path;
    recorded = deviceId;
    if (writes < locations)
        written[writes++] = location;
    if (location >= 0 && location < locations && (failing & (1u << location)) != 0)
        return -1;
    return 0;
}

RECORDING_EXPORT int32_t recordedDevice(void)
{
    return recorded;
}

/* The port opens from now on (0) or not (1); forgets the writes recorded so far. */
RECORDING_EXPORT void letPortOpen(int32_t result, uint32_t failingLocations)
{
    portResult = result;
    failing = failingLocations;
    writes = 0;
}

/* How many writeMidi calls were recorded, and the location of call i. */
RECORDING_EXPORT int32_t writeCount(void)
{
    return writes;
}

RECORDING_EXPORT int32_t writtenLocation(int32_t i)
{
    return i >= 0 && i < writes ? written[i] : -1;
}
