#include "phonomir/FftEngine.h"
#include <gtest/gtest.h>
TEST(FftEngine, Placeholder3) {}
