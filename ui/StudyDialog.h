#pragma once
// StudyDialog: the floor study ("Våningsstudie...") and the screen-height study
// ("Skärmhöjdsstudie..."): the heights from, step, to (and the stretch of the screen study),
// "Beräkna" with a meter and "Avbryt", then the table and a chart of the levels against the
// height, the guideline values as lines and the cells above them marked; "Kopiera" and
// "Spara som PDF...". Opened by StudyCommands.

#include <QDialog>
#include <optional>

#include "calc/Study.h"
#include "model/DocumentState.h"
#include "report/StudyTable.h"

class AppSettings;
class QChart;
class QChartView;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPainter;
class QProgressBar;
class QPushButton;
class QTableWidget;

struct StudyContext {
    const ProjectRecord& record;
    const DocumentState& doc;
    RunSettings settings;              // as "&Beräkning" would run now
    AngleFactors factors;              // the window's angle factors at the start of every row
    AppSettings* appSettings = nullptr;  // remembers the guideline values; may be null
    char decimalSeparator = '.';
    int threads = 0;                   // threads of the study (0: one per core)
};

class StudyDialog : public QDialog {
    Q_OBJECT
public:
    // The help topic of both studies.
    static constexpr int kHelpContext = 91;

    StudyDialog(StudyKind kind, StudyContext ctx, QWidget* parent = nullptr);
    ~StudyDialog() override;

    StudyKind kind() const { return kind_; }
    // Commands.
    void calculate();
    void copyTable();
    void savePdf();
    // Writes the one-page PDF; false (after a message) when the file could not be written.
    bool writePdf(const QString& path);
    // Paints the page (header texts, chart, table) on an A4 device.
    void paintPage(QPainter& painter);

    bool hasResults() const { return !outcome_.rows.empty(); }
    const StudyOutcome& outcome() const { return outcome_; }
    const StudyTable& table() const { return table_; }
    QChart* chart() const;
    // The guideline values as they stand in the fields (nullopt: empty or not a number).
    std::optional<double> limitEq() const;
    std::optional<double> limitMax() const;
    // The text put on the clipboard by "Kopiera".
    QString clipboardText() const;

protected:
    void reject() override;

private:
    QString titleText() const;
    std::optional<double> limit(const QLineEdit* e) const;
    bool limitsValid();
    void limitsChanged();
    void rememberLimits();
    void showTable();
    QChart* makeChart() const;
    void setBusy(bool busy);

    StudyKind kind_;
    StudyContext ctx_;
    StudyOutcome outcome_;
    StudyTable table_;
    StudyRequest lastRequest_;
    bool running_ = false;
    bool cancel_ = false;

    // Controls, named as the program names them.
    QDoubleSpinBox* Edit_Fran_ = nullptr;
    QDoubleSpinBox* Edit_Steg_ = nullptr;
    QDoubleSpinBox* Edit_Till_ = nullptr;
    QComboBox* ComboBox_Delstracka_ = nullptr;  // screen study only
    QLineEdit* Edit_RiktvardeEkv_ = nullptr;
    QLineEdit* Edit_RiktvardeMax_ = nullptr;
    QPushButton* Button_Berakna_ = nullptr;
    QPushButton* Button_Avbryt_ = nullptr;
    QPushButton* Button_Kopiera_ = nullptr;
    QPushButton* Button_SparaPdf_ = nullptr;
    QPushButton* Button_Stang_ = nullptr;
    QProgressBar* Gauge_Studie_ = nullptr;
    QLabel* Label_Status_ = nullptr;
    QTableWidget* Table_Studie_ = nullptr;
    QChartView* Chart_Studie_ = nullptr;
};
