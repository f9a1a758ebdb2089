#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

// Realistic archives for the benchmarks, written into a folder: guests with Italian names,
// addresses and documents, a product catalogue, one long bill and a folder of small bills.
// The same seed always gives the same bytes, so runs compare.
namespace velmora::bench {

struct Sizes
{
    std::size_t clients = 50000;
    std::size_t products = 10000;
    std::size_t consumptions = 10000; // of the one long bill
    std::size_t bills = 2000;         // in the bill folder
    std::size_t consumptionsPerBill = 8;
};

// Decoded client cards (35 fields each), in archive order.
std::vector<std::vector<std::string>> makeClients(std::size_t count);
std::vector<std::vector<std::string>> makeProducts(std::size_t count);
std::vector<std::vector<std::string>> makeConsumptions(std::size_t count, std::size_t seed);

// Writes every archive into folder: Anagrafica.pro, Materiali.pro, "Conto lungo.for" and a
// subfolder "Conti" holding the small bills. Returns the client cards written.
std::vector<std::vector<std::string>> writeArchives(const std::filesystem::path &folder, const Sizes &sizes);

// Writes records (already encoded) as one file.
void writeRecords(const std::filesystem::path &path, const std::vector<std::string> &records);

} // namespace velmora::bench
