#pragma once

#include <QString>
#include <cstdint>
#include <functional>

namespace kestrane {

// The three library entries the conversion goes through; tests put fakes in their place.
struct ImgctlEntries {
    std::function<std::int32_t(const char* bmpFileName)> bmpToDib;
    std::function<std::int32_t(const char* jpgFileName, std::int32_t handle,
                               std::int32_t compression, std::int32_t option)>
        dibToJpg;
    std::function<std::int32_t(std::int32_t handle)> deleteDib;
};

// The entries of the image-conversion library (workspace/imgctl.h).
const ImgctlEntries& imgctlLibrary();

// Converts the BMP file into the JPEG file: BMPtoDIB, then, when it gave a handle, DIBtoJPG and
// always DeleteDIB. True exactly when DIBtoJPG reported success. A missing or unreadable BMP
// gives false without calling the other two entries. An entry that throws counts as having
// returned 0 and the steps after it still run, so the bitmap is freed even then.
bool convertBmpFileToJpg(const QString& jpgFileName, const QString& bmpFileName,
                         std::int16_t compression, std::int16_t option,
                         const ImgctlEntries& entries = imgctlLibrary());

}  // namespace kestrane
