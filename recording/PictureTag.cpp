#include "recording/PictureTag.h"

#include <cstring>

#include "app/ModelCode.h"

namespace pictureTag {

bool hasSignature(const std::uint8_t* tag) {
    return std::memcmp(tag + kSignatureAt, kSignaturePattern.data(), kSignaturePattern.size()) == 0;
}

bool hasModelCode(const std::uint8_t* tag) {
    const ModelCode& code = modelCode();
    return tag[0] == code.major && tag[1] == code.minor;
}

}  // namespace pictureTag
