#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/body_step.h"
#include "core/fp_error.h"
#include "core/step_frame.h"
#include "core/t_state.h"
#include "x87_flags.h"

namespace {

// One step as BodyStep defines it: A's operations in their order, then B's, all from the state at the
// start. Returns the error flags; the state is replaced only when there are none.
int referenceStep(TState& s, Extended dt) {
    std::feclearexcept(FE_ALL_EXCEPT);
    BodyStep<Extended> a, b;
    a.pos = s.APos();
    a.speed = s.ASpeed();
    a.dir = s.ADir();
    b.pos = s.BPos();
    b.speed = s.BSpeed();
    b.dir = s.BDir();
    a.inOrder(b.pos, s.BMass(), dt);
    b.inOrder(a.pos, s.AMass(), dt);
    pinFpResult(a.newPos.u);
    pinFpResult(a.newPos.v);
    pinFpResult(a.newSpeed);
    pinFpResult(a.newDir);
    pinFpResult(b.newPos.u);
    pinFpResult(b.newPos.v);
    pinFpResult(b.newSpeed);
    pinFpResult(b.newDir);
    const int flags = x87ErrorFlags();
    std::feclearexcept(FE_ALL_EXCEPT);
    if (flags != 0) return flags;
    s.setAPos(a.newPos);
    s.setASpeed(a.newSpeed);
    s.setADir(a.newDir);
    s.setBPos(b.newPos);
    s.setBSpeed(b.newSpeed);
    s.setBDir(b.newDir);
    return 0;
}

// One step of a fresh Step, set up as the run sets it up; false when it reported an error.
template <class Step>
bool stepOnce(Step& step, TState& s, Extended dt) {
    std::feclearexcept(FE_ALL_EXCEPT);
    const int setUpFlags = step.setUp(dt, s);
    step.load(s);
    const int flags = setUpFlags != 0 ? setUpFlags : step.step();
    std::feclearexcept(FE_ALL_EXCEPT);
    if (flags != 0) return false;
    step.store(s);
    return true;
}

// The same step in the x87 code the run uses; false when it reported an error.
bool x87Step(TState& s, Extended dt, bool& usedDoubles) {
    X87Step step;
    const bool ok = stepOnce(step, s, dt);
    usedDoubles = step.usesDoubles();
    return ok;
}

// The same step as a reference build's run takes it.
bool referenceBuildStep(TState& s, Extended dt) {
    ReferenceStep step;
    return stepOnce(step, s, dt);
}

std::string fieldsOf(const TState& s) {
    std::string out;
    for (std::size_t i = TStateLayout::APos; i < TStateLayout::AColor; ++i) {
        static const char* digits = "0123456789abcdef";
        out += digits[s.bytes[i] >> 4];
        out += digits[s.bytes[i] & 15];
    }
    return out;
}

// Values of every size and sign, and the ones that take their own paths: zeros of both signs, denormals,
// infinities, NaN, angles FSINCOS cannot reduce.
Extended pick(std::mt19937_64& rng, Extended typical) {
    static const Extended specials[] = {0.0L,
                                        -0.0L,
                                        std::numeric_limits<Extended>::denorm_min(),
                                        -std::numeric_limits<Extended>::min(),
                                        std::numeric_limits<Extended>::max(),
                                        std::numeric_limits<Extended>::infinity(),
                                        std::numeric_limits<Extended>::quiet_NaN(),
                                        1e30L,
                                        0x1p63L,
                                        -0x1p63L};
    std::uniform_int_distribution<int> kind(0, 39);
    std::uniform_real_distribution<double> unit(-1, 1);
    const int k = kind(rng);
    if (k < 30)
        return typical * static_cast<Extended>(unit(rng)) * std::pow(10.0L, static_cast<int>(rng() % 9) - 4);
    if (k < 36)
        return static_cast<Extended>(unit(rng)) * std::pow(10.0L, static_cast<int>(rng() % 9000) - 4500);
    return specials[rng() % std::size(specials)];
}

TState randomState(std::mt19937_64& rng) {
    TState s = defaultSettings();
    s.setAPos({pick(rng, 1e11L), pick(rng, 1e11L)});
    s.setBPos({pick(rng, 1e11L), pick(rng, 1e11L)});
    s.setAMass(std::fabs(pick(rng, 1e30L)));
    s.setBMass(pick(rng, 1e30L));
    s.setASpeed(pick(rng, 30));
    s.setBSpeed(pick(rng, 30));
    s.setADir(pick(rng, 360));
    s.setBDir(pick(rng, 360));
    return s;
}

struct StepCase {
    const char* name;
    Extended dt;
    bool doubles;  // whether dt and half are doubles exactly: the fast form for ordinary masses
};

void PrintTo(const StepCase& c, std::ostream* os) {
    *os << c.name;
}

class X87StepMatchesTheDefinition : public ::testing::TestWithParam<StepCase> {};

// On many states, ordinary and extreme, the x87 step fails exactly when the definition does, and otherwise
// leaves the same bits in every field, in both of its forms. So does the step of a reference build.
TEST_P(X87StepMatchesTheDefinition, OnRandomAndExtremeStates) {
    std::mt19937_64 rng(20261210);
    int compared = 0, failures = 0, mismatches = 0, referenceMismatches = 0, fastForm = 0;
    std::string firstMismatch, firstReferenceMismatch;
    for (int i = 0; i < 20000; ++i) {
        const TState start = randomState(rng);
        TState expected = start, actual = start;
        const bool expectedOk = referenceStep(expected, GetParam().dt) == 0;
        bool usedDoubles = false;
        const bool actualOk = x87Step(actual, GetParam().dt, usedDoubles);
        // The fast form needs dt and half as doubles, and pulls of masses that doubles can carry.
        ASSERT_TRUE(!usedDoubles || GetParam().doubles);
        fastForm += usedDoubles;
        ++compared;
        failures += !expectedOk;
        if (expectedOk != actualOk || (expectedOk && expected != actual)) {
            if (mismatches++ == 0)
                firstMismatch = "start " + fieldsOf(start) + "\nwant " +
                                (expectedOk ? fieldsOf(expected) : "error") + "\ngot  " +
                                (actualOk ? fieldsOf(actual) : "error");
        }
        TState byReference = start;
        const bool referenceOk = referenceBuildStep(byReference, GetParam().dt);
        if (expectedOk != referenceOk || (expectedOk && expected != byReference)) {
            if (referenceMismatches++ == 0)
                firstReferenceMismatch = "start " + fieldsOf(start) + "\nwant " +
                                         (expectedOk ? fieldsOf(expected) : "error") + "\ngot  " +
                                         (referenceOk ? fieldsOf(byReference) : "error");
        }
    }
    EXPECT_EQ(mismatches, 0) << firstMismatch;
    EXPECT_EQ(referenceMismatches, 0) << "reference build\n" << firstReferenceMismatch;
    // Both outcomes were well represented.
    EXPECT_GT(failures, compared / 10);
    EXPECT_LT(failures, compared * 9 / 10);
    // With such a dt both forms were compared.
    if (GetParam().doubles) {
        EXPECT_GT(fastForm, compared / 3);
        EXPECT_LT(fastForm, compared * 9 / 10);
    }
}

// Along whole orbits, close passes included, where the quadrant of each new velocity changes as it turns.
TEST_P(X87StepMatchesTheDefinition, AlongOrbits) {
    for (const Extended aSpeed : {23.5L, 5.0L, 0.5L, 40.0L}) {
        TState expected = defaultSettings();
        expected.setASpeed(aSpeed);
        TState actual = expected, byReference = expected;
        for (int i = 0; i < 20000; ++i) {
            const bool expectedOk = referenceStep(expected, GetParam().dt) == 0;
            bool usedDoubles = false;
            const bool actualOk = x87Step(actual, GetParam().dt, usedDoubles);
            const bool referenceOk = referenceBuildStep(byReference, GetParam().dt);
            ASSERT_EQ(usedDoubles, GetParam().doubles);
            ASSERT_EQ(expectedOk, actualOk) << "speed " << static_cast<double>(aSpeed) << " step " << i;
            ASSERT_EQ(expectedOk, referenceOk) << "speed " << static_cast<double>(aSpeed) << " step " << i;
            if (!expectedOk) break;
            ASSERT_EQ(expected, actual) << "speed " << static_cast<double>(aSpeed) << " step " << i;
            ASSERT_EQ(expected, byReference) << "speed " << static_cast<double>(aSpeed) << " step " << i;
        }
    }
}

// As a run holds them: set up once, loaded once, stepped on and on, the masses read again between plot
// points (an ordinary mass, one whose pull no pair of doubles holds, and back). The reference build's step
// keeps the assembly's bits all along and fails on the same step.
TEST_P(X87StepMatchesTheDefinition, ReferenceStepKeepsTheAssemblysRun) {
    const Extended dt = GetParam().dt;
    for (const Extended aSpeed : {23.5L, 0.5L}) {
        TState start = defaultSettings();
        start.setASpeed(aSpeed);
        X87Step x87;
        ReferenceStep reference;
        std::feclearexcept(FE_ALL_EXCEPT);
        ASSERT_EQ(x87.setUp(dt, start), reference.setUp(dt, start));
        x87.load(start);
        reference.load(start);
        TState withMasses = start;
        bool failed = false;
        for (const Extended bMass : {3e30L, 1e-4000L, 2e30L}) {
            withMasses.setBMass(bMass);
            const int x87MassFlags = x87.takeMasses(withMasses);
            std::feclearexcept(FE_ALL_EXCEPT);
            ASSERT_EQ(x87MassFlags, reference.takeMasses(withMasses));
            for (int i = 0; i < 4000 && !failed; ++i) {
                const int x87Flags = x87.step();
                std::feclearexcept(FE_ALL_EXCEPT);
                const int referenceFlags = reference.step();
                std::feclearexcept(FE_ALL_EXCEPT);
                ASSERT_EQ(x87Flags != 0, referenceFlags != 0) << static_cast<double>(bMass) << " step " << i;
                failed = x87Flags != 0;
                if (failed || i % 40 != 39) continue;
                TState a = start, b = start;
                x87.store(a);
                reference.store(b);
                ASSERT_EQ(a, b) << static_cast<double>(bMass) << " step " << i;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Steps, X87StepMatchesTheDefinition,
                         ::testing::Values(StepCase{"daily", 86400.0L / 40, true},
                                           StepCase{"cpt999", 86400.0L / 999, false},
                                           StepCase{"hourly", 3600.0L / 40, true},
                                           StepCase{"hugehalf", 1e200L, false}),
                         [](const auto& p) { return std::string(p.param.name); });

// Masses read again during a run (a handler may change them) take effect from the next step, in either
// form: an ordinary mass, one whose pull no pair of doubles holds, and back.
TEST(X87Step, TakesChangedMassesFromTheNextStep) {
    const Extended dt = 86400.0L / 40;
    TState expected = defaultSettings();
    X87Step step;
    ASSERT_EQ(step.setUp(dt, expected), 0);
    step.load(expected);
    for (const Extended bMass : {3e30L, 1e-4000L, 2e30L}) {
        expected.setBMass(bMass);
        ASSERT_EQ(step.takeMasses(expected), 0);
        EXPECT_EQ(step.usesDoubles(), bMass > 1);
        for (int i = 0; i < 500; ++i) {
            ASSERT_EQ(referenceStep(expected, dt), 0);
            ASSERT_EQ(step.step(), 0);
        }
        TState actual = expected;
        step.store(actual);
        EXPECT_EQ(actual, expected) << static_cast<double>(bMass);
    }
}

// The step leaves the x87 register stack empty, whichever way it returns: a value left behind would turn
// the next push into a stack fault and a NaN.
TEST(X87Step, LeavesTheRegisterStackEmpty) {
    TState ok = defaultSettings();
    TState hugeAngleA = ok, hugeAngleB = ok;
    hugeAngleA.setADir(1e30L);
    hugeAngleB.setBDir(1e30L);
    // Both forms of the step: dt a double, and one that is not.
    for (const Extended dt : {86400.0L / 40, 86400.0L / 999}) {
        for (const TState& s : {ok, hugeAngleA, hugeAngleB}) {
            X87Step step;
            ASSERT_EQ(step.setUp(dt, s), 0);
            ASSERT_EQ(step.usesDoubles(), dt == 86400.0L / 40);
            step.load(s);
            step.step();
            struct {
                std::uint16_t control, pad1, status, pad2, tags, pad3;
                std::uint32_t rest[4];
            } env;
            asm volatile("fnstenv %0" : "=m"(env));
            asm volatile("fldcw %0" : : "m"(env.control));  // fnstenv masked every exception
            EXPECT_EQ(env.tags, 0xFFFF) << "registers left in use";
            std::feclearexcept(FE_ALL_EXCEPT);
        }
    }
}

// Flags left before a step are the step's own, in both builds: the run counts what was raised since its
// last step against the next one.
TEST(RunSteps, CountFlagsLeftBeforeTheStep) {
    const Extended dt = 86400.0L / 40;
    const TState s = defaultSettings();
    for (const int flag : {FE_INVALID, FE_DIVBYZERO, FE_OVERFLOW}) {
        X87Step x87;
        ReferenceStep reference;
        ASSERT_EQ(x87.setUp(dt, s), 0);
        ASSERT_EQ(reference.setUp(dt, s), 0);
        x87.load(s);
        reference.load(s);
        raiseX87Flags(flag);
        EXPECT_EQ(x87.step(), flag);
        std::feclearexcept(FE_ALL_EXCEPT);
        raiseX87Flags(flag);
        EXPECT_EQ(reference.step(), flag);
        std::feclearexcept(FE_ALL_EXCEPT);
    }
}

}  // namespace
