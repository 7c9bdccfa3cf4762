#pragma once
// Interface pictures: the executable's PNG resources of type "IMAGE" (Windows).
#include <memory>

#include "media/Image.h"

// The decoded picture of resource id, or null when its bytes do not decode.
// Throws WindowException when the resource is absent or cannot be loaded.
std::unique_ptr<Image> loadResourceImage(int id);
