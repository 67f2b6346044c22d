// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "base/Lib_String.h"
#include "ui/main/uPrintInst.h"

namespace ps {
namespace {

using TBytes = std::vector<std::uint8_t>;

TEST(PrintInst, FramesHexTextIntoTheStream) {
    TMemoryStream st;
    TPrintInstInk::DURedovavUvid(st, "10 25 00", true);
    EXPECT_EQ(st.Data(), (TBytes{0x1B, 0x1D, 0x1E, 0x10, 0x25, 0x00, 0x1B, 0x1D, 0x1F}));
    // Appends without CleanBuf; an odd last digit is ignored; blanks anywhere are dropped.
    TPrintInstInk::DURedovavUvid(st, "0 A1", false);
    EXPECT_EQ(st.Size(), 9u + 7u);
    EXPECT_EQ(TBytes(st.Data().begin() + 9, st.Data().end()),
              (TBytes{0x1B, 0x1D, 0x1E, 0x0A, 0x1B, 0x1D, 0x1F}));
    TPrintInstInk::DURedovavUvid(st, "7", true);
    EXPECT_EQ(st.Data(), (TBytes{0x1B, 0x1D, 0x1E, 0x1B, 0x1D, 0x1F}));
}

TEST(PrintInst, BadPairStopsAfterTheBytesBeforeIt) {
    TMemoryStream st;
    EXPECT_THROW(TPrintInstInk::DURedovavUvid(st, "10 G5 00", true), EConvertError);
    EXPECT_EQ(st.Data(), (TBytes{0x1B, 0x1D, 0x1E, 0x10}));
    // Tabs are not separators here: they spoil their pair.
    EXPECT_THROW(TPrintInstInk::DURedovavUvid(st, "10\t25", true), EConvertError);
}

}  // namespace
}  // namespace ps
