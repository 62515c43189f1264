#pragma once
// StudyCommands: "Våningsstudie..." and "Skärmhöjdsstudie..." of the "&Resultat" menu, enabled
// while the project is complete; each opens a StudyDialog on the project as it stands.

#include <QObject>

#include "calc/Study.h"

class QAction;
class QMenu;
class TForm_Skenbrus;

class StudyCommands : public QObject {
    Q_OBJECT
public:
    // Puts the two items into `menu` before `before`, with a separator after them.
    StudyCommands(TForm_Skenbrus& window, QMenu* menu, QAction* before);

    QAction* Meny_Resultat_Vaningsstudie() const { return floors_; }
    QAction* Meny_Resultat_Skarmhojdsstudie() const { return screen_; }

    // Opens the study dialog of that kind (after a refused edit or without a screen: nothing,
    // or the message that asks for one).
    void openStudy(StudyKind kind);

private:
    QAction* addItem(StudyKind kind, const char* name, const char* text, QMenu* menu, QAction* before);

    TForm_Skenbrus& w_;
    QAction* floors_;
    QAction* screen_;
};
