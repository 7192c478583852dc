#pragma once
// Giving freed memory back to the system. The C library keeps freed blocks
// for its next allocations; after a large document is closed the program
// would go on holding hundreds of megabytes it no longer uses.
#include <cstddef>

namespace px {

// Returns the free memory the allocator holds to the system, as far as it can.
void returnFreedMemory();

// The resident size of this process in bytes (0 when unknown).
std::size_t residentBytes();

} // namespace px
