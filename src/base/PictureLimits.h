#pragma once

#include <cstdint>

// The largest picture the program decodes: 8192 pixels a side and 16777216
// (4096 x 4096) in all, 64 MB as texture pixels. Larger pictures are refused
// before their pixels are decoded.
constexpr int kMaxPictureSide = 8192;
constexpr std::int64_t kMaxPicturePixels = std::int64_t(1) << 24;

// Raises EGxError "Изображение слишком велико: <w> × <h> точек (допускается
// не больше 8192 точек по стороне и 16777216 точек всего)" for a picture
// beyond the bounds above.
void checkPictureSize(std::int64_t width, std::int64_t height);
