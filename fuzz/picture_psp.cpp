// Paint Shop Pro images, straight from bytes through the reader.

#include "PictureReaderFuzz.h"
#include "PspReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return chromint::fuzz::ReadPicture(data, size,
                                       [](QIODevice& device) { return chromint::ReadPsp(device); });
}
