#pragma once

#include <cstdint>

namespace kestrane {

// The image-conversion library: a BMP file is read into an in-memory bitmap and written out as a
// JPEG file. Bitmaps are known by handles, numbers that index the library's own table; a handle
// that is 0, freed or never issued is refused, never followed.

// Reads a BMP file (the name's bytes as the file system holds them). The handle of the new
// bitmap, or 0 when the name is null or the file is missing, not a regular file or not a
// readable BMP.
std::int32_t BMPtoDIB(const char* bmpFileName);

// Writes the bitmap as a baseline JPEG file. `compression` is the encoder's quality, 0 (smallest
// file) to 100 (best picture), values outside clamped; no option is defined, `option` is
// accepted and ignored. The file is replaced whole (workspace/file_replacement.h). Nonzero on
// success; on failure (bad handle, null name, unwritable file, full disk) 0, and whatever stood
// at that name is left as it was.
std::int32_t DIBtoJPG(const char* jpgFileName, std::int32_t handle, std::int32_t compression,
                      std::int32_t option);

// Frees the bitmap. Nonzero when the handle named a live bitmap.
std::int32_t DeleteDIB(std::int32_t handle);

}  // namespace kestrane
