#include <png.h>

#include <QImage>
#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <new>

#include "workspace/picture_decoder_formats.h"

namespace kestrane {
namespace {

// Everything one decode hands libpng. Libpng reports errors by calling a function that must not
// return: it jumps back to the decode, so nothing here has a destructor.
struct PngSession {
    std::jmp_buf jump;
    DecodeBudget* budget;
    png_bytep row;  // one row as the library hands it out, allocated through the budget
};

PngSession& sessionOf(png_structp png) { return *static_cast<PngSession*>(png_get_error_ptr(png)); }

[[noreturn]] void leave(png_structp png, png_const_charp) { std::longjmp(sessionOf(png).jump, 1); }

// Warnings concern chunks that are skipped or left unused; the pixels are whole.
void ignoreWarning(png_structp, png_const_charp) {}

// Every allocation is charged and none is given back, so the charge bounds what libpng holds.
png_voidp allocate(png_structp png, png_alloc_size_t bytes) {
    DecodeBudget& budget = *static_cast<PngSession*>(png_get_mem_ptr(png))->budget;
    if (bytes > static_cast<png_alloc_size_t>(kDecodeMemoryLimit) ||
        !budget.hold(static_cast<std::int64_t>(bytes))) {
        return nullptr;  // libpng reports it as an error
    }
    return ::operator new(bytes, std::nothrow);
}

void release(png_structp, png_voidp block) { ::operator delete(block); }

void readThroughBudget(png_structp png, png_bytep data, std::size_t length) {
    DecodeBudget& budget = *sessionOf(png).budget;
    while (length > 0) {
        const std::int64_t got = budget.read(data, static_cast<std::int64_t>(length));
        if (got == 0) {
            png_error(png, "the file ends early");
        }
        data += got;
        length -= static_cast<std::size_t>(got);
    }
}

// A 16-bit sample (big-endian) to 8 bits, rounded to nearest.
int eightBits(png_const_bytep sample, bool sixteen) {
    if (!sixteen) {
        return sample[0];
    }
    const int value = sample[0] << 8 | sample[1];
    return (value * 255 + 32767) / 65535;
}

int blend(int colour, int alpha, int under) {
    return (colour * alpha + under * (255 - alpha) + 127) / 255;
}

// Draws the row's RGBA pixels 0, 1, 2... at canvas columns firstX, firstX + step... of row y,
// over what the canvas shows there.
void drawRow(png_const_bytep row, bool sixteen, int width, int firstX, int step, int y,
             QImage& canvas) {
    auto* const out = reinterpret_cast<QRgb*>(canvas.scanLine(y));
    const int sampleBytes = sixteen ? 2 : 1;
    for (int i = 0, x = firstX; i < width && x < canvas.width(); ++i, x += step) {
        const png_const_bytep pixel = row + static_cast<std::ptrdiff_t>(i) * 4 * sampleBytes;
        const int alpha = eightBits(pixel + 3 * sampleBytes, sixteen);
        const QRgb under = out[x];
        out[x] = qRgb(blend(eightBits(pixel, sixteen), alpha, qRed(under)),
                      blend(eightBits(pixel + sampleBytes, sixteen), alpha, qGreen(under)),
                      blend(eightBits(pixel + 2 * sampleBytes, sixteen), alpha, qBlue(under)));
    }
}

// Every pixel comes out as red, green, blue and alpha of 8 or 16 bits, the values as stored: the
// gamma and colour-profile chunks are skipped, since the stored values are heights.
void askForRgba(png_structp png) {
    png_set_expand(png);  // palettes, small depths and tRNS
    png_set_gray_to_rgb(png);
    png_set_filler(png, 0xffff, PNG_FILLER_AFTER);
}

// The rows of one pass (the whole picture when it is not interlaced) and where they land.
struct Pass {
    png_uint_32 rows, columns;
    int firstY, stepY, firstX, stepX;
};

Pass passOf(png_uint_32 width, png_uint_32 height, bool interlaced, int pass) {
    if (!interlaced) {
        return {height, width, 0, 1, 0, 1};
    }
    return {PNG_PASS_ROWS(height, pass), PNG_PASS_COLS(width, pass),
            PNG_PASS_START_ROW(pass),    1 << PNG_PASS_ROW_SHIFT(pass),
            PNG_PASS_START_COL(pass),    1 << PNG_PASS_COL_SHIFT(pass)};
}

// What decoding the rows costs, before the library allocates for them.
std::int64_t rowWork(png_uint_32 width, png_uint_32 neededRows, bool interlaced, bool sixteen) {
    const std::int64_t pixelBytes = sixteen ? 8 : 4;
    std::int64_t work = 0;
    for (int pass = 0; pass < (interlaced ? 7 : 1); ++pass) {
        const Pass rows = passOf(width, neededRows, interlaced, pass);
        if (rows.columns > 0) {
            work += rows.rows * (kWorkPerPngRow + rows.columns * pixelBytes * kWorkPerPngByte);
        }
    }
    return work;
}

bool decodeInSession(PngSession& session, png_structp png, png_infop info, QImage& canvas) {
    if (setjmp(session.jump) != 0) {
        return false;
    }
    png_set_read_fn(png, nullptr, readThroughBudget);
    // Damage the library would let pass (image data beyond the rows, say) refuses the picture
    // like any other.
    png_set_benign_errors(png, 0);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const bool interlaced = png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;
    const bool sixteen = png_get_bit_depth(png, info) == 16;
    // A picture within the canvas rows is read to its end, so that damage anywhere in it shows;
    // every pass of an interlaced one covers the whole picture.
    const bool whole = interlaced || height <= static_cast<png_uint_32>(canvas.height());
    const png_uint_32 neededRows = whole ? height : static_cast<png_uint_32>(canvas.height());
    if (!session.budget->work(rowWork(width, neededRows, interlaced, sixteen))) {
        return false;
    }
    askForRgba(png);
    png_read_update_info(png, info);
    session.row = static_cast<png_bytep>(png_malloc(png, png_get_rowbytes(png, info)));
    for (int pass = 0; pass < (interlaced ? 7 : 1); ++pass) {
        const Pass rows = passOf(width, neededRows, interlaced, pass);
        if (rows.columns == 0) {
            continue;  // the library skips a pass without pixels
        }
        for (png_uint_32 r = 0; r < rows.rows; ++r) {
            png_read_row(png, session.row, nullptr);
            const std::int64_t y = rows.firstY + std::int64_t{r} * rows.stepY;
            if (y < canvas.height()) {
                drawRow(session.row, sixteen, static_cast<int>(rows.columns), rows.firstX,
                        rows.stepX, static_cast<int>(y), canvas);
            }
        }
    }
    if (whole) {
        png_read_end(png, nullptr);
    }
    return true;
}

}  // namespace

bool decodePng(DecodeBudget& budget, QImage& canvas) {
    PngSession session{};
    session.budget = &budget;
    png_structp png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, &session, leave,
                                               ignoreWarning, &session, allocate, release);
    if (png == nullptr) {
        return false;
    }
    png_infop info = png_create_info_struct(png);
    const bool decoded = info != nullptr && decodeInSession(session, png, info, canvas);
    png_free(png, session.row);
    png_destroy_read_struct(&png, &info, nullptr);
    return decoded;
}

}  // namespace kestrane
