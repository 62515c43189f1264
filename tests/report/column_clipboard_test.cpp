#include <gtest/gtest.h>

#include "ReportFixtures.h"
#include "report/ColumnClipboard.h"

TEST(ColumnClipboard, CopyingOneKindOffersPasteOnlyInItsOwnTable)
{
    ProjectRecord r = twoTrackProject();
    DocumentState doc;
    ColumnClipboard clip;
    EXPECT_FALSE(clip.canPasteTrain());
    EXPECT_FALSE(clip.canPasteStretch());
    EXPECT_FALSE(clip.pasteTrain(r, doc, 1));

    ASSERT_TRUE(clip.copyTrain(r, 1));
    EXPECT_TRUE(clip.canPasteTrain());
    EXPECT_FALSE(clip.canPasteStretch());
    ProjectRecord before = r;
    EXPECT_FALSE(clip.pasteStretch(r, doc, 2));  // the stretch table has nothing to paste
    EXPECT_EQ(r, before);
    EXPECT_FALSE(doc.modified);

    ASSERT_TRUE(clip.copyStretch(r, 2));
    EXPECT_FALSE(clip.canPasteTrain());
    EXPECT_TRUE(clip.canPasteStretch());
    EXPECT_FALSE(clip.copyStretch(r, 9));
    EXPECT_FALSE(clip.pasteStretch(r, doc, 0));
}

TEST(ColumnClipboard, TrainPasteCarriesTheColumnAndMarksTheProjectModified)
{
    ProjectRecord r = twoTrackProject();
    r.nationality[1] = 2;  // Finskt, type 3 is the last of its four
    r.trainType[1] = 3;
    DocumentState doc;
    ColumnClipboard clip;
    clip.copyTrain(r, 1);
    r.trainLengthPerDay[1] = 1;  // a later edit does not reach the copy
    ASSERT_TRUE(clip.pasteTrain(r, doc, 2));
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(r.trainLengthPerDay[2], 1200);
    EXPECT_EQ(r.maxTrainLength[2], 300);
    EXPECT_EQ(r.speed[2], 160);
    EXPECT_EQ(r.nationality[2], 2);
    EXPECT_EQ(r.trainType[2], 3);
    EXPECT_TRUE(r.runs(2, 1) && r.runs(2, 2));

    // A held type outside the pasted nationality's list falls back to the first type.
    ProjectRecord odd = twoTrackProject();
    odd.nationality[1] = 2;
    odd.trainType[1] = 5;
    clip.copyTrain(odd, 1);
    clip.pasteTrain(odd, doc, 2);
    EXPECT_EQ(odd.nationality[2], 2);
    EXPECT_EQ(odd.trainType[2], 0);
}

TEST(ColumnClipboard, StretchPasteCarriesShapeProfileRadiusAndTrackHeightButNotItsPlace)
{
    ProjectRecord r = twoTrackProject();
    r.spare[2] = {1, 2, 3, 4};
    r.bpCount[2] = 3;
    r.bpDistance[2][3] = 17.5f;
    r.bpLabel[2][3].setBytes("BP");
    r.bpHeight[2][33] = 99.0f;
    r.radius[2] = 1500.0f;
    DocumentState doc;
    ColumnClipboard clip;
    clip.copyStretch(r, 2);
    ASSERT_TRUE(clip.pasteStretch(r, doc, 3));
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(r.shape[3], 0);
    EXPECT_EQ(r.angleFrom[3], 90);
    EXPECT_FLOAT_EQ(r.perpDistance[3], 25.5f);
    EXPECT_FLOAT_EQ(r.radius[3], 1500.0f);
    EXPECT_FLOAT_EQ(r.trackHeight[3], 0.5f);
    EXPECT_FLOAT_EQ(r.screenEffectMaxB[3], 3.4f);
    EXPECT_EQ(r.switchStart[3], 40);
    EXPECT_EQ(r.bpCount[3], 3);
    EXPECT_EQ(r.spare[3], r.spare[2]);
    EXPECT_EQ(r.bpDistance[3], r.bpDistance[2]);
    EXPECT_EQ(r.bpHeight[3], r.bpHeight[2]);
    EXPECT_EQ(r.bpLabel[3], r.bpLabel[2]);
    EXPECT_FLOAT_EQ(r.groundMiddle[3], 1.0f);
    EXPECT_EQ(r.bankCorrection[3], 1);
    // Its place on the tracks stays.
    EXPECT_EQ(r.track[3], 2);
    EXPECT_EQ(r.orderInTrack[3], 1);
}
