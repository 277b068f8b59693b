#pragma once

// Pictures are blocks of tens of megabytes allocated and freed at every recompression.
// Taken from the heap and kept there once freed, rather than mapped afresh each time, their
// pages are not faulted in and cleared again at every tick. Call once at start-up.
void keepPictureBlocksInHeap();
