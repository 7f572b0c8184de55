#pragma once

#include <array>
#include <cfloat>
#include <cstdint>
#include <cstring>

// The simulation computes in the x87 80-bit format; a 64-bit double anywhere would change the orbits.
static_assert(LDBL_MANT_DIG == 64, "long double must be the x87 80-bit extended type");

using Extended = long double;
using ExtendedBytes = std::array<std::uint8_t, 10>;

// Only the 10 value bytes are stored; the padding of the in-memory type is never written to a record.
// FLD and FSTP of the 80-bit format move any pattern unchanged and raise nothing, signalling NaNs and
// non-canonical patterns included; one instruction each, where a memcpy through a stack slot would stall.
inline Extended loadExtended(const std::uint8_t* p) {
    Extended x;
    asm("fldt %1" : "=t"(x) : "m"(*reinterpret_cast<const std::uint8_t(*)[10]>(p)));
    return x;
}

inline void storeExtended(std::uint8_t* p, Extended x) {
    asm("fstpt %0" : "=m"(*reinterpret_cast<std::uint8_t(*)[10]>(p)) : "t"(x) : "st");
}

inline Extended extendedFromBytes(const ExtendedBytes& b) {
    return loadExtended(b.data());
}

inline ExtendedBytes bytesOfExtended(Extended x) {
    ExtendedBytes b{};
    storeExtended(b.data(), x);
    return b;
}

// What an 80-bit pattern is, decided on the bytes alone so that a damaged record never reaches the FPU.
// A pseudo-denormal (zero exponent, integer bit set) is a finite value the FPU computes with as it stands;
// the other non-canonical patterns (unnormals, pseudo-infinities, pseudo-NaNs) it refuses.
enum class ExtendedClass { Zero, Normal, Denormal, PseudoDenormal, Infinity, NaN, NonCanonical };

ExtendedClass classifyExtended(const std::uint8_t* p);
inline ExtendedClass classifyExtended(Extended x) {
    const ExtendedBytes b = bytesOfExtended(x);
    return classifyExtended(b.data());
}

// A pattern that arithmetic and formatting may take as it is (zero, normal or a true denormal).
inline bool isFiniteCanonical(ExtendedClass c) {
    return c == ExtendedClass::Zero || c == ExtendedClass::Normal || c == ExtendedClass::Denormal;
}

// x with a pseudo-denormal written in its normal form, the same value with exponent field 1; any other
// pattern unchanged. The C library's printf misreads pseudo-denormals.
Extended canonicalExtended(Extended x);
