// One integration step of both bodies, written out in x87 code.
//
// The same operations, operands and roundings as BodyStep in body_step.h, which defines the step and which
// the tests hold this code to, bit for bit. Written by hand because what the compiler makes of the step
// spends more time moving 80-bit values between the eight x87 registers and memory than computing: each
// FLD or FSTP of a 10-byte value costs about as much as a multiplication and competes with FPATAN.
//
//   int tulvane_step(StepFrame* frame)          dt and half from their 10-byte slots
//   int tulvane_step_dt_double(StepFrame* frame) dt and half from dt64 and half64, which hold them exactly
//
// The frame (step_frame.h) holds the state, which the step replaces by the state after it, and the run's
// constants. Returns the x87 error flags (invalid 1, zero divide 4, overflow 8) left after the step, or 1 if
// an angle is beyond the reach of FSINCOS; with any of them the frame is spoilt and the caller recomputes the
// step from the record. The x87 stack is empty on entry and on return, as the ABI wants.
//
// Comments give the register stack, top first. Two facts carry the shared work:
// - B's separation is the exact negation of A's (rounding to nearest is symmetric), so both have the same
//   length and the same inverse; B's components are still computed, since a zero difference is +0 both ways.
// - A product or a sum does not depend on the order of its operands.

        .intel_syntax noprefix

        // StepFrame: 16-byte slots, the first 10 bytes of each used.
        .set POS_AU, 0x00
        .set POS_AV, 0x10
        .set POS_BU, 0x20
        .set POS_BV, 0x30
        .set SPEED_A, 0x40
        .set SPEED_B, 0x50
        .set DIR_A, 0x60
        .set DIR_B, 0x70
        .set DT, 0x80
        .set HALF, 0x90
        .set GM_A, 0xA0                 // G times A's mass: the pull on B
        .set GM_B, 0xB0                 // G times B's mass: the pull on A
        .set DEGREE, 0xC0               // degrees to radians
        .set ACC_BU, 0xD0               // B's acceleration, kept while A's part of the step runs
        .set ACC_BV, 0xE0
        .set DT64, 0xF0
        .set HALF64, 0xF8

        .section .rodata
        .p2align 3
.Lthousand: .double 1000.0
.Ltwo63:    .double 9223372036854775808.0
.Lturn90:   .double 90.0
.Lturn180:  .double 180.0
.Lturn270:  .double 270.0

// GAS takes only a literal register number, so a computed one is spelled out.
.macro ON_ST op, n, first
        .if \n == 1
        .if \first
        \op st(1), st
        .else
        \op st, st(1)
        .endif
        .elseif \n == 2
        .if \first
        \op st(2), st
        .else
        \op st, st(2)
        .endif
        .elseif \n == 3
        .if \first
        \op st(3), st
        .else
        \op st, st(3)
        .endif
        .elseif \n == 4
        .if \first
        \op st(4), st
        .else
        \op st, st(4)
        .endif
        .elseif \n == 5
        .if \first
        \op st(5), st
        .else
        \op st, st(5)
        .endif
        .elseif \n == 6
        .if \first
        \op st(6), st
        .else
        \op st, st(6)
        .endif
        .elseif \n == 7
        .if \first
        \op st(7), st
        .else
        \op st, st(7)
        .endif
        .else
        .error "no such register"
        .endif
.endm

// Pushes the constant (DT or HALF) times st(i).
.macro PUSH_PRODUCT fast, c, c64, i
        .if \fast
        fld st(\i)
        fmul qword ptr [rdi+\c64]
        .else
        fld tbyte ptr [rdi+\c]
        ON_ST fmul, (\i+1), 0
        .endif
.endm

// st(i) times the constant (DT or HALF), in place.
.macro SCALE fast, c, c64, i
        .if \fast
        .if \i
        fxch st(\i)
        fmul qword ptr [rdi+\c64]
        fxch st(\i)
        .else
        fmul qword ptr [rdi+\c64]
        .endif
        .else
        fld tbyte ptr [rdi+\c]
        ON_ST fmulp, (\i+1), 1
        .endif
.endm

// Pushes the direction (DIR_A or DIR_B) in radians; leaves for \fail (after popping \depth values below it)
// when FSINCOS could not reduce it: magnitude 2^63 or more, or NaN.
.macro RADIANS dir, fail
        fld tbyte ptr [rdi+\dir]
        fld tbyte ptr [rdi+DEGREE]
        fmulp st(1), st
        fld st(0)
        fabs
        fld qword ptr [rip+.Ltwo63]
        fcomip st, st(1)
        fstp st(0)
        jbe \fail
.endm

// From the two components of a new velocity w (at st(u) and st(v)) and its length m on top: pushes the arc
// sine's argument x = the component the quadrant chooses over m, leaves the quarter turns to add in \turn
// (0 for none). Both comparisons are made, as in the definition, so a NaN raises invalid the same way.
.macro QUADRANT u, v, turn, label
        fldz
        ON_ST fcomi, (\v+1), 0
        setbe cl                        // v >= 0 (-0 included)
        ON_ST fcomip, (\u+1), 0
        jbe .Lu_nonneg\label
        test cl, cl
        jz .Lq270\label
        fld st(\u)
        fabs
        lea \turn, [rip+.Lturn180]
        jmp .Lchosen\label
.Lq270\label:
        fld st(\v)
        fabs
        lea \turn, [rip+.Lturn270]
        jmp .Lchosen\label
.Lu_nonneg\label:
        test cl, cl
        jz .Lq0\label
        fld st(\v)
        lea \turn, [rip+.Lturn90]
        jmp .Lchosen\label
.Lq0\label:
        fld st(\u)
        xor \turn, \turn
.Lchosen\label:
        fdivrp st(1), st                // x = component / m
.endm

// From x on top: x, sqrt(1 - x * x) as FPATAN wants them, root on top.
.macro ARCSIN_ROOT
        fld st(0)
        fmul st, st(0)
        fld1
        fsubrp st(1), st
        fsqrt
.endm

// The arc tangent on top to degrees, the quarter turns at \turn added, stored in \dir.
.macro DEGREES turn, dir, label
        fld tbyte ptr [rdi+DEGREE]
        fdivp st(1), st
        test \turn, \turn
        jz .Lnoturn\label
        fadd qword ptr [\turn]
.Lnoturn\label:
        fstp tbyte ptr [rdi+\dir]
.endm

.macro STEP fast, name
        .text
        .globl \name
        .type \name, @function
        .p2align 4
\name:
        // The separation and the accelerations. Both bodies' directions are turned into radians only after
        // this, but FSINCOS, which does not use the divider, overlaps the divisions and roots here.
        fld tbyte ptr [rdi+POS_BU]
        fld tbyte ptr [rdi+POS_AU]
        fsubp st(1), st                 // [dAu = Bu - Au]
        fld tbyte ptr [rdi+POS_BV]
        fld tbyte ptr [rdi+POS_AV]
        fsubp st(1), st                 // [dAv, dAu]
        fld st(1)
        fmul st, st(0)
        fld st(1)
        fmul st, st(0)
        faddp st(1), st
        fsqrt                           // [r, dAv, dAu]
        fld1
        fdiv st, st(1)                  // [inverse, r, dAv, dAu]
        fmul st(3), st
        fmul st(2), st                  // [inverse, r, unitAv, unitAu]
        fld tbyte ptr [rdi+POS_AU]
        fld tbyte ptr [rdi+POS_BU]
        fsubp st(1), st                 // [dBu = Au - Bu, inverse, r, unitAv, unitAu]
        fmul st, st(1)                  // [unitBu, inverse, r, unitAv, unitAu]
        fld tbyte ptr [rdi+POS_AV]
        fld tbyte ptr [rdi+POS_BV]
        fsubp st(1), st                 // [dBv, unitBu, inverse, r, unitAv, unitAu]
        fmulp st(2), st                 // [unitBu, unitBv, r, unitAv, unitAu]
        fxch st(2)
        fmul st, st(0)                  // [rr, unitBv, unitBu, unitAv, unitAu]
        fld tbyte ptr [rdi+GM_B]
        fdiv st, st(1)                  // [gmB / rr, rr, ...]
        fmul st(5), st
        fmulp st(4), st                 // [rr, unitBv, unitBu, aAv, aAu]
        fld tbyte ptr [rdi+GM_A]
        fdivrp st(1), st                // [gmA / rr, unitBv, unitBu, aAv, aAu]
        fmul st(2), st
        fmulp st(1), st                 // [aBv, aBu, aAv, aAu]
        fstp tbyte ptr [rdi+ACC_BV]
        fstp tbyte ptr [rdi+ACC_BU]     // [aAv, aAu]

        RADIANS DIR_A, .Lfail3\name     // [xA, aAv, aAu]
        fsincos                         // [cA, sA, aAv, aAu]
        RADIANS DIR_B, .Lfail5\name
        fsincos                         // [cB, sB, cA, sA, aAv, aAu]

        // A: the velocity at the start of the step, metres * (s, -c)
        fld tbyte ptr [rdi+SPEED_A]
        fmul qword ptr [rip+.Lthousand] // [metres, cB, sB, cA, sA, aAv, aAu]
        fxch st(3)
        fchs
        fmul st, st(3)                  // [vAv, cB, sB, metres, sA, aAv, aAu]
        fxch st(4)
        fmulp st(3), st                 // [cB, sB, vAu, vAv, aAv, aAu]
        // A: the new position, (pos + dt * v) + half * a
        PUSH_PRODUCT \fast, DT, DT64, 2
        fld tbyte ptr [rdi+POS_AU]
        faddp st(1), st                 // [movedU, cB, sB, vAu, vAv, aAv, aAu]
        PUSH_PRODUCT \fast, HALF, HALF64, 6
        faddp st(1), st
        fstp tbyte ptr [rdi+POS_AU]
        PUSH_PRODUCT \fast, DT, DT64, 3
        fld tbyte ptr [rdi+POS_AV]
        faddp st(1), st                 // [movedV, cB, sB, vAu, vAv, aAv, aAu]
        PUSH_PRODUCT \fast, HALF, HALF64, 5
        faddp st(1), st
        fstp tbyte ptr [rdi+POS_AV]     // [cB, sB, vAu, vAv, aAv, aAu]
        // A: the new velocity, v + dt * a
        SCALE \fast, DT, DT64, 5
        SCALE \fast, DT, DT64, 4        // [cB, sB, vAu, vAv, dt*aAv, dt*aAu]
        fxch st(2)
        faddp st(5), st
        fxch st(2)
        faddp st(3), st                 // [cB, sB, wAv, wAu]
        // A: the new speed, |w| / 1000
        fld st(3)
        fmul st, st(0)
        fld st(3)
        fmul st, st(0)
        faddp st(1), st
        fsqrt                           // [mA, cB, sB, wAv, wAu]
        fld st(0)
        fdiv qword ptr [rip+.Lthousand]
        fstp tbyte ptr [rdi+SPEED_A]
        // A: the arc sine of the new direction; B's work below overlaps its FPATAN.
        QUADRANT 4, 3, rsi, a\name      // [xA, cB, sB, wAv, wAu]
        ARCSIN_ROOT
        fpatan                          // [atA, cB, sB, wAv, wAu]
        fxch st(4)
        fstp st(0)
        fxch st(2)
        fstp st(0)                      // [sB, cB, atA]

        // B: the velocity at the start of the step
        fld tbyte ptr [rdi+SPEED_B]
        fmul qword ptr [rip+.Lthousand] // [metres, sB, cB, atA]
        fxch st(2)
        fchs
        fmul st, st(2)                  // [vBv, sB, metres, atA]
        fxch st(1)
        fmulp st(2), st                 // [vBv, vBu, atA]
        fxch st(1)
        fld tbyte ptr [rdi+ACC_BV]
        fld tbyte ptr [rdi+ACC_BU]      // [aBu, aBv, vBu, vBv, atA]
        // B: the new position
        PUSH_PRODUCT \fast, DT, DT64, 2
        fld tbyte ptr [rdi+POS_BU]
        faddp st(1), st
        PUSH_PRODUCT \fast, HALF, HALF64, 1
        faddp st(1), st
        fstp tbyte ptr [rdi+POS_BU]
        PUSH_PRODUCT \fast, DT, DT64, 3
        fld tbyte ptr [rdi+POS_BV]
        faddp st(1), st
        PUSH_PRODUCT \fast, HALF, HALF64, 2
        faddp st(1), st
        fstp tbyte ptr [rdi+POS_BV]     // [aBu, aBv, vBu, vBv, atA]
        // B: the new velocity
        SCALE \fast, DT, DT64, 0
        faddp st(2), st                 // [aBv, wBu, vBv, atA]
        SCALE \fast, DT, DT64, 0
        faddp st(2), st                 // [wBu, wBv, atA]
        // B: the new speed
        fld st(0)
        fmul st, st(0)
        fld st(2)
        fmul st, st(0)
        faddp st(1), st
        fsqrt                           // [mB, wBu, wBv, atA]
        fld st(0)
        fdiv qword ptr [rip+.Lthousand]
        fstp tbyte ptr [rdi+SPEED_B]
        // B: the arc sine of the new direction
        QUADRANT 1, 2, rdx, b\name      // [xB, wBu, wBv, atA]
        ARCSIN_ROOT
        fpatan                          // [atB, wBu, wBv, atA]

        // Both directions in degrees.
        fxch st(3)
        DEGREES rsi, DIR_A, a\name      // [wBu, wBv, atB]
        fstp st(0)
        fstp st(0)
        DEGREES rdx, DIR_B, b\name
        fnstsw ax
        and eax, 0x0D
        ret

.Lfail5\name:
        fstp st(0)
        fstp st(0)
.Lfail3\name:
        fstp st(0)
        fstp st(0)
        fstp st(0)
        mov eax, 1
        ret
        .size \name, .-\name
.endm

        STEP 0, tulvane_step
        STEP 1, tulvane_step_dt_double

        .section .note.GNU-stack,"",@progbits
