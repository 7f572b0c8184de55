// One integration step of both bodies, written out in x87 code.
//
// The same operations, operands and roundings as BodyStep in body_step.h, which defines the step and which
// the tests hold this code to, bit for bit. Written by hand because what the compiler makes of the step
// spends more time moving 80-bit values between the eight x87 registers and memory than computing: each
// FLD or FSTP of a 10-byte value costs about as much as a multiplication and competes with FPATAN.
//
//   int tulvane_step(StepFrame* frame)           every constant from its 10-byte slot
//   int tulvane_step_dt_double(StepFrame* frame) dt and half from doubles that hold them exactly, the
//                                                degree factor and the pulls from pairs of doubles
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

#include <cet.h>

#include "core/step_frame_offsets.h"

        .intel_syntax noprefix

        .section .rodata
        .p2align 3
.Lthousand: .double 1000.0
.Ltwo63:    .double 9223372036854775808.0
.Lturn90:   .double 90.0
.Lturn180:  .double 180.0
.Lturn270:  .double 270.0

// The register stack is counted as the file assembles, so that a miscounted push or pop fails the build
// instead of a run: .Ldepth holds the registers in use. Every instruction that pushes or pops is written
// behind PUSHES or POPS, which keep the count; a register named through ON_ST must be in use, a macro checks
// on leaving that it grew the stack by what its comment says (X87_ENTRY, X87_EXIT), and the code after a
// label starts from the depth every jump to it agreed on. None of it adds a byte to the code.
.macro PUSHES insn:vararg
        \insn
        .set .Ldepth, .Ldepth + 1
        .if .Ldepth > 8
        .error "x87 stack overflow: a ninth register pushed"
        .endif
.endm

.macro POPS insn:vararg
        \insn
        .set .Ldepth, .Ldepth - 1
        .if .Ldepth < 0
        .error "x87 stack underflow: an empty register popped"
        .endif
.endm

// The depth where the stack comments say what it holds.
.macro X87_DEPTH n
        .if .Ldepth != \n
        .error "the x87 stack is not as deep as its comment says"
        .endif
.endm

// A macro's depth on entry, kept under its invocation's number (\@), and the check on leaving that it pushed
// \pushed registers (or popped, when negative).
.macro X87_ENTRY id
        .set .Lentry\id, .Ldepth
.endm

.macro X87_EXIT id, pushed
        .if .Ldepth != .Lentry\id + (\pushed)
        .error "a macro left the x87 stack at a depth its comment does not say"
        .endif
.endm

// Every way into \target, jumps and the fall-through before it, must bring the same depth.
.macro X87_REACHES target
        .ifdef .Lreach\target
        .if .Ldepth != .Lreach\target
        .error "\target is reached at two x87 stack depths"
        .endif
        .else
        .set .Lreach\target, .Ldepth
        .endif
.endm

.macro JUMP cond, target
        X87_REACHES \target
        \cond \target
.endm

// A label the code before does not fall through to: what follows starts from the jumps' depth.
.macro JUMP_TARGET name
\name:
        .set .Ldepth, .Lreach\name
.endm

// GAS takes only a literal register number, so a computed one is matched against each of them.
.macro ON_ST op, n, first
        .if (\n < 0) || (\n > 7)
        .error "no such register"
        .endif
        .if \n >= .Ldepth
        .error "st(\n) is not in use"
        .endif
        .irp i, 0, 1, 2, 3, 4, 5, 6, 7
        .if \n == \i
        .if \first == 2
        \op st(\i)
        .elseif \first
        \op st(\i), st
        .else
        \op st, st(\i)
        .endif
        .endif
        .endr
.endm

// Pushes one of the 10-byte constants (the degree factor or a pull) from its slot \c: in the fast form as the
// sum of its two doubles at \hi and \lo, which is exact (the low one holds the last 11 bits) and costs two
// plain loads instead of the microcoded 10-byte one.
.macro LOAD_CONSTANT fast, c, hi, lo
        .if \fast
        PUSHES fld qword ptr [rdi+\hi]
        fadd qword ptr [rdi+\lo]
        .else
        PUSHES fld tbyte ptr [rdi+\c]
        .endif
.endm

// Pushes the constant (dt or half, at \c or as the double at \c64) times st(i).
.macro PUSH_PRODUCT fast, c, c64, i
        X87_ENTRY \@
        .if \fast
        PUSHES ON_ST fld, \i, 2
        fmul qword ptr [rdi+\c64]
        .else
        PUSHES fld tbyte ptr [rdi+\c]
        ON_ST fmul, (\i+1), 0
        .endif
        X87_EXIT \@, 1
.endm

// One component of a new position, (pos + dt * v) + half * a, stored in \slot; v and a are at st(v) and
// st(a), and the stack is left as it was.
.macro NEW_POSITION fast, slot, v, a
        X87_ENTRY \@
        PUSH_PRODUCT \fast, STEP_FRAME_DT, STEP_FRAME_DT64, \v
        PUSHES fld tbyte ptr [rdi+\slot]
        POPS faddp st(1), st
        PUSH_PRODUCT \fast, STEP_FRAME_HALF, STEP_FRAME_HALF64, (\a+1)
        POPS faddp st(1), st
        POPS fstp tbyte ptr [rdi+\slot]
        X87_EXIT \@, 0
.endm

// st(i) times the constant (dt or half), in place.
.macro SCALE fast, c, c64, i
        X87_ENTRY \@
        .if \fast
        .if \i
        fxch st(\i)
        fmul qword ptr [rdi+\c64]
        fxch st(\i)
        .else
        fmul qword ptr [rdi+\c64]
        .endif
        .else
        PUSHES fld tbyte ptr [rdi+\c]
        POPS ON_ST fmulp, (\i+1), 1
        .endif
        X87_EXIT \@, 0
.endm

// Pushes the direction (at \dir) in radians; jumps to \fail, the pushed value left on the stack, when
// FSINCOS could not reduce it: magnitude 2^63 or more, or NaN.
.macro RADIANS fast, dir, fail
        X87_ENTRY \@
        PUSHES fld tbyte ptr [rdi+\dir]
        LOAD_CONSTANT \fast, STEP_FRAME_DEGREE, STEP_FRAME_DEGREE_HI, STEP_FRAME_DEGREE_LO
        POPS fmulp st(1), st
        PUSHES fld st(0)
        fabs
        PUSHES fld qword ptr [rip+.Ltwo63]
        POPS fcomip st, st(1)
        POPS fstp st(0)
        JUMP jbe, \fail
        X87_EXIT \@, 1
.endm

// Pushes the velocity at the start of the step, metres * (sin, -cos) of the direction: its u component on
// top, v below. Leaves for \fail with [x, metres] above what was there when FSINCOS cannot take the angle.
.macro START_VELOCITY fast, speed, dir, fail
        X87_ENTRY \@
        PUSHES fld tbyte ptr [rdi+\speed]
        fmul qword ptr [rip+.Lthousand] // [metres]
        RADIANS \fast, \dir, \fail
        PUSHES fsincos                  // [c, s, metres]
        fchs
        fmul st, st(2)                  // [v, s, metres]
        fxch st(2)
        POPS fmulp st(1), st            // [u, v]
        X87_EXIT \@, 2
.endm

// Pushes the length m of a new velocity w, whose components are at st(u) and st(v), and stores m / 1000 in
// \slot as the new speed.
.macro NEW_SPEED u, v, slot
        X87_ENTRY \@
        PUSHES ON_ST fld, \u, 2
        fmul st, st(0)
        PUSHES ON_ST fld, (\v+1), 2
        fmul st, st(0)
        POPS faddp st(1), st
        fsqrt
        PUSHES fld st(0)
        fdiv qword ptr [rip+.Lthousand]
        POPS fstp tbyte ptr [rdi+\slot]
        X87_EXIT \@, 1
.endm

// From the two components of a new velocity w (at st(u) and st(v)) and its length m on top: puts the arc
// sine's argument x = the component the quadrant chooses over m in the place of m, leaves the quarter turns
// to add in \turn (0 for none). Both comparisons are made, as in the definition, so a NaN raises invalid the
// same way.
.macro QUADRANT u, v, turn, label
        X87_ENTRY \@
        PUSHES fldz
        ON_ST fcomi, (\v+1), 0
        setbe cl                        // v >= 0 (-0 included)
        POPS ON_ST fcomip, (\u+1), 0
        JUMP jbe, .Lu_nonneg\label
        test cl, cl
        JUMP jz, .Lq270\label
        PUSHES ON_ST fld, \u, 2
        fabs
        lea \turn, [rip+.Lturn180]
        JUMP jmp, .Lchosen\label
JUMP_TARGET .Lq270\label
        PUSHES ON_ST fld, \v, 2
        fabs
        lea \turn, [rip+.Lturn270]
        JUMP jmp, .Lchosen\label
JUMP_TARGET .Lu_nonneg\label
        test cl, cl
        JUMP jz, .Lq0\label
        PUSHES ON_ST fld, \v, 2
        lea \turn, [rip+.Lturn90]
        JUMP jmp, .Lchosen\label
JUMP_TARGET .Lq0\label
        PUSHES ON_ST fld, \u, 2
        xor \turn, \turn
        X87_REACHES .Lchosen\label
.Lchosen\label:
        POPS fdivrp st(1), st           // x = component / m
        X87_EXIT \@, 0
.endm

// From x on top: x, sqrt(1 - x * x) as FPATAN wants them, root on top.
.macro ARCSIN_ROOT
        X87_ENTRY \@
        PUSHES fld st(0)
        fmul st, st(0)
        PUSHES fld1
        POPS fsubrp st(1), st
        fsqrt
        X87_EXIT \@, 1
.endm

// The quarter turns at \turn (none when 0) added to the angle on top.
.macro TURN turn, label
        test \turn, \turn
        jz .Lnoturn\label
        fadd qword ptr [\turn]
.Lnoturn\label:
.endm

.macro STEP fast, name
        .text
        .globl \name
        .type \name, @function
        .p2align 4
\name:
        // The landing mark that indirect-branch tracking wants at a function reached through a pointer; with
        // the code built for CET, cet.h also adds the note saying the file is ready for it. Nothing here
        // touches the return address, so the shadow stack needs nothing more.
        _CET_ENDBR
        // A leaf that never moves the stack pointer: the default frame description is the whole story,
        // for debuggers and profilers walking the stack.
        .cfi_startproc
        // FSINCOS and FPATAN are long microcoded sequences, and one issued before its operand is ready holds
        // up the work behind it. So each comes where its operand is ready or nearly so, after work that does
        // not wait for it; the order between the bodies is all this chooses.
        .set .Ldepth, 0

        // The separations and the accelerations first: they need only the positions, which the step before
        // stored early, and run while its FPATANs finish.
        PUSHES fld tbyte ptr [rdi+STEP_FRAME_POS_BU]
        PUSHES fld tbyte ptr [rdi+STEP_FRAME_POS_AU] // [Au, Bu]
        PUSHES fld st(1)
        fsub st, st(1)                  // [dAu = Bu - Au, Au, Bu]
        fxch st(2)
        POPS fsubp st(1), st            // [dBu = Au - Bu, dAu]
        PUSHES fld tbyte ptr [rdi+STEP_FRAME_POS_BV]
        PUSHES fld tbyte ptr [rdi+STEP_FRAME_POS_AV]
        PUSHES fld st(1)
        fsub st, st(1)                  // [dAv, Av, Bv, dBu, dAu]
        fxch st(2)
        POPS fsubp st(1), st            // [dBv, dAv, dBu, dAu]
        PUSHES fld st(3)
        fmul st, st(0)
        PUSHES fld st(2)
        fmul st, st(0)
        POPS faddp st(1), st
        fsqrt                           // [r, dBv, dAv, dBu, dAu]
        PUSHES fld1
        fdiv st, st(1)                  // [inverse, r, dBv, dAv, dBu, dAu]
        fmul st(2), st
        fmul st(3), st
        fmul st(4), st
        POPS fmulp st(5), st            // [r, unitBv, unitAv, unitBu, unitAu]
        fmul st, st(0)                  // [rr, ...]
        LOAD_CONSTANT \fast, STEP_FRAME_GM_B, STEP_FRAME_GM_B_HI, STEP_FRAME_GM_B_LO
        fdiv st, st(1)                  // [gmB / rr, rr, unitBv, unitAv, unitBu, unitAu]
        fmul st(3), st
        POPS fmulp st(5), st            // [rr, unitBv, aAv, unitBu, aAu]
        LOAD_CONSTANT \fast, STEP_FRAME_GM_A, STEP_FRAME_GM_A_HI, STEP_FRAME_GM_A_LO
        POPS fdivrp st(1), st           // [gmA / rr, unitBv, aAv, unitBu, aAu]
        fmul st(1), st
        POPS fmulp st(3), st            // [aBv, aAv, aBu, aAu]
        X87_DEPTH 4

        // A: the velocity at the start of the step. A's direction is the previous step's first FPATAN.
        // [vAu, vAv, aBv, aAv, aBu, aAu]
        START_VELOCITY \fast, STEP_FRAME_SPEED_A, STEP_FRAME_DIR_A, .Lfail\name
        // A: the new position, (pos + dt * v) + half * a
        NEW_POSITION \fast, STEP_FRAME_POS_AU, 0, 5
        NEW_POSITION \fast, STEP_FRAME_POS_AV, 1, 3
        // A: the new velocity, v + dt * a
        SCALE \fast, STEP_FRAME_DT, STEP_FRAME_DT64, 5
        SCALE \fast, STEP_FRAME_DT, STEP_FRAME_DT64, 3 // [vAu, vAv, aBv, dt*aAv, aBu, dt*aAu]
        POPS faddp st(5), st            // [vAv, aBv, dt*aAv, aBu, wAu]
        POPS faddp st(2), st            // [aBv, wAv, aBu, wAu]
        X87_DEPTH 4

        // B: the velocity at the start of the step, from the previous step's second FPATAN.
        // [vBu, vBv, aBv, wAv, aBu, wAu]
        START_VELOCITY \fast, STEP_FRAME_SPEED_B, STEP_FRAME_DIR_B, .Lfail\name
        // B: the new position
        NEW_POSITION \fast, STEP_FRAME_POS_BU, 0, 4
        NEW_POSITION \fast, STEP_FRAME_POS_BV, 1, 2
        // B: the new velocity
        SCALE \fast, STEP_FRAME_DT, STEP_FRAME_DT64, 4
        SCALE \fast, STEP_FRAME_DT, STEP_FRAME_DT64, 2 // [vBu, vBv, dt*aBv, wAv, dt*aBu, wAu]
        POPS faddp st(4), st
        POPS faddp st(1), st            // [wBv, wAv, wBu, wAu]
        X87_DEPTH 4

        // A: the new speed
        NEW_SPEED 3, 1, STEP_FRAME_SPEED_A // [mA, wBv, wAv, wBu, wAu]
        // A: the arc sine of the new direction
        QUADRANT 4, 2, rsi, a\name      // [xA, wBv, wAv, wBu, wAu]
        fxch st(4)
        POPS fstp st(0)
        fxch st(1)
        POPS fstp st(0)
        fxch st(2)                      // [xA, wBu, wBv]
        ARCSIN_ROOT                     // [rootA, xA, wBu, wBv]

        // B: the new speed
        NEW_SPEED 2, 3, STEP_FRAME_SPEED_B // [mB, rootA, xA, wBu, wBv]
        // B: the arc sine of the new direction
        QUADRANT 3, 4, rdx, b\name      // [xB, rootA, xA, wBu, wBv]
        ARCSIN_ROOT                     // [rootB, xB, rootA, xA, wBu, wBv]
        X87_DEPTH 6

        // Both FPATANs back to back, their operands ready: A's first, as the next step wants A's direction
        // first. Issued each right after its own operands, they would wait on them and hold up the rest.
        fxch st(1)
        fxch st(3)
        fxch st(1)
        fxch st(2)                      // [rootA, xA, rootB, xB, wBu, wBv]
        POPS fpatan                     // [atA, rootB, xB, wBu, wBv]
        fxch st(2)
        fxch st(1)
        POPS fpatan                     // [atB, atA, wBu, wBv]

        // Both directions in degrees, one load of the factor for both.
        LOAD_CONSTANT \fast, STEP_FRAME_DEGREE, STEP_FRAME_DEGREE_HI, STEP_FRAME_DEGREE_LO
        fdiv st(1), st
        POPS fdivp st(2), st            // [angleB, angleA, wBu, wBv]
        fxch st(1)
        TURN rsi, a\name
        POPS fstp tbyte ptr [rdi+STEP_FRAME_DIR_A] // [angleB, wBu, wBv]
        TURN rdx, b\name
        POPS fstp tbyte ptr [rdi+STEP_FRAME_DIR_B]
        POPS fstp st(0)
        POPS fstp st(0)
        X87_DEPTH 0                     // empty on return, as the ABI wants
        fnstsw ax
        and eax, 0x0D
        ret

JUMP_TARGET .Lfail\name         // [x, metres] and four more
        POPS fstp st(0)
        POPS fstp st(0)
        POPS fstp st(0)
        POPS fstp st(0)
        POPS fstp st(0)
        POPS fstp st(0)
        X87_DEPTH 0
        mov eax, 1
        ret
        .cfi_endproc
        .size \name, .-\name
.endm

        STEP 0, tulvane_step
        STEP 1, tulvane_step_dt_double

        .section .note.GNU-stack,"",@progbits
