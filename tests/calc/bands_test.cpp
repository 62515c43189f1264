// The small terms of the engine: logarithms and rounding, distance and air absorption, number
// formats of the trace, and the emission of the trains.

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "TraceCapture.h"
#include "calc/Bands.h"
#include "calc/Format.h"
#include "calc/TrainTypes.h"
#include "projects.h"

TEST(Bands, LogarithmRoundingLevelSumAndTheSmallTerms)
{
    for (double x : {0.0, -5.0, std::nan("")}) EXPECT_EQ(Log10(x), 0.0) << x;
    EXPECT_NEAR(Log10(1000.0), 3.0, 1e-12);
    for (auto [x, n] : {std::pair{62.5, 62}, {63.5, 64}, {-2.5, -2}}) EXPECT_EQ(RoundEven(x), n);  // halves to even
    EXPECT_THROW(RoundEven(std::nan("")), std::range_error);
    EXPECT_THROW(RoundEven(1e12), std::range_error);
    EXPECT_EQ(CheckedTrunc(-3.7), -3);
    // An accumulator of exactly 0 is empty; two equal levels add 3.01 dB.
    EXPECT_EQ(AddLevel(0.0, 42.0), 42.0);
    EXPECT_NEAR(AddLevel(50.0, 50.0), 53.0103, 1e-4);

    // Distance, air absorption (none outside the bands 1..7) and bank terms.
    EXPECT_EQ(DistanceTerm(-10.0), DistanceTerm(10.0));
    for (int b : {0, 2, 8}) EXPECT_EQ(AirAbsorptionTerm(b, 1000.0), 0.0);
    ProjectRecord r = startupDefaults("x");
    r.bankCorrection[1] = 2;
    EXPECT_EQ(BankCorrection(r, 1), 6.0);
    r.bankCorrection[1] = 7;  // no such code: no correction
    EXPECT_EQ(BankCorrection(r, 1), 0.0);
    r.trainType[1] = 4;
    EXPECT_TRUE(IsSwedishType4Or8(r, 1));
    r.nationality[1] = 2;
    EXPECT_FALSE(IsSwedishType4Or8(r, 1));

    // The maximum pass writes "P1" where the equivalent one writes "Pi" (the trace tests read those).
    TraceCapture mx(TracePass::Maximum);
    EXPECT_EQ(DistanceTerm(0.0, &mx), 0.0);
    EXPECT_EQ(mx.lines(TraceFile::Ld), std::vector<std::string>{"-10*Log(4*P1*0*0)=0"});
    EXPECT_NEAR(DistanceTerm(10.0), -30.99, 0.005);
    EXPECT_NEAR(AirAbsorptionTerm(7, 100.0), -1.7, 1e-12);
}

TEST(Format, FixedAndGeneral)
{
    struct Case {
        std::string got, want;
    };
    const Case cases[] = {
        {formatFixed(0.125, 2), "0.13"},  {formatFixed(2.675, 2), "2.67"},       {formatFixed(-0.001, 2), "0.00"},
        {formatFixed(99.996, 2), "100.00"}, {formatFixed(3.14159, 2, ','), "3,14"}, {formatGeneral(12.5), "12.5"},
        {formatGeneral(12.0), "12"},      {formatGeneral(0.1f, 7), "0.1"},       {formatGeneral(35.000001, 7), "35"},
        {formatGeneral(-0.25, 15, ','), "-0,25"}, {formatGeneral(1e-6), "1E-6"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.want);
}

TEST(TrainTypes, CatalogueBoundsAndEmissionOfTrainsAndStretches)
{
    EXPECT_EQ(TrainTypeCount(2), 4);
    EXPECT_EQ(TrainTypeCount(3), 0);
    EXPECT_THROW(GetTrainType(2, 4), std::out_of_range);
    EXPECT_THROW(GetTrainType(1, -1), std::out_of_range);
    EXPECT_EQ(TrainTypeListText(0, "\r\n"), "Pass\r\nGods\r\nBM65\r\nBM70\r\nBM69\r\n");

    // X2: 22·lg(v/100) + 10·lg(length/1000) + 30 + 29 in the 63 Hz band; a zero slope above
    // its top speed; v = 0 leaves only the length term.
    ProjectRecord r = startupDefaults("x");
    r.speed[1] = 200;
    r.trainLengthPerDay[1] = 1000;
    EXPECT_NEAR(TrainBandLevel(r, 1, 1), 22 * std::log10(2.0) + 30 + 29, 1e-9);
    r.nationality[1] = 0;
    r.trainType[1] = 4;
    r.speed[1] = 250;
    EXPECT_NEAR(TrainBandLevel(r, 1, 1), 30 + 34, 1e-9);
    r.speed[1] = 0;
    r.trainLengthPerDay[1] = 500;
    EXPECT_NEAR(TrainBandLevel(r, 1, 5), 10 * std::log10(500.0) + 40, 1e-9);

    // The energy sum of the trains on the track starts from 0 dB, not from "empty"; no train: 0.
    setTrain(r, 1, 3000, 100, 160);
    r.nationality[1] = 1;
    r.trainType[1] = 1;
    const auto one = StretchBandEmission(r, 1);
    for (int b = 1; b <= 7; ++b) {
        const double L = TrainBandLevel(r, 1, b);
        EXPECT_GT(one[b], L);
        EXPECT_NEAR(one[b], 10.0 * std::log10(1.0 + std::pow(10.0, L / 10.0)), 1e-9);
    }
    r.runsOnTrack[1][1] = 0;
    for (double e : StretchBandEmission(r, 1)) EXPECT_EQ(e, 0.0);
}
