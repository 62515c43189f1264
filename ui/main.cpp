#include "ui/main.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "model/Cp1252.h"
#include "model/ProjectFile.h"
#include "ui/FasadAvst.h"
#include "ui/Inneniva.h"
#include "ui/Medelhojd.h"
#include "ui/Platform.h"
#include "ui/ResultCommands.h"
#include "ui/ResultPage.h"
#include "ui/Settings.h"
#include "ui/SitePlanPage.h"
#include "ui/StretchTable.h"
#include "ui/StudyDialog.h"
#include "ui/TrainTable.h"
#include "ui/Vaxlar.h"

namespace {
constexpr int kInfoRows = 4;
const char* const kInfoTitles[kInfoRows] = {"Objekt", "Beskrivning", "Handläggare", "Senaste uppdatering"};
const char* const kInfoStatus[kInfoRows] = {"Objektnamn ....", "Projektbeskrivning ....",
                                            "Projektets handläggare ....",
                                            "Senaste uppdateringen av projektet ...."};
int infoLimit(int row) { return row == 4 ? 19 : 39; }

// The editor of the project texts holds at most what the record field holds.
class InfoDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& o, const QModelIndex& i) const override
    {
        QWidget* w = QStyledItemDelegate::createEditor(parent, o, i);
        if (auto* e = qobject_cast<QLineEdit*>(w)) e->setMaxLength(infoLimit(i.row() + 1));
        return w;
    }
};

// The picture of the logo panel: a stretch of track with sound spreading from it.
QPixmap logoPixmap()
{
    QPixmap pm(176, 64);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 64);
    g.setColorAt(0, QColor(0x1f, 0x4e, 0x79));
    g.setColorAt(1, QColor(0x16, 0x36, 0x55));
    p.setBrush(g);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(0.5, 0.5, 175, 63), 6, 6);
    // Sleepers and rails.
    p.setPen(QPen(QColor(0x9a, 0xa7, 0xb4), 2));
    for (int x = 14; x <= 50; x += 6) p.drawLine(x, 40, x + 4, 54);
    p.setPen(QPen(QColor(0xe0, 0xe6, 0xec), 2));
    p.drawLine(8, 42, 56, 42);
    p.drawLine(10, 50, 58, 50);
    // Sound waves.
    p.setPen(QPen(QColor(0xf2, 0xb1, 0x34), 2));
    for (int i = 0; i < 3; ++i) {
        const QRectF arc(22 - 8 * i, 18 - 8 * i, 24 + 16 * i, 24 + 16 * i);
        p.drawArc(arc, 30 * 16, 120 * 16);
    }
    QFont f = QApplication::font();
    f.setPointSize(15);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(66, 8, 108, 30), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Skenbrus"));
    f.setPointSize(7);
    f.setBold(false);
    p.setFont(f);
    p.setPen(QColor(0xc8, 0xd4, 0xe0));
    p.drawText(QRectF(66, 36, 108, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Buller från spårtrafik"));
    return pm;
}

void styleTable(QTableView* v)
{
    v->setAlternatingRowColors(true);
    v->setStyleSheet(QStringLiteral(
        "QTableView { gridline-color: #c8ced6; alternate-background-color: #f4f7fa; "
        "selection-background-color: #cfe3f7; selection-color: black; }"
        "QHeaderView::section { background: #e6ebf1; border: 0px; border-right: 1px solid #c8ced6; "
        "border-bottom: 1px solid #c8ced6; padding: 0px 6px; }"));
}
}  // namespace

// ---------------------------------------------------------------------------------------
// CountSpinner

CountSpinner::CountSpinner(const QString& editName, const QString& spinnerName, const QString& hint, QWidget* parent)
    : QWidget(parent)
{
    edit = new QLineEdit(this);
    edit->setObjectName(editName);
    edit->setReadOnly(true);
    edit->setFixedWidth(36);
    edit->setAlignment(Qt::AlignCenter);
    edit->setToolTip(hint);
    edit->installEventFilter(this);
    spinner = new QWidget(this);
    spinner->setObjectName(spinnerName);
    spinner->setToolTip(hint);
    up = new QToolButton(spinner);
    up->setObjectName(spinnerName + QStringLiteral("_Upp"));
    up->setArrowType(Qt::UpArrow);
    down = new QToolButton(spinner);
    down->setObjectName(spinnerName + QStringLiteral("_Ner"));
    down->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up, down}) {
        b->setFixedSize(18, 11);
        b->setToolTip(hint);
        b->setAutoRepeat(false);
    }
    auto* sv = new QVBoxLayout(spinner);
    sv->setContentsMargins(0, 0, 0, 0);
    sv->setSpacing(0);
    sv->addWidget(up);
    sv->addWidget(down);
    auto* h = new QHBoxLayout(this);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(1);
    h->addWidget(edit);
    h->addWidget(spinner);
    connect(up, &QToolButton::clicked, this, &CountSpinner::stepUp);
    connect(down, &QToolButton::clicked, this, &CountSpinner::stepDown);
}

bool CountSpinner::eventFilter(QObject* o, QEvent* e)
{
    if (o == edit && e->type() == QEvent::KeyPress) {
        const int k = static_cast<QKeyEvent*>(e)->key();
        if (k == Qt::Key_Up) {
            emit stepUp();
            return true;
        }
        if (k == Qt::Key_Down) {
            emit stepDown();
            return true;
        }
    }
    return QWidget::eventFilter(o, e);
}

// ---------------------------------------------------------------------------------------
// TForm_Skenbrus

TForm_Skenbrus::TForm_Skenbrus(QWidget* parent) : QMainWindow(parent), record_(startupDefaults())
{
    setObjectName(QStringLiteral("Form_Skenbrus"));
    trainModel = new TrainTableModel(record_, *this, this);
    stretchModel = new StretchTableModel(record_, *this, this);
    Form_Vaxlar = new TForm_Vaxlar(this);
    switchesDialog = [this](int s) { return Form_Vaxlar->execFor(record_, s); };
    Form_MedelHojd = new TForm_MedelHojd(CrossSectionContext{record_, doc_, factors_, profileCheck_}, this);
    Form_MedelHojd->refreshCommandState = [this] { refreshCommandState(); };
    crossSectionDialog = [this](int s) { Form_MedelHojd->editStretch(s); };
    calculation = [this] { runCalculation(); };

    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* v = new QVBoxLayout(central);
    v->setContentsMargins(6, 6, 6, 6);
    v->setSpacing(6);

    PageControl = new QTabWidget(central);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    PageControl->setStyleSheet(QStringLiteral("QTabBar::tab { min-width: 120px; padding: 4px 10px; }"));
    PageControl_TagInfo = buildTrainPage();
    PageControl_Delstrackor = buildStretchPage();
    resultPage = new ResultPage;
    // The results scroll within their page instead of making the window grow.
    auto* resultScroll = new QScrollArea;
    resultScroll->setFrameShape(QFrame::NoFrame);
    resultScroll->setWidgetResizable(true);
    resultScroll->setWidget(resultPage);
    Pagecontrol_Resultat = resultScroll;
    PageControl->addTab(PageControl_TagInfo, QStringLiteral("&TågInfo"));
    PageControl->addTab(PageControl_Delstrackor, QStringLiteral("&Delsträckor"));
    PageControl->addTab(Pagecontrol_Resultat, QStringLiteral("Resultat"));
    PageControl->setTabVisible(PageControl->indexOf(Pagecontrol_Resultat), false);
    PageControl->tabBar()->installEventFilter(this);
    v->addWidget(PageControl, 1);

    Edit_Status = new QLineEdit(central);
    Edit_Status->setObjectName(QStringLiteral("Edit_Status"));
    Edit_Status->setReadOnly(true);
    Edit_Status->setFocusPolicy(Qt::NoFocus);
    Edit_Status->setStyleSheet(QStringLiteral("QLineEdit { background: #f6f6f2; color: #1f3b57; }"));
    v->addWidget(Edit_Status);

    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(8);
    bottom->addWidget(buildInfoPanel(), 1);
    bottom->addWidget(buildLogoPanel());
    v->addLayout(bottom);

    connect(PageControl, &QTabWidget::currentChanged, this, [this](int i) {
        const bool results = PageControl->widget(i) == Pagecontrol_Resultat;
        CheckBox_Inneniva->setVisible(!results);
        CheckBox_Korrektion->setVisible(!results);
        QWidget* page = PageControl->widget(i);
        GridView* view = page == PageControl_TagInfo ? OvcTable_TagTyp
                         : page == PageControl_Delstrackor ? OvcTable_DelStrackor
                                                           : nullptr;
        PageControl->setProperty("helpContext", page == PageControl_TagInfo ? 50 : view ? 100 : 80);
        if (view && view->currentRow() > 0)
            setStatus(view->gridModel()->statusText(view->currentRow(), view->currentColumn()));
    });

    buildMenus();
    connectOptionBoxes();
    installReportCommands(*this);
    installSitePlanPage(*this);
    installStudyCommands(*this);
    resize(793, 556);
    showProject();
    setWindowTitle(captionText());
}

TForm_Skenbrus::~TForm_Skenbrus()
{
    // The views and dialogs work on the record: let them go before it does.
    delete OvcTable_TagTyp;
    delete OvcTable_DelStrackor;
    delete Form_MedelHojd;
    delete Form_Vaxlar;
    delete Form_Inneniva;
    delete Form_FasadAvst;
    Form_Inneniva = nullptr;
    Form_FasadAvst = nullptr;
    OvcTable_TagTyp = OvcTable_DelStrackor = nullptr;
    Form_MedelHojd = nullptr;
    Form_Vaxlar = nullptr;
}

QWidget* TForm_Skenbrus::buildTrainPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("PageControl_TagInfo"));
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(6, 6, 6, 6);
    auto* top = new QHBoxLayout;
    OvcSpinner1 = new CountSpinner(QStringLiteral("Edit1"), QStringLiteral("OvcSpinner1"),
                                   QStringLiteral("Tryck pil upp för att lägga till tåg och pil ner för att ta bort"),
                                   page);
    Edit1 = OvcSpinner1->edit;
    Edit1->setProperty("helpContext", 50);
    top->addWidget(new QLabel(QStringLiteral("Antal tåg"), page));
    top->addWidget(OvcSpinner1);
    top->addStretch();
    v->addLayout(top);
    OvcTable_TagTyp = new GridView(trainModel, page);
    OvcTable_TagTyp->setObjectName(QStringLiteral("OvcTable_TagTyp"));
    OvcTable_TagTyp->swallowDownInLastRow = true;
    styleTable(OvcTable_TagTyp);
    v->addWidget(OvcTable_TagTyp, 0, Qt::AlignLeft | Qt::AlignTop);
    v->addStretch();
    connect(OvcSpinner1, &CountSpinner::stepUp, this, &TForm_Skenbrus::OvcSpinner1UpClick);
    connect(OvcSpinner1, &CountSpinner::stepDown, this, &TForm_Skenbrus::OvcSpinner1DownClick);
    connect(OvcTable_TagTyp, &GridView::cellEntered, this, [this](int row, int col) {
        setStatus(trainModel->statusText(row, col));
        OvcTable_TagTyp->setProperty("helpContext", trainModel->helpContext(row));
    });
    OvcTable_TagTyp->installEventFilter(this);
    return page;
}

QWidget* TForm_Skenbrus::buildStretchPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("PageControl_Delstrackor"));
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(6, 6, 6, 6);
    auto* top = new QHBoxLayout;
    OvcSpinner2 = new CountSpinner(
        QStringLiteral("Edit2"), QStringLiteral("OvcSpinner2"),
        QStringLiteral("Tryck pil upp för att lägga till delsträcka och pil ner för att ta bort"), page);
    Edit2 = OvcSpinner2->edit;
    Edit2->setProperty("helpContext", 100);
    top->addWidget(new QLabel(QStringLiteral("Antal delsträckor"), page));
    top->addWidget(OvcSpinner2);
    top->addStretch();
    v->addLayout(top);
    OvcTable_DelStrackor = new GridView(stretchModel, page);
    OvcTable_DelStrackor->setObjectName(QStringLiteral("OvcTable_DelStrackor"));
    styleTable(OvcTable_DelStrackor);
    OvcTable_DelStrackor->extraKey = [this](QKeyEvent* e) {
        if (e->key() == Qt::Key_T && (e->modifiers() & Qt::ControlModifier)) {
            openCrossSectionOfActiveStretch();
            return true;
        }
        return false;
    };
    v->addWidget(OvcTable_DelStrackor, 0, Qt::AlignLeft | Qt::AlignTop);
    v->addStretch();
    connect(OvcSpinner2, &CountSpinner::stepUp, this, &TForm_Skenbrus::OvcSpinner2UpClick);
    connect(OvcSpinner2, &CountSpinner::stepDown, this, &TForm_Skenbrus::OvcSpinner2DownClick);
    connect(OvcTable_DelStrackor, &GridView::cellEntered, this, [this](int row, int col) {
        if (col >= 1 && col <= kMaxStretches) activeStretch_ = col;
        setStatus(stretchModel->statusText(row, col));
        OvcTable_DelStrackor->setProperty("helpContext", stretchModel->helpContext(row));
    });
    OvcTable_DelStrackor->installEventFilter(this);
    return page;
}

QWidget* TForm_Skenbrus::buildInfoPanel()
{
    Panel_Info = new QFrame;
    Panel_Info->setObjectName(QStringLiteral("Panel_Info"));
    auto* v = new QVBoxLayout(Panel_Info);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(4);
    auto* boxes = new QHBoxLayout;
    CheckBox_Inneniva = new QCheckBox(QStringLiteral("&Innenivå"), Panel_Info);
    CheckBox_Inneniva->setObjectName(QStringLiteral("CheckBox_Inneniva"));
    CheckBox_Inneniva->setToolTip(QStringLiteral("Tryck höger musknapp för att se data för fasadisolering.."));
    CheckBox_Inneniva->setProperty("helpContext", 202);
    CheckBox_Korrektion = new QCheckBox(QStringLiteral("&Korrektion för fasadreflexer"), Panel_Info);
    CheckBox_Korrektion->setObjectName(QStringLiteral("CheckBox_Korrektion"));
    CheckBox_Korrektion->setToolTip(
        QStringLiteral("Tryck höger musknapp för att se information om avstånd till fasad..."));
    CheckBox_Korrektion->setProperty("helpContext", 201);
    boxes->addWidget(CheckBox_Inneniva);
    boxes->addSpacing(16);
    boxes->addWidget(CheckBox_Korrektion);
    boxes->addStretch();
    v->addLayout(boxes);

    StringGrid_Info = new QTableWidget(kInfoRows, 2, Panel_Info);
    StringGrid_Info->setObjectName(QStringLiteral("StringGrid_Info"));
    StringGrid_Info->setProperty("helpContext", 10);
    StringGrid_Info->horizontalHeader()->hide();
    StringGrid_Info->verticalHeader()->hide();
    StringGrid_Info->setColumnWidth(0, 140);
    StringGrid_Info->horizontalHeader()->setStretchLastSection(true);
    StringGrid_Info->setItemDelegateForColumn(1, new InfoDelegate(StringGrid_Info));
    StringGrid_Info->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid_Info->setEditTriggers(QAbstractItemView::AllEditTriggers);
    StringGrid_Info->setStyleSheet(QStringLiteral("QTableWidget { gridline-color: #c8ced6; }"));
    for (int r = 0; r < kInfoRows; ++r) {
        StringGrid_Info->setRowHeight(r, 22);
        auto* t = new QTableWidgetItem(QString::fromUtf8(kInfoTitles[r]));
        t->setFlags(Qt::ItemIsEnabled);
        t->setBackground(QColor(0xe6, 0xeb, 0xf1));
        StringGrid_Info->setItem(r, 0, t);
        StringGrid_Info->setItem(r, 1, new QTableWidgetItem);
    }
    StringGrid_Info->setFixedHeight(kInfoRows * 22 + 2 * StringGrid_Info->frameWidth() + 1);
    StringGrid_Info->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid_Info->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    v->addWidget(StringGrid_Info);
    connect(StringGrid_Info, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!fillingInfo_ && item->column() == 1) onInfoTextChanged(item->row() + 1, item->text());
    });
    auto status = [this](int row) {
        if (row >= 0 && row < kInfoRows) setStatus(QString::fromUtf8(kInfoStatus[row]));
    };
    connect(StringGrid_Info, &QTableWidget::currentCellChanged, this, [status](int row, int, int, int) { status(row); });
    connect(StringGrid_Info, &QTableWidget::cellClicked, this, [status](int row, int) { status(row); });
    return Panel_Info;
}

QWidget* TForm_Skenbrus::buildLogoPanel()
{
    Panel_Logo = new QFrame;
    Panel_Logo->setObjectName(QStringLiteral("Panel_Logo"));
    auto* v = new QVBoxLayout(Panel_Logo);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(6);
    auto* logo = new QLabel(Panel_Logo);
    logo->setObjectName(QStringLiteral("Image_Logo"));
    logo->setPixmap(logoPixmap());
    v->addWidget(logo);
    auto* seg = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("Segmentlängd"), Panel_Logo);
    SpinEdit1 = new QSpinBox(Panel_Logo);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(1, 2);
    SpinEdit1->setValue(1);
    SpinEdit1->setSuffix(QStringLiteral(" m"));
    SpinEdit1->setProperty("helpContext", 112);
    label->setBuddy(SpinEdit1);
    seg->addWidget(label);
    seg->addStretch();
    seg->addWidget(SpinEdit1);
    v->addLayout(seg);
    Button_Berakning = new QPushButton(QStringLiteral("&Beräkning"), Panel_Logo);
    Button_Berakning->setObjectName(QStringLiteral("Button_Berakning"));
    Button_Berakning->setToolTip(QStringLiteral("Tryck här för att beräkna bullernivån "));
    Button_Berakning->setMinimumHeight(30);
    v->addWidget(Button_Berakning);
    v->addStretch();
    connect(SpinEdit1, &QSpinBox::valueChanged, this, [this](int value) {
        // Only a change the user makes becomes the setting.
        if (SpinEdit1->hasFocus()) {
            segmentSetting_ = value;
            if (settings_) settings_->setSegment(value);
        }
        doc_.segmentLength = value;
    });
    connect(Button_Berakning, &QPushButton::clicked, this, &TForm_Skenbrus::Button_BerakningClick);
    return Panel_Logo;
}

QString TForm_Skenbrus::captionText() const
{
    if (doc_.currentFileName.empty()) return QStringLiteral("Skenbrus - []");
    const QString folder = QString::fromStdString(folderOf(doc_.currentFileName));
    const QString name = QString::fromStdString(fileNameOnly(doc_.currentFileName));
    return QStringLiteral("Skenbrus  ") + QDir::toNativeSeparators(folder + QLatin1Char('/')) + QStringLiteral(" - [") +
           name + QLatin1Char(']');
}

int TForm_Skenbrus::focusedHelpContext() const
{
    for (const QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        const QVariant v = w->property("helpContext");
        if (v.isValid()) return v.toInt();
        if (w == this) break;
    }
    return 0;
}

void TForm_Skenbrus::showInfoTexts()
{
    fillingInfo_ = true;
    const std::string texts[kInfoRows] = {record_.objectName.bytes(), record_.description.bytes(),
                                          record_.caseOfficer.bytes(), record_.lastUpdate.bytes()};
    for (int r = 0; r < kInfoRows; ++r) StringGrid_Info->item(r, 1)->setText(QString::fromStdString(fromCp1252(texts[r])));
    fillingInfo_ = false;
}

void TForm_Skenbrus::showCounts()
{
    Edit1->setText(QString::number(record_.trainCount));
    Edit2->setText(QString::number(record_.stretchCount));
}

void TForm_Skenbrus::showProject()
{
    showCounts();
    showInfoTexts();
    setOptionBoxQuietly(CheckBox_Inneniva, record_.indoorLevelOn == 1);
    setOptionBoxQuietly(CheckBox_Korrektion, record_.facadeReflectionOn == 1);
    activeStretch_ = 1;
    reshapeTable(OvcTable_TagTyp);
    reshapeTable(OvcTable_DelStrackor);
    OvcTable_TagTyp->setCurrentCell(1, 1);
    OvcTable_DelStrackor->setCurrentCell(1, 1);
    sizeTables();
    refreshCommandState();
    GridView* view = PageControl->currentWidget() == PageControl_Delstrackor ? OvcTable_DelStrackor : OvcTable_TagTyp;
    setStatus(view->gridModel()->statusText(view->currentRow(), view->currentColumn()));
}

void TForm_Skenbrus::applyStartupSettings(AppSettings& settings)
{
    settings_ = &settings;
    segmentSetting_ = settings.segment();
    doc_.traceEquivalent = settings.traceEquivalent();
    doc_.traceMaximum = settings.traceMaximum();
    record_.country = std::clamp(settings.country(), 0, 2);
    tickedCountry_ = record_.country;
    showCountryTicks();
    for (int t = 1; t <= kMaxTrains; ++t) {
        record_.nationality[t] = record_.country;
        rebuildTrainTypeList(record_, t);
    }
    showProject();
}

bool TForm_Skenbrus::openStartupFile(const QString& path)
{
    const bool ok = readFile(path);
    // Trace files of later runs go beside the project.
    if (ok) QDir::setCurrent(QString::fromStdString(folderOf(path.toStdString())));
    PageControl->setCurrentWidget(PageControl_TagInfo);
    return ok;
}

void TForm_Skenbrus::refreshCommandState()
{
    const MissingInput m = firstMissingInput(record_);
    complete_ = m.complete();
    Button_Berakning->setEnabled(complete_);
    Meny_Resultat_Berakning->setEnabled(complete_);
    doc_.segmentLength = refreshSegmentLength(record_, segmentSetting_, segmentControl_);
    {
        const QSignalBlocker block(SpinEdit1);
        SpinEdit1->setRange(segmentControl_.lower, std::max(segmentControl_.lower, segmentControl_.upper));
        SpinEdit1->setValue(segmentControl_.value);
    }
    PageControl->setTabVisible(PageControl->indexOf(Pagecontrol_Resultat), false);
    setResultsCurrent(false);
    updateReportCommands();
    emit commandStateChanged(m.complete());
}

bool TForm_Skenbrus::finishEditing()
{
    if (!OvcTable_TagTyp->finishEditing()) return false;
    if (!OvcTable_DelStrackor->finishEditing()) return false;
    // A project text being typed is taken when its editor loses the focus.
    QWidget* fw = QApplication::focusWidget();
    if (fw && fw != StringGrid_Info && StringGrid_Info->isAncestorOf(fw)) StringGrid_Info->setFocus();
    return true;
}

void TForm_Skenbrus::reshapeTable(GridView* view)
{
    const int row = std::max(1, view->currentRow()), col = std::max(1, view->currentColumn());
    EditTableModel* m = view->gridModel();
    m->resetShape();
    view->setCurrentCell(std::min(row, m->usedRows()), std::min(col, m->usedColumns()));
}

void TForm_Skenbrus::sizeTables()
{
    for (GridView* view : {OvcTable_TagTyp, OvcTable_DelStrackor}) {
        const bool train = view == OvcTable_TagTyp;
        EditTableModel* m = view->gridModel();
        const QFontMetrics fm(view->font());
        int title = train ? 140 : 200;
        for (int r = 1; r <= m->usedRows(); ++r) title = std::max(title, fm.horizontalAdvance(m->rowTitle(r)) + 18);
        const int colWidth = train ? 70 : 68;
        const int rowHeight = std::max(21, fm.height() + 6);
        view->verticalHeader()->setFixedWidth(title);
        view->verticalHeader()->setDefaultSectionSize(rowHeight);
        view->horizontalHeader()->setDefaultSectionSize(colWidth);
        view->horizontalHeader()->setFixedHeight(rowHeight);
        for (int c = 0; c < m->usedColumns(); ++c) view->setColumnWidth(c, colWidth);
        for (int r = 0; r < m->usedRows(); ++r) view->setRowHeight(r, rowHeight);
        view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        const int frame = 2 * view->frameWidth();
        view->setFixedSize(title + colWidth * m->usedColumns() + frame, rowHeight * (m->usedRows() + 1) + frame);
    }
}

void TForm_Skenbrus::modifiedEdit()
{
    doc_.modified = true;
    refreshCommandState();
}

void TForm_Skenbrus::cellAccepted() { modifiedEdit(); }

void TForm_Skenbrus::tracksChanged()
{
    reshapeTable(OvcTable_TagTyp);
    sizeTables();
}

void TForm_Skenbrus::setStatus(const QString& text) { Edit_Status->setText(text); }

bool TForm_Skenbrus::showSwitches(int s)
{
    const bool stored = switchesDialog ? switchesDialog(s) : false;
    stretchModel->refreshAll();
    return stored;
}

void TForm_Skenbrus::showCrossSection(int s)
{
    if (crossSectionDialog) crossSectionDialog(s);
    stretchModel->refreshAll();
}

void TForm_Skenbrus::openCrossSectionOfActiveStretch()
{
    if (!OvcTable_DelStrackor->finishEditing()) return;
    const int s = activeStretch_;
    if (!crossSectionGeometryComplete(record_, s)) return;
    const ProjectRecord before = record_;
    showCrossSection(s);
    record_.crossSectionOn[s] = 1;
    stretchModel->refreshAll();
    if (!(record_ == before)) cellAccepted();
}

void TForm_Skenbrus::OvcSpinner1UpClick()
{
    if (!finishEditing()) return;
    if (record_.trainCount >= kMaxTrains) return;
    const int t = ++record_.trainCount;
    record_.nationality[t] = std::clamp(record_.country, 0, 2);
    rebuildTrainTypeList(record_, t);
    showCounts();
    reshapeTable(OvcTable_TagTyp);
    sizeTables();
    modifiedEdit();
}

void TForm_Skenbrus::OvcSpinner1DownClick()
{
    if (!finishEditing()) return;
    if (record_.trainCount <= 1) return;
    --record_.trainCount;
    showCounts();
    reshapeTable(OvcTable_TagTyp);
    sizeTables();
    modifiedEdit();
}

void TForm_Skenbrus::OvcSpinner2UpClick()
{
    if (!finishEditing()) return;
    if (record_.stretchCount >= kMaxStretches) return;
    const int n = ++record_.stretchCount;
    ProjectRecord& r = record_;
    r.track[n] = r.track[n - 1];
    int order = 1;
    for (int s = 1; s < n; ++s)
        if (r.track[s] == r.track[n]) ++order;
    r.orderInTrack[n] = order;
    // A slot coming back into use keeps its values; its choices are brought into their lists.
    if (r.shape[n] < 0 || r.shape[n] > 2) r.shape[n] = 0;
    if (r.bankCorrection[n] < 0 || r.bankCorrection[n] > 3) r.bankCorrection[n] = 0;
    if (r.switchesOn[n] < 0 || r.switchesOn[n] > 1) r.switchesOn[n] = 0;
    if (r.crossSectionOn[n] < 0 || r.crossSectionOn[n] > 1) r.crossSectionOn[n] = 0;
    if (r.screenType[n] < 0 || r.screenType[n] > 2) r.screenType[n] = 0;
    r.bpCount[n] = std::clamp(r.bpCount[n], 2, kMaxBreakPoints);
    showCounts();
    reshapeTable(OvcTable_DelStrackor);
    reshapeTable(OvcTable_TagTyp);
    sizeTables();
    modifiedEdit();
}

void TForm_Skenbrus::OvcSpinner2DownClick()
{
    if (!finishEditing()) return;
    if (record_.stretchCount <= 1) return;
    --record_.stretchCount;
    showCounts();
    reshapeTable(OvcTable_DelStrackor);
    reshapeTable(OvcTable_TagTyp);
    activeStretch_ = std::min(activeStretch_, record_.stretchCount);
    sizeTables();
    modifiedEdit();
}

void TForm_Skenbrus::Button_BerakningClick()
{
    if (!finishEditing()) return;
    if (calculation) calculation();
}

void TForm_Skenbrus::onInfoTextChanged(int row, const QString& text)
{
    if (row < 1 || row > kInfoRows) return;
    const std::string cut = truncateForField(text.toStdString(), infoLimit(row));
    const std::string bytes = toCp1252(cut);
    switch (row) {
    case 1: record_.objectName.setBytes(bytes); break;
    case 2: record_.description.setBytes(bytes); break;
    case 3: record_.caseOfficer.setBytes(bytes); break;
    default: record_.lastUpdate.setBytes(bytes); break;
    }
    const QString shown = QString::fromStdString(cut);
    if (shown != text) {
        fillingInfo_ = true;
        StringGrid_Info->item(row - 1, 1)->setText(shown);
        fillingInfo_ = false;
    }
    modifiedEdit();
}

bool TForm_Skenbrus::eventFilter(QObject* o, QEvent* e)
{
    if (o == PageControl->tabBar() &&
        (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::Shortcut || e->type() == QEvent::KeyPress)) {
        // A refused cell value keeps its page: the page change is not carried out.
        if (!finishEditing()) return true;
    }
    if (e->type() == QEvent::FocusIn) {
        if (o == OvcTable_TagTyp && OvcTable_TagTyp->currentRow() > 0)
            setStatus(trainModel->statusText(OvcTable_TagTyp->currentRow(), OvcTable_TagTyp->currentColumn()));
        else if (o == OvcTable_DelStrackor && OvcTable_DelStrackor->currentRow() > 0)
            setStatus(stretchModel->statusText(OvcTable_DelStrackor->currentRow(),
                                               OvcTable_DelStrackor->currentColumn()));
    }
    return QMainWindow::eventFilter(o, e);
}
