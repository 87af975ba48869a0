#pragma once

// Benchmarks come in pairs: the program's operation and the physical limit it
// is measured against (zlib alone, a plain copy), run on the same bytes. A
// benchmark registers as "Name/Arg" and names its limit with
// PairWith("Name", "LimitName"); after the run, each pair is printed as the
// ratio of their times, so the figure means the same on any machine.
// By default the ratio is of real time; `cpuTime` compares the CPU time of
// the measuring thread instead, for operations that also wait on the disk.
void PairWith(const char *operation, const char *limit, bool cpuTime = false);

// Runs the benchmarks, then prints the ratios. Use as main.
int RunBenchmarksWithRatios(int argc, char **argv);
