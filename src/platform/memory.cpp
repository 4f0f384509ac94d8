#include "platform/memory.h"

#include <malloc.h>

namespace platform {

void keepFreedMemoryForReuse() {
    // Setting either value also turns off glibc's own adjustment of both.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
}

} // namespace platform
