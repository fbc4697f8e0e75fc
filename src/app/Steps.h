#pragma once

namespace tw {

// Which of the four step buttons (first, previous, next, last) of a
// navigator can be used at a 1-based position among count: none where the
// position lies outside 1..count, so a set of one has none at all.
struct Steps
{
    bool first = false;
    bool previous = false;
    bool next = false;
    bool last = false;

    bool operator==(const Steps &) const = default;
};

constexpr Steps stepsAt(long position, long count)
{
    Steps s;
    if (position < 1 || position > count)
        return s;
    s.first = s.previous = position > 1;
    s.next = s.last = position < count;
    return s;
}

} // namespace tw
