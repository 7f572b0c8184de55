#include "ui/main_window/jpeg_picture.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QSysInfo>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <memory>
#include <string>
#include <system_error>

#include <jerror.h>
#include <jpeglib.h>

#include "core/app_error.h"

namespace {

constexpr std::size_t kReadChunk = 64 * 1024;
constexpr JDIMENSION kRowsPerCall = 16;

// Everything libjpeg and its callbacks touch. It holds trivial data only: a longjmp out of the decoder
// skips every frame in between without running destructors.
struct Decoder {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    jpeg_source_mgr source;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
    int fd = -1;
    bool created = false;
    bool sawData = false;
    int readErrno = 0;
    int maxScans = 0;
    bool tooManyScans = false;
    JOCTET buffer[kReadChunk];
};

Decoder& decoderOf(j_common_ptr cinfo) {
    return *static_cast<Decoder*>(cinfo->client_data);
}
Decoder& decoderOf(j_decompress_ptr cinfo) {
    return *static_cast<Decoder*>(cinfo->client_data);
}

[[noreturn]] void leaveDecoder(j_common_ptr cinfo) {
    std::longjmp(decoderOf(cinfo).jump, 1);
}

// Warnings (a truncated file, corrupt data) are not shown: the picture is shown as far as it decodes.
void ignoreMessage(j_common_ptr) {}

void initSource(j_decompress_ptr) {}
void termSource(j_decompress_ptr) {}

// Reads through the descriptor rather than stdio so that a read failure keeps its errno and is not
// mistaken for the end of the file.
boolean fillInput(j_decompress_ptr cinfo) {
    Decoder& d = decoderOf(cinfo);
    ssize_t n;
    do {
        n = ::read(d.fd, d.buffer, sizeof d.buffer);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        d.readErrno = errno;
        ERREXIT(cinfo, JERR_FILE_READ);
    }
    if (n == 0) {
        if (!d.sawData) ERREXIT(cinfo, JERR_INPUT_EMPTY);
        // A truncated file ends in a made-up end-of-image marker, so what came before is still shown.
        WARNMS(cinfo, JWRN_JPEG_EOF);
        d.buffer[0] = 0xFF;
        d.buffer[1] = JPEG_EOI;
        n = 2;
    }
    d.sawData = true;
    d.source.next_input_byte = d.buffer;
    d.source.bytes_in_buffer = static_cast<std::size_t>(n);
    return TRUE;
}

void skipInput(j_decompress_ptr cinfo, long count) {
    if (count <= 0) return;
    jpeg_source_mgr& src = *cinfo->src;
    while (static_cast<unsigned long>(count) > src.bytes_in_buffer) {
        count -= static_cast<long>(src.bytes_in_buffer);
        fillInput(cinfo);
    }
    src.next_input_byte += count;
    src.bytes_in_buffer -= static_cast<std::size_t>(count);
}

// The decoder has no limit on the number of scans, and every scan of a progressive file passes over the
// whole picture: stop reading at the first scan over the limit.
void watchScans(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor) return;
    Decoder& d = decoderOf(cinfo);
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > d.maxScans) {
        d.tooManyScans = true;
        cinfo->err->error_exit(cinfo);
    }
}

// Each step that calls into libjpeg has its own return point for the error handler, in a frame that holds
// no C++ object; the failure becomes an exception only after control is back here.
bool createDecoder(Decoder& d) {
    if (setjmp(d.jump)) return false;
    jpeg_create_decompress(&d.cinfo);
    d.created = true;
    return true;
}

bool readHeader(Decoder& d) {
    if (setjmp(d.jump)) return false;
    jpeg_read_header(&d.cinfo, TRUE);
    return true;
}

bool startDecompress(Decoder& d) {
    if (setjmp(d.jump)) return false;
    jpeg_start_decompress(&d.cinfo);
    return true;
}

bool readRows(Decoder& d, uchar* bits, qsizetype bytesPerLine) {
    if (setjmp(d.jump)) return false;
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        JSAMPROW rows[kRowsPerCall];
        const JDIMENSION first = d.cinfo.output_scanline;
        JDIMENSION count = d.cinfo.output_height - first;
        if (count > kRowsPerCall) count = kRowsPerCall;
        for (JDIMENSION i = 0; i < count; ++i) rows[i] = bits + (first + i) * bytesPerLine;
        jpeg_read_scanlines(&d.cinfo, rows, count);
    }
    return true;
}

class DecoderCleanup {
public:
    explicit DecoderCleanup(Decoder& d) : d_(d) {}
    ~DecoderCleanup() {
        if (d_.created) jpeg_destroy_decompress(&d_.cinfo);
        if (d_.fd >= 0) ::close(d_.fd);
    }
    DecoderCleanup(const DecoderCleanup&) = delete;
    DecoderCleanup& operator=(const DecoderCleanup&) = delete;

private:
    Decoder& d_;
};

AppError jpegError(const std::string& text) {
    return AppError("EJPEG", text);
}

AppError systemError(int error) {
    return jpegError(std::generic_category().message(error));
}

std::string dimensions(std::uint64_t width, std::uint64_t height) {
    return std::to_string(width) + " \u00D7 " + std::to_string(height) + " pixels";
}

AppError decoderError(const Decoder& d, const JpegLimits& limits) {
    if (d.readErrno != 0) return systemError(d.readErrno);
    if (d.tooManyScans)
        return jpegError("The picture is built from too many scans (more than " +
                         std::to_string(limits.maxScans) + "); it is not shown");
    if (d.err.msg_code == JERR_NO_BACKING_STORE)
        return jpegError("The picture needs more memory than the " +
                         std::to_string(limits.maxDecoderMemory / (1024 * 1024)) +
                         " MB allowed for decoding it; it is not shown");
    if (d.err.msg_code == JERR_OUT_OF_MEMORY)
        return jpegError("There is not enough memory to decode the picture");
    return jpegError("JPEG error #" + std::to_string(d.err.msg_code));
}

std::string megapixels(std::uint64_t pixels) {
    return QString::number(static_cast<double>(pixels) / 1e6, 'g', 6).toStdString();
}

// libjpeg gives CMYK and YCCK files as CMYK. Adobe's writers store the inks inverted (255 is no ink) and
// mark the file with their APP14 segment; other files hold the inks as they are.
void cmykToRgb(QImage& image, bool adobeInverted) {
    for (int y = 0; y < image.height(); ++y) {
        uchar* line = image.scanLine(y);
        QRgb* out = reinterpret_cast<QRgb*>(line);
        for (int x = 0; x < image.width(); ++x) {
            unsigned c = line[4 * x], m = line[4 * x + 1], ye = line[4 * x + 2], k = line[4 * x + 3];
            if (!adobeInverted) {
                c = 255 - c;
                m = 255 - m;
                ye = 255 - ye;
                k = 255 - k;
            }
            // Now 255 means no ink: each channel is the light its own ink and the black let through.
            out[x] = qRgb((c * k + 127) / 255, (m * k + 127) / 255, (ye * k + 127) / 255);
        }
    }
}

}  // namespace

QImage loadJpegPicture(const QString& path, const JpegLimits& limits) {
    auto d = std::make_unique<Decoder>();
    // Non-blocking so that a named pipe without a writer reads as empty instead of hanging the program.
    d->fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (d->fd < 0) throw systemError(errno);
    DecoderCleanup cleanup(*d);

    d->cinfo.err = jpeg_std_error(&d->err);
    d->err.error_exit = leaveDecoder;
    d->err.output_message = ignoreMessage;
    d->cinfo.client_data = d.get();
    if (!createDecoder(*d)) throw decoderError(*d, limits);
    d->cinfo.mem->max_memory_to_use = limits.maxDecoderMemory;

    d->source.init_source = initSource;
    d->source.fill_input_buffer = fillInput;
    d->source.skip_input_data = skipInput;
    d->source.resync_to_restart = jpeg_resync_to_restart;
    d->source.term_source = termSource;
    d->cinfo.src = &d->source;

    d->maxScans = limits.maxScans;
    d->progress.progress_monitor = watchScans;
    d->cinfo.progress = &d->progress;

    if (!readHeader(*d)) throw decoderError(*d, limits);

    const std::uint64_t width = d->cinfo.image_width, height = d->cinfo.image_height;
    if (width * height > limits.maxPixels)
        throw jpegError("The picture is too large (" + dimensions(width, height) + "); at most " +
                        megapixels(limits.maxPixels) + " megapixels are shown");

    const bool cmyk = d->cinfo.jpeg_color_space == JCS_CMYK || d->cinfo.jpeg_color_space == JCS_YCCK;
    // QImage::Format_RGB32 is the 32-bit word 0xffRRGGBB in the machine's byte order.
    d->cinfo.out_color_space =
        cmyk ? JCS_CMYK : (QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRA : JCS_EXT_ARGB);

    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
    if (image.isNull())
        throw jpegError("There is not enough memory for the picture (" + dimensions(width, height) + ")");

    if (!startDecompress(*d)) throw decoderError(*d, limits);
    if (!readRows(*d, image.bits(), image.bytesPerLine())) throw decoderError(*d, limits);
    if (cmyk) cmykToRgb(image, d->cinfo.saw_Adobe_marker);
    return image;
}
