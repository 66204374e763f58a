// JPEG decoding and encoding over libjpeg. libjpeg reports fatal errors through error_exit,
// which would end the process; ours formats the message and jumps back here, where it becomes
// the program's error.
#include "platform/JpegCodec.h"

#include <jerror.h>
#include <jpeglib.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>

#include "platform/BmpCodec.h"
#include "platform/Errors.h"
#include "platform/FileIO.h"

namespace lf {
namespace {

// libjpeg's own working memory (coefficient buffers of progressive files above all) is capped,
// so a small damaged file cannot make it take gigabytes; beyond the cap libjpeg refuses.
constexpr long kMaxJpegWorkingMemory = 1L << 30;
// A progressive file may hold any number of scans, each costing a pass over the picture; a
// damaged one with thousands of empty scans would keep the program busy for minutes.
constexpr int kMaxJpegScans = 1000;
// Rows handed to libjpeg per call: enough for any upsampling group.
constexpr int kRowsPerCall = 16;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
    auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, manager->message);
    std::longjmp(manager->jump, 1);
}

// Warnings ("Premature end of JPEG file", "Corrupt JPEG data") are not printed: the picture
// loads as libjpeg decodes it.
void OutputMessage(j_common_ptr) {}

void ProgressMonitor(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor) return;
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxJpegScans) {
        auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
        std::snprintf(manager->message, sizeof manager->message, "more than %d scans", kMaxJpegScans);
        std::longjmp(manager->jump, 1);
    }
}

void InstallErrorManager(ErrorManager& manager) {
    jpeg_std_error(&manager.base);
    manager.base.error_exit = ErrorExit;
    manager.base.output_message = OutputMessage;
    manager.message[0] = '\0';
}

// Ink to light. Adobe's files store the inks inverted (255 = no ink); others store them plainly.
void CmykToBgr(const uint8_t* cmyk, uint8_t* bgr, size_t width, bool inverted) {
    for (size_t x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        const uint32_t k = inverted ? cmyk[3] : 255 - cmyk[3];
        for (int c = 0; c < 3; ++c) {
            const uint32_t v = inverted ? cmyk[c] : 255 - cmyk[c];
            bgr[2 - c] = static_cast<uint8_t>((v * k + 127) / 255);  // cyan→red, magenta→green, yellow→blue
        }
    }
}

}  // namespace

Bitmap ReadJpeg(const uint8_t* data, size_t size) {
    if (size == 0) throw EInvalidGraphic("Invalid JPEG file: the file is empty");
    jpeg_decompress_struct cinfo;
    std::memset(&cinfo, 0, sizeof cinfo);  // so destroying is safe whenever creation stopped
    ErrorManager errors;
    jpeg_progress_mgr progress{};
    Bitmap picture;
    std::vector<uint8_t> inkRows;
    struct Destroyer {
        jpeg_decompress_struct* cinfo;
        ~Destroyer() { jpeg_destroy_decompress(cinfo); }
    } destroyer{&cinfo};

    InstallErrorManager(errors);
    cinfo.err = &errors.base;
    // Only objects made before this point live across the jump, and none is changed in a
    // register between here and the jump.
    if (setjmp(errors.jump)) {
        // Beyond the memory cap libjpeg asks for a backing store it does not have: the file
        // is not broken, only too large for us.
        if (errors.base.msg_code == JERR_NO_BACKING_STORE || errors.base.msg_code == JERR_OUT_OF_MEMORY)
            throw Error("Not enough memory to decode the JPEG file (" + std::string(errors.message) + ")");
        throw EInvalidGraphic(std::string("Invalid JPEG file: ") + errors.message);
    }

    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = kMaxJpegWorkingMemory;
    progress.progress_monitor = ProgressMonitor;
    cinfo.progress = &progress;
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    CheckPictureSize(cinfo.image_width, cinfo.image_height);

    cinfo.dct_method = JDCT_ISLOW;
    cinfo.do_fancy_upsampling = TRUE;
    const bool ink = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = ink ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_start_decompress(&cinfo);

    const int32_t width = static_cast<int32_t>(cinfo.output_width);
    const int32_t height = static_cast<int32_t>(cinfo.output_height);
    picture.SetSizeUninitialised(width, height);
    ClearRowPadding(picture);
    if (ink) inkRows.resize(static_cast<size_t>(width) * 4 * kRowsPerCall);

    JSAMPROW rows[kRowsPerCall];
    while (cinfo.output_scanline < cinfo.output_height) {
        const int32_t first = static_cast<int32_t>(cinfo.output_scanline);
        const int32_t count = std::min(kRowsPerCall, height - first);
        for (int32_t i = 0; i < count; ++i)
            rows[i] = ink ? inkRows.data() + static_cast<size_t>(i) * width * 4 : picture.ScanLine(first + i);
        const auto got =
            static_cast<int32_t>(jpeg_read_scanlines(&cinfo, rows, static_cast<JDIMENSION>(count)));
        if (got <= 0) throw EInvalidGraphic("Invalid JPEG file: the decoder stopped early");
        if (ink)
            for (int32_t i = 0; i < got; ++i)
                CmykToBgr(rows[i], picture.ScanLine(first + i), static_cast<size_t>(width),
                          cinfo.saw_Adobe_marker != 0);
    }
    jpeg_finish_decompress(&cinfo);
    return picture;
}

Bitmap LoadJpegFile(const std::string& path) {
    const FileContents file(path);
    return ReadJpeg(file.data(), file.size());
}

namespace {

// Hands libjpeg's output to a sink in blocks from a small buffer that stays warm, instead of
// growing one large buffer. A sink that throws (a full disk) is stopped with a jump out of
// libjpeg and its exception thrown again on our side.
struct SinkDestination {
    jpeg_destination_mgr base;
    const ByteSink* sink;
    ErrorManager* errors;
    std::exception_ptr failure;
    std::array<uint8_t, 65536> buffer;
};

SinkDestination& DestinationOf(j_compress_ptr cinfo) {
    return *static_cast<SinkDestination*>(cinfo->client_data);
}

void Deliver(j_compress_ptr cinfo, size_t bytes) {
    SinkDestination& d = DestinationOf(cinfo);
    bool failed = false;
    try {
        (*d.sink)(d.buffer.data(), bytes);
    } catch (...) {
        d.failure = std::current_exception();
        failed = true;
    }
    if (failed) std::longjmp(d.errors->jump, 1);  // after the handler has ended
}

void InitDestination(j_compress_ptr cinfo) {
    SinkDestination& d = DestinationOf(cinfo);
    d.base.next_output_byte = d.buffer.data();
    d.base.free_in_buffer = d.buffer.size();
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
    Deliver(cinfo, DestinationOf(cinfo).buffer.size());  // libjpeg calls this only when it is full
    InitDestination(cinfo);
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
    const SinkDestination& d = DestinationOf(cinfo);
    Deliver(cinfo, d.buffer.size() - d.base.free_in_buffer);
}

void EncodeJpeg(const Bitmap& picture, const ByteSink& sink) {
    if (picture.Empty()) throw Error("There is no picture to save");
    jpeg_compress_struct cinfo;
    std::memset(&cinfo, 0, sizeof cinfo);
    ErrorManager errors;
    auto destination = std::make_unique<SinkDestination>();
    struct Destroyer {
        jpeg_compress_struct* cinfo;
        ~Destroyer() { jpeg_destroy_compress(cinfo); }
    } destroyer{&cinfo};

    InstallErrorManager(errors);
    cinfo.err = &errors.base;
    destination->sink = &sink;
    destination->errors = &errors;
    destination->base.init_destination = InitDestination;
    destination->base.empty_output_buffer = EmptyOutputBuffer;
    destination->base.term_destination = TermDestination;
    if (setjmp(errors.jump)) {
        if (destination->failure) std::rethrow_exception(destination->failure);
        throw Error(std::string("Cannot write JPEG file: ") + errors.message);
    }

    jpeg_create_compress(&cinfo);
    cinfo.dest = &destination->base;
    cinfo.client_data = destination.get();
    cinfo.image_width = static_cast<JDIMENSION>(picture.Width());
    cinfo.image_height = static_cast<JDIMENSION>(picture.Height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);  // YCbCr, Huffman, sequential
    jpeg_set_quality(&cinfo, kJpegQuality, TRUE);
    cinfo.dct_method = JDCT_ISLOW;
    jpeg_start_compress(&cinfo, TRUE);

    JSAMPROW rows[kRowsPerCall];
    while (cinfo.next_scanline < cinfo.image_height) {
        const int32_t first = static_cast<int32_t>(cinfo.next_scanline);
        const int32_t count = std::min(kRowsPerCall, picture.Height() - first);
        // libjpeg reads the rows it is given and never writes them.
        for (int32_t i = 0; i < count; ++i) rows[i] = const_cast<JSAMPROW>(picture.ScanLine(first + i));
        jpeg_write_scanlines(&cinfo, rows, static_cast<JDIMENSION>(count));
    }
    jpeg_finish_compress(&cinfo);
}

}  // namespace

void WriteJpeg(const Bitmap& picture, std::vector<uint8_t>& out) {
    out.clear();
    EncodeJpeg(picture,
               [&](const uint8_t* bytes, size_t size) { out.insert(out.end(), bytes, bytes + size); });
}

// Streams the encoder's output to the file: no second copy of the whole file in memory.
void SaveJpegFile(const Bitmap& picture, const std::string& path) {
    WriteFileAtomically(path, [&](const ByteSink& sink) { EncodeJpeg(picture, sink); });
}

}  // namespace lf
