#ifndef KIVOTOOLS_H
#define KIVOTOOLS_H

/* kivotools: checks and writes a MIDI output port and reads and writes the
   header of sound image files. Paths are 8-bit strings in the system's code
   page; every other argument and every result is a 32-bit signed integer. */

#include "kivotools_export.h"

#include <stdint.h>

#if defined(_WIN32)
#define KIVOTOOLS_CALL __stdcall
#else
#define KIVOTOOLS_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* 0 when output device deviceId (-1: the first port) opens, else the MIDI
   system's error code: 2 for a device that does not exist, 1 otherwise. */
KIVOTOOLS_EXPORT int32_t KIVOTOOLS_CALL checkMidiPort(int32_t deviceId);

/* Sends the image data of the sound image file at path to unit location
   0 to 11 as 28 block messages. 0 when all were handed to the port, -1 when
   the file cannot be read or is too short for its header length word, the
   port does not open, or a message fails or the port goes away meanwhile. */
KIVOTOOLS_EXPORT int32_t KIVOTOOLS_CALL writeMidi(const char *path, int32_t location, int32_t deviceId);

/* The tag word at offset 12, or -1. */
KIVOTOOLS_EXPORT int32_t KIVOTOOLS_CALL readTag(const char *path);

/* The magic word at offset 4, or -1. */
KIVOTOOLS_EXPORT int32_t KIVOTOOLS_CALL getTvsId(const char *path);

/* The whole file as one big-endian number modulo 268,435,455, or -1 for a
   missing, unreadable or empty file. */
KIVOTOOLS_EXPORT int32_t KIVOTOOLS_CALL getId(const char *path);

/* Writes a sound image header with the given tag followed by a copy of the
   source to the destination. 0, or -1. */
KIVOTOOLS_EXPORT int32_t KIVOTOOLS_CALL convertFile(const char *source, const char *destination, int32_t tag);

#ifdef __cplusplus
}
#endif

#endif
