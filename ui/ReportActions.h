#pragma once
// ReportActions: the report and export commands of the results page: the groups "Utskrift"
// (report kind, preview, print, PDF) and "Export" (the three clipboard texts), and the matching
// items of the menus. They work on a small context instead of the main window, so that they can be
// built and driven on their own.

#include <QObject>
#include <memory>
#include <string>

#include "calc/Results.h"
#include "model/DocumentState.h"
#include "model/ProjectRecord.h"
#include "report/ReportPage.h"

class AppSettings;
class QAction;
class QCheckBox;
class QDialog;
class QGroupBox;
class QMenu;
class QPainter;
class QPrinter;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QWidget;

struct ReportContext {
    ProjectRecord& record;
    CalcResults& results;
    DocumentState& doc;
    // The segment-length control; the button "&Granska" copies its value into doc.segmentLength.
    const QSpinBox* segmentControl = nullptr;
    // The platform's decimal separator for the numbers of the report and the exports.
    char decimalSeparator = '.';
    // Parent of the dialogs and message boxes.
    QWidget* dialogParent = nullptr;
};

class ReportActions : public QObject {
    Q_OBJECT
public:
    explicit ReportActions(ReportContext ctx, QObject* parent = nullptr);
    ~ReportActions() override;

    // Fills the two (empty) groups of the results page with their controls. Either may be
    // null.
    void fillGroups(QGroupBox* utskrift, QGroupBox* exportGroup);
    // Connects the menu items: "Skrivar&Inställning...", "&Skrivare", "&Granska", and adds
    // "Spara som PDF..." to the "&Utskrift" menu. Any of them may be null.
    void attachMenu(QAction* printerSetup, QMenu* printMenu, QAction* printItem, QAction* previewItem);

    // The settings file that keeps "Med situationsplan" (null: none, the box is not kept).
    void setSettings(AppSettings* settings) { settings_ = settings; }

    // The report commands work only on results that belong to the project as it stands.
    void setResultsCurrent(bool current);
    bool resultsCurrent() const { return resultsCurrent_; }

    // The report chosen by the radio buttons.
    ReportKind reportKind() const;
    // The page as it would be printed now.
    ReportPage buildPage();
    // Whether "Med situationsplan" is ticked: the site plan follows as a second page.
    bool withSitePlan() const;

    // Commands. `fromButton` marks the button of the results page (it copies the segment
    // control first).
    void preview(bool fromButton);
    void print();
    void savePdf();
    void printerSetup();
    void copyResults();
    void copyTrainData();
    void copyStretchData();

    QPrinter& printer();

signals:
    // A line for the status line: what was copied, where the PDF file went.
    void statusMessage(const QString& text);

private:
    ReportInput input();
    void paintOn(QPrinter* printer);
    // The report's pages on an open painter of the printer or the preview.
    void paintPages(QPainter& painter, QPrinter* printer);
    // Ticks "Med situationsplan" as the settings file has it.
    void showSitePlanSetting();
    void putOnClipboard(const std::string& text, const char* what);
    void applyEnabled();

    ReportContext ctx_;
    // Controls, named as the program names them (null until fillGroups / attachMenu); tests
    // reach them by these object names.
    QRadioButton* RadioButton_Standard_ = nullptr;
    QRadioButton* RadioButton_Del_ = nullptr;
    QCheckBox* CheckBox_Situationsplan_ = nullptr;
    QPushButton* Button_Granska_ = nullptr;
    QPushButton* Button_Skrivare_ = nullptr;
    QPushButton* Button_SparaPdf_ = nullptr;
    QPushButton* Button_Res2cp_ = nullptr;
    QPushButton* Button_Tag2cp_ = nullptr;
    QPushButton* Button_Str2cp_ = nullptr;
    QAction* Meny_Arkiv_SkrivarInstallning_ = nullptr;
    QAction* Meny_Resultat_Utskrift_Skrivare_ = nullptr;
    QAction* Meny_Resultat_Utskrift_Granska_ = nullptr;
    QAction* Meny_Resultat_Utskrift_SparaPdf_ = nullptr;
    std::unique_ptr<QPrinter> printer_;
    bool resultsCurrent_ = false;
    AppSettings* settings_ = nullptr;
};

extern const char* const kNoPrinterMessage;
