#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <optional>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

#include "core/app_error.h"
#include "ui/main_window/jpeg_picture.h"

namespace {

enum class Progression { Sequential, Simple, OneCoefficientPerScan };

// How the test writes a picture: the samples as stored in the file (CMYK inks already inverted where the
// Adobe convention asks for it), the colour space the encoder keeps, and the scan layout.
struct Encoding {
    J_COLOR_SPACE input = JCS_RGB;
    std::optional<J_COLOR_SPACE> stored;
    std::optional<bool> adobeMarker;
    Progression progression = Progression::Sequential;
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

QByteArray encodeJpeg(int width, int height, const std::vector<uchar>& samples, const Encoding& enc) {
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
    jpeg_set_quality(&cinfo, 95, TRUE);
    if (enc.stored) jpeg_set_colorspace(&cinfo, *enc.stored);
    if (enc.adobeMarker) cinfo.write_Adobe_marker = *enc.adobeMarker;
    std::vector<jpeg_scan_info> script;
    if (enc.progression == Progression::Simple) jpeg_simple_progression(&cinfo);
    if (enc.progression == Progression::OneCoefficientPerScan) {
        script = oneCoefficientPerScan(cinfo.num_components);
        cinfo.scan_info = script.data();
        cinfo.num_scans = static_cast<int>(script.size());
    }
    jpeg_start_compress(&cinfo, TRUE);
    const int rowBytes = width * cinfo.input_components;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<uchar*>(samples.data()) + cinfo.next_scanline * rowBytes;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray bytes(reinterpret_cast<const char*>(out), static_cast<qsizetype>(outSize));
    std::free(out);
    return bytes;
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

// The error text loadJpegPicture throws, or "" when it loads.
QString loadError(const QString& path, const JpegLimits& limits = {}) {
    try {
        loadJpegPicture(path, {}, limits);
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
        const QString path = dir_.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    // A small valid picture whose frame header is then made to announce another size.
    QByteArray withAnnouncedSize(QByteArray jpeg, int width, int height) {
        const qsizetype sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
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

        const QImage image = loadJpegPicture(path).image;
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
        QTest::newRow("sequential") << int(Progression::Sequential);
        QTest::newRow("progressive") << int(Progression::Simple);
    }

    void showsWhatATruncatedFileHolds() {
        QFETCH(int, progression);
        Encoding enc;
        enc.progression = static_cast<Progression>(progression);
        // Noise makes the scan data long enough that the cut falls well inside it.
        std::vector<uchar> samples;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                for (int c = 0; c < 3; ++c)
                    samples.push_back(y < 16 ? (c == 0 ? 255 : 0)
                                             : static_cast<uchar>((x * 7 + y * 13 + c * 5) * 37));
        const QByteArray whole = encodeJpeg(64, 64, samples, enc);
        const QString path = write("truncated.jpg", whole.left(whole.size() * 6 / 10));

        const QImage image = loadJpegPicture(path).image;
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
};

QTEST_MAIN(JpegPictureTest)
#include "jpeg_picture_qtest.moc"
