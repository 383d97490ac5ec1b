// Photoshop documents (PSD and PSB), straight from bytes through the reader.

#include "PictureReaderFuzz.h"
#include "PsdReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return chromint::fuzz::ReadPicture(data, size,
                                       [](QIODevice& device) { return chromint::ReadPsd(device); });
}
