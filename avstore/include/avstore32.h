/* Media store library: moves sampled sound between an in-memory wave block, a memo field of a
 * table of the table engine (dbkengine.h) and a RIFF/WAVE file; moves pictures between an
 * in-memory bitmap and BMP, JPEG, GIF and fax forms in files, memo fields and memory blocks,
 * and rotates, rescales and draws them. Plain C ABI.
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
 * Every export returns a status; only the low 16 bits carry meaning, 0 is success. Other
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
    MM_WRONG_EXTENSION = 8001,    /* the same for pictures (bmp, dib, jpg, gif, fax) and uploads (those and wav) */
    MM_FILE_ERROR = 8002,         /* cannot open or create the file, or a read or write came up short */
    MM_OUT_OF_MEMORY = 8003,
    MM_WRONG_MEDIA_TYPE = 8004,   /* the memo record holds another media type, or a tag other than wave;
                                     for pictures also undecodable or corrupt data, a tag outside the
                                     table, or a picture beyond the size limits */
    MM_BITMAP_UNUSABLE = 8005,    /* the pixel buffer given cannot be used (null, sizes, stride) */
    MM_PICTURE_CANNOT_LOCK = 8006, /* the picture handle cannot be locked, or its block holds no picture */
    MM_NOT_SUPPORTED = 8007,      /* the depth or variant is not supported by the form or the operation */
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

/* Picture block (little-endian), made by the picture exports and freed by the caller with
 * MMPictureFree (or MMMemFree):
 *   offset 0   40-byte info header:
 *                uint32 40 (header size); int32 width, 1..65535; int32 height, 1..65535 (rows
 *                are stored bottom-up); uint16 planes, 1; uint16 bits per pixel, 1, 4, 8 or 24;
 *                uint32 compression, 0; uint32 bytes of the rows; int32 horizontal and vertical
 *                pixels per metre, 0 when unknown; uint32 colours used, 0 for all 2^bits;
 *                uint32 important colours, 0 for all
 *   offset 40  colour table: 4 bytes an entry (blue, green, red, 0), as many as the colours used
 *              or 2^bits when that is 0; none for 24 bits. A pixel value past the table is black.
 *   then       the rows, bottom row first, each padded to a multiple of 4 bytes; 1- and 4-bit
 *              pixels fill each byte from its high bits; 24-bit pixels are blue, green, red.
 * The library sizes every block it makes for both orientations (width × height and height ×
 * width rows) plus the largest colour table of its depth, zero-filled, so that a quarter turn
 * fits in place. Pictures of more than 268435456 pixels or 65535 in a dimension are refused
 * with 8004 before anything is allocated.
 *
 * Encoded forms, chosen by type tag (files: by extension, in any case):
 *   BMP  (bmp, dib) file header, info header, colour table, rows; every depth. Reading takes
 *        files of 1, 4, 8 or 24 bits, uncompressed or (4 and 8 bits) run-length compressed,
 *        with a 40-byte or longer info header (only its first 40 bytes are used); top-down
 *        files (negative height) are turned bottom-up. Writing is uncompressed.
 *   JPEG (jpg) reading gives a 24-bit picture of any file of 1 or 3 components (grey as equal
 *        red, green and blue), 8007 for other component counts; writing takes 8- and 24-bit
 *        pictures, quality 75, with the resolution in dots per inch (200 when unknown).
 *   GIF  (gif) reading gives the first image as an 8-bit picture, or a 1-bit one when its
 *        colour table has two entries; writing takes 1- and 8-bit pictures, as GIF87a.
 *   fax  (fax) an 8-byte header (uint16 width, uint16 height, uint32 flags: bit 1 set, 8007)
 *        then the rows top-down in one-dimensional Modified Huffman runs (ITU-T T.4) with
 *        end-of-line codes between them; 1-bit pictures only, set bits always black.
 * A write of a depth the form does not take returns 8007 and writes nothing. Memo and memory
 * records are the 2-byte tag followed by the encoded form. */

/* Reads the picture file named by path, by its extension, into a new block in *picture. 8001
 * for another extension, 8002 when it cannot be opened or read. On failure *picture is 0. */
MM_API uint32_t MMPictureReadFile(MMHANDLE *picture, const char *path);
/* Writes the picture as the file named by path, in the form of its extension (8001 for
 * another). The file is created or truncated; a failed write removes it. */
MM_API uint32_t MMPictureWriteFile(MMHANDLE picture, const char *path);
/* Reads the picture record in the memo field of the table's current record into a new block
 * in *picture. 8004 for a record of another type or an empty one; engine statuses are passed
 * through. On failure *picture is 0. */
MM_API uint32_t MMPictureReadDB(MMHANDLE *picture, uint32_t table, const char *field);
/* Writes the picture in the form of tag (0x1401 to 0x1404, else 8004) as the new content of the
 * memo field of the table's current record, in one engine write: the field holds either the
 * whole new record or, when the write fails, its earlier content. */
MM_API uint32_t MMPictureWriteDB(MMHANDLE picture, uint32_t table, const char *field, uint16_t tag);
/* Reads a picture record (tag, then the encoded form) of length bytes at data into a new
 * block in *picture. 8004 when length is 0 or 1 or the tag is no picture tag. */
MM_API uint32_t MMPictureReadMem(MMHANDLE *picture, const void *data, uint32_t length);
/* Encodes the picture in the form of tag into a new memory block in *memory (the caller frees
 * it with MMMemFree): the tag, then the encoded form; the block's size is a multiple of 4096,
 * *length the record's bytes. On failure *memory is 0 and *length 0. */
MM_API uint32_t MMPictureWriteMem(MMHANDLE picture, MMHANDLE *memory, uint16_t tag, uint32_t *length);
/* The bytes the picture takes encoded in the form of tag (without the tag), in *length;
 * nothing is stored. */
MM_API uint32_t MMPictureWriteNull(MMHANDLE picture, uint16_t tag, uint32_t *length);
/* Makes a 24-bit picture in *picture of a width × height buffer of 32-bit pixels 0xAARRGGBB
 * (alpha ignored), rows top-down, stride bytes from one row to the next (a multiple of 4, at
 * least 4 × width). 8005 for a null buffer, sizes below 1 or another stride. */
MM_API uint32_t MMPictureGetBitmap(MMHANDLE *picture, const uint32_t *pixels, int32_t width, int32_t height,
                                   int32_t stride);
/* The header's width, height and bits per pixel. */
MM_API uint32_t MMPictureGetInfo(MMHANDLE picture, uint16_t *width, uint16_t *height, uint16_t *bitsPerPixel);
/* Draws the source rectangle (sx, sy, sw, sh; from the picture's top-left corner) stretched
 * onto the destination rectangle (dx, dy, dw, dh) of a width × height buffer of 32-bit pixels
 * 0xAARRGGBB (rows top-down, stride bytes apart), clipped to the buffer, by nearest-neighbour
 * sampling; destination pixels whose source falls outside the picture are left alone. -1 for
 * a width or height means the picture's own; other sizes below 1 draw nothing. A 1-bit picture
 * keeps its darker colour: a destination pixel takes it when any source pixel it covers has it.
 * Drawn pixels get alpha 0xFF. 8005 for an unusable buffer (as for MMPictureGetBitmap). */
MM_API uint32_t MMPictureDraw(MMHANDLE picture, uint32_t *pixels, int32_t width, int32_t height, int32_t stride,
                              int32_t dx, int32_t dy, int32_t dw, int32_t dh, int32_t sx, int32_t sy, int32_t sw,
                              int32_t sh);
/* Turns the picture in its own block by turn quarter turns clockwise (1; 2 a half turn; 3 or
 * -1 a quarter turn counter-clockwise; taken modulo 4). 1-, 8- and 24-bit pictures (8007
 * otherwise). A block too small for the turned picture (not made by this library) is grown
 * first, keeping its handle (8003 when that fails). */
MM_API uint32_t MMPictureRotate(MMHANDLE picture, int32_t turn);
/* As MMPictureRotate into a new block in *rotated; on success the given picture is freed, on
 * failure it is kept and *rotated is 0. */
MM_API uint32_t MMPictureRotate2(MMHANDLE picture, MMHANDLE *rotated, int32_t turn);
/* A copy of the picture in a new block in *copy, scaled to width × height by nearest-neighbour
 * sampling (-1 keeps a dimension; other sizes below 1 give 8004). 1-, 8- and 24-bit pictures
 * (8007 otherwise); a 1-bit picture keeps its darker colour wherever the source had it. */
MM_API uint32_t MMPictureCopy(MMHANDLE picture, MMHANDLE *copy, int32_t width, int32_t height);
/* Frees the picture (a null, freed or foreign handle is ignored). */
MM_API void MMPictureFree(MMHANDLE picture);

/* Copies a file whole into the memo field of the table's current record: the tag of its
 * extension (8001 for one outside the table), then its bytes in 4096-byte writes, stopping at
 * the first engine error, whose status is returned. 8002 when the file cannot be read. */
MM_API uint32_t MMUploadFile(uint32_t table, const char *field, const char *path);
/* Copies the memo field of the table's current record into the file pathWithoutExtension + "."
 * + the extension of its tag ("bmp", "jpg", "gif", "fax" or "wav"; 8004 for a tag outside the
 * table), in 4096-byte pieces. 8002 when the file cannot be written; a failed copy removes it. */
MM_API uint32_t MMDownloadFile(uint32_t table, const char *field, const char *pathWithoutExtension);

#ifdef __cplusplus
}
#endif

#endif /* AVSTORE32_H */
