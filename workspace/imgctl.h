#pragma once

#include <cstdint>

namespace kestrane {

// The image-conversion library: a BMP file is read into an in-memory bitmap and written out as a
// JPEG file. Bitmaps are known by handles, numbers that index the library's own table; a handle
// that is 0, freed or never issued is refused, never followed.

// Reads a BMP file (name in the local file-name encoding). The handle of the new bitmap, or 0
// when the name is null or the file is missing or not a readable BMP.
std::int32_t BMPtoDIB(const char* bmpFileName);

// Writes the bitmap as a baseline JPEG file. `compression` is the encoder's quality, 0 (smallest
// file) to 100 (best picture), values outside clamped; no option is defined, `option` is
// accepted and ignored. Nonzero on success; on failure (bad handle, null name, unwritable file)
// 0, and no file is left at that name.
std::int32_t DIBtoJPG(const char* jpgFileName, std::int32_t handle, std::int32_t compression,
                      std::int32_t option);

// Frees the bitmap. Nonzero when the handle named a live bitmap.
std::int32_t DeleteDIB(std::int32_t handle);

}  // namespace kestrane
