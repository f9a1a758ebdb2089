// Freed memory stays with the program for the next listing instead of going back to the system.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include <malloc.h>

#include "common/memorypolicy.h"

TEST(MemoryPolicy, LargeBlocksComeFromTheHeapAndStayThereWhenFreed)
{
    velmora::keepFreedMemoryForReuse();
    constexpr std::size_t size = 16u << 20; // a large grid's text
    const struct mallinfo2 before = mallinfo2();
    char *block = static_cast<char *>(std::malloc(size));
    ASSERT_NE(block, nullptr);
    std::memset(block, 1, size);
    const struct mallinfo2 held = mallinfo2();
    // By default a block this large is mapped from the system on its own and unmapped when freed.
    EXPECT_LT(held.hblkhd, before.hblkhd + size) << "the block was mapped on its own";
    std::free(block);
    const struct mallinfo2 after = mallinfo2();
    EXPECT_GE(after.fordblks, before.fordblks + size / 2) << "the freed block went back to the system";
    EXPECT_GE(after.arena, before.arena + size / 2);
}
