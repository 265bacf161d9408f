// An Expose event the server made before the whole picture went out is answered by it; one made
// after is not, across the wrap of the events' 16-bit sequence numbers.
#include <gtest/gtest.h>

#include "platform/backends/x11/x11_window.h"

namespace {

TEST(X11ExposeTest, EventsBeforeTheWholePictureAreAnsweredAcrossTheWrap) {
    struct Case {
        std::uint16_t event;
        unsigned int request;
        bool before;
    };
    const Case cases[] = {
        {9, 10, true},
        {10, 10, false},
        {11, 10, false},
        // The request's low bits wrapped past the event's.
        {0xFFFF, 0x10000, true},
        {0xFFF0, 0x30005, true},
        {0x0002, 0x30005, true},
        // The event made after the request, its number wrapped.
        {0x0001, 0x2FFFF, false},
        {0x7FFF, 0x10000, false},
        // Half the sequence space back is the limit.
        {0x8001, 0x10000, true},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(platform::EventBeforeRequest(test.event, test.request), test.before)
            << "event " << test.event << ", request " << test.request;
    }
}

}  // namespace
