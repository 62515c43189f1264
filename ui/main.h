#pragma once
// TForm_Skenbrus, the main window: the train and stretch tables on their pages, the site plan,
// the results page, the status line, the project texts, the option boxes, the segment length,
// the calculation button and the menus. The window owns the project record and the document
// state; every accepted edit marks the project modified and runs the completeness check that
// enables "&Beräkning". The commands live in classes of their own that the window owns:
// FileCommands, CalculationCommand, ReportActions (report and export), ColumnMenus and
// StudyCommands.

#include <QMainWindow>

#include "calc/Profile.h"
#include "calc/Results.h"
#include "model/DocumentState.h"
#include "model/ProjectRecord.h"
#include "ui/TableGrid.h"

class AppSettings;
class CalculationCommand;
class ColumnMenus;
class CountSpinner;
class FileCommands;
class QAction;
class QCheckBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class ReportActions;
class ResultPage;
class SitePlanPage;
class StretchTableModel;
class StudyCommands;
class TForm_About;
class TForm_FasadAvst;
class TForm_Inneniva;
class TForm_MedelHojd;
class TForm_Vaxlar;
class TrainTableModel;

class TForm_Skenbrus : public QMainWindow, public TableHost {
    Q_OBJECT
public:
    explicit TForm_Skenbrus(QWidget* parent = nullptr);
    ~TForm_Skenbrus() override;

    ProjectRecord& record() { return record_; }
    DocumentState& document() { return doc_; }
    int activeStretch() const { return activeStretch_; }
    // Working values of the cross-section analysis that live beside the record.
    AngleFactors& angleFactors() { return factors_; }
    ProfileCheck& profileCheck() { return profileCheck_; }
    // The results of the last completed run; the report and the exports read them.
    CalcResults& results() { return results_; }
    // True while the results page shows the results of the project as it is: set when a run
    // shows the page, cleared when an edit, New or Open hides it again.
    bool resultsCurrent() const { return resultsCurrent_; }

    // Shows the whole record again: counts, project texts, both tables, the completeness
    // check. Used after the record was replaced (start, New, Open).
    void showProject();
    // The project texts and the window caption, shown again from the record and the file name.
    void showInfoTexts();
    void showTitle();
    // The window caption for the current file ("Skenbrus - []" without one).
    QString captionText() const;
    // The completeness check: enables "&Beräkning", recomputes the segment length and hides
    // the result page.
    void refreshCommandState();
    // Accepts a pending cell edit in either table. False when the value failed its check:
    // the cell stays in editing and the caller must not go on.
    bool finishEditing();
    // Resizes the tables for the counts and the number of tracks.
    void sizeTables();
    // "&TågInfo" in front; the results page hidden with its results no longer current.
    void showTrainPage();
    void hideResultsPage();
    // After a completed run: the results page filled and in front, "&Beräkning" disabled until
    // the next edit.
    void showResultsPage();

    // Start-up settings: segment length, country (and with it every train's nationality) and
    // the trace switches. The settings object stays in use for the segment length.
    void applyStartupSettings(AppSettings& settings);
    // The settings file in use (null before applyStartupSettings and after closing).
    AppSettings* appSettings() const { return settings_; }
    // The "Segment" setting that the segment-length control is clamped from.
    int segmentSetting() const { return segmentSetting_; }
    void setSegmentSetting(int v) { segmentSetting_ = v; refreshCommandState(); }
    // The ticked country of "Ändra Land" (0 Norge, 1 Sverige, 2 Finland).
    int tickedCountry() const { return tickedCountry_; }

    // The help context of the control that has the focus (the tables follow their row);
    // 0 when none is known.
    int focusedHelpContext() const;

    // Window commands of the menus.
    void chooseCountry(int country);
    void gotoFirstMissingInput();
    void showHelpContents();
    void showHelpForFocusedControl();
    void showAbout();
    // The option check boxes' dialogs (also the right mouse button on the boxes).
    void showIndoorDialog();
    void showFacadeDistanceDialog();
    // Ticks or clears an option box from code: no dialog opens, no suppress flag stays.
    void setOptionBoxQuietly(QCheckBox* box, bool on);

    // The commands the window owns.
    FileCommands& fileCommands() { return *files_; }
    CalculationCommand& calculationCommand() { return *calculation_; }
    ReportActions& reportActions() { return *report_; }
    ColumnMenus& columnMenus() { return *columnMenus_; }
    StudyCommands& studyCommands() { return *studies_; }

    // Controls that tests and the commands reach, named as the program names them.
    QTabWidget* PageControl() const { return PageControl_; }
    QWidget* PageControl_TagInfo() const { return PageControl_TagInfo_; }
    QWidget* PageControl_Delstrackor() const { return PageControl_Delstrackor_; }
    QWidget* Pagecontrol_Resultat() const { return Pagecontrol_Resultat_; }
    QLineEdit* Edit_Status() const { return Edit_Status_; }
    QCheckBox* CheckBox_Inneniva() const { return CheckBox_Inneniva_; }
    QCheckBox* CheckBox_Korrektion() const { return CheckBox_Korrektion_; }
    QTableWidget* StringGrid_Info() const { return StringGrid_Info_; }
    QSpinBox* SpinEdit1() const { return SpinEdit1_; }
    QPushButton* Button_Berakning() const { return Button_Berakning_; }
    QLineEdit* Edit1() const;
    QLineEdit* Edit2() const;
    GridView* OvcTable_TagTyp() const { return OvcTable_TagTyp_; }
    GridView* OvcTable_DelStrackor() const { return OvcTable_DelStrackor_; }
    TForm_MedelHojd* Form_MedelHojd() const { return Form_MedelHojd_; }
    TForm_About* Form_About() const { return Form_About_; }
    SitePlanPage* sitePlanPage() const { return sitePlanPage_; }

public slots:
    // Event handlers of the count arrows and the calculation button.
    void OvcSpinner1UpClick();
    void OvcSpinner1DownClick();
    void OvcSpinner2UpClick();
    void OvcSpinner2DownClick();
    void Button_BerakningClick();
    void onInfoTextChanged(int row, const QString& text);
    // Ctrl+T: the cross-section of the active stretch, when its geometry allows one.
    void openCrossSectionOfActiveStretch();

public:
    // TableHost
    void cellAccepted() override;
    void tracksChanged() override;
    void setStatus(const QString& text) override;
    bool showSwitches(int s) override;
    void showCrossSection(int s) override;
    QWidget* dialogParent() override { return this; }

signals:
    // After every completeness check: whether the project is complete.
    void commandStateChanged(bool complete);
    // Whenever resultsCurrent() changes.
    void resultsCurrentChanged(bool current);
    // "&Beräkning" (button or menu) was chosen and no pending edit was refused.
    void calculationRequested();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    QWidget* buildTrainPage();
    QWidget* buildStretchPage();
    QWidget* buildInfoPanel();
    QWidget* buildLogoPanel();
    void buildSitePlanPage();
    void buildMenus();
    void buildCommands();
    void connectOptionBoxes();
    void showCounts();
    void reshapeTable(GridView* view);
    void modifiedEdit();
    void setResultsCurrent(bool current);
    void showCountryTicks();
    void updateReportCommands();
    void optionBoxClicked(QCheckBox* box, bool on);
    void openOptionDialog(QCheckBox* box);

    ProjectRecord record_;
    DocumentState doc_;
    AngleFactors factors_;
    ProfileCheck profileCheck_;
    SegmentControl segmentControl_;
    int segmentSetting_ = 1;
    AppSettings* settings_ = nullptr;
    int activeStretch_ = 1;
    bool fillingInfo_ = false;
    CalcResults results_;
    bool resultsCurrent_ = false;
    bool complete_ = false;
    int tickedCountry_ = 1;
    bool suppressIndoorDialog_ = false;
    bool suppressFacadeDialog_ = false;

    // Controls, named as the program names them.
    QTabWidget* PageControl_ = nullptr;
    QWidget* PageControl_TagInfo_ = nullptr;
    QWidget* PageControl_Delstrackor_ = nullptr;
    QWidget* Pagecontrol_Resultat_ = nullptr;
    QLineEdit* Edit_Status_ = nullptr;
    QWidget* Panel_Info_ = nullptr;
    QCheckBox* CheckBox_Inneniva_ = nullptr;
    QCheckBox* CheckBox_Korrektion_ = nullptr;
    QTableWidget* StringGrid_Info_ = nullptr;
    QWidget* Panel_Logo_ = nullptr;
    QSpinBox* SpinEdit1_ = nullptr;
    QPushButton* Button_Berakning_ = nullptr;
    CountSpinner* OvcSpinner1_ = nullptr;
    CountSpinner* OvcSpinner2_ = nullptr;
    GridView* OvcTable_TagTyp_ = nullptr;
    GridView* OvcTable_DelStrackor_ = nullptr;
    TrainTableModel* trainModel_ = nullptr;
    StretchTableModel* stretchModel_ = nullptr;
    TForm_Vaxlar* Form_Vaxlar_ = nullptr;
    TForm_MedelHojd* Form_MedelHojd_ = nullptr;
    TForm_Inneniva* Form_Inneniva_ = nullptr;
    TForm_FasadAvst* Form_FasadAvst_ = nullptr;
    TForm_About* Form_About_ = nullptr;
    ResultPage* resultPage_ = nullptr;
    SitePlanPage* sitePlanPage_ = nullptr;

    // Menu items, named as the program names them.
    QAction* Meny_Arkiv_Hamta_ = nullptr;
    QAction* Meny_Arkiv_Spara_ = nullptr;
    QAction* Meny_Arkiv_SparaSom_ = nullptr;
    QAction* Meny_Arkiv_Ny_ = nullptr;
    QAction* Meny_Arkiv_SkrivarInstallning_ = nullptr;
    QMenu* Meny_Arkiv_Land_ = nullptr;
    QAction* Meny_Arkiv_Land_Norge_ = nullptr;
    QAction* Meny_Arkiv_Land_Sverige_ = nullptr;
    QAction* Meny_Arkiv_Land_Finland_ = nullptr;
    QAction* Meny_Arkiv_Avsluta_ = nullptr;
    QMenu* Meny_Resultat_ = nullptr;
    QAction* Meny_Resultat_Berakning_ = nullptr;
    QMenu* Meny_Resultat_Utskrift_ = nullptr;
    QAction* Meny_Resultat_Utskrift_Skrivare_ = nullptr;
    QAction* Meny_Resultat_Utskrift_Granska_ = nullptr;
    QAction* Meny_Resultat_Utskrift_Exportera_ = nullptr;
    QAction* Meny_Resultat_Testa_ = nullptr;
    QAction* Meny_Avsluta_ = nullptr;
    QAction* Meny_Hjalp_Innehall_ = nullptr;
    QAction* Meny_Hjalp_AktuelltFalt_ = nullptr;
    QAction* Meny_Hjalp_Om_ = nullptr;

    // The commands, children of the window.
    FileCommands* files_ = nullptr;
    CalculationCommand* calculation_ = nullptr;
    ReportActions* report_ = nullptr;
    ColumnMenus* columnMenus_ = nullptr;
    StudyCommands* studies_ = nullptr;
};
