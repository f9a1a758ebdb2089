#pragma once

#include <filesystem>

#include <sys/types.h>

// A file whose reads fail part way, as on a disk going bad or a network share that drops.
// While an object of this class lives, every positioned read of that file (pread) starting at
// or beyond `from` bytes fails with EIO; the reads before, and those of every other file, go
// to the system unchanged. Only a test program built with failingreads.cpp reads this way.
namespace velmora::test {

class FailingReads
{
public:
    FailingReads(const std::filesystem::path &file, off_t from);
    ~FailingReads();
    FailingReads(const FailingReads &) = delete;
    FailingReads &operator=(const FailingReads &) = delete;

    // How many reads were made to fail so far.
    int failed() const;
};

} // namespace velmora::test
