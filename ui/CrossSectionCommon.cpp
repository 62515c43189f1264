// Pieces shared by the cross-section dialog and its break-point and screen dialogs.
#include "ui/CrossSectionCommon.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "ui/ProfileTable.h"

QString distanceBasisText(int basis)
{
    switch (basis) {
    case 1: return QStringLiteral("Anges längs ekvivalentnivåns beräkningslinje");
    case 2: return QStringLiteral("Anges längs maxnivåns beräkningslinje");
    case 3: return QStringLiteral("Anges längs startpositionens beräkningslinje");
    case 4: return QStringLiteral("Anges längs slutpositionens beräkningslinje");
    default: return QStringLiteral("Anges längs normalen (vinkelrätt)");
    }
}

double roundTenth(double x)
{
    // Values beyond any distance the tables can hold are left as they are.
    if (!(std::fabs(x) < 1.0e12)) return x;
    return std::nearbyint(x * 10) / 10;
}

int findLabel(const ProjectRecord& r, int s, int n, const char* text)
{
    for (int p = 1; p <= n; ++p)
        if (r.bpLabel[s][p].equals(text)) return p;
    return 0;
}

TwoRowDialogParts layOutTwoRowDialog(QDialog* dialog, ProfileOwner& owner, const QString& tableName,
                                     const QStringList& rowTitles)
{
    TwoRowDialogParts p;
    p.basisLabel = new QLabel(dialog);
    p.basisLabel->setObjectName(QStringLiteral("Label_Basis"));

    p.values = new ProfileTable(owner, 2, 2, dialog);
    p.values->integerDigits = 4;
    p.values->negativeRow = 2;
    p.values->setRowTitles(rowTitles);
    p.table = new GridView(p.values, dialog, EditRules::numberGrid());
    p.table->setObjectName(tableName);
    p.table->horizontalHeader()->hide();
    p.table->verticalHeader()->setHighlightSections(false);
    p.table->horizontalHeader()->setStretchLastSection(true);
    p.table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    p.table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    p.table->setFixedSize(p.table->verticalHeader()->sizeHint().width() + 110,
                          2 * p.table->verticalHeader()->defaultSectionSize() + 4);

    p.ok = new QPushButton(QStringLiteral("&OK"), dialog);
    p.ok->setObjectName(QStringLiteral("Button_OK"));
    p.cancel = new QPushButton(QStringLiteral("&Avbryt"), dialog);
    p.cancel->setObjectName(QStringLiteral("Button_Avbryt"));
    for (QPushButton* b : {p.ok, p.cancel}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(p.ok);
    buttons->addWidget(p.cancel);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(p.basisLabel);
    layout->addWidget(p.table);
    layout->addLayout(buttons);
    return p;
}
