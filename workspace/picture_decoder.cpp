#include "workspace/picture_decoder.h"

#include <gif_lib.h>

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace kestrane {
namespace {

using FileCloser = decltype([](std::FILE* file) { std::fclose(file); });
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

enum class PictureKind { Jpeg, Gif, Other };

PictureKind sniff(std::FILE* file) {
    std::array<unsigned char, 4> magic{};
    const std::size_t got = std::fread(magic.data(), 1, magic.size(), file);
    std::rewind(file);
    if (got >= 3 && magic[0] == 0xFF && magic[1] == 0xD8 && magic[2] == 0xFF) {
        return PictureKind::Jpeg;
    }
    if (got == 4 && std::memcmp(magic.data(), "GIF8", 4) == 0) {
        return PictureKind::Gif;
    }
    return PictureKind::Other;
}

// ---- JPEG ----

// Libjpeg reports errors by calling error_exit, which must not return; warnings (corrupt or
// missing data, which the library papers over with grey) are turned into errors as well.
struct JpegErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void leaveJpeg(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrorTrap*>(info->err)->jump, 1);
}

void failOnJpegWarning(j_common_ptr info, int level) {
    if (level < 0) {
        leaveJpeg(info);
    }
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

// Holds no object with a destructor, because an error leaves it by longjmp.
bool decodeJpeg(std::FILE* file, QImage& canvas) {
    jpeg_decompress_struct info{};
    JpegErrorTrap trap{};
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = leaveJpeg;
    trap.manager.emit_message = failOnJpegWarning;
    if (setjmp(trap.jump) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kJpegMemoryLimit;
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    jpeg_start_decompress(&info);

    JDIMENSION cropLeft = 0;
    JDIMENSION cropped = cropWidth(info, canvas.width());
    if (cropped < info.output_width) {
        jpeg_crop_scanline(&info, &cropLeft, &cropped);
    }
    const int shownWidth = std::min(static_cast<int>(info.output_width), canvas.width());
    const int shownRows = std::min(static_cast<int>(info.output_height), canvas.height());
    const JSAMPARRAY row = (*info.mem->alloc_sarray)(
        reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
        info.output_width * static_cast<JDIMENSION>(info.output_components), 1);
    while (static_cast<int>(info.output_scanline) < shownRows) {
        const int y = static_cast<int>(info.output_scanline);
        jpeg_read_scanlines(&info, row, 1);
        auto* out = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        if (cmyk) {
            copyCmykRow(row[0], out, shownWidth);
        } else {
            std::memcpy(out, row[0], static_cast<std::size_t>(shownWidth) * 4);
        }
    }
    jpeg_destroy_decompress(&info);
    return true;
}

// ---- GIF ----

using GifCloser = decltype([](GifFileType* gif) { DGifCloseFile(gif, nullptr); });
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

int readGifBytes(GifFileType* gif, GifByteType* buffer, int length) {
    const std::size_t got = std::fread(buffer, 1, static_cast<std::size_t>(length),
                                       static_cast<std::FILE*>(gif->UserData));
    return static_cast<int>(got);
}

// The transparent index a graphic control extension names, or NO_TRANSPARENT_COLOR.
bool readExtension(GifFileType* gif, int& transparentIndex) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) {
        return false;
    }
    if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr) {
        GraphicsControlBlock control{};
        if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_ERROR) {
            return false;
        }
        transparentIndex = control.TransparentColor;
    }
    while (block != nullptr) {
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) {
            return false;
        }
    }
    return true;
}

struct InterlacePass {
    int firstRow;
    int step;
};
constexpr std::array<InterlacePass, 4> kInterlacePasses{{{0, 8}, {4, 8}, {2, 4}, {1, 2}}};
constexpr std::array<InterlacePass, 1> kSequentialPass{{{0, 1}}};

// Draws the frame whose descriptor was just read; rows arrive in file order.
bool drawGifFrame(GifFileType* gif, int transparentIndex, QImage& canvas) {
    const GifImageDesc& frame = gif->Image;
    const ColorMapObject* colours = frame.ColorMap != nullptr ? frame.ColorMap : gif->SColorMap;
    if (colours == nullptr || frame.Width <= 0 || frame.Height <= 0) {
        return false;
    }
    // A screen of 0 x 0 (written by some encoders) takes the frame's extent.
    const int screenWidth = gif->SWidth > 0 ? gif->SWidth : frame.Left + frame.Width;
    const int screenHeight = gif->SHeight > 0 ? gif->SHeight : frame.Top + frame.Height;
    const int right = std::min({frame.Left + frame.Width, screenWidth, canvas.width()});
    const int bottom = std::min(screenHeight, canvas.height());

    std::vector<GifPixelType> line(static_cast<std::size_t>(frame.Width));
    const auto passes = frame.Interlace ? std::span<const InterlacePass>(kInterlacePasses)
                                        : std::span<const InterlacePass>(kSequentialPass);
    for (const InterlacePass& pass : passes) {
        const bool lastPass = &pass == &passes.back();
        for (int row = pass.firstRow; row < frame.Height; row += pass.step) {
            const int y = frame.Top + row;
            if (y >= bottom && lastPass) {
                return true;  // the remaining rows all lie below what is shown
            }
            if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) {
                return false;
            }
            if (y >= bottom) {
                continue;
            }
            auto* out = reinterpret_cast<QRgb*>(canvas.scanLine(y));
            for (int x = frame.Left; x < right; ++x) {
                const int index = line[static_cast<std::size_t>(x - frame.Left)];
                if (index == transparentIndex) {
                    continue;
                }
                if (index >= colours->ColorCount) {
                    return false;
                }
                const GifColorType& colour = colours->Colors[index];
                out[x] = qRgb(colour.Red, colour.Green, colour.Blue);
            }
        }
    }
    return true;
}

bool decodeGif(std::FILE* file, QImage& canvas) {
    const GifHandle gif(DGifOpen(file, readGifBytes, nullptr));
    if (!gif) {
        return false;
    }
    int transparentIndex = NO_TRANSPARENT_COLOR;
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR) {
            return false;
        }
        switch (record) {
            case IMAGE_DESC_RECORD_TYPE:
                return DGifGetImageDesc(gif.get()) != GIF_ERROR &&
                       drawGifFrame(gif.get(), transparentIndex, canvas);
            case EXTENSION_RECORD_TYPE:
                if (!readExtension(gif.get(), transparentIndex)) {
                    return false;
                }
                break;
            default:
                return false;  // the file ends without a single frame
        }
    }
}

// ---- everything else ----

bool decodeWithQt(const QString& path, QImage& canvas) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (size.isValid()) {
        reader.setClipRect(QRect(QPoint(0, 0), size.boundedTo(canvas.size())));
    }
    const QImage picture = reader.read();
    if (picture.isNull()) {
        return false;
    }
    QPainter painter(&canvas);
    painter.drawImage(0, 0, picture);
    return true;
}

}  // namespace

std::optional<QImage> decodePictureForCanvas(const QString& path, QSize canvas, QColor background) {
    if (!QFileInfo(path).isFile()) {
        return std::nullopt;
    }
    const FileHandle file(std::fopen(QFile::encodeName(path).constData(), "rb"));
    if (!file) {
        return std::nullopt;
    }
    QImage image(canvas, QImage::Format_RGB32);
    if (image.isNull()) {
        return std::nullopt;
    }
    image.fill(background);
    bool decoded = false;
    switch (sniff(file.get())) {
        case PictureKind::Jpeg:
            decoded = decodeJpeg(file.get(), image);
            break;
        case PictureKind::Gif:
            decoded = decodeGif(file.get(), image);
            break;
        case PictureKind::Other:
            decoded = decodeWithQt(path, image);
            break;
    }
    if (!decoded) {
        return std::nullopt;
    }
    return image;
}

}  // namespace kestrane
