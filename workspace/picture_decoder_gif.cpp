#include <gif_lib.h>

#include <QImage>
#include <algorithm>
#include <array>
#include <memory>
#include <span>
#include <vector>

#include "workspace/picture_decoder_formats.h"

namespace kestrane {
namespace {

using GifCloser = decltype([](GifFileType* gif) { DGifCloseFile(gif, nullptr); });
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

int readGifBytes(GifFileType* gif, GifByteType* buffer, int length) {
    return static_cast<int>(static_cast<DecodeBudget*>(gif->UserData)->read(buffer, length));
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

// Copies one row of palette indices onto the canvas; false when an index has no colour.
bool drawRow(std::span<const GifPixelType> line, const ColorMapObject& colours,
             int transparentIndex, QRgb* out) {
    for (std::size_t x = 0; x < line.size(); ++x) {
        const int index = line[x];
        if (index == transparentIndex) {
            continue;
        }
        if (index >= colours.ColorCount) {
            return false;
        }
        const GifColorType& colour = colours.Colors[index];
        out[x] = qRgb(colour.Red, colour.Green, colour.Blue);
    }
    return true;
}

// Draws the frame whose descriptor was just read, charging its rows before it decodes them. Rows
// arrive in file order; decoding stops below the rows shown, unless the frame lies within them.
bool drawGifFrame(GifFileType* gif, int transparentIndex, QImage& canvas, DecodeBudget& budget) {
    const GifImageDesc& frame = gif->Image;
    const ColorMapObject* colours = frame.ColorMap != nullptr ? frame.ColorMap : gif->SColorMap;
    if (colours == nullptr || frame.Width <= 0 || frame.Height <= 0 || !budget.hold(frame.Width)) {
        return false;
    }
    // A screen of 0 x 0 (written by some encoders) takes the frame's extent.
    const int screenWidth = gif->SWidth > 0 ? gif->SWidth : frame.Left + frame.Width;
    const int screenHeight = gif->SHeight > 0 ? gif->SHeight : frame.Top + frame.Height;
    const int shownWidth =
        std::max(0, std::min({frame.Left + frame.Width, screenWidth, canvas.width()}) - frame.Left);
    const int bottom = std::min(screenHeight, canvas.height());
    const int neededRows = std::clamp(bottom - frame.Top, 0, frame.Height);

    std::vector<GifPixelType> line(static_cast<std::size_t>(frame.Width));
    const auto shown = std::span<const GifPixelType>(line).first(shownWidth);
    const auto passes = frame.Interlace ? std::span<const InterlacePass>(kInterlacePasses)
                                        : std::span<const InterlacePass>(kSequentialPass);
    // Every row of the earlier passes is decoded, but the last pass only down to the rows shown.
    const auto end = [&](const InterlacePass& pass) {
        return &pass == &passes.back() ? neededRows : frame.Height;
    };
    std::int64_t rows = 0;
    for (const InterlacePass& pass : passes) {
        rows += std::max(0, (end(pass) - pass.firstRow + pass.step - 1) / pass.step);
    }
    if (!budget.work(rows * frame.Width * kWorkPerGifPixel)) {
        return false;
    }
    for (const InterlacePass& pass : passes) {
        for (int row = pass.firstRow; row < end(pass); row += pass.step) {
            if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) {
                return false;
            }
            const int y = frame.Top + row;
            if (y < bottom && !shown.empty() &&
                !drawRow(shown, *colours, transparentIndex,
                         reinterpret_cast<QRgb*>(canvas.scanLine(y)) + frame.Left)) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

bool decodeGif(DecodeBudget& budget, QImage& canvas) {
    const GifHandle gif(DGifOpen(&budget, readGifBytes, nullptr));
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
                       drawGifFrame(gif.get(), transparentIndex, canvas, budget);
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

}  // namespace kestrane
