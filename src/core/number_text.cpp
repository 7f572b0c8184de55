#include "core/number_text.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

// A value's decimal digits as printf rounds them (exactly, to nearest with ties to even):
// |value| = d1.d2d3... × 10^exponent.
struct DecimalDigits {
    bool negative = false;
    std::string digits;
    int exponent = 0;

    bool isZero() const { return digits.find_first_not_of('0') == std::string::npos; }
};

DecimalDigits decimalDigits(Extended x, int significant) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*Le", significant - 1, canonicalExtended(x));
    DecimalDigits d;
    const char* p = buf;
    if (*p == '-') {
        d.negative = true;
        ++p;
    }
    // The C library writes the locale's decimal point, which may be any character: take the digits only.
    for (; *p != '\0' && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') d.digits.push_back(*p);
    if (*p == 'e') ++p;
    const bool negativeExponent = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    int e = 0;
    for (; *p >= '0' && *p <= '9'; ++p) e = e * 10 + (*p - '0');
    d.exponent = negativeExponent ? -e : e;
    return d;
}

// NaN, the infinities and the patterns the FPU refuses are classified on the bytes, never computed with.
std::optional<std::string> nonFiniteText(Extended x) {
    const ExtendedBytes b = bytesOfExtended(x);
    switch (classifyExtended(b.data())) {
        case ExtendedClass::Infinity:
            return (b[9] & 0x80) != 0 ? "-INF" : "INF";
        case ExtendedClass::NaN:
        case ExtendedClass::NonCanonical:
            return "NAN";
        default:
            return std::nullopt;
    }
}

void dropTrailingZeros(std::string& digits) {
    const auto last = digits.find_last_not_of('0');
    digits.erase(last == std::string::npos ? 1 : last + 1);
}

}  // namespace

std::string GeneralText(Extended x, std::string_view sep) {
    if (auto special = nonFiniteText(x)) return *special;
    DecimalDigits d = decimalDigits(x, 15);
    if (d.isZero()) return "0";
    dropTrailingZeros(d.digits);
    const int e = d.exponent;
    std::string out = d.negative ? "-" : "";
    // The form is chosen on the rounded value: 999999999999999.9 has become 1E15.
    if (e >= -4 && e <= 14) {
        if (e >= 0) {
            const std::size_t intDigits = static_cast<std::size_t>(e) + 1;
            std::string integer = d.digits.substr(0, intDigits);
            integer.resize(intDigits, '0');
            out += integer;
            if (d.digits.size() > intDigits) {
                out += sep;
                out += d.digits.substr(intDigits);
            }
        } else {
            out += '0';
            out += sep;
            out += std::string(static_cast<std::size_t>(-e - 1), '0');
            out += d.digits;
        }
        return out;
    }
    out += d.digits[0];
    if (d.digits.size() > 1) {
        out += sep;
        out += d.digits.substr(1);
    }
    out += 'E';
    out += std::to_string(e);
    return out;
}

std::string ExponentText(Extended x, std::string_view sep) {
    if (auto special = nonFiniteText(x)) return *special;
    const DecimalDigits d = decimalDigits(x, 4);
    const bool zero = d.isZero();
    const int e = zero ? 0 : d.exponent;
    std::string out = d.negative && !zero ? "-" : "";
    out += d.digits[0];
    out += sep;
    out += d.digits.substr(1);
    out += e < 0 ? "E-" : "E+";
    const int magnitude = e < 0 ? -e : e;
    if (magnitude < 10) out += '0';
    out += std::to_string(magnitude);
    return out;
}

std::string IntegerText(std::int64_t n) {
    return std::to_string(n);
}

std::string ElapsedDaysText(Extended days, std::string_view sep) {
    return OneDecimalText(days, sep);
}

std::string OneDecimalText(Extended x, std::string_view sep) {
    if (auto special = nonFiniteText(x)) return *special;
    const DecimalDigits d = decimalDigits(x, 18);
    std::string zeroText = "0" + std::string(sep) + "0";
    if (d.isZero()) return zeroText;

    // One decimal keeps exponent + 2 digits, 9 significant digits keep 9: the fewer wins. The 18 digits
    // are rounded half up at that place, so 0.25 reads 0.3 and anything below 0.05 reads 0.0.
    const int kept = std::min(d.exponent + 2, 9);
    if (kept < 0) return zeroText;
    std::string n = d.digits.substr(0, static_cast<std::size_t>(kept));
    if (d.digits[static_cast<std::size_t>(kept)] >= '5') {
        auto it = n.rbegin();
        for (; it != n.rend() && *it == '9'; ++it) *it = '0';
        if (it == n.rend())
            n.insert(n.begin(), '1');
        else
            ++*it;
    }
    if (n.empty()) return zeroText;

    // n's last digit stands for 10^last; last is -1 (one decimal) or more.
    const int last = d.exponent - kept + 1;
    const int intDigits = static_cast<int>(n.size()) + last;
    std::string out = d.negative ? "-" : "";
    if (intDigits > 9) {
        const int power = static_cast<int>(n.size()) - 1 + last;
        dropTrailingZeros(n);
        out += n[0];
        if (n.size() > 1) {
            out += sep;
            out += n.substr(1);
        }
        out += 'E';
        out += std::to_string(power);
        return out;
    }
    if (last < 0) {
        out += n.size() > 1 ? n.substr(0, n.size() - 1) : "0";
        out += sep;
        out += n.back();
    } else {
        out += n;
        out += std::string(static_cast<std::size_t>(last), '0');
        out += sep;
        out += '0';
    }
    return out;
}
