#include <cstddef>
#include <cstdint>
#include <string_view>

#include "workspace/numbers.h"

// Any bytes as the text of a coordinate box.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kestrane::leadingNumber(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
