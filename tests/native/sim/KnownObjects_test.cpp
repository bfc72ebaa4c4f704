#include "sim/KnownObjects.h"

#include <gtest/gtest.h>

namespace {
const Guid128 kBaron{{0x90B2BBE0, 0x11D2F24A, 0x1000849C, 0x2AE60C5A}};
}

TEST(Guid128, TextFormsHaveEightUpperCaseDigitsPerWord) {
    EXPECT_EQ(GuidDisplayText(kBaron), "{ 90B2BBE0, 11D2F24A, 1000849C, 2AE60C5A }");
    EXPECT_EQ(GuidAsmText(kBaron), "090B2BBE0h, 011D2F24Ah, 01000849Ch, 02AE60C5Ah");
    EXPECT_EQ(GuidAsmText(Guid128{{0xA1B2C3D4, 0xE5F6, 0x11D2F24A, 0x1000849C}}),
              "0A1B2C3D4h, 00000E5F6h, 011D2F24Ah, 01000849Ch");
}

TEST(FindKnownObject, GivesTheFirstEqualRowAndNeverMatchesZero) {
    EXPECT_EQ(FindKnownObject(kBaron), 0);
    EXPECT_EQ(FindKnownObject(KnownObjectTable[825].guid), 822);
    EXPECT_EQ(FindKnownObject(KnownObjectTable[954].guid), 954);

    Guid128 lastWordZero = kBaron;
    lastWordZero.words[3] = 0;
    EXPECT_EQ(FindKnownObject(lastWordZero), -1);
    EXPECT_EQ(FindKnownObject(Guid128{}), -1);
    EXPECT_EQ(FindKnownObject(nullptr), -1);
    EXPECT_EQ(FindKnownObjectIn(KnownObjectTable, 0, &kBaron), -1);
}
