#include <gtest/gtest.h>

#include "model/Cp1252.h"
#include "model/ProjectRecord.h"

TEST(Cp1252, SwedishLettersEuroEveryByteAndFieldsCutAfterEncoding)
{
    EXPECT_EQ(toCp1252("åäö ÅÄÖ €"), "\xE5\xE4\xF6 \xC5\xC4\xD6 \x80");
    EXPECT_EQ(fromCp1252("\x80\xE5"), "€å");
    // Outside Windows-1252: one '?' per character, whatever its UTF-8 length; broken UTF-8
    // never passes through as raw bytes.
    EXPECT_EQ(toCp1252("a✓b😀"), "a?b?");
    EXPECT_EQ(toCp1252("a\xC3"), "a?");
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(toCp1252(fromCp1252(all)), all);
    EXPECT_EQ(fromCp1252("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");

    // Fields are cut after encoding: 39 Windows-1252 characters fit however many UTF-8 bytes they take.
    const std::string text(39, 'x');
    std::string swedish;
    for (int i = 0; i < 45; ++i) swedish += "ö";
    EXPECT_EQ(truncateForField(text + "yz", 39), text);
    Text39 field;
    field.setBytes(toCp1252(swedish));
    EXPECT_EQ(field.length(), 39);
    EXPECT_EQ(fromCp1252(field.bytes()), truncateForField(swedish, 39));
    // A corrupt length byte never reads past the slot.
    field.raw[0] = 200;
    EXPECT_EQ(field.bytes().size(), 39u);
}
