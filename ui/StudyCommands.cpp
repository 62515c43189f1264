// StudyCommands: the study items of the "&Resultat" menu.
#include "ui/StudyCommands.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <algorithm>

#include "ui/NumberText.h"
#include "ui/Platform.h"
#include "ui/StudyDialog.h"
#include "ui/main.h"

StudyCommands::StudyCommands(TForm_Skenbrus& window, QMenu* menu, QAction* before) : QObject(&window), w_(window)
{
    floors_ = addItem(StudyKind::Floors, "Meny_Resultat_Vaningsstudie", "Våningsstudie...", menu, before);
    screen_ = addItem(StudyKind::Screen, "Meny_Resultat_Skarmhojdsstudie", "Skärmhöjdsstudie...", menu, before);
    menu->insertSeparator(before);
}

QAction* StudyCommands::addItem(StudyKind kind, const char* name, const char* text, QMenu* menu, QAction* before)
{
    auto* a = new QAction(QString::fromUtf8(text), menu);
    a->setObjectName(QString::fromLatin1(name));
    menu->insertAction(before, a);
    connect(a, &QAction::triggered, this, [this, kind] { openStudy(kind); });
    a->setEnabled(firstMissingInput(w_.record()).complete());
    connect(&w_, &TForm_Skenbrus::commandStateChanged, a, &QAction::setEnabled);
    return a;
}

void StudyCommands::openStudy(StudyKind kind)
{
    if (!w_.finishEditing()) return;
    const ProjectRecord& r = w_.record();
    if (kind == StudyKind::Screen) {
        bool any = false;
        for (int s = 1; s <= std::clamp(r.stretchCount, 1, kMaxStretches); ++s) any = any || r.screenType[s] > 0;
        if (!any) {
            showMessage(&w_, QStringLiteral("Ingen delsträcka har skärm. Lägg in en skärm i tvärsektionen först."));
            return;
        }
    }
    // The settings of "&Beräkning" as it would run now.
    RunSettings rs;
    rs.segmentLength = w_.document().segmentLength;
    rs.facadeBoxChecked = w_.CheckBox_Korrektion()->isChecked();
    rs.indoorBoxChecked = w_.CheckBox_Inneniva()->isChecked();
    const char sep = decimalSeparator().toLatin1() ? decimalSeparator().toLatin1() : '.';
    StudyDialog dlg(kind, StudyContext{r, w_.document(), rs, w_.angleFactors(), w_.appSettings(), sep}, &w_);
    platform().execDialog(dlg);
}
