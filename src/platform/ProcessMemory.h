#pragma once

// How the program's memory allocator is set up, once, before any picture is read.
class ProcessMemory {
public:
    // Blocks of a megabyte or more (a picture's encoded bytes, work rows, decoded pictures)
    // are mapped straight from the system and given back to it when freed. Left to the
    // allocator's own rule, which raises that bound to 32 MB once a large block has been
    // freed, a few searches leave tens of megabytes of freed blocks in the window's lasting
    // size, on top of the pictures it shows.
    static void returnLargeBlocksWhenFreed();
};
