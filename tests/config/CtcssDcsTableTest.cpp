// The CTCSS and DCS list: the rows the forms select and the texts they show.

#include <gtest/gtest.h>

#include "config/CtcssDcsTable.h"

namespace km {
namespace {

TEST(CtcssDcsTable, RowsShowTheirToneOrCode) {
    struct Case {
        int row;
        std::string_view text;
        std::string_view shortText;
        int toneDecihertz;
    };
    const Case cases[] = {
        {0, "Undefined", " ", 0},           {1, "Q, 67.0 Hz", " 67.0", 670},
        {12, "B, 100 Hz", "100.0", 1000},   {38, "#, 250.3 Hz", "250.3", 2503},
        {39, "   150.0 Hz", "150.0", 1500}, {41, "    69.3 Hz", " 69.3", 693},
        {51, "   254.1 Hz", "254.1", 2541}, {52, "DCS 023", "023", 0},
        {155, "DCS 754", "754", 0},
    };
    for (const Case& c : cases) {
        const CtcssDcsRow& row = kCtcssDcsRows.at(static_cast<std::size_t>(c.row));
        EXPECT_EQ(row.text, c.text) << c.row;
        EXPECT_EQ(row.shortText, c.shortText) << c.row;
        EXPECT_EQ(row.toneDecihertz, c.toneDecihertz) << c.row;
    }
}

TEST(CtcssDcsTable, TonesComeBeforeCodesAndCodesAscend) {
    for (int row = 1; row < kFirstDcsRow; ++row) {
        EXPECT_GT(kCtcssDcsRows[static_cast<std::size_t>(row)].toneDecihertz, 0) << row;
    }
    for (int row = kFirstDcsRow + 1; row < kCtcssDcsRowCount; ++row) {
        EXPECT_LT(kCtcssDcsRows[static_cast<std::size_t>(row - 1)].shortText,
                  kCtcssDcsRows[static_cast<std::size_t>(row)].shortText)
            << row;
    }
}

}  // namespace
}  // namespace km
