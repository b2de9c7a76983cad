#pragma once

#include <QImage>
#include <string>

// Encodes a picture as a JPEG file with libjpeg (the toolkit's own JPEG
// plugin may be missing): baseline, or progressive in several scans. Used
// for fixtures and fuzzing seeds; the program itself only reads JPEG.
std::string encodeJpeg(const QImage& image, int quality = 95, bool progressive = false);
