// main() of the metadata tests: plain GoogleTest, no Qt application needed.

#include "platform/system/LogCategories.h"

#include <gtest/gtest.h>

extern "C" {
#include <libavutil/log.h>
}

int main(int argc, char** argv) {
    // The readers' lines on standard output, where the tests read them.
    platform::installLogLineHandler();
    testing::InitGoogleTest(&argc, argv);
    // Broken test files make libavformat complain; the tests check the outcome, not its log.
    av_log_set_level(AV_LOG_FATAL);
    return RUN_ALL_TESTS();
}
