// The record files of the simulated library and keyboard program (sim/records.h): appending a
// line of numbers, reading them back, clearing them, and the shared clock.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sim::record {

// The QueryPerformanceCounter value now.
int64_t Now();
// A QueryPerformanceCounter value in milliseconds, on the same scale as harness::NowMs().
double ToMs(int64_t counter);

// Appends the numbers as one line to the record file, creating its folder when needed.
bool Append(const char* path, const std::vector<int64_t>& numbers);
// Every line of the record file as its numbers; empty when the file does not exist.
std::vector<std::vector<int64_t>> Read(const char* path);
// Deletes the record file; true when it is gone.
bool Clear(const char* path);

} // namespace sim::record
