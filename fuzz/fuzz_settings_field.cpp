#include <cstddef>
#include <cstdint>

#include "dialogs/settings_file.h"

// Any bytes as the settings file's content.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kestrane::readFirstField(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    return 0;
}
