#include "core/t_state.h"

namespace {

constexpr ExtendedBytes GBytes{0x77, 0xEE, 0x67, 0x72, 0xC4, 0xD7, 0xC3, 0x92, 0xDD, 0x3F};

void putBytes(TState& s, std::size_t off, const ExtendedBytes& b) {
    std::memcpy(&s.bytes[off], b.data(), b.size());
}

}  // namespace

const Extended G = extendedFromBytes(GBytes);

TState defaultSettings() {
    using namespace TStateLayout;
    TState s;  // label bytes, filler and spares all zero
    s.setRecVersion(1);
    // The stored bytes are the definition: files and trajectories depend on these exact values.
    putBytes(s, APos, {0x00, 0x00, 0x00, 0x00, 0x40, 0xB7, 0x43, 0xBA, 0x24, 0x40});
    putBytes(s, APos + VectorV, {0x00, 0x00, 0x00, 0x00, 0x40, 0xB7, 0x43, 0xBA, 0x23, 0x40});
    putBytes(s, BPos, {0x00, 0x00, 0x00, 0x00, 0x70, 0xC9, 0xB2, 0x8B, 0x26, 0x40});
    putBytes(s, BPos + VectorV, {0x00, 0x00, 0x00, 0x00, 0x40, 0xB7, 0x43, 0xBA, 0x25, 0x40});
    putBytes(s, AMass, {0xDE, 0x4E, 0x67, 0x04, 0xCD, 0xC9, 0xF2, 0xC9, 0x63, 0x40});
    putBytes(s, BMass, {0x96, 0x22, 0x81, 0x45, 0x40, 0x7C, 0x6F, 0xFC, 0x64, 0x40});
    putBytes(s, ASpeed, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x03, 0x40});
    putBytes(s, BSpeed, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x00, 0x40});
    putBytes(s, ADir, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE6, 0x05, 0x40});
    putBytes(s, BDir, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x87, 0x07, 0x40});
    s.setAColor(0x0000FFFF);
    s.setBColor(0x000000FF);
    s.setCColor(0x00FF0000);
    putBytes(s, dT, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0xA8, 0x0F, 0x40});
    s.setCpT(40);
    putBytes(s, sf, {0x00, 0x00, 0x00, 0x00, 0x00, 0x28, 0x6B, 0xEE, 0x1C, 0x40});
    return s;
}

ExtendedClass classifyExtended(const std::uint8_t* p) {
    std::uint64_t mant;
    std::memcpy(&mant, p, 8);
    const unsigned exponent = (static_cast<unsigned>(p[9] & 0x7F) << 8) | p[8];
    const bool integerBit = (mant >> 63) != 0;
    const std::uint64_t fraction = mant & 0x7FFFFFFFFFFFFFFFull;
    if (exponent == 0) {
        if (mant == 0) return ExtendedClass::Zero;
        // An integer bit with a zero exponent is a pseudo-denormal, which this program never writes.
        return integerBit ? ExtendedClass::PseudoDenormal : ExtendedClass::Denormal;
    }
    if (!integerBit) return ExtendedClass::NonCanonical;  // unnormal, pseudo-infinity or pseudo-NaN
    if (exponent == 0x7FFF) return fraction == 0 ? ExtendedClass::Infinity : ExtendedClass::NaN;
    return ExtendedClass::Normal;
}

Extended canonicalExtended(Extended x) {
    ExtendedBytes b = bytesOfExtended(x);
    if (classifyExtended(b.data()) != ExtendedClass::PseudoDenormal) return x;
    // Exponent fields 0 and 1 scale the significand alike; only 1 admits the integer bit.
    b[8] = 1;
    return extendedFromBytes(b);
}
