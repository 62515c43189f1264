#pragma once
// Pieces shared by the cross-section dialog and its break-point and screen dialogs.

#include <QString>
#include <QStringList>

class QDialog;
class QLabel;
class QPushButton;
class GridView;
class ProfileOwner;
class ProfileTable;

#include "calc/Profile.h"
#include "model/DocumentState.h"
#include "model/ProjectRecord.h"

// The program-wide state the cross-section dialogs work on; the main window owns all of it.
struct CrossSectionContext {
    ProjectRecord& record;
    DocumentState& document;
    AngleFactors& factors;  // EqFactor and MaxFactor
    ProfileCheck& check;    // ProfileState and WarningArmed
};

// The common layout of the break-point and the screen dialog: the line along which distances
// are given, a two-row grid of numbers of up to four whole digits (the second row may be
// negative) and "&OK" and "&Avbryt", which are never the default button.
struct TwoRowDialogParts {
    QLabel* basisLabel;
    GridView* table;
    ProfileTable* values;
    QPushButton* ok;
    QPushButton* cancel;
};
TwoRowDialogParts layOutTwoRowDialog(QDialog* dialog, ProfileOwner& owner, const QString& tableName,
                                     const QStringList& rowTitles);

// The line along which distances are given, by distance basis 0..4.
QString distanceBasisText(int basis);
// x to one decimal (ten times x rounded, halves to even, divided by ten).
double roundTenth(double x);
// The first of points 1..n labelled text, or 0.
int findLabel(const ProjectRecord& r, int s, int n, const char* text);
