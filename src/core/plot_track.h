#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/t_state.h"

// The plot points of a run as the integrator computed them: both bodies' positions, speeds and azimuths,
// 80 bytes a point in the record's own 10-byte format, so every value comes back to the last bit.
//
// Memory is bounded: once Capacity points are kept, every other one is dropped and only every stride-th plot
// point is kept from then on, the stride doubling each time the store fills again. The last plot point
// offered is always kept as well, off the stride if need be, so a thinned track still ends where the run is.
class PlotTrack {
public:
    static constexpr std::size_t DefaultCapacity = 1000000;
    static constexpr std::size_t PointBytes = 80;
    // Points are kept in chunks of this many: the unit a copy shares and a new point may have to copy.
    static constexpr std::size_t ChunkPoints = 8192;

    explicit PlotTrack(std::size_t capacity = DefaultCapacity);
    PlotTrack(const PlotTrack& other);
    PlotTrack& operator=(const PlotTrack& other);
    PlotTrack(PlotTrack&&) noexcept;
    PlotTrack& operator=(PlotTrack&&) noexcept;
    ~PlotTrack();

    // Starts a new track at plot point 0, the run's start.
    void start(const TState& s);
    // Keeps plot point plotIndex (counted from the run's start) when it falls on the stride. Points must come
    // in increasing order; one that does not follow the last kept point is ignored.
    void add(std::int64_t plotIndex, const TState& s);
    void clear();
    // Takes effect from the next start.
    void setCapacity(std::size_t capacity) { capacity_ = capacity < 2 ? 2 : capacity; }

    // The kept points, the last plot point included.
    std::size_t size() const { return size_ + (tailHeld_ ? 1 : 0); }
    bool empty() const { return size_ == 0; }
    // Plot points between two kept ones: 1 until the store first fills.
    std::int64_t stride() const { return stride_; }
    bool thinned() const { return stride_ > 1; }
    std::int64_t plotIndexAt(std::size_t i) const {
        return i == size_ && tailHeld_ ? lastIndex_ : static_cast<std::int64_t>(i) * stride_;
    }
    // The last plot point offered to add() or start(), kept or not.
    std::int64_t lastPlotIndex() const { return lastIndex_; }
    // True when points 0..plotCount are all kept, one each.
    bool holdsEveryPointTo(std::int64_t plotCount) const;

    TVector positionA(std::size_t i) const { return {value(i, 0), value(i, 1)}; }
    TVector positionB(std::size_t i) const { return {value(i, 2), value(i, 3)}; }
    Extended speedA(std::size_t i) const { return value(i, 4); }
    Extended directionA(std::size_t i) const { return value(i, 5); }
    Extended speedB(std::size_t i) const { return value(i, 6); }
    Extended directionB(std::size_t i) const { return value(i, 7); }

    // Writes kept point i's positions, speeds and azimuths into s, byte for byte as the run stored them;
    // every other byte of s is left alone.
    void restoreInto(std::size_t i, TState& s) const;

    // Bytes held by the points, for the memory figures; chunks shared with a copy count in both.
    std::size_t bytesUsed() const;

private:
    using Point = std::array<std::uint8_t, PointBytes>;
    using Chunk = std::array<Point, ChunkPoints>;

    const Point& at(std::size_t i) const {
        return i == size_ && tailHeld_ ? tail_ : (*chunks_[i / ChunkPoints])[i % ChunkPoints];
    }
    Extended value(std::size_t i, std::size_t field) const;
    static void store(Point& p, const TState& s);
    std::size_t chunksInUse() const { return (size_ + ChunkPoints - 1) / ChunkPoints; }
    // Drops the chunks a copy may hold; the others stay for reuse.
    void dropSharedChunks();
    void append(const TState& s);
    void halve();

    std::size_t capacity_;
    // Chunks, not one vector: growing never copies the points or needs twice their memory for a moment.
    // Beyond the chunks in use, spare ones kept from a longer track before.
    std::vector<std::shared_ptr<Chunk>> chunks_;
    // The first sharedChunks_ chunks may be held by a copy as well: they are read, never written again.
    mutable std::size_t sharedChunks_ = 0;
    // Points on the stride; the last plot point, when off the stride, is held apart in tail_.
    std::size_t size_ = 0;
    Point tail_{};
    bool tailHeld_ = false;
    std::int64_t stride_ = 1;
    std::int64_t lastIndex_ = -1;
};
