#pragma once
// The texts of the record's coded fields, kept once for the window's lists, the report, the
// exports and the command-line tool. Each list is in code order: the stored value is the index.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// "Sträckform" as the lists show it; the report and the exports write the adjective ("Rakt").
inline constexpr std::array<std::string_view, 3> kShapeNames{"Rak", "Konvex", "Konkav"};
inline constexpr std::array<std::string_view, 3> kShapeNamesReport{"Rakt", "Konvex", "Konkav"};
// "Skärm" (screenType).
inline constexpr std::array<std::string_view, 3> kScreenTypeNames{"Nej", "Absorb.", "Reflekt."};
// The bank-correction row (bankCorrection): joints and bridges; the exports spell the bridges out.
inline constexpr std::array<std::string_view, 4> kBankCorrectionNames{"Nej", "Skarvar", "Bro u bal", "Bro m bal"};
inline constexpr std::array<std::string_view, 4> kBankCorrectionNamesLong{"Nej", "Skarvar", "Bro utan ballast",
                                                                          "Bro med ballast"};
// The ground list: hard (0.0), porous (1.0), partly porous (any other fraction).
inline constexpr std::array<std::string_view, 3> kGroundTypeNames{"Hård", "Porös", "Del. Porös"};
// "Nationalitet".
inline constexpr std::array<std::string_view, 3> kNationalityNames{"Norskt", "Svenskt", "Finskt"};
// "Växlar/Korsningar" and "Tvärsektion (Ja/Nej)".
inline constexpr std::array<std::string_view, 2> kNoYesNames{"Nej", "Ja"};

// The entry of `code`, or `outside` when the code lies outside the list.
template <std::size_t N>
std::string codeText(const std::array<std::string_view, N>& names, int code, std::string_view outside = {})
{
    return std::string(code >= 0 && static_cast<std::size_t>(code) < N ? names[static_cast<std::size_t>(code)]
                                                                          : outside);
}

// The entry of a ground fraction in kGroundTypeNames: 0 hard, 1 porous, 2 partly porous.
inline int groundTypeOf(double fraction) { return fraction == 0.0 ? 0 : fraction == 1.0 ? 1 : 2; }
