#include "platform/LargeBufferReuse.h"

#include <malloc.h>

namespace meridavolt {

namespace {

// The largest threshold the C library accepts on 64 bits: a frame of a
// full-screen 2560x1600 window (16 MB) and all smaller ones stay in the heap.
constexpr int mapThreshold = 32 * 1024 * 1024;
// A few frames' worth of freed memory at the top of the heap stays for the
// next frame rather than going back to the system after every one.
constexpr int trimThreshold = 64 * 1024 * 1024;

}  // namespace

void keepLargeBuffersForReuse()
{
    mallopt(M_MMAP_THRESHOLD, mapThreshold);
    mallopt(M_TRIM_THRESHOLD, trimThreshold);
}

}  // namespace meridavolt
