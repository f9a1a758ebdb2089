#include "common/listorder.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <numeric>

namespace velmora {

namespace {

// Each byte's weight for ordering: letters fold to their plain lower-case letter, so accented
// letters sort with theirs.
std::array<unsigned char, 256> makePrimaryWeights()
{
    std::array<unsigned char, 256> w{};
    for (int i = 0; i < 256; ++i)
        w[static_cast<std::size_t>(i)] = static_cast<unsigned char>(i);
    for (int c = 'A'; c <= 'Z'; ++c)
        w[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c - 'A' + 'a');
    const auto base = [&w](std::initializer_list<int> codes, char letter) {
        for (int code : codes)
            w[static_cast<std::size_t>(code)] = static_cast<unsigned char>(letter);
    };
    base({0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6}, 'a');
    base({0xC7, 0xE7}, 'c');
    base({0xD0, 0xF0}, 'd');
    base({0xC8, 0xC9, 0xCA, 0xCB, 0xE8, 0xE9, 0xEA, 0xEB}, 'e');
    base({0xCC, 0xCD, 0xCE, 0xCF, 0xEC, 0xED, 0xEE, 0xEF}, 'i');
    base({0xD1, 0xF1}, 'n');
    base({0x8C, 0x9C, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD8, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF8}, 'o');
    base({0x8A, 0x9A, 0xDF}, 's');
    base({0xD9, 0xDA, 0xDB, 0xDC, 0xF9, 0xFA, 0xFB, 0xFC}, 'u');
    base({0x9F, 0xDD, 0xFD, 0xFF}, 'y');
    base({0x8E, 0x9E}, 'z');
    return w;
}

// Secondary weight: the byte with its case folded, so "à" and "À" tie but "a" and "à" do not.
std::array<unsigned char, 256> makeCaseWeights()
{
    std::array<unsigned char, 256> w{};
    for (int i = 0; i < 256; ++i) {
        int v = i;
        if ((i >= 'A' && i <= 'Z') || (i >= 0xC0 && i <= 0xDE && i != 0xD7))
            v = i + 0x20;
        else if (i == 0x8A || i == 0x8C || i == 0x8E)
            v = i + 0x10;
        else if (i == 0x9F)
            v = 0xFF;
        w[static_cast<std::size_t>(i)] = static_cast<unsigned char>(v);
    }
    return w;
}

std::string weighted(const std::string &line, const std::array<unsigned char, 256> &weights)
{
    std::string out(line);
    for (char &c : out)
        c = static_cast<char>(weights[static_cast<unsigned char>(c)]);
    return out;
}

const std::array<unsigned char, 256> &primaryWeights()
{
    static const auto w = makePrimaryWeights();
    return w;
}

const std::array<unsigned char, 256> &caseWeights()
{
    static const auto w = makeCaseWeights();
    return w;
}

} // namespace

std::string listSortKey(std::string_view line)
{
    return weighted(std::string(line), primaryWeights());
}

std::string caseFolded(std::string_view text)
{
    return weighted(std::string(text), caseWeights());
}

bool listLineLess(std::string_view a, std::string_view b)
{
    const std::string ka = listSortKey(a);
    const std::string kb = listSortKey(b);
    if (ka != kb)
        return ka < kb;
    const std::string ca = weighted(std::string(a), caseWeights());
    const std::string cb = weighted(std::string(b), caseWeights());
    if (ca != cb)
        return ca < cb;
    return a < b;
}

void sortListLines(std::vector<std::string> &lines)
{
    const auto &primary = primaryWeights();
    const auto &secondary = caseWeights();
    std::vector<std::string> keys;
    keys.reserve(lines.size());
    for (const std::string &line : lines)
        keys.push_back(weighted(line, primary));
    std::vector<std::size_t> order(lines.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    // Lines that tie on their letters are told apart by case-folded bytes, which are rarely needed.
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const int c = keys[a].compare(keys[b]);
        if (c != 0)
            return c < 0;
        return weighted(lines[a], secondary) < weighted(lines[b], secondary);
    });
    keys = {};
    // Copied rather than moved, so the lines lie in memory in list order: the list fill and the
    // quick find walk them that way.
    std::vector<std::string> sorted;
    sorted.reserve(lines.size());
    for (std::size_t i : order)
        sorted.emplace_back(lines[i]);
    lines = std::move(sorted);
}

} // namespace velmora
