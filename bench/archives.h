#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

// Archives for the benchmarks, written into a folder: guests with Italian names, addresses and
// documents, a product catalogue and bills. The same seed always gives the same bytes, so runs
// compare.
namespace velmora::bench {

struct ArchiveSet
{
    const char *name;
    std::size_t clients;
    std::size_t products;
    std::size_t bills;
    std::size_t linesPerBill;
};

// The largest archives the program is sized for, and those of a real hotel.
inline constexpr ArchiveSet kLarge{"large", 50000, 10000, 1, 10000};
inline constexpr ArchiveSet kRealistic{"realistic", 2000, 300, 200, 60};

// Decoded cards and consumptions, in archive order.
std::vector<std::vector<std::string>> makeClients(std::size_t count);
std::vector<std::vector<std::string>> makeProducts(std::size_t count);
std::vector<std::vector<std::string>> makeConsumptions(std::size_t count, std::size_t seed);

// The file name (UTF-8) of bill n (0-based) of a set.
std::string billFileName(std::size_t n);

// Writes a set into folder: Anagrafica.pro, Materiali.pro and its bills, as the program folder
// holds them.
void writeArchives(const std::filesystem::path &folder, const ArchiveSet &set);

// Writes records (already encoded) as one file.
void writeRecords(const std::filesystem::path &path, const std::vector<std::string> &records);

} // namespace velmora::bench
