#pragma once

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/extended.h"

// A unit a quantity may be typed in: its name as typed ("Msun") and its size in the quantity's stored unit
// as an exact decimal text ("1.98847e30"), which is multiplied in digit by digit and never rounded.
struct QuantityUnit {
    std::string_view name;
    std::string_view size;
};

// The units one kind of quantity accepts. The first is the unit the record stores, taken when the text
// names none.
struct QuantityUnits {
    std::span<const QuantityUnit> units;
};

// The kinds of the record's fields.
namespace QuantityKinds {
extern const QuantityUnits Mass;       // kg, Msun, Mearth
extern const QuantityUnits Speed;      // km/s, m/s
extern const QuantityUnits Direction;  // degrees: deg or °
extern const QuantityUnits Position;   // m, km, AU
extern const QuantityUnits Duration;   // s, h, day
}  // namespace QuantityKinds

// Why a text is no quantity; what() is an English sentence naming the text or the unit. The reason, the
// subject and the unit names are what a window needs to say the same in the user's language.
class QuantityTextError : public std::runtime_error {
public:
    enum class Reason { NotANumber, UnknownUnit, OutOfRange };
    // subject: the text as typed, or for UnknownUnit the unit it names; unitNames: the units the quantity
    // accepts, for UnknownUnit.
    QuantityTextError(Reason reason, std::string subject, std::vector<std::string> unitNames = {});
    Reason reason() const { return reason_; }
    const std::string& subject() const { return subject_; }
    const std::vector<std::string>& unitNames() const { return unitNames_; }

private:
    Reason reason_;
    std::string subject_;
    std::vector<std::string> unitNames_;
};

// The error when the C library cannot make the C locale the conversion needs (a broken installation).
inline constexpr const char* CLocaleMissingText = "The C locale is not available";

// A typed value in the stored unit of its kind, rounded once to the nearest 80-bit value: "1.5 Msun",
// "29,78 km/s" where the user's decimal separator is ",", "1e3" in the stored unit. The text is an optional
// sign, digits with at most one decimal separator, an optional exponent (e or E), and optionally a unit of
// units after any spaces. The number's decimal digits are scaled exactly by the unit, then converted once
// by the C library in the C locale. Values beyond the 80-bit range, and denormal results, are out of range.
// Throws QuantityTextError. Leaves the floating-point flags and control words as found.
Extended parseQuantity(std::string_view text, const QuantityUnits& units,
                       std::string_view decimalSeparator = ".");

// "kg, Msun or Mearth": the names of units, for a message.
std::string unitNames(const QuantityUnits& units);
