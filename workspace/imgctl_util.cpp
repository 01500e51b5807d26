#include "workspace/imgctl_util.h"

#include "windowing/file_names.h"
#include "workspace/imgctl.h"

namespace kestrane {
namespace {

template <typename Call>
std::int32_t resultOrZero(Call&& call) {
    try {
        return call();
    } catch (...) {
        return 0;
    }
}

}  // namespace

const ImgctlEntries& imgctlLibrary() {
    static const ImgctlEntries library{BMPtoDIB, DIBtoJPG, DeleteDIB};
    return library;
}

bool convertBmpFileToJpg(const QString& jpgFileName, const QString& bmpFileName,
                         std::int16_t compression, std::int16_t option,
                         const ImgctlEntries& entries) {
    const QByteArray bmpName = encodeFileName(bmpFileName);
    const std::int32_t handle = resultOrZero([&] { return entries.bmpToDib(bmpName.constData()); });
    if (handle == 0) {
        return false;
    }
    const QByteArray jpgName = encodeFileName(jpgFileName);
    const bool written =
        resultOrZero([&] {
            return entries.dibToJpg(jpgName.constData(), handle, compression, option);
        }) != 0;
    resultOrZero([&] { return entries.deleteDib(handle); });
    return written;
}

}  // namespace kestrane
