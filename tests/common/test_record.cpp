#include <gtest/gtest.h>

#include "common/record.h"

using namespace velmora;

TEST(RecordLayout, SizeAndOffsetsFollowCapacities)
{
    const RecordLayout layout{10, 5, 250};
    EXPECT_EQ(layout.size(), 11u + 6u + 251u);
    EXPECT_EQ(layout.offset(0), 0u);
    EXPECT_EQ(layout.offset(1), 11u);
    EXPECT_EQ(layout.offset(2), 17u);
}

TEST(RecordLayout, EncodeWritesLengthByteValueAndZeros)
{
    const RecordLayout layout{4, 3};
    const std::string r = layout.encode({"  ab ", "xyz"});
    ASSERT_EQ(r.size(), 9u);
    EXPECT_EQ(r, std::string("\x02"
                             "ab\0\0"
                             "\x03"
                             "xyz",
                             9));
}

TEST(RecordLayout, LongValuesAreCutAfterTrimming)
{
    const RecordLayout layout{250};
    const std::string value = "  " + std::string(300, 'k') + "  ";
    const std::string r = layout.encode({value});
    EXPECT_EQ(static_cast<unsigned char>(r[0]), 250u);
    EXPECT_EQ(layout.field(r, 0), std::string(250, 'k'));

    const std::string exact(250, 'e');
    EXPECT_EQ(layout.decode(layout.encode({exact}))[0], exact);
}

TEST(RecordLayout, ReaderIgnoresStaleBytesAndClampsLength)
{
    const RecordLayout layout{5, 2};
    std::string r = layout.encode({"abc", "zz"});
    r[4] = 'Q'; // a stale byte after the value
    EXPECT_EQ(layout.field(r, 0), "abc");
    r[0] = static_cast<char>(200); // a damaged length byte
    // Clamped to the capacity: the value runs to the end of the field, the zero is trimmed.
    EXPECT_EQ(layout.field(r, 0), "abcQ");
    EXPECT_EQ(layout.field(r, 1), "zz");
}

TEST(RecordLayout, ReaderTrimsStoredBlanksAndToleratesShortBuffers)
{
    const RecordLayout layout{6, 6};
    std::string r(layout.size(), '\0');
    r[0] = 4;
    r.replace(1, 4, " a  ");
    EXPECT_EQ(layout.field(r, 0), "a");
    // A cut buffer yields what it holds of a value, and empty fields after it.
    const auto values = layout.decode(std::string_view(r).substr(0, 3));
    EXPECT_EQ(values[0], "a");
    EXPECT_EQ(values[1], "");
    // Read in place, a field the layout does not have is empty.
    EXPECT_EQ(layout.fieldView(r, 0), "a");
    EXPECT_EQ(layout.fieldView(r, 2), "");
}

TEST(RecordLayout, MissingValuesAreStoredEmpty)
{
    const RecordLayout layout{3, 3, 3};
    const auto values = layout.decode(layout.encode({"a"}));
    EXPECT_EQ(values, (std::vector<std::string>{"a", "", ""}));
}
