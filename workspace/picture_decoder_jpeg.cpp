#include <QImage>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include "workspace/picture_decoder_formats.h"

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace kestrane {
namespace {

constexpr std::size_t kInputBufferSize = 16 * 1024;

// Everything one decode hands libjpeg, reachable from its decompress struct through client_data.
// Libjpeg reports errors by calling error_exit, which must not return: it jumps back to the
// decode, so nothing here has a destructor.
struct JpegSession {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    jpeg_source_mgr source;
    jpeg_progress_mgr progress;
    jpeg_memory_mgr libraryMemory;  // libjpeg's own allocators, which the session's wrap
    std::jmp_buf jump;
    DecodeBudget* budget;
    JOCTET* input;
    bool multiScan;
    bool readingHeader;
    bool arithmetic;
    int chargedScan;
    int neededRows;  // output rows the decode reads
};

JpegSession& sessionOf(j_common_ptr info) { return *static_cast<JpegSession*>(info->client_data); }

[[noreturn]] void leave(j_common_ptr info) { std::longjmp(sessionOf(info).jump, 1); }

// Warnings from the header (stray bytes between its segments, a broken metadata segment) leave
// the pixels whole, so the picture opens. Later ones mean corrupt or missing scan data, which the
// library papers over with grey: they refuse the picture like errors.
void leaveOnWarning(j_common_ptr info, int level) {
    if (level < 0 && !sessionOf(info).readingHeader) {
        leave(info);
    }
}

// ---- input through the budget ----

// Arithmetic-coded data costs more to decode than the budget's read charges for each byte.
bool chargeArithmetic(JpegSession& session, std::int64_t bytes) {
    return !session.arithmetic ||
           session.budget->work(bytes * (kWorkPerArithmeticByte - kWorkPerByte));
}

void startSource(j_decompress_ptr) {}

boolean fillSource(j_decompress_ptr info) {
    JpegSession& session = sessionOf(reinterpret_cast<j_common_ptr>(info));
    const std::int64_t got = session.budget->read(session.input, kInputBufferSize);
    if (got == 0 || !chargeArithmetic(session, got)) {
        leave(reinterpret_cast<j_common_ptr>(info));  // a file that ends early is damaged
    }
    session.source.next_input_byte = session.input;
    session.source.bytes_in_buffer = static_cast<std::size_t>(got);
    return TRUE;
}

void skipSource(j_decompress_ptr info, long count) {
    jpeg_source_mgr& source = *info->src;
    while (count > static_cast<long>(source.bytes_in_buffer)) {
        count -= static_cast<long>(source.bytes_in_buffer);
        source.next_input_byte += source.bytes_in_buffer;
        source.bytes_in_buffer = 0;
        fillSource(info);
    }
    if (count > 0) {
        source.next_input_byte += count;
        source.bytes_in_buffer -= static_cast<std::size_t>(count);
    }
}

void endSource(j_decompress_ptr) {}

// ---- memory through the budget ----

// Charges `bytes` to the budget before libjpeg allocates them. Its pools are freed only when the
// decode ends, so what it has allocated is what it holds.
void charge(j_common_ptr info, std::size_t bytes) {
    if (bytes > static_cast<std::size_t>(kDecodeMemoryLimit) ||
        !sessionOf(info).budget->hold(static_cast<std::int64_t>(bytes))) {
        leave(info);
    }
}

// Rows of `perRow` elements and their row pointers; SIZE_MAX when that overflows.
std::size_t arrayBytes(JDIMENSION perRow, JDIMENSION rows, std::size_t element) {
    std::size_t bytes = 0;
    if (__builtin_mul_overflow(static_cast<std::size_t>(perRow), element, &bytes) ||
        __builtin_mul_overflow(bytes + sizeof(void*), static_cast<std::size_t>(rows), &bytes)) {
        return SIZE_MAX;
    }
    return bytes;
}

void* allocSmall(j_common_ptr info, int pool, std::size_t size) {
    charge(info, size);
    return sessionOf(info).libraryMemory.alloc_small(info, pool, size);
}

void* allocLarge(j_common_ptr info, int pool, std::size_t size) {
    charge(info, size);
    return sessionOf(info).libraryMemory.alloc_large(info, pool, size);
}

JSAMPARRAY allocSamples(j_common_ptr info, int pool, JDIMENSION perRow, JDIMENSION rows) {
    charge(info, arrayBytes(perRow, rows, sizeof(JSAMPLE)));
    return sessionOf(info).libraryMemory.alloc_sarray(info, pool, perRow, rows);
}

JBLOCKARRAY allocBlocks(j_common_ptr info, int pool, JDIMENSION perRow, JDIMENSION rows) {
    charge(info, arrayBytes(perRow, rows, sizeof(JBLOCK)));
    return sessionOf(info).libraryMemory.alloc_barray(info, pool, perRow, rows);
}

// Whole-picture arrays (a progressive JPEG's coefficients) are charged when requested, before
// libjpeg sets them up.
jvirt_sarray_ptr requestSamples(j_common_ptr info, int pool, boolean zero, JDIMENSION perRow,
                                JDIMENSION rows, JDIMENSION access) {
    charge(info, arrayBytes(perRow, rows, sizeof(JSAMPLE)));
    return sessionOf(info).libraryMemory.request_virt_sarray(info, pool, zero, perRow, rows,
                                                             access);
}

jvirt_barray_ptr requestBlocks(j_common_ptr info, int pool, boolean zero, JDIMENSION perRow,
                               JDIMENSION rows, JDIMENSION access) {
    charge(info, arrayBytes(perRow, rows, sizeof(JBLOCK)));
    return sessionOf(info).libraryMemory.request_virt_barray(info, pool, zero, perRow, rows,
                                                             access);
}

// ---- work through the budget ----

// Called before each stretch of decoding; charges every scan as it begins. A picture in one scan
// is decoded only down to the rows read; any other is read whole before its first row comes out.
void chargeScan(j_common_ptr common) {
    JpegSession& session = sessionOf(common);
    const jpeg_decompress_struct& info = session.info;
    if (info.input_scan_number == session.chargedScan) {
        return;
    }
    session.chargedScan = info.input_scan_number;
    if (info.input_scan_number > kJpegScanLimit) {
        leave(common);
    }
    std::int64_t mcuRows = info.MCU_rows_in_scan;
    if (!session.multiScan) {
        // Libjpeg decodes one row of MCUs ahead of the rows it hands out.
        const int rowsPerMcuRow = DCTSIZE * (info.comps_in_scan == 1 ? 1 : info.max_v_samp_factor);
        mcuRows = std::min<std::int64_t>(mcuRows, session.neededRows / rowsPerMcuRow + 2);
    }
    const std::int64_t blocks =
        static_cast<std::int64_t>(info.MCUs_per_row) * mcuRows * info.blocks_in_MCU;
    const std::int64_t perBlock = session.arithmetic ? kWorkPerArithmeticBlock : kWorkPerJpegBlock;
    if (!session.budget->work(blocks * perBlock)) {
        leave(common);
    }
}

void wrapLibrary(JpegSession& session) {
    jpeg_memory_mgr& memory = *session.info.mem;
    session.libraryMemory = memory;
    memory.alloc_small = allocSmall;
    memory.alloc_large = allocLarge;
    memory.alloc_sarray = allocSamples;
    memory.alloc_barray = allocBlocks;
    memory.request_virt_sarray = requestSamples;
    memory.request_virt_barray = requestBlocks;

    jpeg_source_mgr& source = session.source;
    session.input = static_cast<JOCTET*>(memory.alloc_small(
        reinterpret_cast<j_common_ptr>(&session.info), JPOOL_PERMANENT, kInputBufferSize));
    source.next_input_byte = session.input;
    source.bytes_in_buffer = 0;
    source.init_source = startSource;
    source.fill_input_buffer = fillSource;
    source.skip_input_data = skipSource;
    source.resync_to_restart = jpeg_resync_to_restart;
    source.term_source = endSource;
    session.info.src = &source;

    session.progress.progress_monitor = chargeScan;
    session.info.progress = &session.progress;
}

// Expands the crop by one block column beyond what is shown, so that the upsampling of the last
// shown column sees its true neighbour and matches a full decode.
JDIMENSION cropWidth(const jpeg_decompress_struct& info, int canvasWidth) {
    const auto needed = static_cast<JDIMENSION>(canvasWidth + info.max_h_samp_factor * DCTSIZE);
    return std::min(info.output_width, needed);
}

void copyCmykRow(const JSAMPLE* in, QRgb* out, int count) {
    // Adobe writes inverted CMYK, so the stored values already read as "amount of white".
    for (int x = 0; x < count; ++x, in += 4) {
        const int k = in[3];
        out[x] = qRgb(k * in[0] / 255, k * in[1] / 255, k * in[2] / 255);
    }
}

bool decodeInSession(JpegSession& session, QImage& canvas) {
    jpeg_decompress_struct& info = session.info;
    const auto common = reinterpret_cast<j_common_ptr>(&info);
    if (setjmp(session.jump) != 0) {
        return false;
    }
    jpeg_create_decompress(&info);
    wrapLibrary(session);
    session.readingHeader = true;
    jpeg_read_header(&info, TRUE);
    session.readingHeader = false;
    session.multiScan = jpeg_has_multiple_scans(&info) != 0;
    session.arithmetic = info.arith_code != 0;
    // The scan data already buffered was charged as plain bytes.
    if (!chargeArithmetic(session, static_cast<std::int64_t>(session.source.bytes_in_buffer))) {
        return false;
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    // A picture within the canvas rows is read to its end, so that damage anywhere in it shows.
    const bool whole = info.image_height <= static_cast<JDIMENSION>(canvas.height());
    session.neededRows = std::min(static_cast<int>(info.image_height), canvas.height());
    jpeg_start_decompress(&info);

    JDIMENSION cropLeft = 0;
    JDIMENSION cropped = cropWidth(info, canvas.width());
    if (cropped < info.output_width) {
        jpeg_crop_scanline(&info, &cropLeft, &cropped);
    }
    const int shownWidth = std::min(static_cast<int>(info.output_width), canvas.width());
    const JSAMPARRAY row = (*info.mem->alloc_sarray)(
        common, JPOOL_IMAGE, info.output_width * static_cast<JDIMENSION>(info.output_components),
        1);
    while (static_cast<int>(info.output_scanline) < session.neededRows) {
        const int y = static_cast<int>(info.output_scanline);
        jpeg_read_scanlines(&info, row, 1);
        auto* out = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        if (cmyk) {
            copyCmykRow(row[0], out, shownWidth);
        } else {
            std::memcpy(out, row[0], static_cast<std::size_t>(shownWidth) * 4);
        }
    }
    if (whole) {
        jpeg_finish_decompress(&info);
    }
    return true;
}

}  // namespace

bool decodeJpeg(DecodeBudget& budget, QImage& canvas) {
    JpegSession session{};
    session.budget = &budget;
    session.info.client_data = &session;  // kept by jpeg_create_decompress
    session.info.err = jpeg_std_error(&session.errors);
    session.errors.error_exit = leave;
    session.errors.emit_message = leaveOnWarning;
    const bool decoded = decodeInSession(session, canvas);
    jpeg_destroy_decompress(&session.info);
    return decoded;
}

}  // namespace kestrane
