#include "app/Resources.h"
#include "media/PngDecoder.h"
#include "media/ResourceImage.h"

std::unique_ptr<Image> loadResourceImage(int id) {
    const ResourceBytes bytes = loadResource(L"IMAGE", id);
    return decodePng(bytes.data, bytes.size);
}
