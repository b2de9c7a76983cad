#include "platform/HeapPolicy.h"

#include <malloc.h>

void keepLargeBlocksOutOfTheHeap()
{
    // Setting the threshold also fixes it: freeing a block no longer moves it.
    mallopt(M_MMAP_THRESHOLD, int(kLargeBlockBytes));
}
