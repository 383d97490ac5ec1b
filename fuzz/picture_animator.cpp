// Autodesk Animator and Animator Pro pictures and cels, straight from bytes through the reader.

#include "AnimatorPicReader.h"
#include "PictureReaderFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return chromint::fuzz::ReadPicture(
        data, size, [](QIODevice& device) { return chromint::ReadAnimatorPic(device); });
}
