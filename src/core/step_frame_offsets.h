#pragma once

// Where each value of a StepFrame (step_frame.h) sits, in bytes from the frame's start. Plain #defines, so
// that the assembly (step_x87.S, which the preprocessor reads first) and C++ take the same numbers; the
// struct is checked against every one of them.

// The state the step replaces: 16-byte slots, the 10 bytes of the value first.
#define STEP_FRAME_POS_AU 0x00
#define STEP_FRAME_POS_AV 0x10
#define STEP_FRAME_POS_BU 0x20
#define STEP_FRAME_POS_BV 0x30
#define STEP_FRAME_SPEED_A 0x40
#define STEP_FRAME_SPEED_B 0x50
#define STEP_FRAME_DIR_A 0x60
#define STEP_FRAME_DIR_B 0x70

// The run's constants in the same slots.
#define STEP_FRAME_DT 0x80
#define STEP_FRAME_HALF 0x90
#define STEP_FRAME_GM_A 0xA0
#define STEP_FRAME_GM_B 0xB0
#define STEP_FRAME_DEGREE 0xC0

// The doubles the fast form reads instead.
#define STEP_FRAME_DT64 0xD0
#define STEP_FRAME_HALF64 0xD8
#define STEP_FRAME_DEGREE_HI 0xE0
#define STEP_FRAME_DEGREE_LO 0xE8
#define STEP_FRAME_GM_A_HI 0xF0
#define STEP_FRAME_GM_A_LO 0xF8
#define STEP_FRAME_GM_B_HI 0x100
#define STEP_FRAME_GM_B_LO 0x108
