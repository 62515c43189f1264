#include "ui/ResultCommands.h"

#include <QSpinBox>

#include "ui/ColumnMenus.h"
#include "ui/NumberText.h"
#include "ui/ReportActions.h"
#include "ui/ResultPage.h"
#include "ui/main.h"

void installReportCommands(TForm_Skenbrus& form)
{
    const char sep = decimalSeparator().toLatin1() ? decimalSeparator().toLatin1() : '.';
    TForm_Skenbrus* w = &form;
    auto* report = new ReportActions(
        ReportContext{form.record(), form.results(), form.document(), [w] { return w->SpinEdit1->value(); }, {}, sep, w},
        w);
    report->setObjectName(QStringLiteral("ReportActions"));
    report->settings = [w] { return w->appSettings(); };
    report->fillGroups(form.resultPage->GroupBox_Utskrift, form.resultPage->GroupBox_Export);
    report->attachMenu(form.Meny_Arkiv_SkrivarInstallning, form.Meny_Resultat_Utskrift,
                       form.Meny_Resultat_Utskrift_Skrivare, form.Meny_Resultat_Utskrift_Granska);
    report->setResultsCurrent(form.resultsCurrent());
    QObject::connect(w, &TForm_Skenbrus::resultsCurrentChanged, report, &ReportActions::setResultsCurrent);
    QObject::connect(report, &ReportActions::statusMessage, w, [w](const QString& text) { w->setStatus(text); });

    auto* menus = new ColumnMenus(ColumnContext{form.record(), form.document(), form.OvcTable_TagTyp,
                                                form.OvcTable_DelStrackor, [w] { w->refreshCommandState(); }},
                                  w, w);
    menus->setObjectName(QStringLiteral("ColumnMenus"));
}

ReportActions* reportActionsOf(TForm_Skenbrus& form)
{
    return form.findChild<ReportActions*>(QStringLiteral("ReportActions"), Qt::FindDirectChildrenOnly);
}

ColumnMenus* columnMenusOf(TForm_Skenbrus& form)
{
    return form.findChild<ColumnMenus*>(QStringLiteral("ColumnMenus"), Qt::FindDirectChildrenOnly);
}
