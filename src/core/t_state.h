#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/extended.h"

using TColor = std::int32_t;

// A point or direction in the plot plane: u to the right, v downward. Only the values; the six filler bytes
// after each component live in the record image and are left alone when a vector is written into it.
struct TVector {
    Extended u = 0;
    Extended v = 0;
};

// Where each field sits in the record, and what it holds. Every field follows the one before it without a
// gap; integers are little-endian, Extended values the 10-byte x87 format. A record read from a file may hold
// any bytes: nothing is validated, and each use says what a nonsensical value does.
namespace TStateLayout {
// Record layout version: 1 in every record the program makes.
constexpr std::size_t RecVersion = 0;
// The user's label: a length byte (0 to 100) and 100 single-byte characters in the windows-1252 code page;
// only the first length characters count (see label_codec.h).
constexpr std::size_t RecLabel = 4;
constexpr std::size_t LabelCapacity = 100;
// The settings viewer's mark: 0 none, 1 marked for deletion (left out when the file is compacted); any other
// value is shown and kept as it is.
constexpr std::size_t Action = 105;
// When the record was saved: an IEEE double counting days since 30 December 1899, 00:00 local time, the
// fraction the time of day; 0 = never saved.
constexpr std::size_t SaveDT = 109;
// Positions of Body A and Body B in metres (u to the right, v downward), each a 32-byte vector: u's 10 bytes,
// 6 filler bytes, v's 10 bytes, 6 filler bytes. The filler is carried along and never read.
constexpr std::size_t APos = 117;
constexpr std::size_t BPos = 149;
constexpr std::size_t VectorV = 16;  // offset of v inside a stored vector
constexpr std::size_t VectorSize = 32;
// Masses in kilograms (Extended).
constexpr std::size_t AMass = 181;
constexpr std::size_t BMass = 191;
// Speeds in kilometres per second (Extended).
constexpr std::size_t ASpeed = 201;
constexpr std::size_t BSpeed = 211;
// Azimuths of the velocities in degrees, as compass bearings on the screen: 0 up, 90 right, clockwise. The
// run keeps them in [0, 360); the Initial State dialog sets whole degrees 0 to 359.
constexpr std::size_t ADir = 221;
constexpr std::size_t BDir = 231;
// Colours as 0x00BBGGRR (red in the low byte): Body A's and Body B's crosses, and the plot's background.
constexpr std::size_t AColor = 241;
constexpr std::size_t BColor = 245;
constexpr std::size_t CColor = 249;
// The plot interval: simulated seconds between two plot points (Extended; one day, 86400, by default; the
// Plot Interval menu offers 60 s to one year).
constexpr std::size_t dT = 253;
// Integration steps per plot interval (signed 32-bit): 40 in every record the program makes, so a step is
// dT / 40 seconds. A record from a file may bring any value; 0 makes a run fail at its start with a
// division error.
constexpr std::size_t cpT = 263;
// The plot's scale in metres per pixel (Extended; 1e9 by default, 1e8 to 1e10 by zooming): a position (u, v)
// is drawn at pixel (u / sf, v / sf).
constexpr std::size_t sf = 267;
// Reserved, 0 in every record the program makes; carried along unread.
constexpr std::size_t Spare1 = 277;
constexpr std::size_t Spare2 = 281;
constexpr std::size_t Spare3 = 285;
constexpr std::size_t Spare4 = 289;
constexpr std::size_t Size = 293;
}  // namespace TStateLayout

// The 293-byte settings record: the same bytes in memory and in a settings file. Fields are read and written
// in place, so a record copied or read and written back is byte-for-byte the same.
class TState {
public:
    std::array<std::uint8_t, TStateLayout::Size> bytes{};

    std::int32_t RecVersion() const { return i32(TStateLayout::RecVersion); }
    void setRecVersion(std::int32_t x) { setI32(TStateLayout::RecVersion, x); }
    std::int32_t Action() const { return i32(TStateLayout::Action); }
    void setAction(std::int32_t x) { setI32(TStateLayout::Action, x); }
    double SaveDT() const {
        double d;
        std::memcpy(&d, &bytes[TStateLayout::SaveDT], 8);
        return d;
    }
    void setSaveDT(double d) { std::memcpy(&bytes[TStateLayout::SaveDT], &d, 8); }

    TVector APos() const { return vec(TStateLayout::APos); }
    void setAPos(const TVector& x) { setVec(TStateLayout::APos, x); }
    TVector BPos() const { return vec(TStateLayout::BPos); }
    void setBPos(const TVector& x) { setVec(TStateLayout::BPos, x); }

    Extended AMass() const { return ext(TStateLayout::AMass); }
    void setAMass(Extended x) { setExt(TStateLayout::AMass, x); }
    Extended BMass() const { return ext(TStateLayout::BMass); }
    void setBMass(Extended x) { setExt(TStateLayout::BMass, x); }
    Extended ASpeed() const { return ext(TStateLayout::ASpeed); }
    void setASpeed(Extended x) { setExt(TStateLayout::ASpeed, x); }
    Extended BSpeed() const { return ext(TStateLayout::BSpeed); }
    void setBSpeed(Extended x) { setExt(TStateLayout::BSpeed, x); }
    Extended ADir() const { return ext(TStateLayout::ADir); }
    void setADir(Extended x) { setExt(TStateLayout::ADir, x); }
    Extended BDir() const { return ext(TStateLayout::BDir); }
    void setBDir(Extended x) { setExt(TStateLayout::BDir, x); }

    TColor AColor() const { return i32(TStateLayout::AColor); }
    void setAColor(TColor x) { setI32(TStateLayout::AColor, x); }
    TColor BColor() const { return i32(TStateLayout::BColor); }
    void setBColor(TColor x) { setI32(TStateLayout::BColor, x); }
    TColor CColor() const { return i32(TStateLayout::CColor); }
    void setCColor(TColor x) { setI32(TStateLayout::CColor, x); }

    Extended dT() const { return ext(TStateLayout::dT); }
    void setDT(Extended x) { setExt(TStateLayout::dT, x); }
    std::int32_t cpT() const { return i32(TStateLayout::cpT); }
    void setCpT(std::int32_t x) { setI32(TStateLayout::cpT, x); }
    Extended sf() const { return ext(TStateLayout::sf); }
    void setSf(Extended x) { setExt(TStateLayout::sf, x); }

    std::int32_t Spare(int n) const {
        return i32(TStateLayout::Spare1 + 4 * static_cast<std::size_t>(n - 1));
    }

    // The label's length byte and character bytes, as stored (see label_codec.h for text).
    std::uint8_t labelLength() const { return bytes[TStateLayout::RecLabel]; }
    const std::uint8_t* labelChars() const { return &bytes[TStateLayout::RecLabel + 1]; }
    std::uint8_t* labelChars() { return &bytes[TStateLayout::RecLabel + 1]; }
    void setLabelLength(std::uint8_t n) { bytes[TStateLayout::RecLabel] = n; }

    bool operator==(const TState&) const = default;

private:
    std::int32_t i32(std::size_t off) const {
        std::int32_t x;
        std::memcpy(&x, &bytes[off], 4);
        return x;
    }
    void setI32(std::size_t off, std::int32_t x) { std::memcpy(&bytes[off], &x, 4); }
    Extended ext(std::size_t off) const { return loadExtended(&bytes[off]); }
    void setExt(std::size_t off, Extended x) { storeExtended(&bytes[off], x); }
    TVector vec(std::size_t off) const {
        return TVector{loadExtended(&bytes[off]), loadExtended(&bytes[off + TStateLayout::VectorV])};
    }
    void setVec(std::size_t off, const TVector& x) {
        storeExtended(&bytes[off], x.u);
        storeExtended(&bytes[off + TStateLayout::VectorV], x.v);
    }
};

static_assert(sizeof(TState) == 293, "TState must be exactly the 293-byte record image");

// The settings a fresh program starts with, built from the stored bytes of the defaults.
TState defaultSettings();

// The gravitational constant 6.6741e-11, from its stored bytes.
extern const Extended G;
