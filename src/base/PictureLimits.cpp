#include "base/PictureLimits.h"

#include "base/GxException.h"

#include <string>

void checkPictureSize(std::int64_t width, std::int64_t height)
{
    if (width <= kMaxPictureSide && height <= kMaxPictureSide && width * height <= kMaxPicturePixels)
        return;
    throw EGxError("Изображение слишком велико: " + std::to_string(width) + " × " + std::to_string(height)
                   + " точек (допускается не больше " + std::to_string(kMaxPictureSide)
                   + " точек по стороне и " + std::to_string(kMaxPicturePixels) + " точек всего)");
}
