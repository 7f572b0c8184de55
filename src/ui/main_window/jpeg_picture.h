#pragma once

#include <QImage>
#include <QString>
#include <cstdint>

// What a background picture may cost before it is refused: a hostile file must not take the machine's
// memory or time.
struct JpegLimits {
    std::uint64_t maxPixels = 100'000'000;
    int maxScans = 100;
    long maxDecoderMemory = 1024L * 1024 * 1024;
};

// Decodes a JPEG file into an RGB32 image, converting CMYK and YCCK files to RGB. A truncated file gives
// what could be decoded. Throws AppError of kind "EJPEG": "JPEG error #<n>" with the decoder's message
// code for a file that is not a valid JPEG, the system's own message for a file that cannot be read, and
// a plain sentence for a file over the limits.
QImage loadJpegPicture(const QString& path, const JpegLimits& limits = {});
