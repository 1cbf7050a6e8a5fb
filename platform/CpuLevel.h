// The instruction set that the reader's hot loops run with. The match and
// parse loops have a second copy built for x86-64-v3 (AVX2, BMI2: vector
// and shift instructions that leave their sources alone, so fewer moves
// and spills per token), taken when the processor has it. The program is
// still built for every x86-64 processor.
#pragma once

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
/// Builds a function, and what is inlined into it, for x86-64-v3.
#define TS_TARGET_X86_64_V3 __attribute__((target("arch=x86-64-v3")))
#else
#define TS_TARGET_X86_64_V3
#endif

enum class CpuLevel { kBaseline, kX86_64V3 };

/// The level of the hot loops, chosen once per process: x86-64-v3 when the
/// processor has it, unless the environment variable TYPESWAP_CPU is
/// "baseline" (a way round a fault of the faster copy, and how the tests
/// run the other).
CpuLevel ActiveCpuLevel();

/// The level's name as TYPESWAP_CPU takes it: "baseline" or "x86-64-v3".
const char* CpuLevelName(CpuLevel level);
