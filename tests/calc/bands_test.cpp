#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "calc/Bands.h"
#include "calc/Format.h"
#include "calc/TrainTypes.h"

namespace {
class LineSink : public TraceSink {
public:
    explicit LineSink(TracePass p) : p_(p) {}
    TracePass pass() const override { return p_; }
    void write(TraceFile f, std::string_view t) override { text[static_cast<int>(f)] += t; }
    void endLine(TraceFile f) override { text[static_cast<int>(f)] += "\n"; }
    std::string text[5];

private:
    TracePass p_;
};
}  // namespace

TEST(Bands, LogarithmAndRounding)
{
    EXPECT_EQ(Log10(0.0), 0.0);
    EXPECT_EQ(Log10(-5.0), 0.0);
    EXPECT_EQ(Log10(std::nan("")), 0.0);
    EXPECT_NEAR(Log10(1000.0), 3.0, 1e-12);
    EXPECT_NEAR(Pow10(2.0), 100.0, 1e-9);
    EXPECT_NEAR(Power(10.0, -6.0), 1e-6, 1e-18);
    EXPECT_EQ(RoundEven(62.5), 62);
    EXPECT_EQ(RoundEven(63.5), 64);
    EXPECT_EQ(RoundEven(-2.5), -2);
    EXPECT_THROW(RoundEven(std::nan("")), std::range_error);
    EXPECT_THROW(RoundEven(1e12), std::range_error);
    EXPECT_EQ(CheckedTrunc(-3.7), -3);
    // An accumulator of exactly 0 is empty; two equal levels add 3.01 dB.
    EXPECT_EQ(AddLevel(0.0, 42.0), 42.0);
    EXPECT_NEAR(AddLevel(50.0, 50.0), 53.0103, 1e-4);
}

TEST(Bands, DistanceAndAirAbsorptionTerms)
{
    EXPECT_NEAR(DistanceTerm(1.0), -10.99, 0.005);
    EXPECT_NEAR(DistanceTerm(10.0), -30.99, 0.005);
    EXPECT_EQ(DistanceTerm(-10.0), DistanceTerm(10.0));
    EXPECT_EQ(DistanceTerm(0.0), 0.0);
    EXPECT_NEAR(AirAbsorptionTerm(7, 100.0), -1.7, 1e-12);
    for (int b : {0, 2, 8}) EXPECT_EQ(AirAbsorptionTerm(b, 1000.0), 0.0);
    ProjectRecord r = startupDefaults("x");
    const double expected[] = {0, 3, 6, 3, 0};
    const int codes[] = {0, 1, 2, 3, 7};
    for (int i = 0; i < 5; ++i) {
        r.bankCorrection[1] = codes[i];
        EXPECT_EQ(BankCorrection(r, 1), expected[i]);
    }
    r.trainType[1] = 4;
    r.nationality[1] = 1;
    EXPECT_TRUE(IsSwedishType4Or8(r, 1));
    for (int n : {0, 2}) {
        r.nationality[1] = n;
        EXPECT_FALSE(IsSwedishType4Or8(r, 1));
    }
}

TEST(Bands, TraceLinesOfTheTwoPasses)
{
    LineSink eq(TracePass::Equivalent), mx(TracePass::Maximum);
    DistanceTerm(0.0, &eq);
    DistanceTerm(0.0, &mx);
    DistanceTerm(10.0, &eq);
    AirAbsorptionTerm(7, 100.0, &eq);
    AirAbsorptionTerm(9, 12.5, &eq);
    EXPECT_EQ(eq.text[1], "-10*Log(4*Pi*0*0)=0\n-10*Log(4*Pi*10.00*10.00)=-30.99\n");
    EXPECT_EQ(mx.text[1], "-10*Log(4*P1*0*0)=0\n");
    EXPECT_EQ(eq.text[2], "-0.017*100.00=-1.70\n-0*12.50=0\n");
}

TEST(Format, FixedAndGeneral)
{
    EXPECT_EQ(formatFixed(0.125, 2), "0.13");
    EXPECT_EQ(formatFixed(2.675, 2), "2.67");
    EXPECT_EQ(formatFixed(-30.0, 1), "-30.0");
    EXPECT_EQ(formatFixed(-0.001, 2), "0.00");
    EXPECT_EQ(formatFixed(99.996, 2), "100.00");
    EXPECT_EQ(formatFixed(3.14159, 2, ','), "3,14");
    EXPECT_EQ(formatGeneral(12.5), "12.5");
    EXPECT_EQ(formatGeneral(12.0), "12");
    EXPECT_EQ(formatGeneral(0.1f, 7), "0.1");
    EXPECT_EQ(formatGeneral(35.000001, 7), "35");
    EXPECT_EQ(formatGeneral(-0.25, 15, ','), "-0,25");
    EXPECT_EQ(formatGeneral(1e-6), "1E-6");
}

TEST(TrainTypes, CatalogueAndEmission)
{
    EXPECT_EQ(TrainTypeCount(0), 5);
    EXPECT_EQ(TrainTypeCount(1), 6);
    EXPECT_EQ(TrainTypeCount(2), 4);
    EXPECT_EQ(TrainTypeCount(3), 0);
    EXPECT_THROW(GetTrainType(2, 4), std::out_of_range);
    EXPECT_THROW(GetTrainType(1, -1), std::out_of_range);
    EXPECT_THROW(GetTrainType(5, 0), std::out_of_range);
    EXPECT_EQ(TrainTypeListText(0, "\r\n"), "Pass\r\nGods\r\nBM65\r\nBM70\r\nBM69\r\n");
    EXPECT_EQ(GetTrainType(1, 4).dieselFlag, 1);
    EXPECT_EQ(GetTrainType(2, 1).traction, "Huvudsakligen el");
    EXPECT_EQ(GetTrainType(1, 2).sleeper, "Trä");

    ProjectRecord r = startupDefaults("x");
    r.speed[1] = 200;
    r.trainLengthPerDay[1] = 1000;
    EXPECT_NEAR(TrainBandLevel(r, 1, 1), 22 * std::log10(2.0) + 30 + 29, 1e-9);  // 65.62 dB
    r.nationality[1] = 0;
    r.trainType[1] = 4;
    r.speed[1] = 100;
    EXPECT_NEAR(TrainBandLevel(r, 1, 3), 30 + 36, 1e-9);
    r.speed[1] = 250;
    EXPECT_NEAR(TrainBandLevel(r, 1, 1), 30 + 34, 1e-9);  // slope 0
    r.speed[1] = 0;
    r.trainLengthPerDay[1] = 500;
    EXPECT_NEAR(TrainBandLevel(r, 1, 5), 10 * std::log10(500.0) + 40, 1e-9);
}

TEST(TrainTypes, StretchEmissionSumsTheTrainsOnItsTrack)
{
    ProjectRecord r = startupDefaults("x");
    r.trainCount = 2;
    for (int t = 1; t <= 2; ++t) {
        r.speed[t] = 160;
        r.trainLengthPerDay[t] = 3000;
        r.trainType[t] = 1;
    }
    r.runsOnTrack[2][1] = 0;
    const auto one = StretchBandEmission(r, 1);
    r.runsOnTrack[2][1] = 1;
    const auto two = StretchBandEmission(r, 1);
    for (int b = 1; b <= 7; ++b) {
        EXPECT_NEAR(two[b] - one[b], 3.0103, 1e-3);
        // The sum starts from 0 dB, not from "empty".
        EXPECT_GT(one[b], TrainBandLevel(r, 1, b));
        EXPECT_NEAR(one[b], TrainBandLevel(r, 1, b), 1e-3);
    }
    r.runsOnTrack[1][1] = r.runsOnTrack[2][1] = 0;
    for (double e : StretchBandEmission(r, 1)) EXPECT_EQ(e, 0.0);
}
