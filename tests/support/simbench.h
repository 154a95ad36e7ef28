#pragma once
// Older names of the end-to-end bench in support/simulator.h.
#include "support/simulator.h"

namespace morla::test {
using SimDevice = Simulator;
using SimBench = Bench;
}  // namespace morla::test
