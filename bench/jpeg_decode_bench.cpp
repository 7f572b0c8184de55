#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <vector>

#include <jpeglib.h>

#include "core/app_error.h"
#include "ui/picture/jpeg_picture.h"

namespace {

enum class Content { Photo, Noise, Flat };

// Files that show where the decoding budget stands: ordinary large photographs that must load, and files
// whose work goes past the budget and must be refused before they take long.
struct PictureCase {
    const char* name;
    int width, height, components;
    bool progressive;
    int refinements;  // extra successive-approximation scans per component, instead of the usual script
    bool arithmetic;
    bool fullChroma;
    int quality;
    Content content;
    QSize cover;
};

const PictureCase kCases[] = {
    {"24 MP progressive photo", 6000, 4000, 3, true, 0, false, false, 90, Content::Photo, {1920, 1080}},
    {"24 MP progressive photo, 4:4:4, 4K",
     6000,
     4000,
     3,
     true,
     0,
     false,
     true,
     90,
     Content::Photo,
     {3840, 2160}},
    {"8000x6000 baseline photo", 8000, 6000, 3, false, 0, false, false, 90, Content::Photo, {1920, 1080}},
    {"12 MP noise q100, 31 scans", 4000, 3000, 3, true, 9, false, true, 100, Content::Noise, {1920, 1080}},
    {"12 MP noise q100, arithmetic", 4000, 3000, 3, false, 0, true, true, 100, Content::Noise, {1920, 1080}},
    {"100 MP flat grey, arithmetic, 11 scans",
     10000,
     10000,
     1,
     true,
     9,
     true,
     false,
     90,
     Content::Flat,
     {1920, 1080}},
};

void fillRow(const PictureCase& c, int y, std::vector<uchar>& row, std::uint32_t& noise) {
    for (int x = 0; x < c.width; ++x)
        for (int k = 0; k < c.components; ++k) {
            noise = noise * 1664525u + 1013904223u;
            int v = 128;
            if (c.content == Content::Noise) v = static_cast<int>(noise >> 24);
            if (c.content == Content::Photo)
                v = (x * 255 / c.width + y * 255 / c.height + k * 60) / 2 + static_cast<int>(noise >> 27) -
                    16 + ((x / 37 + y / 23) % 3) * 20;
            row[static_cast<std::size_t>(x * c.components + k)] = static_cast<uchar>(std::clamp(v, 0, 255));
        }
}

// DC first, then each component's AC coefficients in one scan and `refinements` scans refining them a
// bit at a time.
std::vector<jpeg_scan_info> refiningScript(int components, int refinements) {
    std::vector<jpeg_scan_info> scans;
    jpeg_scan_info dc{};
    dc.comps_in_scan = components;
    for (int c = 0; c < components; ++c) dc.component_index[c] = c;
    scans.push_back(dc);
    for (int al = refinements; al >= 0; --al)
        for (int c = 0; c < components; ++c) {
            jpeg_scan_info ac{};
            ac.comps_in_scan = 1;
            ac.component_index[0] = c;
            ac.Ss = 1;
            ac.Se = 63;
            ac.Ah = al == refinements ? 0 : al + 1;
            ac.Al = al;
            scans.push_back(ac);
        }
    return scans;
}

bool writeCase(const PictureCase& c, const QString& path) {
    FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!file) return false;
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = static_cast<JDIMENSION>(c.width);
    cinfo.image_height = static_cast<JDIMENSION>(c.height);
    cinfo.input_components = c.components;
    cinfo.in_color_space = c.components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, c.quality, TRUE);
    cinfo.arith_code = c.arithmetic;
    if (c.fullChroma)
        for (int k = 0; k < cinfo.num_components; ++k)
            cinfo.comp_info[k].h_samp_factor = cinfo.comp_info[k].v_samp_factor = 1;
    std::vector<jpeg_scan_info> script;
    if (c.progressive && c.refinements == 0) jpeg_simple_progression(&cinfo);
    if (c.progressive && c.refinements > 0) {
        script = refiningScript(c.components, c.refinements);
        cinfo.scan_info = script.data();
        cinfo.num_scans = static_cast<int>(script.size());
    }
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uchar> row(static_cast<std::size_t>(c.width * c.components));
    std::uint32_t noise = 2166136261u;
    while (cinfo.next_scanline < cinfo.image_height) {
        fillRow(c, static_cast<int>(cinfo.next_scanline), row, noise);
        JSAMPROW rows = row.data();
        jpeg_write_scanlines(&cinfo, &rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::fclose(file) == 0;
}

// Each file is written once, the first time a benchmark asks for it.
QString fileFor(int index) {
    static QTemporaryDir dir;
    static std::map<int, QString> written;
    auto it = written.find(index);
    if (it != written.end()) return it->second;
    const QString path = dir.filePath(QStringLiteral("case%1.jpg").arg(index));
    if (!dir.isValid() || !writeCase(kCases[index], path)) return {};
    return written[index] = path;
}

void BM_DecodePicture(benchmark::State& state) {
    const int index = static_cast<int>(state.range(0));
    const PictureCase& c = kCases[index];
    state.SetLabel(c.name);
    const QString path = fileFor(index);
    if (path.isEmpty()) {
        state.SkipWithError("the test picture could not be written");
        return;
    }
    JpegTarget target;
    target.cover = c.cover;
    double work = 0, refused = 0;
    for (auto _ : state) {
        try {
            work = static_cast<double>(loadJpegPicture(path, target).work);
        } catch (const AppError&) {
            refused = 1;
        }
    }
    state.counters["work"] = work;
    state.counters["refused"] = refused;
}
BENCHMARK(BM_DecodePicture)
    ->DenseRange(0, static_cast<int>(std::size(kCases)) - 1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
