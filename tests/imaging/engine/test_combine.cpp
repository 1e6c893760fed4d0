#include "imaging/engine/raster.h"
#include <gtest/gtest.h>
TEST(Smoke, Create) { imaging::Raster r(2, 2, 24); EXPECT_EQ(r.width(), 2); }
