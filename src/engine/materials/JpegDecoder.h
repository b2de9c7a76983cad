#pragma once

#include <QImage>
#include <string_view>

// Decodes a JPEG file with libjpeg into an RGB picture. A damaged or
// truncated file, or one of more than 100 scans, raises EGxError "JPEG image
// is not valid (<reason>)"; a picture beyond the bounds of PictureLimits.h
// their too-large error.
QImage decodeJpeg(std::string_view bytes);
