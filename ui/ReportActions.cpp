// ReportActions: the report and export commands of the results page and the "&Utskrift" menu.
#include "ui/ReportActions.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLayout>
#include <QLocale>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "model/FileSystem.h"
#include "report/Exports.h"
#include "ui/Platform.h"
#include "ui/Settings.h"
#include "paint/ReportPainter.h"

const char* const kNoPrinterMessage =
    "Det finns ingen skrivare installerad.\r\nInstallera en skrivare eller använd \"Spara som PDF...\".";

namespace {
const char* const kPrintFailedMessage = "Rapporten kunde inte skrivas ut.";

// The group's own layout, or a new vertical one when it has none.
QBoxLayout* groupLayout(QGroupBox* box)
{
    if (auto* l = qobject_cast<QBoxLayout*>(box->layout())) return l;
    if (!box->layout()) return new QVBoxLayout(box);
    return nullptr;
}

void addTo(QGroupBox* box, QBoxLayout* l, QWidget* w)
{
    if (l)
        l->addWidget(w);
    else
        box->layout()->addWidget(w);
}
}  // namespace

ReportActions::ReportActions(ReportContext ctx, QObject* parent) : QObject(parent), ctx_(std::move(ctx)) {}

ReportActions::~ReportActions() = default;

QPrinter& ReportActions::printer()
{
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setPageSize(QPageSize(QPageSize::A4));
        printer_->setPageOrientation(QPageLayout::Portrait);
        printer_->setDocName(QStringLiteral("Skenbrus"));
    }
    return *printer_;
}

void ReportActions::fillGroups(QGroupBox* utskrift, QGroupBox* exportGroup)
{
    if (utskrift) {
        QBoxLayout* l = groupLayout(utskrift);
        RadioButton_Standard_ = new QRadioButton(QStringLiteral("Sta&ndard rapport"), utskrift);
        RadioButton_Standard_->setObjectName(QStringLiteral("RadioButton_Standard"));
        RadioButton_Standard_->setChecked(true);
        RadioButton_Del_ = new QRadioButton(QStringLiteral("D&elresultat rapport"), utskrift);
        RadioButton_Del_->setObjectName(QStringLiteral("RadioButton_Del"));
        CheckBox_Situationsplan_ = new QCheckBox(QStringLiteral("Med situationsplan"), utskrift);
        CheckBox_Situationsplan_->setObjectName(QStringLiteral("CheckBox_Situationsplan"));
        CheckBox_Situationsplan_->setToolTip(QStringLiteral("Rapporten får situationsplanen som andra sida"));
        Button_Granska_ = new QPushButton(QStringLiteral("&Granska"), utskrift);
        Button_Granska_->setObjectName(QStringLiteral("Button_Granska"));
        Button_Granska_->setToolTip(QStringLiteral("Klicka här för att granska rapporten på skärmen"));
        Button_Skrivare_ = new QPushButton(QStringLiteral("&Skrivare"), utskrift);
        Button_Skrivare_->setObjectName(QStringLiteral("Button_Skrivare"));
        Button_Skrivare_->setToolTip(QStringLiteral("Klicka här för att skriva ut rapporten på skrivare"));
        Button_SparaPdf_ = new QPushButton(QStringLiteral("Spara som PDF..."), utskrift);
        Button_SparaPdf_->setObjectName(QStringLiteral("Button_SparaPdf"));
        Button_SparaPdf_->setToolTip(QStringLiteral("Klicka här för att spara rapporten som PDF-fil"));
        for (QWidget* w : std::initializer_list<QWidget*>{RadioButton_Standard_, RadioButton_Del_, CheckBox_Situationsplan_, Button_Granska_,
                                                          Button_Skrivare_, Button_SparaPdf_})
            addTo(utskrift, l, w);
        showSitePlanSetting();
        connect(CheckBox_Situationsplan_, &QCheckBox::toggled, this, [this](bool on) {
            if (settings_) settings_->setSitePlanInReport(on);
        });
        connect(Button_Granska_, &QPushButton::clicked, this, [this] { preview(true); });
        connect(Button_Skrivare_, &QPushButton::clicked, this, [this] { print(); });
        connect(Button_SparaPdf_, &QPushButton::clicked, this, [this] { savePdf(); });
    }
    if (exportGroup) {
        QBoxLayout* l = groupLayout(exportGroup);
        auto button = [&](const char* name, const char* text, const char* hint) {
            auto* b = new QPushButton(QString::fromUtf8(text), exportGroup);
            b->setObjectName(QString::fromUtf8(name));
            b->setToolTip(QString::fromUtf8(hint));
            addTo(exportGroup, l, b);
            return b;
        };
        Button_Res2cp_ = button("Button_Res2cp", "R&esultat", "Klicka här för att skicka resultatet till klippbordet");
        Button_Tag2cp_ = button("Button_Tag2cp", "&Tågdata", "Klicka här för att skicka tågdata till klippbordet");
        Button_Str2cp_ = button("Button_Str2cp", "Strä&ckdata", "Klicka här för att skicka sträckdata till klippbordet");
        connect(Button_Res2cp_, &QPushButton::clicked, this, &ReportActions::copyResults);
        connect(Button_Tag2cp_, &QPushButton::clicked, this, &ReportActions::copyTrainData);
        connect(Button_Str2cp_, &QPushButton::clicked, this, &ReportActions::copyStretchData);
    }
    applyEnabled();
}

void ReportActions::attachMenu(QAction* printerSetupItem, QMenu* printMenu, QAction* printItem, QAction* previewItem)
{
    Meny_Arkiv_SkrivarInstallning_ = printerSetupItem;
    Meny_Resultat_Utskrift_Skrivare_ = printItem;
    Meny_Resultat_Utskrift_Granska_ = previewItem;
    if (printerSetupItem) connect(printerSetupItem, &QAction::triggered, this, [this] { printerSetup(); });
    if (printItem) connect(printItem, &QAction::triggered, this, [this] { print(); });
    if (previewItem) connect(previewItem, &QAction::triggered, this, [this] { preview(false); });
    if (printMenu) {
        Meny_Resultat_Utskrift_SparaPdf_ = new QAction(QStringLiteral("Spara som &PDF..."), printMenu);
        Meny_Resultat_Utskrift_SparaPdf_->setObjectName(QStringLiteral("Meny_Resultat_Utskrift_SparaPdf"));
        // After "&Granska": the visible items stay together, the hidden "&Exportera" last.
        QAction* before = nullptr;
        const QList<QAction*> items = printMenu->actions();
        const int at = previewItem ? items.indexOf(previewItem) : -1;
        if (at >= 0 && at + 1 < items.size()) before = items.at(at + 1);
        printMenu->insertAction(before, Meny_Resultat_Utskrift_SparaPdf_);
        connect(Meny_Resultat_Utskrift_SparaPdf_, &QAction::triggered, this, [this] { savePdf(); });
    }
    applyEnabled();
}

void ReportActions::setResultsCurrent(bool current)
{
    resultsCurrent_ = current;
    // The settings are read once the window has them; the results page shows them from then on.
    if (current) showSitePlanSetting();
    applyEnabled();
}

void ReportActions::applyEnabled()
{
    for (QPushButton* b : {Button_Granska_, Button_Skrivare_, Button_SparaPdf_})
        if (b) b->setEnabled(resultsCurrent_);
    for (QAction* a : {Meny_Resultat_Utskrift_Skrivare_, Meny_Resultat_Utskrift_Granska_, Meny_Resultat_Utskrift_SparaPdf_})
        if (a) a->setEnabled(resultsCurrent_);
}

ReportKind ReportActions::reportKind() const
{
    return RadioButton_Del_ && RadioButton_Del_->isChecked() ? ReportKind::Partial : ReportKind::Standard;
}

ReportInput ReportActions::input()
{
    const std::string& file = ctx_.doc.currentFileName;
    return ReportInput{ctx_.record,
                       ctx_.results,
                       ctx_.doc.segmentLength,
                       QDir::toNativeSeparators(QString::fromStdString(file)).toStdString(),
                       SKENBRUS_VERSION_TEXT,
                       localDateNow(),  // year first whatever the locale, as in the command-line tool
                       ctx_.decimalSeparator};
}

ReportPage ReportActions::buildPage() { return buildReport(reportKind(), input()); }

bool ReportActions::withSitePlan() const { return CheckBox_Situationsplan_ && CheckBox_Situationsplan_->isChecked(); }

void ReportActions::showSitePlanSetting()
{
    AppSettings* s = settings_;
    if (!s || !CheckBox_Situationsplan_) return;
    const QSignalBlocker quiet(CheckBox_Situationsplan_);
    CheckBox_Situationsplan_->setChecked(s->sitePlanInReport());
}

void ReportActions::paintPages(QPainter& painter, QPrinter* target)
{
    paintReportPage(painter, buildPage());
    if (!withSitePlan()) return;
    target->newPage();
    paintSitePlanSheet(painter, SitePlanSheet{buildSitePlanPageHeader(input()), buildSitePlan(ctx_.record)});
}

void ReportActions::paintOn(QPrinter* target)
{
    QPainter painter;
    if (!painter.begin(target)) {
        showMessage(ctx_.dialogParent, QString::fromUtf8(kPrintFailedMessage), MsgIcon::Error);
        return;
    }
    paintPages(painter, target);
    if (!painter.end()) showMessage(ctx_.dialogParent, QString::fromUtf8(kPrintFailedMessage), MsgIcon::Error);
}

void ReportActions::preview(bool fromButton)
{
    if (!resultsCurrent_) return;
    if (fromButton && ctx_.segmentControl) ctx_.doc.segmentLength = ctx_.segmentControl->value();
    QPrintPreviewDialog dlg(&printer(), ctx_.dialogParent);
    dlg.setObjectName(QStringLiteral("Form_Granska"));
    dlg.setWindowTitle(QStringLiteral("Skenbrus - Granska"));
    // The preview paints on its own device; a failure there has no printer to report.
    connect(&dlg, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) {
        QPainter painter(p);
        paintPages(painter, p);
    });
    platform().execDialog(dlg);
}

void ReportActions::print()
{
    if (!resultsCurrent_) return;
    if (!platform().printerInstalled()) {
        showMessage(ctx_.dialogParent, QString::fromUtf8(kNoPrinterMessage), MsgIcon::Warning);
        return;
    }
    QPrinter& p = printer();
    QPrintDialog dlg(&p, ctx_.dialogParent);
    dlg.setObjectName(QStringLiteral("Form_Skrivare"));
    dlg.setWindowTitle(QStringLiteral("Skriv ut"));
    // One or two pages, nothing to choose from.
    dlg.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dlg.setOption(QAbstractPrintDialog::PrintSelection, false);
    if (platform().execDialog(dlg) != QDialog::Accepted) return;
    paintOn(&p);
}

void ReportActions::savePdf()
{
    if (!resultsCurrent_) return;
    const std::string& file = ctx_.doc.currentFileName;
    QString suggestion;
    if (!file.empty()) {
        const QFileInfo info(QString::fromStdString(file));
        suggestion = info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".pdf");
    }
    QString path = platform().saveFileName(ctx_.dialogParent, suggestion, QStringLiteral("PDF-filer (*.pdf)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
    std::unique_ptr<SitePlanSheet> sheet;
    if (withSitePlan())
        sheet = std::make_unique<SitePlanSheet>(SitePlanSheet{buildSitePlanPageHeader(input()), buildSitePlan(ctx_.record)});
    const std::string error = writeReportPdf(QDir::toNativeSeparators(path).toStdString(), buildPage(), sheet.get());
    if (!error.empty()) {
        showMessage(ctx_.dialogParent, QString::fromStdString(error), MsgIcon::Error);
        return;
    }
    emit statusMessage(QString::fromUtf8("Rapporten sparad i ") + QDir::toNativeSeparators(path) + QLatin1Char('.'));
}

void ReportActions::printerSetup()
{
    QPageSetupDialog dlg(&printer(), ctx_.dialogParent);
    dlg.setObjectName(QStringLiteral("Form_SkrivarInstallning"));
    dlg.setWindowTitle(QStringLiteral("Skrivarinställning"));
    platform().execDialog(dlg);
}

void ReportActions::putOnClipboard(const std::string& text, const char* what)
{
    QClipboard* cb = QGuiApplication::clipboard();
    cb->clear();
    cb->setText(QString::fromStdString(text));
    emit statusMessage(QString::fromUtf8(what) + QString::fromUtf8(" kopierat till urklipp."));
}

void ReportActions::copyResults()
{
    putOnClipboard(exportResults(ctx_.record, ctx_.results, ctx_.decimalSeparator), "Resultat");
}

void ReportActions::copyTrainData() { putOnClipboard(exportTrainData(ctx_.record), "Tågdata"); }

void ReportActions::copyStretchData()
{
    putOnClipboard(exportStretchData(ctx_.record, ctx_.results, ctx_.decimalSeparator), "Sträckdata");
}
