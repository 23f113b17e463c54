#pragma once

#include <vector>

// The yardstick for the engine benchmark: the first-row expansion written the plain way, with a
// heap-allocated minor per call and double arithmetic throughout.
using NaiveMatrix = std::vector<std::vector<double>>;

double naiveDeterminant(const NaiveMatrix& a);
