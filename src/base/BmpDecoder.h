#pragma once

#include <QImage>
#include <string_view>

// Decodes a complete Windows BMP file (file header included) after checking
// that its header is sound and that the pixel data it declares is present,
// so a damaged or lying file never causes a read past the data or a huge
// allocation. Raises EGxError "Bitmap image is not valid" otherwise, and the
// too-large error of PictureLimits.h for a sound picture beyond its bounds.
// `bitsPerPixel` receives the file's pixel depth.
QImage decodeBmp(std::string_view bytes, int* bitsPerPixel = nullptr);
