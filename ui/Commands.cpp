// The commands of the main window: menus and shortcuts, the file commands and the closing
// question, the country menu, the option check boxes with their dialogs, the calculation with
// its progress window and results page, the completeness jump, help and About.

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>

#include "calc/RunRequest.h"
#include "model/Cp1252.h"
#include "model/ProjectFile.h"
#include "ui/About.h"
#include "ui/Berakning.h"
#include "ui/FasadAvst.h"
#include "ui/Inneniva.h"
#include "ui/NumberText.h"
#include "ui/Platform.h"
#include "ui/ResultPage.h"
#include "ui/Settings.h"
#include "ui/StretchTable.h"
#include "ui/TrainTable.h"
#include "ui/main.h"

namespace {
const QString kFilter = QStringLiteral("Skenbrus Databas (*.sdb)");
const QString kTitle = QStringLiteral("Skenbrus");

// Thrown from the progress callback when "Avbryt" was pressed: the run stops between
// stretches or train passes and publishes nothing.
struct CalculationCancelled {};

// Right-button presses on the option boxes open their dialogs.
class RightButtonFilter : public QObject {
public:
    RightButtonFilter(std::function<void(QObject*)> f, QObject* parent) : QObject(parent), f_(std::move(f)) {}

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(e)->button() == Qt::RightButton) {
            f_(o);
            return true;
        }
        return QObject::eventFilter(o, e);
    }

private:
    std::function<void(QObject*)> f_;
};

QAction* addItem(QMenu* menu, const char* name, const char* text, QKeySequence key = {})
{
    QAction* a = menu->addAction(QString::fromUtf8(text));
    a->setObjectName(QString::fromLatin1(name));
    if (!key.isEmpty()) a->setShortcut(key);
    return a;
}

QString fileOnly(const std::string& path) { return QString::fromStdString(fileNameOnly(path)); }
}  // namespace

// ---------------------------------------------------------------------------------------
// Menus

void TForm_Skenbrus::buildMenus()
{
    Form_About = new TForm_About(this);
    Form_Berakning = new TForm_Berakning(this);

    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("Meny"));

    QMenu* arkiv = bar->addMenu(QStringLiteral("&Arkiv"));
    arkiv->setObjectName(QStringLiteral("Meny_Arkiv"));
    Meny_Arkiv_Hamta = addItem(arkiv, "Meny_Arkiv_Hamta", "&Hämta...", QKeySequence(Qt::CTRL | Qt::Key_H));
    // The one real Ctrl+S: "&Skrivare" only shows the key.
    Meny_Arkiv_Spara = addItem(arkiv, "Meny_Arkiv_Spara", "&Spara", QKeySequence(Qt::CTRL | Qt::Key_S));
    Meny_Arkiv_SparaSom = addItem(arkiv, "Meny_Arkiv_SparaSom", "Spara S&om...");
    Meny_Arkiv_Ny = addItem(arkiv, "Meny_Arkiv_Ny", "&Ny...");
    arkiv->addSeparator();
    Meny_Arkiv_SkrivarInstallning = addItem(arkiv, "Meny_Arkiv_SkrivarInstallning", "Skrivar&Inställning...");
    Meny_Arkiv_Land = arkiv->addMenu(QString::fromUtf8("Ändra Land"));
    Meny_Arkiv_Land->setObjectName(QStringLiteral("Meny_Arkiv_Land"));
    Meny_Arkiv_Land_Norge = addItem(Meny_Arkiv_Land, "Meny_Arkiv_Land_Norge", "Norge");
    Meny_Arkiv_Land_Sverige = addItem(Meny_Arkiv_Land, "Meny_Arkiv_Land_Sverige", "Sverige");
    Meny_Arkiv_Land_Finland = addItem(Meny_Arkiv_Land, "Meny_Arkiv_Land_Finland", "Finland");
    // Exactly one country is ticked; choosing the ticked one leaves it ticked.
    auto* countries = new QActionGroup(this);
    countries->setExclusive(true);
    int c = 0;
    for (QAction* a : {Meny_Arkiv_Land_Norge, Meny_Arkiv_Land_Sverige, Meny_Arkiv_Land_Finland}) {
        a->setCheckable(true);
        countries->addAction(a);
        a->setData(c);
        connect(a, &QAction::triggered, this, [this, c] { chooseCountry(c); });
        ++c;
    }
    arkiv->addSeparator();
    Meny_Arkiv_Avsluta = addItem(arkiv, "Meny_Arkiv_Avsluta", "&Avsluta");

    Meny_Resultat = bar->addMenu(QStringLiteral("&Resultat"));
    Meny_Resultat->setObjectName(QStringLiteral("Meny_Resultat"));
    Meny_Resultat_Berakning = addItem(Meny_Resultat, "Meny_Resultat_Berakning", "&Beräkning");
    Meny_Resultat_Utskrift = Meny_Resultat->addMenu(QStringLiteral("&Utskrift"));
    Meny_Resultat_Utskrift->setObjectName(QStringLiteral("Meny_Resultat_Utskrift"));
    Meny_Resultat_Utskrift_Skrivare = addItem(Meny_Resultat_Utskrift, "Meny_Resultat_Utskrift_Skrivare", "&Skrivare\tCtrl+S");
    Meny_Resultat_Utskrift_Granska =
        addItem(Meny_Resultat_Utskrift, "Meny_Resultat_Utskrift_Granska", "&Granska", QKeySequence(Qt::CTRL | Qt::Key_G));
    Meny_Resultat_Utskrift_Exportera = addItem(Meny_Resultat_Utskrift, "Meny_Resultat_Utskrift_Exportera", "&Exportera",
                                               QKeySequence(Qt::CTRL | Qt::Key_E));
    Meny_Resultat_Utskrift_Exportera->setVisible(false);
    Meny_Resultat_Testa = addItem(Meny_Resultat, "Meny_Resultat_Testa", "&Testa, gå till fält som saknar värde");

    Meny_Avsluta = bar->addAction(QStringLiteral("A&vsluta"));
    Meny_Avsluta->setObjectName(QStringLiteral("Meny_Avsluta"));

    QMenu* hjalp = bar->addMenu(QString::fromUtf8("&Hjälp"));
    hjalp->setObjectName(QStringLiteral("Meny_Hjalp"));
    Meny_Hjalp_Innehall = addItem(hjalp, "Meny_Hjalp_Innehall", "&Innehåll");
    Meny_Hjalp_AktuelltFalt = addItem(hjalp, "Meny_Hjalp_AktuelltFalt", "&Hjälp om aktuellt fält", QKeySequence(Qt::Key_F1));
    Meny_Hjalp_Om = addItem(hjalp, "Meny_Hjalp_Om", "&Om");

    connect(Meny_Arkiv_Hamta, &QAction::triggered, this, [this] { openCommand(); });
    connect(Meny_Arkiv_Spara, &QAction::triggered, this, [this] { saveCommand(); });
    connect(Meny_Arkiv_SparaSom, &QAction::triggered, this, [this] { saveAsCommand(); });
    connect(Meny_Arkiv_Ny, &QAction::triggered, this, [this] { newCommand(); });
    connect(Meny_Arkiv_Avsluta, &QAction::triggered, this, &QWidget::close);
    connect(Meny_Avsluta, &QAction::triggered, this, &QWidget::close);
    connect(Meny_Resultat_Berakning, &QAction::triggered, this, [this] {
        if (!finishEditing()) return;
        Button_BerakningClick();
        // Enabled again by the next completeness check, that is by the next edit.
        Meny_Resultat_Berakning->setEnabled(false);
    });
    connect(Meny_Resultat_Testa, &QAction::triggered, this, &TForm_Skenbrus::gotoFirstMissingInput);
    connect(Meny_Hjalp_Innehall, &QAction::triggered, this, &TForm_Skenbrus::showHelpContents);
    connect(Meny_Hjalp_AktuelltFalt, &QAction::triggered, this, &TForm_Skenbrus::showHelpForFocusedControl);
    connect(Meny_Hjalp_Om, &QAction::triggered, this, &TForm_Skenbrus::showAbout);

    // The status line describes input fields; on the results page it has nothing to say.
    connect(PageControl, &QTabWidget::currentChanged, this, [this](int i) {
        if (PageControl->widget(i) == Pagecontrol_Resultat) setStatus(QString());
    });

    Meny_Resultat_Berakning->setEnabled(false);
    showCountryTicks();
    updateReportCommands();
}

void TForm_Skenbrus::showCountryTicks()
{
    if (!Meny_Arkiv_Land_Norge) return;
    for (QAction* a : {Meny_Arkiv_Land_Norge, Meny_Arkiv_Land_Sverige, Meny_Arkiv_Land_Finland})
        a->setChecked(a->data().toInt() == tickedCountry_);
}

void TForm_Skenbrus::chooseCountry(int country)
{
    country = std::clamp(country, 0, 2);
    if (country != tickedCountry_) {
        tickedCountry_ = country;
        record_.country = country;
        if (settings_) settings_->setLand(AppSettings::countryName(country));
    }
    showCountryTicks();
}

void TForm_Skenbrus::updateReportCommands()
{
    if (!Meny_Resultat_Utskrift) return;
    // Printing never shows results of other inputs.
    const bool on = complete_ && resultsCurrent_;
    Meny_Resultat_Utskrift->setEnabled(on);
    Meny_Resultat_Utskrift_Skrivare->setEnabled(on);
    Meny_Resultat_Utskrift_Granska->setEnabled(on);
    Meny_Resultat_Utskrift_Exportera->setEnabled(on);
}

void TForm_Skenbrus::setResultsCurrent(bool current)
{
    if (current != resultsCurrent_) {
        resultsCurrent_ = current;
        updateReportCommands();
        emit resultsCurrentChanged(current);
    }
}

void TForm_Skenbrus::hideResultsPage()
{
    PageControl->setTabVisible(PageControl->indexOf(Pagecontrol_Resultat), false);
    setResultsCurrent(false);
}

// ---------------------------------------------------------------------------------------
// Option check boxes

void TForm_Skenbrus::connectOptionBoxes()
{
    Form_Inneniva = new TForm_Inneniva(record_, doc_, this);
    Form_FasadAvst = new TForm_FasadAvst(record_, doc_, this);
    indoorDialog = [this] { Form_Inneniva->execFor(); };
    facadeDialog = [this] { Form_FasadAvst->execFor(); };
    // F1 in the dialogs shows their own topic.
    for (QDialog* d : {static_cast<QDialog*>(Form_Inneniva), static_cast<QDialog*>(Form_FasadAvst)}) {
        auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), d);
        connect(f1, &QShortcut::activated, d, [d] { platform().showHelp(d, d->property("helpContext").toInt()); });
    }
    connect(CheckBox_Inneniva, &QCheckBox::clicked, this, [this](bool on) { optionBoxClicked(CheckBox_Inneniva, on); });
    connect(CheckBox_Korrektion, &QCheckBox::clicked, this,
            [this](bool on) { optionBoxClicked(CheckBox_Korrektion, on); });
    // Hidden on the results page, the boxes keep their room so the panel does not jump.
    for (QCheckBox* box : {CheckBox_Inneniva, CheckBox_Korrektion}) {
        QSizePolicy sp = box->sizePolicy();
        sp.setRetainSizeWhenHidden(true);
        box->setSizePolicy(sp);
    }
    auto* filter = new RightButtonFilter(
        [this](QObject* o) { openOptionDialog(o == CheckBox_Inneniva ? CheckBox_Inneniva : CheckBox_Korrektion); }, this);
    CheckBox_Inneniva->installEventFilter(filter);
    CheckBox_Korrektion->installEventFilter(filter);
}

void TForm_Skenbrus::setOptionBoxQuietly(QCheckBox* box, bool on)
{
    bool& suppress = box == CheckBox_Inneniva ? suppressIndoorDialog_ : suppressFacadeDialog_;
    suppress = on;
    box->setChecked(on);
    suppress = false;
}

void TForm_Skenbrus::showIndoorDialog()
{
    if (indoorDialog) indoorDialog();
}

void TForm_Skenbrus::showFacadeDistanceDialog()
{
    if (facadeDialog) facadeDialog();
    // Without a distance of 0.5 to 20 m (the dialog was given up) the correction is off, as
    // the project reads back from its file.
    if (record_.facadeReflectionOn == 1 && !(record_.facadeDistance >= 0.5f && record_.facadeDistance <= 20.0f)) {
        record_.facadeReflectionOn = 0;
        setOptionBoxQuietly(CheckBox_Korrektion, false);
    }
}

void TForm_Skenbrus::optionBoxClicked(QCheckBox* box, bool on)
{
    const bool indoor = box == CheckBox_Inneniva;
    std::int32_t& flag = indoor ? record_.indoorLevelOn : record_.facadeReflectionOn;
    if (!finishEditing()) {
        // The pending cell value was refused: the box goes back to what the record holds.
        setOptionBoxQuietly(box, flag == 1);
        return;
    }
    flag = on ? 1 : 0;
    if (on) {
        bool& suppress = indoor ? suppressIndoorDialog_ : suppressFacadeDialog_;
        if (suppress)
            suppress = false;
        else if (indoor)
            showIndoorDialog();
        else
            showFacadeDistanceDialog();
    }
    doc_.modified = true;
    refreshCommandState();
}

void TForm_Skenbrus::openOptionDialog(QCheckBox* box)
{
    bool& suppress = box == CheckBox_Inneniva ? suppressIndoorDialog_ : suppressFacadeDialog_;
    if (suppress) {
        suppress = false;
        return;
    }
    if (!finishEditing()) return;
    const ProjectRecord before = record_;
    if (box == CheckBox_Inneniva)
        showIndoorDialog();
    else
        showFacadeDistanceDialog();
    if (!(record_ == before)) {
        doc_.modified = true;
        refreshCommandState();
    }
}

// ---------------------------------------------------------------------------------------
// Files

QString TForm_Skenbrus::startFolder() const { return settings_ ? settings_->currentDir() : QString(); }

void TForm_Skenbrus::rememberFolder(const QString& path)
{
    if (settings_) settings_->setCurrentDir(QString::fromStdString(folderOf(path.toStdString())));
}

void TForm_Skenbrus::showTitle() { setWindowTitle(captionText()); }

bool TForm_Skenbrus::writeTo(const QString& path)
{
    try {
        writeProject(path.toStdString(), record_);
    } catch (const std::exception& e) {
        platform().message(this, kTitle, QString::fromStdString(e.what()), MsgIcon::Error, MsgButtons::Ok);
        return false;
    }
    return true;
}

bool TForm_Skenbrus::writeStamped(const QString& path)
{
    // The file holds the time of its own save (the same form as the stamp of a new
    // project: date and time, 19 characters); a failed write keeps the old stamp.
    const Text19 before = record_.lastUpdate;
    record_.lastUpdate.setBytes(currentTimestamp());
    if (!writeTo(path)) {
        record_.lastUpdate = before;
        return false;
    }
    showInfoTexts();
    return true;
}

bool TForm_Skenbrus::readFile(const QString& path)
{
    ProjectRecord read;
    try {
        read = readProject(path.toStdString());
    } catch (const ProjectFileError& e) {
        const bool invalid = e.kind == ProjectFileError::Kind::Invalid;
        platform().message(this, kTitle, QString::fromStdString(e.what()), invalid ? MsgIcon::Warning : MsgIcon::Error,
                           MsgButtons::Ok);
        return false;
    }
    record_ = read;
    doc_.currentFileName = QFileInfo(path).absoluteFilePath().toStdString();
    // A line-of-sight state left by another project must not block this one's calculation.
    profileCheck_.ProfileState = 0;
    showProject();
    showTitle();
    doc_.modified = false;
    chooseCountry(record_.country);
    return true;
}

bool TForm_Skenbrus::openCommand()
{
    if (!finishEditing()) return false;
    const QString path = platform().openFileName(this, startFolder(), kFilter);
    if (path.isEmpty()) return false;
    if (!QFileInfo(path).isFile()) {
        showMessage(this, QString::fromUtf8("Du måste välja en giltig skenbrus-databasfil!"));
        return false;
    }
    const bool wasModified = doc_.modified;
    bool answeredNo = false;
    if (doc_.modified) {
        // Also a project that was never saved is asked about: its work is not lost silently.
        const QString text = doc_.currentFileName.empty()
                                 ? QString::fromUtf8("Vill du spara ändringar?")
                                 : QString::fromUtf8("Vill du spara ändringar i ") + fileOnly(doc_.currentFileName) + '?';
        const MsgAnswer a = platform().message(this, kTitle, text, MsgIcon::Question, MsgButtons::YesNoCancel);
        if (a == MsgAnswer::Yes) {
            if (doc_.currentFileName.empty()) {
                if (!saveAsCommand()) return false;
            } else {
                if (!writeTo(QString::fromStdString(doc_.currentFileName))) return false;
                doc_.modified = false;
            }
        } else if (a == MsgAnswer::No) {
            doc_.modified = false;
            answeredNo = true;
        } else {
            return false;
        }
    }
    const bool ok = readFile(path);
    if (ok)
        rememberFolder(path);
    else if (answeredNo)
        doc_.modified = wasModified;
    PageControl->setCurrentWidget(PageControl_TagInfo);
    hideResultsPage();
    return ok;
}

bool TForm_Skenbrus::saveCommand()
{
    if (!finishEditing()) return false;
    if (doc_.currentFileName.empty()) return saveAsCommand();
    const QString path = QString::fromStdString(doc_.currentFileName);
    if (!writeStamped(path)) return false;
    doc_.modified = false;
    rememberFolder(path);
    return true;
}

bool TForm_Skenbrus::saveAsCommand()
{
    if (!finishEditing()) return false;
    const QString chosen = platform().saveFileName(this, startFolder(), kFilter);
    if (chosen.isEmpty()) return false;
    const QFileInfo info(chosen);
    if (!info.absoluteDir().exists()) {
        showMessage(this, QString::fromUtf8("Du måste spara filen i en existerande katalog!"));
        return false;
    }
    const QString path = info.absoluteFilePath();
    // The name becomes the project's only once the file holds it.
    if (!writeStamped(path)) return false;
    doc_.currentFileName = path.toStdString();
    doc_.modified = false;
    rememberFolder(path);
    showTitle();
    return true;
}

bool TForm_Skenbrus::newCommand()
{
    if (!finishEditing()) return false;
    if (doc_.modified) {
        const QString text = doc_.currentFileName.empty()
                                 ? QString::fromUtf8("Vill du spara ändringar?")
                                 : QString::fromUtf8("Vill du spara ändringar i ") +
                                       QString::fromStdString(doc_.currentFileName) + '?';
        const MsgAnswer a = platform().message(this, kTitle, text, MsgIcon::Question, MsgButtons::YesNoCancel);
        if (a == MsgAnswer::Cancel) return false;
        if (a == MsgAnswer::Yes) {
            // A save that does not happen keeps the project: New stops.
            if (doc_.currentFileName.empty()) {
                if (!saveAsCommand()) return false;
            } else {
                if (!writeTo(QString::fromStdString(doc_.currentFileName))) return false;
                doc_.modified = false;
            }
        } else {
            doc_.modified = false;
        }
    }
    doc_.currentFileName.clear();
    resetProjectForNew(record_, tickedCountry_);
    profileCheck_.ProfileState = 0;
    showProject();
    doc_.modified = false;
    showTitle();
    PageControl->setCurrentWidget(PageControl_TagInfo);
    hideResultsPage();
    return true;
}

bool TForm_Skenbrus::confirmClose()
{
    if (!finishEditing()) return false;
    if (!doc_.modified) return true;
    const QString text = doc_.currentFileName.empty()
                             ? QString::fromUtf8("Data har ändrats. Vill du spara innan programmet stängs?")
                             : QString::fromUtf8("Data har ändrats i ") + fileOnly(doc_.currentFileName) +
                                   QString::fromUtf8(". Vill du spara innan programmet stängs?");
    const MsgAnswer a = platform().message(this, kTitle, text, MsgIcon::Question, MsgButtons::YesNoCancel);
    if (a == MsgAnswer::No) return true;
    if (a != MsgAnswer::Yes) return false;
    // The window stays open when the project could not be saved.
    if (doc_.currentFileName.empty()) return saveAsCommand();
    if (!writeTo(QString::fromStdString(doc_.currentFileName))) return false;
    doc_.modified = false;
    return true;
}

void TForm_Skenbrus::closeEvent(QCloseEvent* e)
{
    if (!confirmClose()) {
        e->ignore();
        return;
    }
    if (Form_About) Form_About->hide();
    // Every setting has been written when it changed; the window lets go of the file.
    settings_ = nullptr;
    e->accept();
}

// ---------------------------------------------------------------------------------------
// Calculation

void TForm_Skenbrus::runCalculation()
{
    if (!finishEditing()) return;
    // The segment-length control has followed the rule at every edit; the boxes are the window's.
    RunRequest q;
    q.segmentSetting = doc_.segmentLength;
    q.segmentSettled = true;
    q.boxesFromProject = false;
    q.facadeBoxChecked = CheckBox_Korrektion->isChecked();
    q.indoorBoxChecked = CheckBox_Inneniva->isChecked();
    q.trace.equivalent = doc_.traceEquivalent;
    q.trace.maximum = doc_.traceMaximum;
    q.trace.decimalSeparator = decimalSeparator().toLatin1();
    q.message = [this](const RunMessage& m) {
        if (m.beep) platform().beep();
        showMessage(this, QString::fromStdString(m.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    };
    q.progress = [this](int percent) {
        Form_Berakning->setPercent(percent);
        if (Form_Berakning->cancelRequested()) throw CalculationCancelled{};
    };

    Form_Berakning->start();
    RunOutcome out;
    bool cancelled = false;
    try {
        out = RunProject(record_, factors_, results_, q);
    } catch (const CalculationCancelled&) {
        // Stopped by "Avbryt": the previous results and the record stay as they were.
        cancelled = true;
    }
    Form_Berakning->finish();
    if (!cancelled && !out.error.empty())
        platform().message(this, kTitle, QString::fromStdString(out.error), MsgIcon::Error, MsgButtons::Ok);
    // The keyboard goes back to this window (also without a window manager that would do it).
    if (isVisible()) {
        activateWindow();
        QApplication::setActiveWindow(this);
    }
    if (cancelled || !out.done()) return;

    // The run may have written the screen effects and a facade distance of 0.
    stretchModel->refreshAll();
    if (!results_.RadiusError) {
        resultPage->showResults(record_, results_);
        PageControl->setTabVisible(PageControl->indexOf(Pagecontrol_Resultat), true);
        PageControl->setCurrentWidget(Pagecontrol_Resultat);
        Button_Berakning->setEnabled(false);
        Meny_Resultat_Berakning->setEnabled(false);
        setResultsCurrent(true);
    }
    PageControl->setProperty("helpContext", 80);
}

// ---------------------------------------------------------------------------------------
// Completeness jump, help, About

void TForm_Skenbrus::gotoFirstMissingInput()
{
    if (!finishEditing()) return;
    const MissingInput m = firstMissingInput(record_);
    if (m.complete()) return;
    const bool train = m.table == MissingInput::Table::Train;
    GridView* view = train ? OvcTable_TagTyp : OvcTable_DelStrackor;
    PageControl->setCurrentWidget(train ? PageControl_TagInfo : PageControl_Delstrackor);
    view->setFocus();
    view->setCurrentCell(m.row, m.column);
}

void TForm_Skenbrus::showHelpContents() { platform().showHelp(this, 0); }

void TForm_Skenbrus::showHelpForFocusedControl() { platform().showHelp(this, focusedHelpContext()); }

void TForm_Skenbrus::showAbout() { Form_About->showAbout(); }
