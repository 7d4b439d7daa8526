// Entry point of the render tests: the application painting needs, made as
// movra-batch makes it (offscreen, no display), then every GoogleTest case.

#include <gtest/gtest.h>

#include "render/painting_application.h"

int main(int argc, char* argv[])
{
    movra::EnsurePaintingApplication();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
