// Entry routines of arithmetic: the mathematical functions on doubles, the
// bitwise operations on 32-bit integers, colours and random numbers. All take
// their arguments by value.
#pragma once

#include <cstdint>

#include "RuntimeCall.h"

RUNTIME_ENTRY double RuntimeAbs(double x);
RUNTIME_ENTRY double RuntimeMax(double a, double b);
RUNTIME_ENTRY double RuntimeMin(double a, double b);
RUNTIME_ENTRY double RuntimeRound(double x);
RUNTIME_ENTRY double RuntimeCeil(double x);
RUNTIME_ENTRY double RuntimeFloor(double x);
RUNTIME_ENTRY double RuntimeSqrt(double x);
RUNTIME_ENTRY double RuntimeExp(double x);
RUNTIME_ENTRY double RuntimeLog(double x);
RUNTIME_ENTRY double RuntimePow(double x, double y);
RUNTIME_ENTRY double RuntimeSin(double x);
RUNTIME_ENTRY double RuntimeCos(double x);
RUNTIME_ENTRY double RuntimeTan(double x);
RUNTIME_ENTRY double RuntimeASin(double x);
RUNTIME_ENTRY double RuntimeACos(double x);
RUNTIME_ENTRY double RuntimeATan(double x);
RUNTIME_ENTRY double RuntimeATan2(double y, double x);
RUNTIME_ENTRY int32_t BitwiseAnd(int32_t a, int32_t b);
RUNTIME_ENTRY int32_t BitwiseOr(int32_t a, int32_t b);
RUNTIME_ENTRY int32_t BitwiseXor(int32_t a, int32_t b);
// The colour 0x00RRGGBB, each component clamped to 0-255.
RUNTIME_ENTRY int32_t RuntimeRGB(int32_t red, int32_t green, int32_t blue);
// A pseudo-random number in [0, 1).
RUNTIME_ENTRY double rnd();
