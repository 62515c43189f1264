#pragma once
// The main window: the train and stretch tables on their pages, the status line, the
// project texts, the segment length and the calculation button. The window owns the project
// record and the document state; every accepted edit marks the project modified and runs the
// completeness check that enables "&Beräkning".

#include <QMainWindow>
#include <functional>

#include "calc/Profile.h"
#include "calc/Results.h"
#include "model/DocumentState.h"
#include "model/ProjectRecord.h"
#include "ui/TableGrid.h"

class AppSettings;
class QAction;
class QActionGroup;
class QMenu;
class ResultPage;
class TForm_About;
class TForm_Berakning;
class TForm_FasadAvst;
class TForm_Inneniva;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class QTableWidgetItem;
class QToolButton;
class StretchTableModel;
class TForm_MedelHojd;
class TForm_Vaxlar;
class TrainTableModel;

// A read-only count with an up and a down arrow beside it.
class CountSpinner : public QWidget {
    Q_OBJECT
public:
    CountSpinner(const QString& editName, const QString& spinnerName, const QString& hint, QWidget* parent);
    QLineEdit* edit;
    QWidget* spinner;
    QToolButton* up;
    QToolButton* down;

signals:
    void stepUp();
    void stepDown();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
};

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

    // Shows the whole record again: counts, project texts, both tables, the completeness
    // check. Used after the record was replaced (start, New, Open).
    void showProject();
    // Reads the project named on the command line; false when it could not be read (the
    // message has been shown and the start-up project stays).
    bool openStartupFile(const QString& path);
    // The completeness check: enables "&Beräkning", recomputes the segment length and hides
    // the result page.
    void refreshCommandState();
    // Accepts a pending cell edit in either table. False when the value failed its check:
    // the cell stays in editing and the caller must not go on.
    bool finishEditing();
    // Resizes the tables for the counts and the number of tracks.
    void sizeTables();

    // Start-up settings: segment length, country (and with it every train's nationality) and
    // the trace switches. The settings object stays in use for the segment length.
    void applyStartupSettings(AppSettings& settings);
    // The settings file in use (null before applyStartupSettings and after closing).
    AppSettings* appSettings() const { return settings_; }

    // The "Segment" setting that the segment-length control is clamped from.
    int segmentSetting() const { return segmentSetting_; }
    void setSegmentSetting(int v) { segmentSetting_ = v; refreshCommandState(); }

    // The help context of the control that has the focus (the tables follow their row);
    // 0 when none is known.
    int focusedHelpContext() const;

    // The window caption for the current file ("Skenbrus - []" without one).
    QString captionText() const;

    // The results of the last completed run; the report and the exports read them.
    CalcResults& results() { return results_; }
    // True while the results page shows the results of the project as it is: set when a run
    // shows the page, cleared when an edit, New or Open hides it again.
    bool resultsCurrent() const { return resultsCurrent_; }

    // Commands (menus, buttons and closing). The file commands return true when they did
    // what was asked, false when cancelled or refused.
    bool openCommand();
    bool saveCommand();
    bool saveAsCommand();
    bool newCommand();
    // Asked before the window closes: true when it may close.
    bool confirmClose();
    void chooseCountry(int country);
    void runCalculation();
    void gotoFirstMissingInput();
    void showHelpContents();
    void showHelpForFocusedControl();
    void showAbout();
    // The option check boxes' dialogs (also the right mouse button on the boxes).
    void showIndoorDialog();
    void showFacadeDistanceDialog();
    // Ticks or clears an option box from code: no dialog opens, no suppress flag stays.
    void setOptionBoxQuietly(QCheckBox* box, bool on);

    // The cross-section dialog for a stretch; defaults to TForm_MedelHojd.
    std::function<void(int stretch)> crossSectionDialog;
    // The switches dialog; returns false when it was cancelled. Defaults to TForm_Vaxlar.
    std::function<bool(int stretch)> switchesDialog;
    // The calculation behind "&Beräkning".
    std::function<void()> calculation;
    // The dialogs of the option check boxes; default to TForm_Inneniva and TForm_FasadAvst.
    std::function<void()> indoorDialog;
    std::function<void()> facadeDialog;

    // Controls, named as the program names them.
    QTabWidget* PageControl = nullptr;
    QWidget* PageControl_TagInfo = nullptr;
    QWidget* PageControl_Delstrackor = nullptr;
    QWidget* Pagecontrol_Resultat = nullptr;
    QLineEdit* Edit_Status = nullptr;
    QWidget* Panel_Info = nullptr;
    QCheckBox* CheckBox_Inneniva = nullptr;
    QCheckBox* CheckBox_Korrektion = nullptr;
    QTableWidget* StringGrid_Info = nullptr;
    QWidget* Panel_Logo = nullptr;
    QSpinBox* SpinEdit1 = nullptr;
    QPushButton* Button_Berakning = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    CountSpinner* OvcSpinner1 = nullptr;
    CountSpinner* OvcSpinner2 = nullptr;
    GridView* OvcTable_TagTyp = nullptr;
    GridView* OvcTable_DelStrackor = nullptr;
    TrainTableModel* trainModel = nullptr;
    StretchTableModel* stretchModel = nullptr;
    TForm_Vaxlar* Form_Vaxlar = nullptr;
    TForm_MedelHojd* Form_MedelHojd = nullptr;
    TForm_Inneniva* Form_Inneniva = nullptr;
    TForm_FasadAvst* Form_FasadAvst = nullptr;
    TForm_About* Form_About = nullptr;
    TForm_Berakning* Form_Berakning = nullptr;
    ResultPage* resultPage = nullptr;

    // Menu items, named as the program names them.
    QAction* Meny_Arkiv_Hamta = nullptr;
    QAction* Meny_Arkiv_Spara = nullptr;
    QAction* Meny_Arkiv_SparaSom = nullptr;
    QAction* Meny_Arkiv_Ny = nullptr;
    QAction* Meny_Arkiv_SkrivarInstallning = nullptr;
    QMenu* Meny_Arkiv_Land = nullptr;
    QAction* Meny_Arkiv_Land_Norge = nullptr;
    QAction* Meny_Arkiv_Land_Sverige = nullptr;
    QAction* Meny_Arkiv_Land_Finland = nullptr;
    QAction* Meny_Arkiv_Avsluta = nullptr;
    QMenu* Meny_Resultat = nullptr;
    QAction* Meny_Resultat_Berakning = nullptr;
    QMenu* Meny_Resultat_Utskrift = nullptr;
    QAction* Meny_Resultat_Utskrift_Skrivare = nullptr;
    QAction* Meny_Resultat_Utskrift_Granska = nullptr;
    QAction* Meny_Resultat_Utskrift_Exportera = nullptr;
    QAction* Meny_Resultat_Testa = nullptr;
    QAction* Meny_Avsluta = nullptr;
    QAction* Meny_Hjalp_Innehall = nullptr;
    QAction* Meny_Hjalp_AktuelltFalt = nullptr;
    QAction* Meny_Hjalp_Om = nullptr;

    // Event handlers.
    void OvcSpinner1UpClick();
    void OvcSpinner1DownClick();
    void OvcSpinner2UpClick();
    void OvcSpinner2DownClick();
    void Button_BerakningClick();
    void onInfoTextChanged(int row, const QString& text);
    // Ctrl+T: the cross-section of the active stretch, when its geometry allows one.
    void openCrossSectionOfActiveStretch();

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

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    QWidget* buildTrainPage();
    QWidget* buildStretchPage();
    QWidget* buildInfoPanel();
    QWidget* buildLogoPanel();
    void showInfoTexts();
    void showCounts();
    void reshapeTable(GridView* view);
    void modifiedEdit();
    // Commands.cpp: menus, the option boxes, the results page and the document flows.
    void buildMenus();
    void connectOptionBoxes();
    void setResultsCurrent(bool current);
    void hideResultsPage();
    void showCountryTicks();
    void updateReportCommands();
    void showTitle();
    bool writeTo(const QString& path);
    // Save and Save As: the new lastUpdate stamp, then the write.
    bool writeStamped(const QString& path);
    void rememberFolder(const QString& path);
    QString startFolder() const;
    bool readFile(const QString& path);
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
};
