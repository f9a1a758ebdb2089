#pragma once

// How the program's memory allocator treats freed memory.
namespace velmora {

// Every list, search and export of a large archive builds tens of thousands of texts and frees
// them when it is shown again or closed. Left to its defaults, the C library hands large freed
// blocks back to the system and takes them back, zero-filled, on the next showing, which costs
// more than building the texts. Called once at start: blocks up to 32 MB come from the
// program's own heap, and up to 64 MB of freed memory is kept there for reuse.
void keepFreedMemoryForReuse();

} // namespace velmora
