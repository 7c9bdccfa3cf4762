#pragma once
// A miniature as the strip's loader makes it: the reduced picture with its
// caption, made beside it on the loader's thread (the local-time conversion
// behind a caption is slow enough to matter when hundreds arrive at once).
#include <string>
#include <utility>

#include "media/Image.h"

class Miniature : public Image {
public:
    Miniature(const Image& picture, std::wstring caption) : Image(picture), caption_(std::move(caption)) {}

    const std::wstring& caption() const { return caption_; }

private:
    std::wstring caption_;
};
