#include "platform/ProcessMemory.h"

#include <malloc.h>

void ProcessMemory::returnLargeBlocksWhenFreed() {
    constexpr int LargeBlock = 1 << 20;
    mallopt(M_MMAP_THRESHOLD, LargeBlock);
}
