#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>

// What a background picture may cost before it is refused: a hostile file must not take the machine's
// memory or time.
struct JpegLimits {
    std::uint64_t maxPixels = 100'000'000;
    int maxScans = 100;
    // Shared by the decoder's own memory, the decoded picture and the picture kept on screen meanwhile.
    std::uint64_t maxMemory = 320ULL * 1024 * 1024;
    // In units of about 2 ns of decoding on a current desktop processor; see jpeg_picture.cpp for how a
    // file's work is counted. An ordinary 24-megapixel progressive photograph takes about half of it.
    std::uint64_t maxWork = 550'000'000;
};

// What the caller needs: the smallest size that still covers its drawing area (empty: the picture's own
// size) and the bytes of the picture it keeps while this one loads.
struct JpegTarget {
    QSize cover;
    std::uint64_t keptBytes = 0;
};

struct JpegPicture {
    QImage image;
    // The file ended before the picture did: what was decoded is there, the rest is grey.
    bool incomplete = false;
    // The work counted while decoding, in the units of JpegLimits::maxWork.
    std::uint64_t work = 0;
};

// Decodes a JPEG file into an RGB32 image, converting CMYK and YCCK files to RGB, at the smallest of the
// decoder's scales (1/8 to 8/8) that still covers target.cover, or a smaller one when that would not fit
// in the memory limit. Throws AppError of kind "EJPEG": "JPEG error #<n>" with the decoder's message code
// for a file that is not a valid JPEG, the system's own message for a file that cannot be read, and a
// plain sentence for a file over the limits.
JpegPicture loadJpegPicture(const QString& path, const JpegTarget& target = {},
                            const JpegLimits& limits = {});
