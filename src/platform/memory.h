// How the process keeps memory it frees.
#pragma once

namespace platform {

// Keeps freed memory in the process for the next allocation instead of handing it back to the
// system at once. Loading a card allocates and frees buffers of a megabyte or more (the unpacked
// content, the decoded pictures) every time; given back to the system after each card, every
// page of the next card's buffers is faulted in afresh, which cost more than unpacking itself.
// Allocations up to 32 MiB come from the heap, and up to 64 MiB of free heap is kept. Called once
// at the start of the program (and of the benchmarks that measure its paths).
void keepFreedMemoryForReuse();

} // namespace platform
