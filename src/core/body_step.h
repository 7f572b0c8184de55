#pragma once

#include "core/vector_math.h"

// One body's part of an integration step: the definition of the step. Within one body the operations, their
// order and their roundings are the trajectory. The run computes it in x87 assembly (step_x87.S), which its
// test holds to this with S = Extended bit for bit; with S = Checked it finds the first failing operation of
// a step that has failed.
template <class S>
struct BodyStep {
    using V = typename vector_ops::VectorOf<S>::type;

    // The body at the start of the step.
    V pos;
    S speed, dir;

    // Built during the step.
    V d, a, v, w, newPos;
    S r, newSpeed, newDir;
    vector_ops::AzimuthHalf<S> azimuth;

    // The separation from the other body and its length.
    [[gnu::always_inline]] void separate(const V& otherPos) {
        d = VAdd(otherPos, VsMult(-1, pos));
        r = VMag(d);
    }
    // The unit vector towards the other body (its length computed again) and the pull of its mass.
    [[gnu::always_inline]] void pull(S otherMass) {
        const S inverse = 1 / VMag(d);
        d = VsMult(inverse, d);
        const S gm = G * otherMass;
        const S rr = r * r;
        a = VsMult(gm / rr, d);
    }
    // The velocity at the start of the step in metres per second.
    [[gnu::always_inline]] void startVelocity() {
        const S metres = speed * 1000;
        v = VsMult(metres, Dir2UV(dir));
    }
    [[gnu::always_inline]] void newVelocity(S dt) { w = VAdd(v, VsMult(dt, a)); }
    [[gnu::always_inline]] void speedOfNewVelocity() { newSpeed = VMag(w) / 1000; }
    [[gnu::always_inline]] void azimuthStart() { azimuth = vector_ops::azimuthStart(w); }
    [[gnu::always_inline]] void azimuthEnd() { newDir = vector_ops::azimuthEnd(azimuth); }
    // The position moves with the velocity at the start of the step, not the new one.
    [[gnu::always_inline]] void advance(S dt) {
        const V moved = VAdd(pos, VsMult(dt, v));
        const S half = (dt * 0.5) * dt;
        newPos = VAdd(moved, VsMult(half, a));
    }

    // All of it, in the order in which the operations are defined.
    [[gnu::always_inline]] void inOrder(const V& otherPos, S otherMass, S dt) {
        separate(otherPos);
        pull(otherMass);
        startVelocity();
        newVelocity(dt);
        speedOfNewVelocity();
        azimuthStart();
        azimuthEnd();
        advance(dt);
    }
};
