#include "ui/picture/jpeg_picture.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QSysInfo>
#include <algorithm>
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
constexpr std::uint64_t kMiB = 1024 * 1024;

// The work of a decode, in units of about 2 ns, as measured with libjpeg-turbo 2.1 on pictures from flat
// grey to noise at quality 100. Every scan passes over all the blocks of its components, whatever its data
// hold, so a scan costs its coefficients plus an overhead per block. A Huffman refinement scan reads a
// correction bit for each coefficient already seen, and arithmetic decoding costs about eight times as
// much per coefficient. The entropy-coded bytes cost on top of that: dense arithmetic-coded data take
// about 140 ns a byte, so a few megabytes of them take seconds whatever the picture's size.
constexpr std::uint64_t kBlockOverhead = 8;
constexpr std::uint64_t kRefinementWeight = 2;
constexpr std::uint64_t kArithmeticWeight = 8;
constexpr std::uint64_t kHuffmanByte = 6;
constexpr std::uint64_t kArithmeticByte = 64;
// The output pass: colour conversion and writing of each output pixel, and for a file of many scans the
// inverse transform of every stored block.
constexpr std::uint64_t kOutputPixel = 4;
constexpr std::uint64_t kStoredBlock = 8;

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
    std::uint64_t work = 0;
    std::uint64_t maxWork = 0;
    bool tooMuchWork = false;
    int countedScan = 0;
    bool incomplete = false;
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

// Leaves the decoder as soon as the work passes the budget, from inside a scan if its data are dense.
void addWork(Decoder& d, std::uint64_t units) {
    d.work += units;
    if (d.work > d.maxWork) {
        d.tooMuchWork = true;
        d.cinfo.err->error_exit(reinterpret_cast<j_common_ptr>(&d.cinfo));
    }
}

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
        d.incomplete = true;
        d.buffer[0] = 0xFF;
        d.buffer[1] = JPEG_EOI;
        n = 2;
    }
    d.sawData = true;
    addWork(d, static_cast<std::uint64_t>(n) * (cinfo->arith_code ? kArithmeticByte : kHuffmanByte));
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

// The decoder has no limit on the number of scans, and every scan passes over all the blocks of its
// components: each scan is counted, and its work charged, before its data are decoded. The number of scans
// is not known until they arrive.
void watchScans(j_common_ptr common) {
    if (!common->is_decompressor) return;
    Decoder& d = decoderOf(common);
    const jpeg_decompress_struct& cinfo = d.cinfo;
    if (cinfo.input_scan_number == d.countedScan) return;
    d.countedScan = cinfo.input_scan_number;
    if (cinfo.input_scan_number > d.maxScans) {
        d.tooManyScans = true;
        common->err->error_exit(common);
    }
    const std::uint64_t blocks =
        std::uint64_t(cinfo.MCUs_per_row) * cinfo.MCU_rows_in_scan * std::uint64_t(cinfo.blocks_in_MCU);
    const int band = cinfo.progressive_mode ? cinfo.Se - cinfo.Ss + 1 : DCTSIZE2;
    const std::uint64_t weight = cinfo.arith_code
                                     ? kArithmeticWeight
                                     : (cinfo.progressive_mode && cinfo.Ah > 0 ? kRefinementWeight : 1);
    addWork(d, blocks * (std::uint64_t(std::clamp(band, 1, DCTSIZE2)) + kBlockOverhead) * weight);
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

bool calcOutputDimensions(Decoder& d) {
    if (setjmp(d.jump)) return false;
    jpeg_calc_output_dimensions(&d.cinfo);
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

AppError jpegError(const QString& text) {
    return jpegError(text.toStdString());
}

AppError systemError(int error) {
    return jpegError(std::generic_category().message(error));
}

QString dimensions(std::uint64_t width, std::uint64_t height) {
    //: A picture's size in pixels: width by height.
    return QCoreApplication::translate("JpegPicture", "%1 \u00D7 %2 pixels")
        .arg(QString::number(width), QString::number(height));
}

AppError tooMuchMemory(std::uint64_t available) {
    return jpegError(
        QCoreApplication::translate(
            "JpegPicture",
            "The picture needs more memory than the %1 MB allowed for decoding it; it is not shown")
            .arg(available / kMiB));
}

AppError tooMuchWork() {
    return jpegError(QCoreApplication::translate(
        "JpegPicture", "The picture would take too long to decode; it is not shown"));
}

AppError decoderError(const Decoder& d, std::uint64_t available) {
    if (d.readErrno != 0) return systemError(d.readErrno);
    if (d.tooManyScans)
        //: A progressive JPEG file is sent in scans, each adding detail; %1 is the most that are decoded.
        return jpegError(
            QCoreApplication::translate(
                "JpegPicture", "The picture is built from too many scans (more than %1); it is not shown")
                .arg(d.maxScans));
    if (d.tooMuchWork) return tooMuchWork();
    if (d.err.msg_code == JERR_NO_BACKING_STORE) return tooMuchMemory(available);
    if (d.err.msg_code == JERR_OUT_OF_MEMORY)
        return jpegError(
            QCoreApplication::translate("JpegPicture", "There is not enough memory to decode the picture"));
    //: %1 is the JPEG decoder's own message number (libjpeg's JERR_ codes).
    return jpegError(QCoreApplication::translate("JpegPicture", "JPEG error #%1").arg(d.err.msg_code));
}

QString megapixels(std::uint64_t pixels) {
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(static_cast<double>(pixels) / 1e6, 'g', 6);
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

JpegPicture loadJpegPicture(const QString& path, const JpegTarget& target, const JpegLimits& limits) {
    auto d = std::make_unique<Decoder>();
    // Non-blocking so that a named pipe without a writer reads as empty instead of hanging the program.
    d->fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (d->fd < 0) throw systemError(errno);
    DecoderCleanup cleanup(*d);

    const std::uint64_t available =
        limits.maxMemory > target.keptBytes ? limits.maxMemory - target.keptBytes : 0;
    d->cinfo.err = jpeg_std_error(&d->err);
    d->err.error_exit = leaveDecoder;
    d->err.output_message = ignoreMessage;
    d->cinfo.client_data = d.get();
    if (!createDecoder(*d)) throw decoderError(*d, available);

    d->source.init_source = initSource;
    d->source.fill_input_buffer = fillInput;
    d->source.skip_input_data = skipInput;
    d->source.resync_to_restart = jpeg_resync_to_restart;
    d->source.term_source = termSource;
    d->cinfo.src = &d->source;

    d->maxScans = limits.maxScans;
    d->maxWork = limits.maxWork;
    d->progress.progress_monitor = watchScans;
    d->cinfo.progress = &d->progress;

    if (!readHeader(*d)) throw decoderError(*d, available);
    jpeg_decompress_struct& cinfo = d->cinfo;

    const std::uint64_t width = cinfo.image_width, height = cinfo.image_height;
    if (width * height > limits.maxPixels)
        //: %1 is the picture's size ("65000 × 65000 pixels"), %2 the most megapixels the program shows.
        throw jpegError(QCoreApplication::translate(
                            "JpegPicture", "The picture is too large (%1); at most %2 megapixels are shown")
                            .arg(dimensions(width, height), megapixels(limits.maxPixels)));

    // A file of many scans keeps every coefficient of the picture until its last scan has arrived, in the
    // decoder's arrays of two bytes a coefficient, whatever the output's scale.
    const bool multiScan = cinfo.progressive_mode || cinfo.comps_in_scan < cinfo.num_components;
    std::uint64_t storedBlocks = 0, storedBytes = 0;
    for (int c = 0; c < cinfo.num_components; ++c) {
        const jpeg_component_info& comp = cinfo.comp_info[c];
        storedBlocks += std::uint64_t(comp.width_in_blocks) * comp.height_in_blocks;
        const std::uint64_t w = (comp.width_in_blocks + comp.h_samp_factor - 1) / comp.h_samp_factor;
        const std::uint64_t h = (comp.height_in_blocks + comp.v_samp_factor - 1) / comp.v_samp_factor;
        storedBytes += w * comp.h_samp_factor * h * comp.v_samp_factor * sizeof(JBLOCK);
    }
    if (!multiScan) storedBytes = 0;

    // The picture is stretched over the drawing area anyway, so the smallest scale that still covers it
    // loses nothing, and the decoder's inverse transform at 1/8 costs a fraction of the full one.
    const auto outputBytes = [&] { return std::uint64_t(cinfo.output_width) * cinfo.output_height * 4; };
    cinfo.scale_denom = DCTSIZE;
    int scale = DCTSIZE;
    for (int n = 1; n < DCTSIZE && !target.cover.isEmpty(); ++n) {
        cinfo.scale_num = static_cast<unsigned>(n);
        if (!calcOutputDimensions(*d)) throw decoderError(*d, available);
        if (cinfo.output_width >= JDIMENSION(target.cover.width()) &&
            cinfo.output_height >= JDIMENSION(target.cover.height())) {
            scale = n;
            break;
        }
    }
    // A picture of an extreme shape may need more memory than allowed to cover the area along its short
    // side; it is then shown coarser rather than refused.
    for (;; --scale) {
        cinfo.scale_num = static_cast<unsigned>(scale);
        if (!calcOutputDimensions(*d)) throw decoderError(*d, available);
        if (outputBytes() + storedBytes <= available) break;
        if (scale == 1) throw tooMuchMemory(available);
    }
    // Zero would mean no limit at all.
    cinfo.mem->max_memory_to_use = static_cast<long>(std::max<std::uint64_t>(available - outputBytes(), 1));

    d->work = std::uint64_t(cinfo.output_width) * cinfo.output_height * kOutputPixel +
              (multiScan ? storedBlocks * kStoredBlock : 0);
    if (d->work > limits.maxWork) throw tooMuchWork();

    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    // QImage::Format_RGB32 is the 32-bit word 0xffRRGGBB in the machine's byte order.
    cinfo.out_color_space =
        cmyk ? JCS_CMYK : (QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRA : JCS_EXT_ARGB);

    if (!startDecompress(*d)) throw decoderError(*d, available);
    const std::uint64_t outWidth = cinfo.output_width, outHeight = cinfo.output_height;
    JpegPicture result;
    result.image = QImage(static_cast<int>(outWidth), static_cast<int>(outHeight), QImage::Format_RGB32);
    if (result.image.isNull())
        //: %1 is the size the decoded picture would have ("9000 × 6000 pixels").
        throw jpegError(
            QCoreApplication::translate("JpegPicture", "There is not enough memory for the picture (%1)")
                .arg(dimensions(outWidth, outHeight)));
    if (!readRows(*d, result.image.bits(), result.image.bytesPerLine())) throw decoderError(*d, available);
    if (cmyk) cmykToRgb(result.image, cinfo.saw_Adobe_marker);
    result.incomplete = d->incomplete;
    result.work = d->work;
    return result;
}
