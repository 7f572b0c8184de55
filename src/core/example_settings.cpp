#include "core/example_settings.h"

#include <string_view>

#include "core/date_time.h"
#include "core/label_codec.h"
#include "core/parse_quantity.h"

namespace {

// One body's start, as a user would type it.
struct TypedBody {
    std::string_view u, v;
    std::string_view mass;
    std::string_view speed;
    std::string_view direction;
    TColor color;
};

struct TypedExample {
    std::u16string_view label;
    TypedBody a, b;
    std::string_view plotInterval;
    std::string_view scale;  // metres per pixel
};

constexpr TColor Yellow = 0x0000FFFF;  // the default colours
constexpr TColor Red = 0x000000FF;
constexpr TColor EarthGreen = 0x0080FF80;

// The speeds are those of the wanted orbit, worked out from G = 6.6741e-11 and the masses: a circle's
// v = sqrt(G M / r), each body taking its share by the other's mass so the centre of mass stays at rest; the
// binary's stars start at apoapsis with e = 0.5; the comet's apoapsis speed gives e = 0.97 and the periapsis
// of the default settings' close pass, 1.47e10 m. The two hyperbolas were traced back 60 and 80 days from
// their periapsis of 2e10 and 4e10 m.
constexpr TypedExample Examples[] = {
    {u"Circular orbit: the distance never changes",
     {"2.2e11 m", "2.7e11 m", "0.5 Msun", "29.143779 km/s", "0", Yellow},
     {"4.7e11 m", "2.7e11 m", "2 Msun", "7.2859447 km/s", "180", Red},
     "1 day",
     "1e9"},
    {u"Earth and Sun: one orbit is a year",
     {"2 AU", "1.8 AU", "1 Msun", "0.0894559 m/s", "180", Yellow},
     {"1 AU", "1.8 AU", "1 Mearth", "29.78474 km/s", "0", EarthGreen},
     "1 day",
     "1e9"},
    {u"Equal-mass binary: mirror-image orbits",
     {"3.2e11 m", "2.7e11 m", "1 Msun", "12.879852 km/s", "0", Yellow},
     {"5.2e11 m", "2.7e11 m", "1 Msun", "12.879852 km/s", "180", Red},
     "1 day",
     "1e9"},
    {u"Escape flyby: too fast to be caught",
     {"1.5184e11 m", "1.5598e11 m", "1 Mearth", "33.8795 km/s", "131.078", Yellow},
     {"4.2e11 m", "2.6e11 m", "1 Msun", "0", "0", Red},
     "1 day",
     "1e9"},
    {u"Comet e 0.97, daily: shows the run drift",
     {"2.347e11 m", "5.4e11 m", "1e14 kg", "2.872105 km/s", "0", Yellow},
     {"1.2e12 m", "5.4e11 m", "2 Msun", "0", "0", Red},
     "1 day",
     "2e9"},
    {u"Same comet, hourly: follows its orbit",
     {"2.347e11 m", "5.4e11 m", "1e14 kg", "2.872105 km/s", "0", Yellow},
     {"1.2e12 m", "5.4e11 m", "2 Msun", "0", "0", Red},
     "1 h",
     "2e9"},
    {u"Slingshot: leaves faster than it came",
     {"4.62954e11 m", "1.171515e11 m", "1 Mearth", "27.205969 km/s", "196.509", Yellow},
     {"3.2632e11 m", "3.3e11 m", "1 Msun", "20 km/s", "90", Red},
     "1 day",
     "1e9"},
};
static_assert(std::size(Examples) == ExampleCount);

// The day the examples were written, so that "When Saved" shows a date and every build the same one.
constexpr CivilDateTime Written{2026, 12, 11, 0, 0, 0, 0};

void setBody(TState& s, int body, const TypedBody& typed) {
    const TVector position{parseQuantity(typed.u, QuantityKinds::Position),
                           parseQuantity(typed.v, QuantityKinds::Position)};
    const Extended mass = parseQuantity(typed.mass, QuantityKinds::Mass);
    const Extended speed = parseQuantity(typed.speed, QuantityKinds::Speed);
    const Extended direction = parseQuantity(typed.direction, QuantityKinds::Direction);
    if (body == 0) {
        s.setAPos(position);
        s.setAMass(mass);
        s.setASpeed(speed);
        s.setADir(direction);
        s.setAColor(typed.color);
    } else {
        s.setBPos(position);
        s.setBMass(mass);
        s.setBSpeed(speed);
        s.setBDir(direction);
        s.setBColor(typed.color);
    }
}

}  // namespace

std::vector<TState> exampleSettings() {
    std::vector<TState> records;
    records.reserve(ExampleCount);
    for (const TypedExample& e : Examples) {
        TState s = defaultSettings();
        SetRecLabel(s, e.label);
        s.setSaveDT(tDateTimeFromCivil(Written));
        setBody(s, 0, e.a);
        setBody(s, 1, e.b);
        s.setDT(parseQuantity(e.plotInterval, QuantityKinds::Duration));
        s.setSf(parseQuantity(e.scale, QuantityKinds::Position));
        records.push_back(s);
    }
    return records;
}
