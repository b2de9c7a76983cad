#pragma once

#include <cstddef>

// Large blocks (a printed picture, its framebuffer, a town's arrays) go
// straight back to the system when freed. By default the C library raises its
// threshold for that to the size of the largest block freed so far, so after a
// print the next prints' blocks come from the heap and stay there: resident
// memory grew by up to 30 MB a print and never came down.
constexpr std::size_t kLargeBlockBytes = 1 << 20;
// Free room the heap keeps at its top for the next blocks.
constexpr std::size_t kHeapSlackBytes = 8 << 20;

// Call once, before the first large allocation.
void keepLargeBlocksOutOfTheHeap();
