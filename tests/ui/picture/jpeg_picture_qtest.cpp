#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

#include "core/app_error.h"
#include "ui/picture/jpeg_picture.h"

namespace {

enum class Progression { Sequential, Simple, OneCoefficientPerScan };

// How the test writes a picture: the samples as stored in the file (CMYK inks already inverted where the
// Adobe convention asks for it), the colour space the encoder keeps, and the scan layout.
struct Encoding {
    J_COLOR_SPACE input = JCS_RGB;
    std::optional<J_COLOR_SPACE> stored;
    std::optional<bool> adobeMarker;
    Progression progression = Progression::Sequential;
    bool arithmetic = false;
    int quality = 95;
    // Every component at full resolution instead of the encoder's halved chroma.
    bool fullChroma = false;
};

int componentsOf(J_COLOR_SPACE space) {
    switch (space) {
        case JCS_GRAYSCALE:
            return 1;
        case JCS_CMYK:
            return 4;
        default:
            return 3;
    }
}

// A progressive script that sends the DC of all components, then every AC coefficient of every component
// in a scan of its own: 1 + 63 * components scans, all legal.
std::vector<jpeg_scan_info> oneCoefficientPerScan(int components) {
    std::vector<jpeg_scan_info> scans;
    jpeg_scan_info dc{};
    dc.comps_in_scan = components;
    for (int c = 0; c < components; ++c) dc.component_index[c] = c;
    scans.push_back(dc);
    for (int c = 0; c < components; ++c)
        for (int k = 1; k < DCTSIZE2; ++k) {
            jpeg_scan_info ac{};
            ac.comps_in_scan = 1;
            ac.component_index[0] = c;
            ac.Ss = k;
            ac.Se = k;
            scans.push_back(ac);
        }
    return scans;
}

// Writes the picture whose stored samples `row` fills in, one row at a time, so that large pictures need
// no copy of their own.
QByteArray encodeJpeg(int width, int height, const std::function<void(int y, uchar* row)>& row,
                      const Encoding& enc) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&cinfo, &out, &outSize);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = componentsOf(enc.input);
    cinfo.in_color_space = enc.input;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, enc.quality, TRUE);
    if (enc.stored) jpeg_set_colorspace(&cinfo, *enc.stored);
    cinfo.arith_code = enc.arithmetic;
    if (enc.fullChroma)
        for (int c = 0; c < cinfo.num_components; ++c)
            cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
    if (enc.adobeMarker) cinfo.write_Adobe_marker = *enc.adobeMarker;
    std::vector<jpeg_scan_info> script;
    if (enc.progression == Progression::Simple) jpeg_simple_progression(&cinfo);
    if (enc.progression == Progression::OneCoefficientPerScan) {
        script = oneCoefficientPerScan(cinfo.num_components);
        cinfo.scan_info = script.data();
        cinfo.num_scans = static_cast<int>(script.size());
    }
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uchar> samples(static_cast<std::size_t>(width * cinfo.input_components));
    while (cinfo.next_scanline < cinfo.image_height) {
        row(static_cast<int>(cinfo.next_scanline), samples.data());
        JSAMPROW rows = samples.data();
        jpeg_write_scanlines(&cinfo, &rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray bytes(reinterpret_cast<const char*>(out), static_cast<qsizetype>(outSize));
    std::free(out);
    return bytes;
}

QByteArray encodeJpeg(int width, int height, const std::vector<uchar>& samples, const Encoding& enc) {
    const std::size_t rowBytes = samples.size() / static_cast<std::size_t>(height);
    return encodeJpeg(
        width, height, [&](int y, uchar* row) { std::copy_n(samples.begin() + y * rowBytes, rowBytes, row); },
        enc);
}

// Something like a photograph as far as the encoder is concerned: gradients, edges and some noise.
void photoRow(int width, int height, int y, uchar* row) {
    std::uint32_t noise = 2166136261u ^ static_cast<std::uint32_t>(y);
    for (int x = 0; x < width; ++x)
        for (int c = 0; c < 3; ++c) {
            noise = noise * 1664525u + 1013904223u;
            const int v = (x * 255 / width + y * 255 / height + c * 60) / 2 + static_cast<int>(noise >> 27) -
                          16 + ((x / 37 + y / 23) % 3) * 20;
            row[3 * x + c] = static_cast<uchar>(std::clamp(v, 0, 255));
        }
}

std::function<void(int, uchar*)> redLeftBlueRight(int width) {
    return [width](int, uchar* row) {
        for (int x = 0; x < width; ++x) {
            row[3 * x] = x < width / 2 ? 255 : 0;
            row[3 * x + 1] = 0;
            row[3 * x + 2] = x < width / 2 ? 0 : 255;
        }
    };
}

std::function<void(int, uchar*)> noiseRows(int width) {
    return [width](int y, uchar* row) {
        std::uint32_t state = 0x9E3779B9u * static_cast<std::uint32_t>(y + 1);
        for (int i = 0; i < 3 * width; ++i) {
            state = state * 1664525u + 1013904223u;
            row[i] = static_cast<uchar>(state >> 24);
        }
    };
}

// Vertical stripes, one per entry of `stripes` (the stored samples of one pixel), each 16 pixels wide.
std::vector<uchar> stripeSamples(const QList<QList<int>>& stripes, int height) {
    std::vector<uchar> samples;
    const int width = 16 * static_cast<int>(stripes.size());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int v : stripes[x / 16]) samples.push_back(static_cast<uchar>(v));
    return samples;
}

std::vector<uchar> solidSamples(const QList<int>& pixel, int width, int height) {
    return stripeSamples(QList<QList<int>>(width / 16, pixel), height);
}

bool near(QRgb actual, const QColor& expected, int tolerance) {
    return std::abs(qRed(actual) - expected.red()) <= tolerance &&
           std::abs(qGreen(actual) - expected.green()) <= tolerance &&
           std::abs(qBlue(actual) - expected.blue()) <= tolerance;
}

QString describe(QRgb c) {
    return QStringLiteral("(%1, %2, %3)").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c));
}

// Stored CMYK samples for the given inks (0 = none, 255 = full), inverted as Adobe's writers store them.
QList<int> inks(int c, int m, int y, int k, bool adobeInverted) {
    QList<int> v{c, m, y, k};
    if (adobeInverted)
        for (int& s : v) s = 255 - s;
    return v;
}

QList<QList<int>> primaryInks(bool adobeInverted) {
    return {inks(0, 255, 255, 0, adobeInverted), inks(255, 0, 255, 0, adobeInverted),
            inks(255, 255, 0, 0, adobeInverted), inks(0, 0, 0, 128, adobeInverted)};
}

const QList<QColor> kPrimaries{QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255),
                               QColor(127, 127, 127)};

QString jpegErrorText(int code) {
    return QStringLiteral("JPEG error #%1").arg(code);
}

const QString kTooLong = QStringLiteral("The picture would take too long to decode; it is not shown");

QString tooMuchMemory(int megabytes) {
    return QStringLiteral(
               "The picture needs more memory than the %1 MB allowed for decoding it; it is not shown")
        .arg(megabytes);
}

// The error text loadJpegPicture throws, or "" when it loads.
QString loadError(const QString& path, const JpegLimits& limits = {}, const JpegTarget& target = {}) {
    try {
        loadJpegPicture(path, target, limits);
    } catch (const AppError& e) {
        if (e.kindName() != "EJPEG")
            return QStringLiteral("wrong kind ") + QString::fromStdString(e.kindName());
        return QString::fromUtf8(e.what());
    }
    return {};
}

// Root reads any file whatever its mode, so the load runs in a child that has dropped to "nobody".
QString loadErrorAsUnprivilegedUser(const QString& path) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) return QStringLiteral("pipe failed");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        QByteArray text = "setuid failed";
        if (::setgid(65534) == 0 && ::setuid(65534) == 0) text = loadError(path).toUtf8();
        const ssize_t written = ::write(pipeEnds[1], text.constData(), static_cast<size_t>(text.size()));
        ::_exit(written == text.size() ? 0 : 1);
    }
    ::close(pipeEnds[1]);
    QByteArray text;
    char buffer[256];
    ssize_t n;
    while ((n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0) text.append(buffer, n);
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return QString::fromUtf8(text);
}

}  // namespace

class JpegPictureTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;

    QString write(const QString& name, const QByteArray& bytes) {
        QString path = dir_.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    // A small valid picture whose frame header is then made to announce another size.
    QByteArray withAnnouncedSize(QByteArray jpeg, int width, int height) {
        qsizetype sof = -1;
        // The frame header's marker is one of FFC0 to FFCF, except FFC4, FFC8 and FFCC.
        for (qsizetype i = 0; i + 1 < jpeg.size() && sof < 0; ++i) {
            const auto m = static_cast<uchar>(jpeg[i + 1]);
            if (static_cast<uchar>(jpeg[i]) == 0xFF && (m & 0xF0) == 0xC0 && m != 0xC4 && m != 0xC8 &&
                m != 0xCC)
                sof = i;
        }
        if (sof < 0) qFatal("no frame header");
        jpeg[sof + 5] = static_cast<char>(height >> 8);
        jpeg[sof + 6] = static_cast<char>(height & 0xFF);
        jpeg[sof + 7] = static_cast<char>(width >> 8);
        jpeg[sof + 8] = static_cast<char>(width & 0xFF);
        return jpeg;
    }

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void decodesPicturesInTheirColours_data() {
        QTest::addColumn<int>("input");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("adobeMarker");  // -1: the encoder's default
        QTest::addColumn<int>("progression");
        QTest::addColumn<QList<QList<int>>>("stripes");
        QTest::addColumn<QList<QColor>>("expected");

        const QList<QList<int>> rgb{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {127, 127, 127}};
        const auto seq = static_cast<int>(Progression::Sequential);
        QTest::newRow("RGB photo") << int(JCS_RGB) << -1 << -1 << seq << rgb << kPrimaries;
        QTest::newRow("RGB progressive")
            << int(JCS_RGB) << -1 << -1 << int(Progression::Simple) << rgb << kPrimaries;
        QTest::newRow("RGB stored as RGB") << int(JCS_RGB) << int(JCS_RGB) << -1 << seq << rgb << kPrimaries;
        QTest::newRow("greyscale") << int(JCS_GRAYSCALE) << -1 << -1 << seq
                                   << QList<QList<int>>{{0}, {85}, {170}, {255}}
                                   << QList<QColor>{QColor(0, 0, 0), QColor(85, 85, 85),
                                                    QColor(170, 170, 170), QColor(255, 255, 255)};
        QTest::newRow("CMYK with Adobe's inverted inks")
            << int(JCS_CMYK) << int(JCS_CMYK) << 1 << seq << primaryInks(true) << kPrimaries;
        QTest::newRow("CMYK with plain inks, no Adobe marker")
            << int(JCS_CMYK) << int(JCS_CMYK) << 0 << seq << primaryInks(false) << kPrimaries;
        QTest::newRow("YCCK with Adobe's inverted inks")
            << int(JCS_CMYK) << int(JCS_YCCK) << 1 << seq << primaryInks(true) << kPrimaries;
        QTest::newRow("CMYK progressive") << int(JCS_CMYK) << int(JCS_CMYK) << 1 << int(Progression::Simple)
                                          << primaryInks(true) << kPrimaries;
    }

    void decodesPicturesInTheirColours() {
        QFETCH(int, input);
        QFETCH(int, stored);
        QFETCH(int, adobeMarker);
        QFETCH(int, progression);
        QFETCH(QList<QList<int>>, stripes);
        QFETCH(QList<QColor>, expected);

        Encoding enc;
        enc.input = static_cast<J_COLOR_SPACE>(input);
        if (stored >= 0) enc.stored = static_cast<J_COLOR_SPACE>(stored);
        if (adobeMarker >= 0) enc.adobeMarker = adobeMarker == 1;
        enc.progression = static_cast<Progression>(progression);
        // 40 rows: not a whole number of the decoder's row batches, so the last rows are checked too.
        const int width = 16 * static_cast<int>(stripes.size()), height = 40;
        const QString path =
            write("colours.jpg", encodeJpeg(width, height, stripeSamples(stripes, height), enc));

        const JpegPicture picture = loadJpegPicture(path);
        QVERIFY(!picture.incomplete);
        const QImage& image = picture.image;
        QCOMPARE(image.size(), QSize(width, height));
        QVERIFY(image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_RGB888);
        for (int i = 0; i < expected.size(); ++i)
            for (int y : {2, height / 2, height - 2}) {
                const QRgb pixel = image.pixel(16 * i + 8, y);
                QVERIFY2(
                    near(pixel, expected[i], 8),
                    qPrintable(QStringLiteral("stripe %1 row %2 is %3").arg(i).arg(y).arg(describe(pixel))));
                QCOMPARE(qAlpha(pixel), 255);
            }
    }

    void showsWhatATruncatedFileHolds_data() {
        QTest::addColumn<int>("progression");
        QTest::addColumn<bool>("arithmetic");
        QTest::newRow("sequential") << int(Progression::Sequential) << false;
        QTest::newRow("progressive") << int(Progression::Simple) << false;
        QTest::newRow("progressive, arithmetic-coded") << int(Progression::Simple) << true;
    }

    void showsWhatATruncatedFileHolds() {
        QFETCH(int, progression);
        QFETCH(bool, arithmetic);
        Encoding enc;
        enc.progression = static_cast<Progression>(progression);
        enc.arithmetic = arithmetic;
        // Noise makes the scan data long enough that the cut falls well inside it.
        std::vector<uchar> samples;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                for (int c = 0; c < 3; ++c)
                    samples.push_back(y < 16 ? (c == 0 ? 255 : 0)
                                             : static_cast<uchar>((x * 7 + y * 13 + c * 5) * 37));
        const QByteArray whole = encodeJpeg(64, 64, samples, enc);
        const QString path = write("truncated.jpg", whole.left(whole.size() * 6 / 10));

        const JpegPicture picture = loadJpegPicture(path);
        QVERIFY(picture.incomplete);
        const QImage& image = picture.image;
        QCOMPARE(image.size(), QSize(64, 64));
        const QRgb topLeft = image.pixel(8, 4);
        QVERIFY2(near(topLeft, QColor(255, 0, 0), 24), qPrintable(describe(topLeft)));
    }

    void reportsTheDecoderErrorNumber_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("code");

        QImage png(16, 16, QImage::Format_RGB32);
        png.fill(Qt::red);
        const QString pngPath = dir_.filePath("png-source.png");
        QVERIFY(png.save(pngPath, "PNG"));
        QFile pngFile(pngPath);
        QVERIFY(pngFile.open(QIODevice::ReadOnly));
        QTest::newRow("PNG named .jpg") << pngFile.readAll() << int(JERR_NO_SOI);

        QTest::newRow("empty file") << QByteArray() << int(JERR_INPUT_EMPTY);

        const QByteArray good = encodeJpeg(16, 16, solidSamples({255, 0, 0}, 16, 16), {});
        QTest::newRow("file cut before its first scan")
            << good.left(good.indexOf(QByteArray("\xFF\xDA", 2))) << int(JERR_SOF_NO_SOS);

        QByteArray lossless = good;
        lossless[lossless.indexOf(QByteArray("\xFF\xC0", 2)) + 1] = '\xC3';
        QTest::newRow("unsupported lossless frame") << lossless << int(JERR_SOF_UNSUPPORTED);

        QByteArray zeroWidth = withAnnouncedSize(good, 0, 16);
        QTest::newRow("frame of zero width") << zeroWidth << int(JERR_EMPTY_IMAGE);
    }

    void reportsTheDecoderErrorNumber() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, code);
        QCOMPARE(loadError(write("broken.jpg", bytes)), jpegErrorText(code));
    }

    void reportsTheFileSystemMessageForUnreadableFiles_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("message");

        QTest::newRow("missing file") << dir_.filePath("missing.jpg") << "No such file or directory";
        QVERIFY(QDir(dir_.path()).mkpath("folder.jpg"));
        QTest::newRow("folder") << dir_.filePath("folder.jpg") << "Is a directory";
        QTest::newRow("read fails after opening") << "/proc/self/mem"
                                                  << "Input/output error";
    }

    void reportsTheFileSystemMessageForUnreadableFiles() {
        QFETCH(QString, path);
        QFETCH(QString, message);
        QCOMPARE(loadError(path), message);
    }

    void reportsTheFileSystemMessageForAFileWithoutReadPermission() {
        const QString path = write("locked.jpg", encodeJpeg(16, 16, solidSamples({255, 0, 0}, 16, 16), {}));
        QVERIFY(::chmod(QFile::encodeName(dir_.path()).constData(), 0755) == 0);
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0) == 0);
        const QString error = ::geteuid() == 0 ? loadErrorAsUnprivilegedUser(path) : loadError(path);
        QCOMPARE(error, QStringLiteral("Permission denied"));
    }

    void refusesPicturesOverTheLimits_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qulonglong>("maxPixels");
        QTest::addColumn<int>("maxScans");
        QTest::addColumn<qlonglong>("maxMemory");
        QTest::addColumn<QString>("error");  // empty: the picture loads

        const JpegLimits defaults;
        const auto pixels = static_cast<qulonglong>(defaults.maxPixels);
        const auto memory = static_cast<qlonglong>(defaults.maxMemory);
        const QByteArray small = encodeJpeg(16, 16, solidSamples({0, 0, 255}, 16, 16), {});

        QTest::newRow("header announcing 65000 x 65000")
            << withAnnouncedSize(small, 65000, 65000) << pixels << defaults.maxScans << memory
            << QStringLiteral(
                   "The picture is too large (65000 \u00D7 65000 pixels); at most 100 megapixels are "
                   "shown");
        QTest::newRow("one pixel over the limit")
            << small << qulonglong(255) << defaults.maxScans << memory
            << QStringLiteral(
                   "The picture is too large (16 \u00D7 16 pixels); at most 0.000255 megapixels are "
                   "shown");
        QTest::newRow("exactly at the pixel limit")
            << small << qulonglong(256) << defaults.maxScans << memory << QString();

        Encoding manyScans;
        manyScans.progression = Progression::OneCoefficientPerScan;
        const QByteArray scans190 = encodeJpeg(16, 16, solidSamples({0, 0, 255}, 16, 16), manyScans);
        QTest::newRow("190 progressive scans")
            << scans190 << pixels << defaults.maxScans << memory
            << QStringLiteral("The picture is built from too many scans (more than 100); it is not shown");
        QTest::newRow("one scan over the limit")
            << scans190 << pixels << 189 << memory
            << QStringLiteral("The picture is built from too many scans (more than 189); it is not shown");
        QTest::newRow("exactly at the scan limit") << scans190 << pixels << 190 << memory << QString();

        Encoding progressive;
        progressive.progression = Progression::Simple;
        QTest::newRow("progressive picture over the decoder's memory")
            << encodeJpeg(1024, 1024, solidSamples({0, 0, 255}, 1024, 1024), progressive) << pixels
            << defaults.maxScans << qlonglong(1024 * 1024)
            << QStringLiteral(
                   "The picture needs more memory than the 1 MB allowed for decoding it; it is not "
                   "shown");
    }

    void refusesPicturesOverTheLimits() {
        QFETCH(QByteArray, bytes);
        QFETCH(qulonglong, maxPixels);
        QFETCH(int, maxScans);
        QFETCH(qlonglong, maxMemory);
        QFETCH(QString, error);

        JpegLimits limits;
        limits.maxPixels = maxPixels;
        limits.maxScans = maxScans;
        limits.maxMemory = static_cast<std::uint64_t>(maxMemory);
        const QString path = write("limits.jpg", bytes);
        QCOMPARE(loadError(path, limits), error);
        if (error.isEmpty())
            QVERIFY(near(loadJpegPicture(path, {}, limits).image.pixel(8, 8), QColor(0, 0, 255), 8));
    }
    void decodesAtTheSmallestScaleThatCoversTheArea_data() {
        QTest::addColumn<int>("progression");
        QTest::addColumn<QSize>("cover");
        QTest::addColumn<QSize>("expected");

        const auto seq = static_cast<int>(Progression::Sequential);
        QTest::newRow("no area given") << seq << QSize() << QSize(800, 600);
        QTest::newRow("an eighth covers it") << seq << QSize(100, 75) << QSize(100, 75);
        QTest::newRow("one pixel wider than an eighth") << seq << QSize(101, 75) << QSize(200, 150);
        QTest::newRow("one pixel taller than an eighth") << seq << QSize(100, 76) << QSize(200, 150);
        QTest::newRow("seven eighths") << seq << QSize(700, 525) << QSize(700, 525);
        QTest::newRow("wide and flat area") << seq << QSize(690, 10) << QSize(700, 525);
        QTest::newRow("the picture's own size") << seq << QSize(800, 600) << QSize(800, 600);
        QTest::newRow("larger than the picture: never enlarged")
            << seq << QSize(1920, 1080) << QSize(800, 600);
        QTest::newRow("progressive, a quarter")
            << int(Progression::Simple) << QSize(150, 150) << QSize(200, 150);
    }

    void decodesAtTheSmallestScaleThatCoversTheArea() {
        QFETCH(int, progression);
        QFETCH(QSize, cover);
        QFETCH(QSize, expected);
        Encoding enc;
        enc.progression = static_cast<Progression>(progression);
        const QString path = write("halves.jpg", encodeJpeg(800, 600, redLeftBlueRight(800), enc));

        JpegTarget target;
        target.cover = cover;
        const JpegPicture picture = loadJpegPicture(path, target);
        QCOMPARE(picture.image.size(), expected);
        QVERIFY(!picture.incomplete);
        const int w = expected.width(), h = expected.height();
        QVERIFY2(near(picture.image.pixel(w / 4, h / 2), QColor(255, 0, 0), 8),
                 qPrintable(describe(picture.image.pixel(w / 4, h / 2))));
        QVERIFY2(near(picture.image.pixel(3 * w / 4, h / 2), QColor(0, 0, 255), 8),
                 qPrintable(describe(picture.image.pixel(3 * w / 4, h / 2))));
    }

    // Memory is shared by the decoder, the new picture and the picture kept on screen: what does not fit is
    // decoded coarser, and what does not fit even at an eighth is refused.
    void sharesTheMemoryCapWithThePictureKeptOnScreen_data() {
        QTest::addColumn<int>("progression");
        QTest::addColumn<QSize>("cover");
        QTest::addColumn<qulonglong>("maxMemory");
        QTest::addColumn<qulonglong>("keptBytes");
        QTest::addColumn<QSize>("expected");
        QTest::addColumn<QString>("error");

        const auto seq = static_cast<int>(Progression::Sequential);
        const auto prog = static_cast<int>(Progression::Simple);
        const qulonglong full = 800 * 600 * 4, mib = 1024 * 1024;
        QTest::newRow("exactly fits")
            << seq << QSize(800, 600) << full << 0ULL << QSize(800, 600) << QString();
        QTest::newRow("one byte short: seven eighths")
            << seq << QSize(800, 600) << full - 1 << 0ULL << QSize(700, 525) << QString();
        QTest::newRow("fits beside the kept picture")
            << seq << QSize(800, 600) << full + mib << mib << QSize(800, 600) << QString();
        QTest::newRow("the kept picture one byte larger")
            << seq << QSize(800, 600) << full + mib << mib + 1 << QSize(700, 525) << QString();
        QTest::newRow("the kept picture takes it all")
            << seq << QSize(100, 75) << 8 * mib << 8 * mib << QSize() << tooMuchMemory(0);
        // 800 x 600 with halved chroma keeps 100 x 75 + 2 x 50 x 38 blocks of 128 bytes: about 1.4 MB.
        QTest::newRow("progressive: coefficients fit")
            << prog << QSize(100, 75) << 2 * mib << 0ULL << QSize(100, 75) << QString();
        QTest::newRow("progressive: coefficients do not fit beside the kept picture")
            << prog << QSize(100, 75) << 2 * mib << mib << QSize() << tooMuchMemory(1);
    }

    void sharesTheMemoryCapWithThePictureKeptOnScreen() {
        QFETCH(int, progression);
        QFETCH(QSize, cover);
        QFETCH(qulonglong, maxMemory);
        QFETCH(qulonglong, keptBytes);
        QFETCH(QSize, expected);
        QFETCH(QString, error);
        Encoding enc;
        enc.progression = static_cast<Progression>(progression);
        const QString path = write("memory.jpg", encodeJpeg(800, 600, redLeftBlueRight(800), enc));
        JpegLimits limits;
        limits.maxMemory = maxMemory;
        JpegTarget target;
        target.cover = cover;
        target.keptBytes = keptBytes;

        QCOMPARE(loadError(path, limits, target), error);
        if (error.isEmpty()) QCOMPARE(loadJpegPicture(path, target, limits).image.size(), expected);
    }

    // Each file loads with a budget of exactly its own work and is refused with one unit less, so every
    // scan and every byte is counted before it is decoded, the same way each time.
    void refusesAsSoonAsTheWorkPassesTheBudget_data() {
        QTest::addColumn<int>("progression");
        QTest::addColumn<bool>("arithmetic");
        QTest::addColumn<int>("quality");
        QTest::newRow("sequential") << int(Progression::Sequential) << false << 90;
        QTest::newRow("progressive") << int(Progression::Simple) << false << 90;
        QTest::newRow("one coefficient per scan") << int(Progression::OneCoefficientPerScan) << false << 90;
        QTest::newRow("progressive, arithmetic-coded") << int(Progression::Simple) << true << 90;
        QTest::newRow("sequential, arithmetic-coded, dense") << int(Progression::Sequential) << true << 100;
    }

    void refusesAsSoonAsTheWorkPassesTheBudget() {
        QFETCH(int, progression);
        QFETCH(bool, arithmetic);
        QFETCH(int, quality);
        Encoding enc;
        enc.progression = static_cast<Progression>(progression);
        enc.arithmetic = arithmetic;
        enc.quality = quality;
        const QString path = write("work.jpg", encodeJpeg(256, 256, noiseRows(256), enc));
        JpegLimits limits;
        limits.maxScans = 1000;
        limits.maxWork = ~0ULL;
        const std::uint64_t work = loadJpegPicture(path, {}, limits).work;
        QVERIFY(work > 0);

        limits.maxWork = work;
        QCOMPARE(loadError(path, limits), QString());
        QCOMPARE(loadJpegPicture(path, {}, limits).work, work);
        limits.maxWork = work - 1;
        QCOMPARE(loadError(path, limits), kTooLong);
    }

    // What makes a decode slow must make its work larger: more scans, arithmetic coding, denser data.
    void countsWhatMakesADecodeSlow() {
        const auto workOf = [this](const Encoding& enc, const std::function<void(int, uchar*)>& rows) {
            JpegLimits limits;
            limits.maxScans = 1000;
            limits.maxWork = ~0ULL;
            // A small output, so that the scans make most of the work.
            JpegTarget target;
            target.cover = QSize(32, 32);
            return loadJpegPicture(write("slow.jpg", encodeJpeg(256, 256, rows, enc)), target, limits).work;
        };
        Encoding sequential, progressive, manyScans, arithmetic, dense;
        progressive.progression = Progression::Simple;
        manyScans.progression = Progression::OneCoefficientPerScan;
        arithmetic.progression = Progression::Simple;
        arithmetic.arithmetic = true;
        dense.quality = 100;
        const auto flat = [](int, uchar* row) { std::fill_n(row, 256 * 3, uchar(128)); };

        const std::uint64_t base = workOf(sequential, flat);
        QVERIFY2(workOf(progressive, flat) > base, "each scan passes over the picture again");
        QVERIFY2(workOf(manyScans, flat) > workOf(progressive, flat), "more scans, more work");
        QVERIFY2(workOf(arithmetic, flat) >= 4 * workOf(progressive, flat),
                 "arithmetic decoding costs several times as much per coefficient");
        QVERIFY2(workOf(dense, noiseRows(256)) > 2 * workOf(sequential, noiseRows(256)),
                 "dense data cost by the byte");
    }

    // Made once with libjpeg's encoder from flat pictures of 10000 x 10000 pixels: arithmetic-coded and
    // progressive, so each of their scans covers the whole picture in a few bytes.
    void refusesTinyFilesThatAnnounceHugeWork_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<qulonglong>("maxMemory");
        QTest::addColumn<QString>("error");
        const JpegLimits defaults;
        QTest::newRow("CMYK, 45 scans: its coefficients alone need 800 MB")
            << "cmyk-10000x10000-arithmetic-45-scans.jpg" << qulonglong(defaults.maxMemory)
            << tooMuchMemory(int(defaults.maxMemory >> 20));
        QTest::newRow("greyscale, 11 scans: fits in memory")
            << "grey-10000x10000-arithmetic-11-scans.jpg" << qulonglong(defaults.maxMemory) << kTooLong;
    }

    void refusesTinyFilesThatAnnounceHugeWork() {
        QFETCH(QString, file);
        QFETCH(qulonglong, maxMemory);
        QFETCH(QString, error);
        const QString path = QFINDTESTDATA("data/" + file);
        if (path.isEmpty()) QSKIP("the test pictures are not beside the test's source");
        QVERIFY(QFileInfo(path).size() < 4096);
        JpegLimits limits;
        limits.maxMemory = maxMemory;
        JpegTarget target;
        target.cover = QSize(800, 800);
        QCOMPARE(loadError(path, limits, target), error);
    }

    // Large ordinary photographs stay inside the default limits, decoded for a full-HD screen.
    void loadsOrdinaryLargePhotographs_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("progression");
        QTest::addColumn<bool>("fullChroma");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("24 megapixels, progressive")
            << 6000 << 4000 << int(Progression::Simple) << false << QSize(2250, 1500);
        QTest::newRow("24 megapixels, progressive, full colour resolution")
            << 6000 << 4000 << int(Progression::Simple) << true << QSize(2250, 1500);
        QTest::newRow("8000 x 6000, baseline")
            << 8000 << 6000 << int(Progression::Sequential) << false << QSize(2000, 1500);
    }

    void loadsOrdinaryLargePhotographs() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, progression);
        QFETCH(bool, fullChroma);
        QFETCH(QSize, expected);
        Encoding enc;
        enc.progression = static_cast<Progression>(progression);
        enc.fullChroma = fullChroma;
        enc.quality = 90;
        const QString path =
            write("photo.jpg",
                  encodeJpeg(
                      width, height, [&](int y, uchar* row) { photoRow(width, height, y, row); }, enc));
        JpegTarget target;
        target.cover = QSize(1920, 1080);
        QCOMPARE(loadError(path, {}, target), QString());
        const JpegPicture picture = loadJpegPicture(path, target);
        QCOMPARE(picture.image.size(), expected);
        QVERIFY(!picture.incomplete);
        QVERIFY2(
            picture.work <= JpegLimits{}.maxWork / 10 * 9,
            qPrintable(QStringLiteral("work %1 leaves less than a tenth of the budget").arg(picture.work)));
    }
};

QTEST_MAIN(JpegPictureTest)
#include "jpeg_picture_qtest.moc"
