#include "core/parse_quantity.h"

#include <locale.h>

#include <cerrno>
#include <cstdlib>
#include <utility>
#include <vector>

#include "core/orbit_fp_guard.h"

namespace {

constexpr QuantityUnit MassUnits[] = {{"kg", "1"}, {"Msun", "1.98847e30"}, {"Mearth", "5.9722e24"}};
constexpr QuantityUnit SpeedUnits[] = {{"km/s", "1"}, {"m/s", "1e-3"}};
constexpr QuantityUnit DirectionUnits[] = {{"deg", "1"}, {"\u00b0", "1"}};
constexpr QuantityUnit PositionUnits[] = {{"m", "1"}, {"km", "1e3"}, {"AU", "149597870700"}};
constexpr QuantityUnit DurationUnits[] = {{"s", "1"}, {"h", "3600"}, {"day", "86400"}};

// |value| = digits x 10^exponent; digits has no leading or trailing zeros, and is empty for zero.
struct Decimal {
    bool negative = false;
    std::string digits;
    long exponent = 0;
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isSpace(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
    return s;
}

// Far beyond any exponent the 80-bit range can use, and far from overflowing a long.
constexpr long ExponentCap = 100000000;

// Reads the number at the start of text into out; returns how many characters it took, 0 when no number
// starts there.
std::size_t scanNumber(std::string_view text, std::string_view sep, Decimal& out) {
    std::size_t i = 0;
    const auto digitAt = [&](std::size_t k) { return k < text.size() && isDigit(text[k]); };
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) out.negative = text[i++] == '-';
    bool anyDigit = false;
    long fractionDigits = 0;
    for (; digitAt(i); ++i, anyDigit = true) out.digits.push_back(text[i]);
    if (!sep.empty() && text.substr(i).starts_with(sep) && (anyDigit || digitAt(i + sep.size()))) {
        for (i += sep.size(); digitAt(i); ++i, ++fractionDigits, anyDigit = true)
            out.digits.push_back(text[i]);
    }
    if (!anyDigit) return 0;
    long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t k = i + 1;
        const bool negative = k < text.size() && text[k] == '-';
        if (k < text.size() && (text[k] == '+' || text[k] == '-')) ++k;
        if (digitAt(k)) {
            for (; digitAt(k); ++k)
                if (exponent < ExponentCap) exponent = exponent * 10 + (text[k] - '0');
            if (negative) exponent = -exponent;
            i = k;
        }
    }
    out.exponent = exponent - fractionDigits;
    const auto first = out.digits.find_first_not_of('0');
    out.digits.erase(0, first == std::string::npos ? out.digits.size() : first);
    while (!out.digits.empty() && out.digits.back() == '0') {
        out.digits.pop_back();
        ++out.exponent;
    }
    return i;
}

// The exact product of two digit strings.
std::string product(const std::string& a, const std::string& b) {
    std::vector<int> sum(a.size() + b.size(), 0);
    for (std::size_t i = a.size(); i-- > 0;)
        for (std::size_t j = b.size(); j-- > 0;) sum[i + j + 1] += (a[i] - '0') * (b[j] - '0');
    for (std::size_t k = sum.size(); k-- > 1;) {
        sum[k - 1] += sum[k] / 10;
        sum[k] %= 10;
    }
    std::string out;
    for (int d : sum)
        if (!out.empty() || d != 0) out.push_back(static_cast<char>('0' + d));
    return out;
}

locale_t cLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    if (c == static_cast<locale_t>(nullptr)) throw std::runtime_error(CLocaleMissingText);
    return c;
}

std::string quoted(std::string_view s) {
    return "\"" + std::string(s) + "\"";
}

std::string listOfNames(const std::vector<std::string>& names) {
    std::string out;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) out += i + 1 == names.size() ? " or " : ", ";
        out += names[i];
    }
    return out;
}

std::string errorText(QuantityTextError::Reason reason, const std::string& subject,
                      const std::vector<std::string>& unitNames) {
    switch (reason) {
        case QuantityTextError::Reason::NotANumber:
            return quoted(subject) + " is not a number";
        case QuantityTextError::Reason::UnknownUnit:
            return "Unknown unit " + quoted(subject) + ": use " + listOfNames(unitNames);
        case QuantityTextError::Reason::OutOfRange:
            break;
    }
    return quoted(subject) + " is out of range";
}

std::vector<std::string> namesOf(const QuantityUnits& units) {
    std::vector<std::string> names;
    for (const QuantityUnit& u : units.units) names.emplace_back(u.name);
    return names;
}

}  // namespace

QuantityTextError::QuantityTextError(Reason reason, std::string subject, std::vector<std::string> unitNames)
    : std::runtime_error(errorText(reason, subject, unitNames)),
      reason_(reason),
      subject_(std::move(subject)),
      unitNames_(std::move(unitNames)) {}

namespace QuantityKinds {
const QuantityUnits Mass{MassUnits};
const QuantityUnits Speed{SpeedUnits};
const QuantityUnits Direction{DirectionUnits};
const QuantityUnits Position{PositionUnits};
const QuantityUnits Duration{DurationUnits};
}  // namespace QuantityKinds

std::string unitNames(const QuantityUnits& units) {
    return listOfNames(namesOf(units));
}

Extended parseQuantity(std::string_view text, const QuantityUnits& units, std::string_view decimalSeparator) {
    const std::string_view t = trimmed(text);
    Decimal number;
    const std::size_t used = scanNumber(t, decimalSeparator, number);
    if (used == 0) throw QuantityTextError(QuantityTextError::Reason::NotANumber, std::string(text));

    const std::string_view unitName = trimmed(t.substr(used));
    // A unit must stand apart from a number that ends in a digit only by choice ("1AU" and "1 AU" alike),
    // but "1.5.2" or "1,5" with a point for separator is a malformed number, not an unknown unit.
    if (!unitName.empty() && (isDigit(unitName.front()) || unitName.front() == '.' ||
                              unitName.front() == ',' || unitName.front() == '+' || unitName.front() == '-'))
        throw QuantityTextError(QuantityTextError::Reason::NotANumber, std::string(text));
    const QuantityUnit* unit = unitName.empty() ? &units.units.front() : nullptr;
    for (const QuantityUnit& u : units.units)
        if (u.name == unitName) unit = &u;
    if (!unit)
        throw QuantityTextError(QuantityTextError::Reason::UnknownUnit, std::string(unitName),
                                namesOf(units));

    Decimal size;
    scanNumber(unit->size, ".", size);
    if (number.digits.empty()) return number.negative ? -0.0L : 0.0L;
    const std::string digits = product(number.digits, size.digits);
    const long exponent = number.exponent + size.exponent;
    const long magnitude = exponent + static_cast<long>(digits.size());
    const auto outOfRange = [&] {
        return QuantityTextError(QuantityTextError::Reason::OutOfRange, std::string(text));
    };
    // Beyond about 1.19e4932 or below the smallest normal 3.4e-4932, whatever the digits.
    if (magnitude > 4934 || magnitude < -4933) throw outOfRange();

    const std::string exact = (number.negative ? "-" : "") + digits + "e" + std::to_string(exponent);
    Extended x;
    {
        const OrbitFpGuard guard;
        errno = 0;
        x = strtold_l(exact.c_str(), nullptr, cLocale());
        if (errno == ERANGE) throw outOfRange();
    }
    const ExtendedClass c = classifyExtended(x);
    if (c != ExtendedClass::Normal) throw outOfRange();
    return x;
}
