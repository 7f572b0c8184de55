#include "core/plot_track.h"

#include <cstring>

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
      size_(other.size_),
      tail_(other.tail_),
      tailHeld_(other.tailHeld_),
      stride_(other.stride_),
      lastIndex_(other.lastIndex_) {
    chunks_.reserve(other.chunks_.size());
    for (const auto& c : other.chunks_) chunks_.push_back(std::make_unique<Chunk>(*c));
}

PlotTrack& PlotTrack::operator=(const PlotTrack& other) {
    if (this != &other) *this = PlotTrack(other);
    return *this;
}

void PlotTrack::clear() {
    chunks_.clear();
    size_ = 0;
    tailHeld_ = false;
    stride_ = 1;
    lastIndex_ = -1;
}

void PlotTrack::start(const TState& s) {
    // Keeps the chunks already allocated: a replay rebuilds a track of the same length.
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
    if (size_ / ChunkPoints >= chunks_.size()) chunks_.push_back(std::make_unique<Chunk>());
    store(at(size_), s);
    ++size_;
}

void PlotTrack::halve() {
    // Keeps the points at even positions: plot points 0, 2 stride, 4 stride ... in place.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < size_; i += 2) at(kept++) = at(i);
    size_ = kept;
    stride_ *= 2;
    chunks_.resize((size_ + ChunkPoints - 1) / ChunkPoints);
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
