#include "platform/HeapTuning.h"

#include <malloc.h>

void keepPictureBlocksInHeap() {
    // Blocks up to 1 GiB (the largest picture the readers accept) come from the heap, and
    // up to 256 MiB of freed memory is kept for the next picture instead of returned.
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
}
