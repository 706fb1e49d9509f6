#include "JpegStreams.h"

#include <jerror.h>

namespace avstore {
namespace {

[[noreturn]] void jumpBack(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrors *>(info->err)->jump, 1);
}

void stayQuiet(j_common_ptr) {}

void startSource(j_decompress_ptr) {}

boolean fillSource(j_decompress_ptr info) {
    auto *source = reinterpret_cast<JpegSource *>(info->src);
    const std::size_t bytes = source->source->read(source->buffer, kJpegBufferBytes);
    if (bytes == 0) ERREXIT(info, JERR_INPUT_EOF);  // a cut file is an error, not a grey tail
    source->manager.next_input_byte = source->buffer;
    source->manager.bytes_in_buffer = bytes;
    return TRUE;
}

void skipSource(j_decompress_ptr info, long count) {
    auto *source = reinterpret_cast<JpegSource *>(info->src);
    if (count <= 0) return;
    const auto wanted = static_cast<std::uint64_t>(count);
    if (wanted <= source->manager.bytes_in_buffer) {
        source->manager.next_input_byte += wanted;
        source->manager.bytes_in_buffer -= wanted;
        return;
    }
    const std::uint64_t beyond = wanted - source->manager.bytes_in_buffer;
    source->manager.bytes_in_buffer = 0;
    if (source->source->skip(beyond) != beyond) ERREXIT(info, JERR_INPUT_EOF);
}

void endSource(j_decompress_ptr) {}

void startDestination(j_compress_ptr info) {
    auto *destination = reinterpret_cast<JpegDestination *>(info->dest);
    destination->manager.next_output_byte = destination->buffer;
    destination->manager.free_in_buffer = kJpegBufferBytes;
}

void writeOut(j_compress_ptr info, std::size_t bytes) {
    auto *destination = reinterpret_cast<JpegDestination *>(info->dest);
    if (!destination->sink->write(destination->buffer, bytes)) {
        destination->sinkFailed = true;
        ERREXIT(info, JERR_FILE_WRITE);
    }
    startDestination(info);
}

boolean emptyDestination(j_compress_ptr info) {
    writeOut(info, kJpegBufferBytes);
    return TRUE;
}

void endDestination(j_compress_ptr info) {
    writeOut(info, kJpegBufferBytes - info->dest->free_in_buffer);
}

}  // namespace

void useJpegErrors(jpeg_common_struct *info, JpegErrors &errors) {
    info->err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = jumpBack;
    errors.manager.output_message = stayQuiet;
}

void useJpegSource(jpeg_decompress_struct *info, JpegSource &source, ByteSource &bytes) {
    source.source = &bytes;
    source.buffer = static_cast<JOCTET *>(
        (*info->mem->alloc_small)(reinterpret_cast<j_common_ptr>(info), JPOOL_PERMANENT, kJpegBufferBytes));
    source.manager.init_source = startSource;
    source.manager.fill_input_buffer = fillSource;
    source.manager.skip_input_data = skipSource;
    source.manager.resync_to_restart = jpeg_resync_to_restart;
    source.manager.term_source = endSource;
    source.manager.next_input_byte = nullptr;
    source.manager.bytes_in_buffer = 0;
    info->src = &source.manager;
}

void useJpegDestination(jpeg_compress_struct *info, JpegDestination &destination, ByteSink &sink) {
    destination.sink = &sink;
    destination.sinkFailed = false;
    destination.buffer = static_cast<JOCTET *>(
        (*info->mem->alloc_small)(reinterpret_cast<j_common_ptr>(info), JPOOL_PERMANENT, kJpegBufferBytes));
    destination.manager.init_destination = startDestination;
    destination.manager.empty_output_buffer = emptyDestination;
    destination.manager.term_destination = endDestination;
    info->dest = &destination.manager;
}

}  // namespace avstore
