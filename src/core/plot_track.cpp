#include "core/plot_track.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// Where each kept value sits in the record, in the order a point stores them.
constexpr std::size_t FieldOffsets[] = {
    TStateLayout::APos,   TStateLayout::APos + TStateLayout::VectorV,
    TStateLayout::BPos,   TStateLayout::BPos + TStateLayout::VectorV,
    TStateLayout::ASpeed, TStateLayout::ADir,
    TStateLayout::BSpeed, TStateLayout::BDir,
};
static_assert(sizeof(FieldOffsets) / sizeof(FieldOffsets[0]) * 10 == PlotTrack::PointBytes);

}  // namespace

PlotTrack::PlotTrack(std::size_t capacity) : capacity_(capacity < 2 ? 2 : capacity) {}

PlotTrack::PlotTrack(const PlotTrack& other)
    : capacity_(other.capacity_),
      chunks_(other.chunks_.begin(),
              other.chunks_.begin() + static_cast<std::ptrdiff_t>(other.chunksInUse())),
      size_(other.size_),
      tail_(other.tail_),
      tailHeld_(other.tailHeld_),
      stride_(other.stride_),
      lastIndex_(other.lastIndex_) {
    // From now on both sides may read these chunks: neither writes them again.
    other.sharedChunks_ = chunks_.size();
    sharedChunks_ = chunks_.size();
}

PlotTrack& PlotTrack::operator=(const PlotTrack& other) {
    if (this != &other) *this = PlotTrack(other);
    return *this;
}

PlotTrack::PlotTrack(PlotTrack&&) noexcept = default;
PlotTrack& PlotTrack::operator=(PlotTrack&&) noexcept = default;
PlotTrack::~PlotTrack() = default;

void PlotTrack::clear() {
    chunks_.clear();
    sharedChunks_ = 0;
    size_ = 0;
    tailHeld_ = false;
    stride_ = 1;
    lastIndex_ = -1;
}

void PlotTrack::dropSharedChunks() {
    chunks_.erase(chunks_.begin(), chunks_.begin() + static_cast<std::ptrdiff_t>(sharedChunks_));
    sharedChunks_ = 0;
}

void PlotTrack::start(const TState& s) {
    // Keeps the chunks already allocated that no copy holds: a replay rebuilds a track of the same length.
    dropSharedChunks();
    size_ = 0;
    tailHeld_ = false;
    stride_ = 1;
    lastIndex_ = 0;
    append(s);
}

void PlotTrack::add(std::int64_t plotIndex, const TState& s) {
    if (size_ == 0 || plotIndex != lastIndex_ + 1) return;
    lastIndex_ = plotIndex;
    if (plotIndex % stride_ == 0 && size_ == capacity_) halve();
    tailHeld_ = plotIndex % stride_ != 0;
    if (tailHeld_)
        store(tail_, s);
    else
        append(s);
}

bool PlotTrack::holdsEveryPointTo(std::int64_t plotCount) const {
    return stride_ == 1 && plotCount >= 0 && static_cast<std::int64_t>(size_) > plotCount &&
           lastIndex_ >= plotCount;
}

void PlotTrack::store(Point& p, const TState& s) {
    for (std::size_t f = 0; f < 8; ++f) std::memcpy(&p[10 * f], &s.bytes[FieldOffsets[f]], 10);
}

void PlotTrack::append(const TState& s) {
    const std::size_t c = size_ / ChunkPoints;
    if (c < sharedChunks_) {
        // Only the last chunk in use can have room; a copy holds its first points, so they move to a chunk
        // of this track's own.
        chunks_[c] = std::make_shared<Chunk>(*chunks_[c]);
        sharedChunks_ = c;
    }
    if (c >= chunks_.size()) chunks_.push_back(std::make_shared_for_overwrite<Chunk>());
    store((*chunks_[c])[size_ % ChunkPoints], s);
    ++size_;
}

void PlotTrack::halve() {
    // Keeps the points at even positions, plot points 0, 2 stride, 4 stride ..., in new chunks: a copy may
    // still read the old ones. Each new chunk takes the even points of two old ones, which are let go at
    // once, so thinning needs one chunk more than the track, not half the track more.
    static_assert(ChunkPoints % 2 == 0);
    const std::size_t kept = (size_ + 1) / 2;
    std::vector<std::shared_ptr<Chunk>> thinned((kept + ChunkPoints - 1) / ChunkPoints);
    for (std::size_t k = 0; k < thinned.size(); ++k) {
        thinned[k] = std::make_shared_for_overwrite<Chunk>();
        for (std::size_t half = 0; half < 2 && 2 * k + half < chunks_.size(); ++half) {
            const std::size_t from = (2 * k + half) * ChunkPoints;
            for (std::size_t i = from; i < std::min(size_, from + ChunkPoints); i += 2)
                (*thinned[k])[(i / 2) % ChunkPoints] = at(i);
            chunks_[2 * k + half].reset();
        }
    }
    chunks_ = std::move(thinned);
    sharedChunks_ = 0;
    size_ = kept;
    stride_ *= 2;
}

Extended PlotTrack::value(std::size_t i, std::size_t field) const {
    return loadExtended(&at(i)[10 * field]);
}

void PlotTrack::restoreInto(std::size_t i, TState& s) const {
    const Point& p = at(i);
    for (std::size_t f = 0; f < 8; ++f) std::memcpy(&s.bytes[FieldOffsets[f]], &p[10 * f], 10);
}

std::size_t PlotTrack::bytesUsed() const {
    return chunks_.size() * sizeof(Chunk);
}
