#pragma once

#include <QImage>
#include <string>

// Encodes a picture as a baseline JPEG file with libjpeg (the toolkit's own
// JPEG plugin may be missing).
std::string encodeJpeg(const QImage& image, int quality = 95);
