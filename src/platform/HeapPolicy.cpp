#include "platform/HeapPolicy.h"

#include <malloc.h>

void keepLargeBlocksOutOfTheHeap()
{
    // Setting the threshold also fixes it: freeing a block no longer moves it.
    mallopt(M_MMAP_THRESHOLD, int(kLargeBlockBytes));
    // Fixing it also leaves the heap's top trimmed past 128 KB of free room:
    // a frame's smaller blocks went back to the system and were faulted in
    // again at the next frame (a 10,000-house town lost a third of its ticks).
    mallopt(M_TRIM_THRESHOLD, int(kHeapSlackBytes));
}
