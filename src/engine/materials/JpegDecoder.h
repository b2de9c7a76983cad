#pragma once

#include <QImage>
#include <string_view>

// Decodes a JPEG file with libjpeg into an RGB picture. A damaged,
// truncated or implausibly large file raises EGxError
// "JPEG image is not valid (<reason>)".
QImage decodeJpeg(std::string_view bytes);
