// The stretch table: value checks, track renumbering, ground, switches and cross-section rows.

#include "main_fixture.h"
#include "ui/Medelhojd.h"
#include "ui/Vaxlar.h"

using StretchTable = MainWindowTest;

TEST_F(StretchTable, TrackChoiceRenumbersWithItsMessageAndResizesTheTrainTable)
{
    using Places = std::vector<std::pair<int, int>>;  // track and order in it of each stretch
    const auto places = [&] {
        Places p;
        for (int s = 1; s <= r().stretchCount; ++s) p.emplace_back(r().track[s], r().orderInTrack[s]);
        return p;
    };
    // A skipped track is pulled back, later stretches follow, the train table has a row per track.
    addStretches(3);
    choose(stretches(), 1, 4, "2");
    chooseIndex(stretches(), 1, 2, 2);
    EXPECT_EQ(std::tuple(places(), shown(stretches(), 1, 2),
                         trains()->model()->headerData(trains()->model()->rowCount() - 1, Qt::Vertical).toString()),
              std::tuple(Places{{1, 1}, {2, 1}, {2, 2}, {3, 1}}, QString("2"), QString("Spår 3")));
    // The first stretch is on track 1; a choice that needs no renumbering shows nothing.
    choose(stretches(), 1, 1, "2");
    EXPECT_EQ(std::pair(r().track[1], plat->messageTexts()), std::pair(1, QStringList(2, kRenumberMessage)));
    plat->messages.clear();
    choose(stretches(), 1, 3, "3");
    EXPECT_EQ(std::pair(places(), plat->messages.size()), std::pair(Places{{1, 1}, {2, 1}, {3, 1}, {3, 2}}, 0ul));
    // Never beyond the fourth track.
    addStretches(2);
    r().track = {{1, 1, 1, 2, 3, 4}};
    choose(stretches(), 1, 2, "2");
    EXPECT_EQ(places(), (Places{{1, 1}, {2, 1}, {2, 2}, {3, 1}, {4, 1}, {4, 2}}));
}

TEST_F(StretchTable, RefusedValuesKeepTheCellEditingWithTheOldValue)
{
    // Each refusal: the message with the error icon, the editor open with the old value.
    const auto refused = [&](int row, const char* text, const char* message) {
        type(stretches(), row, 1, text);
        EXPECT_EQ(lastMessage(), message) << text;
        EXPECT_EQ(plat->messages.back().icon, MsgIcon::Error);
        auto* e = qobject_cast<QLineEdit*>(editor(stretches()));
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->text(), shown(stretches(), row, 1));
        QTest::keyClick(e, Qt::Key_Escape);
    };
    refused(4, "180", "Felaktigt värde (0-180) ...");
    EXPECT_FALSE(form->document().modified);
    type(stretches(), 4, 1, "30");
    EXPECT_TRUE(form->document().modified);
    refused(5, "30", "Felaktigt värde: får ej vara mindre än vinkelområde från ...");
    refused(5, "0", "Felaktigt värde: ej inom de tillåtna gränserna (0-180) ...");
    type(stretches(), 5, 1, "100");
    refused(4, "100", "Felaktigt värde: får ej vara större än vinkelområde till ...");
    EXPECT_EQ(std::pair(r().angleFrom[1], r().angleTo[1]), std::pair(30, 100));
    // An integer beyond 32 bits: a beep, the editor stays.
    type(stretches(), 5, 1, "99999999999");
    EXPECT_EQ(plat->beeps, 1);
    ASSERT_NE(editor(stretches()), nullptr);
    key(stretches(), Qt::Key_Escape);

    // Every way of leaving a cell takes a good value and refuses a bad one as Enter does: the
    // check speaks once, and the cell, the cursor and the page stay.
    QTabBar* bar = form->PageControl()->tabBar();
    const QPoint firstCell = stretches()->visualRect(stretches()->model()->index(0, 0)).center();
    const std::function<void()> leaves[] = {
        [&] { key(stretches(), Qt::Key_PageDown); }, [&] { key(stretches(), Qt::Key_PageUp); },
        [&] { form->SpinEdit1()->setFocus(); }, [&] { QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center()); },
        [&] { QTest::mouseClick(stretches()->viewport(), Qt::LeftButton, {}, firstCell); }};
    int good = 100;
    for (const auto& leave : leaves) {
        plat->messages.clear();
        for (const int value : {500, good += 10}) {
            auto* e = qobject_cast<QLineEdit*>(editor(stretches()) ? editor(stretches()) : open(stretches(), 5, 1));
            ASSERT_NE(e, nullptr);
            e->setFocus();
            e->setText(QString::number(value));
            leave();
            const bool stayed = editor(stretches()) && stretches()->currentRow() == 5 &&
                                form->PageControl()->currentWidget() == form->PageControl_Delstrackor();
            EXPECT_EQ(stayed, value != good);
        }
        EXPECT_EQ(std::tuple(plat->messageTexts(), r().angleTo[1], editor(stretches())),
                  std::tuple(QStringList{"Felaktigt värde: ej inom de tillåtna gränserna (0-180) ..."}, good, nullptr));
    }
    EXPECT_EQ(stretches()->currentRow(), 1);
}

TEST_F(StretchTable, PerpendicularDistanceMustLieBeyondTheLastBreakPoint)
{
    const QString tooShort = QString::fromUtf8("Felaktigt värde: Någon brytpunkt/skärm har längre avstånd än mottagaren!");
    type(stretches(), 6, 1, "0");  // a new cross-section needs a positive distance
    EXPECT_EQ(lastMessage(), tooShort);
    key(stretches(), Qt::Key_Escape);
    setProfile(r(), {{0, 0}, {12, 0}, {0, 0}});
    form->showProject();
    type(stretches(), 6, 1, "12");
    EXPECT_EQ(std::pair(lastMessage(), r().perpDistance[1]), std::pair(tooShort, 0.0f));
    key(stretches(), Qt::Key_Escape);
    type(stretches(), 6, 1, "12.5");  // the receiver point follows
    EXPECT_EQ(std::tuple(r().perpDistance[1], r().bpDistance[1][3], shown(stretches(), 6, 1)), std::tuple(12.5f, 12.5f, QString("12.5")));
}

TEST_F(StretchTable, ShapeChoiceResetsAngleOrRadiusAndChangesEditableRows)
{
    const auto editable = [&](int row) { return bool(stretches()->model()->index(row - 1, 0).flags() & Qt::ItemIsEditable); };
    type(stretches(), 4, 1, "20");
    chooseIndex(stretches(), 3, 1, 1);
    EXPECT_EQ(std::tuple(r().shape[1], r().angleFrom[1], editable(4), editable(6), editable(9)), std::tuple(1, 0, false, false, true));
    type(stretches(), 9, 1, "800");
    EXPECT_FLOAT_EQ(r().radius[1], 800.0f);
    type(stretches(), 9, 1, ".");  // a cell without digits holds 0, as in every table
    EXPECT_EQ(r().radius[1], 0.0f);

    choose(stretches(), 3, 1, "R");
    EXPECT_EQ(std::tuple(r().shape[1], r().radius[1], editable(4), editable(2), editable(11), shown(stretches(), 11, 1)),
              std::tuple(0, 0.0f, true, false, false, QString("Porös")));
}

TEST_F(StretchTable, PartlyPorousGroundAsksForThePercentageOnlyWhenChosen)
{
    // The row, the entry typed, the answer to the input box; the share stored, the cell and the
    // status line. 100 % is porous; "Hård" is 0; text that is no number is 50 % with a message;
    // a cancelled box leaves the field as it was.
    struct Case { int row; const char* keys; std::optional<QString> answer; float share; const char* cell; const char* status; };
    for (const Case& c : std::initializer_list<Case>{
             {12, "D", "30", 0.3f, "Del. Porös", "Marktypen vid mottagardelen är porös till 30% ..."},
             {13, "D", "100", 1.0f, "Porös", "Marktypen vid mellandelen är porös ..."},
             {13, "H", {}, 0.0f, "Hård", "Marktypen vid mellandelen är hård ..."},
             {13, "D", "mycket", 0.5f, "Del. Porös", nullptr},
             {12, "H", {}, 0.0f, "Hård", nullptr},
             {12, "D", std::nullopt, 0.0f, "Hård", nullptr}}) {
        const std::size_t asked = plat->inputPrompts.size();
        if (*c.keys == 'D') plat->inputAnswers.push_back(c.answer);
        choose(stretches(), c.row, 1, c.keys);
        const QString title = c.row == 12 ? "Marktyp: Mottagardel" : "Marktyp: Mellandel";
        EXPECT_EQ(plat->inputPrompts.size() > asked, *c.keys == 'D');
        EXPECT_TRUE(plat->inputPrompts.size() == asked || plat->inputPrompts.back() == title + "|Ange procentuell del porös mark");
        EXPECT_FLOAT_EQ(c.row == 12 ? r().groundReceiver[1] : r().groundMiddle[1], c.share) << c.row << c.keys;
        EXPECT_EQ(shown(stretches(), c.row, 1), c.cell);
        EXPECT_TRUE(!c.status || status() == c.status) << status().toStdString();
    }
    EXPECT_EQ(plat->messageTexts(), QStringList{"Otillåtet värde angivet, värdet satt till 50%"});
    plat->inputAnswers.push_back(QStringLiteral("40"));
    // Opening the list again and leaving it with Enter asks nothing; picking the same entry
    // again from the list asks anew.
    choose(stretches(), 12, 1, "D");
    const std::size_t asked = plat->inputPrompts.size();
    open(stretches(), 12, 1);
    key(stretches(), Qt::Key_Return);
    EXPECT_EQ(std::pair(plat->inputPrompts.size(), stretches()->currentRow()), std::pair(asked, 13));
    plat->inputAnswers.push_back(QStringLiteral("60"));
    chooseIndex(stretches(), 12, 1, 2);
    EXPECT_EQ(std::pair(plat->inputPrompts.size(), r().groundReceiver[1]), std::pair(asked + 1, 0.6f));

    // A click on the selected cell drops its list, wide enough for its entries; Escape in
    // the list or a click outside it takes the edit back.
    const auto click = [&](int row) {
        QTest::qWait(20);
        QTest::mouseClick(stretches()->viewport(), Qt::LeftButton, {},
                          stretches()->visualRect(stretches()->model()->index(row - 1, 0)).center());
    };
    for (const bool escape : {true, false}) {
        click(13);
        click(12);
        click(12);
        QComboBox* c = nullptr;
        ASSERT_TRUE(QTest::qWaitFor([&] { return (c = qobject_cast<QComboBox*>(editor(stretches()))) && c->view()->isVisible(); }));
        EXPECT_GE(c->width(), c->sizeHint().width());
        c->view()->setCurrentIndex(c->view()->model()->index(0, 0));
        if (escape)
            QTest::keyClick(c->view(), Qt::Key_Escape);
        else
            QTest::mouseClick(c->view()->window(), Qt::LeftButton, {}, QPoint(-5, -5));
        EXPECT_TRUE(QTest::qWaitFor([&] { return editor(stretches()) == nullptr; }));
        EXPECT_EQ(std::tuple(r().groundReceiver[1], plat->inputPrompts.size(), stretches()->currentRow()), std::tuple(0.6f, asked + 1, 12));
    }
}

TEST_F(StretchTable, SwitchesOpenTheirDialogOnStraightStretchesOnly)
{
    // The zone start lies between limits that follow the angles and the distance; beyond the
    // normal they are measured from the angle nearest to it, and capped to the field's range.
    EXPECT_EQ(switchLimits(100, 0, 180), (SwitchLimits{0, 5719}));
    EXPECT_EQ(switchLimits(50, 120, 150), (SwitchLimits{29, 77}));
    EXPECT_EQ(switchLimits(1.0e6, 0, 180).upper, 32767);

    addStretches(1);
    r().perpDistance[2] = 50.0f, r().angleFrom[2] = 30, r().angleTo[2] = 60;
    r().switchStart[2] = 5;  // outside 29..77: the dialog offers the lower limit
    form->showProject();
    answerDialog([&](QDialog& d) {
        auto* dlg = qobject_cast<TForm_Vaxlar*>(&d);
        d.show();
        EXPECT_EQ(std::pair(dlg->Edit_Avstand->text(), dlg->Label_Grans->text()), std::pair(QString("29"), QString("29 – 77 m")));
        // Beyond the limits: a beep, the upper limit offered, nothing stored, the dialog stays.
        for (const char* typed : {"78", "40"}) {
            dlg->Edit_Avstand->selectAll();
            QTest::keyClicks(dlg->Edit_Avstand, typed);
            QTest::mouseClick(dlg->Button_Ok, Qt::LeftButton);
        }
        EXPECT_EQ(plat->beeps, 1);
        return d.result();
    });
    chooseIndex(stretches(), 15, 2, 1);
    EXPECT_EQ(std::tuple(plat->dialogs, r().switchesOn[2], r().switchStart[2]), std::tuple(std::vector<QString>{"Form_Vaxlar"}, 1, 40));

    choose(stretches(), 15, 1, "J");  // a cancelled dialog takes the choice back
    EXPECT_EQ(r().switchesOn[1], 0);

    chooseIndex(stretches(), 3, 1, 2);
    EXPECT_FALSE(stretches()->model()->index(14, 0).flags() & Qt::ItemIsEditable);
}

TEST_F(StretchTable, CrossSectionNeedsGeometryAndNejNeedsAPlainSection)
{
    choose(stretches(), 16, 1, "J");
    EXPECT_EQ(std::tuple(r().crossSectionOn[1], plat->dialogs.size(), lastMessage()),
              std::tuple(0, 0u, QString(kCrossSectionGeometryMessage)));

    type(stretches(), 6, 1, "40");
    TForm_MedelHojd* dlg = form->Form_MedelHojd();
    int shownFor = 0;
    answerDialog([&](QDialog& d) {
        shownFor = dlg->stretch();
        QTimer::singleShot(10, dlg, [dlg] {
            EXPECT_TRUE(dlg->isVisible());
            QTest::mouseClick(dlg->findChild<QPushButton*>(QStringLiteral("Button_OK")), Qt::LeftButton);
        });
        return d.exec();
    });
    // Chosen from inside a running event loop, as in the program, so that the editor the
    // choice came from outlives the dialog's own loop.
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&] {
        chooseIndex(stretches(), 16, 1, 1);
        loop.quit();
    });
    loop.exec();
    EXPECT_EQ(std::tuple(shownFor, dlg->isVisible(), r().crossSectionOn[1]), std::tuple(1, false, 1));
    EXPECT_FALSE(stretches()->model()->index(9, 0).flags() & Qt::ItemIsEditable);

    // With a third point "Nej" is discarded without a message.
    r().bpCount[1] = 3, r().trackHeight[1] = 1.5f;
    const std::size_t before = plat->messages.size();
    choose(stretches(), 16, 1, "N");
    EXPECT_EQ(std::pair(r().crossSectionOn[1], plat->messages.size()), std::pair(1, before));

    r().bpCount[1] = 2, r().bpHeight[1][2] = 0.7f;
    choose(stretches(), 16, 1, "N");
    EXPECT_EQ(std::pair(r().crossSectionOn[1], r().trackHeight[1] + r().bpHeight[1][2]), std::pair(0, 0.0f));

    // Ctrl+T opens the cross-section of the active stretch when its geometry is complete.
    addStretches(1);
    type(stretches(), 4, 2, "10");
    QTest::keyClick(stretches(), Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(plat->dialogs.size(), 1u);  // no distance yet
    type(stretches(), 6, 2, "25");
    form->document().modified = false;
    QTest::keyClick(stretches(), Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(std::tuple(plat->dialogs.size(), dlg->stretch(), r().crossSectionOn[2], form->document().modified),
              std::tuple(2u, 2, 1, true));
}
