#include "media/Letterbox.h"

Letterbox Letterbox::fit(int areaWidth, int areaHeight) {
    Letterbox box;
    const double widthScale = static_cast<double>(areaWidth) / aspectWidth;
    const double heightScale = static_cast<double>(areaHeight) / aspectHeight;
    if (widthScale < heightScale) {
        box.width = areaWidth;
        box.height = static_cast<int>(static_cast<double>(areaWidth) * aspectHeight / aspectWidth);
    } else {
        box.height = areaHeight;
        box.width = static_cast<int>(static_cast<double>(areaHeight) * aspectWidth / aspectHeight);
    }
    box.x = (areaWidth - box.width) / 2;
    box.y = (areaHeight - box.height) / 2;
    return box;
}
