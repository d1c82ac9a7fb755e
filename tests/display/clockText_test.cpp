#include "display/clockText.h"

#include <gtest/gtest.h>

namespace veltrona {
namespace {

TEST(ClockText, FormatsWholeSecondsWithUnboundedHours) {
    const struct {
        std::int32_t seconds;
        const char* text;
    } cases[] = {
        {-5, "00:00:00"},
        {0, "00:00:00"},
        {9, "00:00:09"},
        {10, "00:00:10"},
        {59, "00:00:59"},
        {60, "00:01:00"},
        {61, "00:01:01"},
        {3599, "00:59:59"},
        {3600, "01:00:00"},
        {3660, "01:01:00"},
        {3720, "01:02:00"},
        {35999, "09:59:59"},
        {36000, "10:00:00"},
        {86399, "23:59:59"},
        {86400, "24:00:00"},
        {360000, "100:00:00"},
        {2147483647, "596523:14:07"},
        {-2147483647 - 1, "00:00:00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(clockText(c.seconds), c.text) << c.seconds;
    }
}

}  // namespace
}  // namespace veltrona
