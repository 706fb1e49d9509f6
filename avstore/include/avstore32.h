/* Media store library: moves sampled sound between an in-memory wave block, a memo field of a
 * table of the table engine (dbkengine.h) and a RIFF/WAVE file. Plain C ABI.
 *
 * Memory crosses this boundary as movable blocks made by MMMemAlloc. A block this library
 * returns belongs to the caller, who frees it with MMMemFree; a block the caller passes in is
 * only read. A handle is no address but a number the library looks up among its live blocks:
 * a handle already freed, or one it never made, is refused (null, 0) without touching memory.
 *
 * Wave block (little-endian, 12-byte head then the samples):
 *   offset 0  int16  channels (1 or 2 in this program's own blocks)
 *   offset 2  int16  bits per sample (8 or 16 in this program's own blocks)
 *   offset 4  int32  samples per second
 *   offset 8  int32  length of the sample data in bytes
 *   offset 12        PCM sample data, interleaved by channel as in a WAV file
 *
 * Every wave export returns a status; only the low 16 bits carry meaning, 0 is success. Other
 * values than the MM_* codes below are statuses of the table engine passed through unchanged.
 * Calls come from one thread at a time. */
#ifndef AVSTORE32_H
#define AVSTORE32_H

#include <stddef.h>
#include <stdint.h>

#if defined(AVSTORE32_BUILDING)
#define MM_API __attribute__((visibility("default")))
#else
#define MM_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* An opaque movable memory block. 0 is no block. */
typedef struct MMMemBlock *MMHANDLE;

enum MMStatus {
    MM_OK = 0,
    MM_NOT_WAVE_FILE_NAME = 8001, /* the path has no extension or one other than .wav (any case) */
    MM_FILE_ERROR = 8002,         /* cannot open or create the file, or a read or write came up short */
    MM_OUT_OF_MEMORY = 8003,
    MM_WRONG_MEDIA_TYPE = 8004,   /* the memo record holds another media type, or a tag other than wave */
    MM_NOT_PCM_WAVE = 8008,       /* not a RIFF/WAVE PCM stream (also a wave block with an impossible head) */
    MM_BUSY = 8009,               /* a play or record is already in progress */
    MM_CANNOT_LOCK = 8010         /* the wave block handle cannot be locked */
};

/* Type tags at the head of every stored media record (16 bits, little-endian). */
enum MMMediaTypeTag {
    MM_TAG_BMP = 0x1401,
    MM_TAG_JPEG = 0x1402,
    MM_TAG_GIF = 0x1403,
    MM_TAG_FAX = 0x1404,
    MM_TAG_WAVE = 0x1411
};

/* Allocates a zero-filled block of bytes bytes. Returns 0 on failure. The caller frees it. */
MM_API MMHANDLE MMMemAlloc(size_t bytes);
/* Address of the block's bytes, valid until the block is freed; counts one lock.
 * Returns null for a null, freed or foreign handle. */
MM_API void *MMMemLock(MMHANDLE block);
/* Releases one lock. Returns the locks still held (0: unlocked). */
MM_API int MMMemUnlock(MMHANDLE block);
/* Size of the block in bytes; 0 for a null, freed or foreign handle. */
MM_API size_t MMMemSize(MMHANDLE block);
/* Frees the block (a null, freed or foreign handle is ignored). */
MM_API void MMMemFree(MMHANDLE block);

/* Reads a .wav file into a new wave block stored in *block (the caller frees it). 8002 also
 * when reading fails (a directory, a device error). On failure *block is 0. */
MM_API uint32_t MMWaveReadFile(MMHANDLE *block, const char *path);
/* Writes the wave block as a .wav file: the 44-byte canonical header, then the data. The file
 * is created or truncated; a failed write removes it. */
MM_API uint32_t MMWaveWriteFile(MMHANDLE block, const char *path);
/* Reads the memo field of the table's current record (tag 0x1411, then a RIFF/WAVE stream)
 * into a new wave block stored in *block (the caller frees it). 8004 for a record of another
 * type or an empty one. On failure *block is 0. */
MM_API uint32_t MMWaveReadDB(MMHANDLE *block, uint32_t table, const char *field);
/* Writes the wave block as the new content of the memo field of the table's current record:
 * tag, 44-byte header and data, in one write. tag must be MM_TAG_WAVE. */
MM_API uint32_t MMWaveWriteDB(MMHANDLE block, uint32_t table, const char *field, uint16_t tag);

/* Play and record run in the background on the default devices (the virtual sound card when
 * the environment variable PHONOMIR_VIRTUAL_CARD is set to anything but "" or "0", or when the
 * machine has no sound card), one worker thread each. One play and one recording can run at a
 * time. The stops wait for the worker to end; unloading the library stops both. */

/* Reads the .wav file whole and starts playing it. 8009 while a play runs, 8001 for a
 * non-.wav path, 8002 when the file cannot be read, 8008 for a stream that is not RIFF/WAVE PCM
 * or a device that cannot play its format, 8003 when memory runs out. */
MM_API uint32_t MMWavePlayFile(const char *path);
/* As MMWavePlayFile for the wave record in the memo field of the table's current record,
 * which is read whole before this returns. 8004 for a record of another media type; engine
 * statuses are passed through. */
MM_API uint32_t MMWavePlayDB(uint32_t table, const char *field);
/* Ends a running play; 0, also when none runs. */
MM_API uint32_t MMWavePlayStop(void);
/* Creates the .wav file with a header of data length 0 and starts recording into it from the
 * default input device. 8009 while a recording runs, 8008 for a format the device cannot
 * record, 8001 for a non-.wav path, 8002 when the file cannot be created. Every frame
 * recorded up to the stop is kept, the partly filled last buffer included. */
MM_API uint32_t MMWaveRecFile(const char *path, uint16_t channels, uint32_t samplesPerSecond,
                              uint16_t bitsPerSample);
/* As MMWaveRecFile into the memo field of the table's current record, which at once becomes
 * the wave tag and a header of data length 0. The recorded bytes are kept in memory and
 * written by MMWaveRecStop into that same record, whichever record is current by then (the
 * current record is left as it was); the table must stay open until then. A memo recording
 * keeps at most 1,000,000,000 bytes. */
MM_API uint32_t MMWaveRecDB(uint32_t table, const char *field, uint16_t channels, uint32_t samplesPerSecond,
                            uint16_t bitsPerSample);
/* Ends a running recording: once the device has returned its buffers the data is completed
 * and the header rewritten with the final data length. 0 (also when none runs), 8002 when the
 * file could not be written, 8004 when the memo field no longer holds the wave tag, 8003 when
 * bytes of a memo recording could not all be kept (memory ran out or the memo limit was
 * reached; the record holds those that were), or an engine status: 3009 when the record the
 * recording was started on has been deleted, in which case no record is changed. */
MM_API uint32_t MMWaveRecStop(void);

#ifdef __cplusplus
}
#endif

#endif /* AVSTORE32_H */
