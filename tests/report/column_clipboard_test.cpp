// Copying and pasting a column of the train or stretch table, field by field. Which table
// offers the paste is tested with the window's menus.

#include <gtest/gtest.h>

#include "ReportFixtures.h"
#include "report/ColumnClipboard.h"

TEST(ColumnClipboard, TrainPasteCarriesTheColumnAndMarksTheProjectModified)
{
    ProjectRecord r = twoTrackProject();
    r.nationality[1] = 2, r.trainType[1] = 3;  // Finskt, type 3 is the last of its four
    DocumentState doc;
    ColumnClipboard clip;
    clip.copyTrain(r, 1);
    r.trainLengthPerDay[1] = 1;  // a later edit does not reach the copy
    ASSERT_TRUE(clip.pasteTrain(r, doc, 2));
    EXPECT_TRUE(doc.modified);
    EXPECT_TRUE(r.trainLengthPerDay[2] == 1200 && r.maxTrainLength[2] == 300 && r.speed[2] == 160);
    EXPECT_TRUE(r.nationality[2] == 2 && r.trainType[2] == 3 && r.runs(2, 1) && r.runs(2, 2));

    // A held type outside the pasted nationality's list falls back to the first type.
    ProjectRecord odd = twoTrackProject();
    odd.nationality[1] = 2, odd.trainType[1] = 5;
    clip.copyTrain(odd, 1);
    clip.pasteTrain(odd, doc, 2);
    EXPECT_TRUE(odd.nationality[2] == 2 && odd.trainType[2] == 0);
}

TEST(ColumnClipboard, StretchPasteCarriesShapeProfileRadiusAndTrackHeightButNotItsPlace)
{
    ProjectRecord r = twoTrackProject();
    r.spare[2] = {1, 2, 3, 4}, r.bpCount[2] = 3, r.bpDistance[2][3] = 17.5f, r.bpHeight[2][33] = 99.0f;
    r.bpLabel[2][3].setBytes("BP");
    r.radius[2] = 1500.0f;
    DocumentState doc;
    ColumnClipboard clip;
    EXPECT_FALSE(clip.pasteStretch(r, doc, 3) || clip.copyStretch(r, 9));  // nothing held; no stretch 9
    clip.copyStretch(r, 2);
    EXPECT_FALSE(clip.pasteStretch(r, doc, 0) || doc.modified);
    ASSERT_TRUE(clip.pasteStretch(r, doc, 3));
    EXPECT_TRUE(doc.modified);
    EXPECT_TRUE(r.shape[3] == 0 && r.angleFrom[3] == 90 && r.perpDistance[3] == 25.5f && r.radius[3] == 1500.0f);
    EXPECT_TRUE(r.trackHeight[3] == 0.5f && r.screenEffectMaxB[3] == 3.4f && r.switchStart[3] == 40);
    EXPECT_TRUE(r.groundMiddle[3] == 1.0f && r.bankCorrection[3] == 1);
    EXPECT_TRUE(r.bpCount[3] == 3 && r.spare[3] == r.spare[2] && r.bpDistance[3] == r.bpDistance[2] &&
                r.bpHeight[3] == r.bpHeight[2] && r.bpLabel[3] == r.bpLabel[2]);
    // Its place on the tracks stays.
    EXPECT_TRUE(r.track[3] == 2 && r.orderInTrack[3] == 1);
}
