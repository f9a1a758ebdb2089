#pragma once

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "common/text.h"

// Layout of a fixed-size record: a sequence of length-prefixed fields with no padding.
namespace velmora {

// The value getField gives, as a view into record. Inline: scans read every field this way.
inline std::string_view getFieldView(std::string_view record, std::size_t offset, std::size_t capacity)
{
    if (offset >= record.size())
        return {};
    std::size_t len = std::min<std::size_t>(static_cast<unsigned char>(record[offset]), capacity);
    len = std::min(len, record.size() - offset - 1);
    return trimmedView(std::string_view(record.data() + offset + 1, len));
}

// The fields of one record read in place, valid while the record is.
using FieldViews = std::vector<std::string_view>;

class RecordLayout
{
public:
    RecordLayout(std::initializer_list<std::size_t> capacities);

    std::size_t size() const { return m_size; }
    std::size_t fieldCount() const { return m_capacities.size(); }
    std::size_t capacity(std::size_t field) const { return m_capacities.at(field); }
    std::size_t offset(std::size_t field) const { return m_offsets.at(field); }

    // Builds a record: each value trimmed, cut to its capacity, zeros after it.
    // Missing values are stored empty.
    std::string encode(const std::vector<std::string> &values) const;

    // Reads every field: the length byte clamped to the capacity, the value trimmed.
    std::vector<std::string> decode(std::string_view record) const;

    // The same, refilling values so that a loop over many records reuses their storage.
    void decodeInto(std::string_view record, std::vector<std::string> &values) const;

    // The same values as views into record, for reading without copying. Inline: the export
    // grids read every field of every record this way.
    void viewsInto(std::string_view record, FieldViews &values) const
    {
        const std::size_t count = m_capacities.size();
        values.resize(count);
        const std::size_t *offsets = m_offsets.data();
        const std::size_t *capacities = m_capacities.data();
        std::string_view *out = values.data();
        for (std::size_t i = 0; i < count; ++i)
            out[i] = getFieldView(record, offsets[i], capacities[i]);
    }

    // Reads one field of a record.
    std::string field(std::string_view record, std::size_t field) const;
    // The same value as a view into record, for reading without copying; empty for a field the
    // layout does not have.
    std::string_view fieldView(std::string_view record, std::size_t field) const
    {
        return field < m_offsets.size() ? getFieldView(record, m_offsets[field], m_capacities[field])
                                        : std::string_view();
    }

private:
    std::vector<std::size_t> m_capacities;
    std::vector<std::size_t> m_offsets;
    std::size_t m_size = 0;
};

// Writes one field into a record buffer at offset, as every writer does.
void putField(std::string &record, std::size_t offset, std::size_t capacity, std::string_view value);

// Reads one field from a record buffer; tolerates a short buffer and a length byte above capacity.
std::string getField(std::string_view record, std::size_t offset, std::size_t capacity);
} // namespace velmora
