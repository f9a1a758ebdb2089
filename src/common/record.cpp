#include "common/record.h"

#include <algorithm>

#include "common/text.h"

namespace velmora {

RecordLayout::RecordLayout(std::initializer_list<std::size_t> capacities) : m_capacities(capacities)
{
    m_offsets.reserve(m_capacities.size());
    for (std::size_t c : m_capacities) {
        m_offsets.push_back(m_size);
        m_size += c + 1;
    }
}

std::string RecordLayout::encode(const std::vector<std::string> &values) const
{
    std::string record(m_size, '\0');
    for (std::size_t i = 0; i < m_capacities.size(); ++i)
        putField(record, m_offsets[i], m_capacities[i], i < values.size() ? values[i] : std::string());
    return record;
}

std::vector<std::string> RecordLayout::decode(std::string_view record) const
{
    std::vector<std::string> values;
    values.reserve(m_capacities.size());
    for (std::size_t i = 0; i < m_capacities.size(); ++i)
        values.push_back(getField(record, m_offsets[i], m_capacities[i]));
    return values;
}

void RecordLayout::decodeInto(std::string_view record, std::vector<std::string> &values) const
{
    values.resize(m_capacities.size());
    for (std::size_t i = 0; i < m_capacities.size(); ++i)
        values[i].assign(getFieldView(record, m_offsets[i], m_capacities[i]));
}

std::string RecordLayout::field(std::string_view record, std::size_t i) const
{
    return getField(record, m_offsets.at(i), m_capacities.at(i));
}

void putField(std::string &record, std::size_t offset, std::size_t capacity, std::string_view value)
{
    if (record.size() < offset + capacity + 1)
        record.resize(offset + capacity + 1, '\0');
    std::string v = trimField(value);
    if (v.size() > capacity)
        v.resize(capacity);
    record[offset] = static_cast<char>(static_cast<unsigned char>(v.size()));
    std::copy(v.begin(), v.end(), record.begin() + static_cast<std::ptrdiff_t>(offset + 1));
    std::fill(record.begin() + static_cast<std::ptrdiff_t>(offset + 1 + v.size()),
              record.begin() + static_cast<std::ptrdiff_t>(offset + 1 + capacity), '\0');
}

std::string getField(std::string_view record, std::size_t offset, std::size_t capacity)
{
    return std::string(getFieldView(record, offset, capacity));
}

} // namespace velmora
