// TForm_Skenbrus: the main window — its pages, tables, panels, menus and the wiring of its commands.
#include "ui/main.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
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
#include "ui/About.h"
#include "ui/CalculationCommand.h"
#include "ui/ColumnMenus.h"
#include "ui/CountSpinner.h"
#include "ui/FasadAvst.h"
#include "ui/FileCommands.h"
#include "ui/Inneniva.h"
#include "ui/Medelhojd.h"
#include "ui/NumberText.h"
#include "ui/Platform.h"
#include "ui/ReportActions.h"
#include "ui/ResultPage.h"
#include "ui/Settings.h"
#include "ui/SitePlanPage.h"
#include "ui/StretchTable.h"
#include "ui/StudyCommands.h"
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

QAction* addItem(QMenu* menu, const char* name, const char* text, QKeySequence key = {})
{
    QAction* a = menu->addAction(QString::fromUtf8(text));
    a->setObjectName(QString::fromLatin1(name));
    if (!key.isEmpty()) a->setShortcut(key);
    return a;
}
}  // namespace

// ---------------------------------------------------------------------------------------
// TForm_Skenbrus

TForm_Skenbrus::TForm_Skenbrus(QWidget* parent) : QMainWindow(parent), record_(startupDefaults())
{
    setObjectName(QStringLiteral("Form_Skenbrus"));
    trainModel_ = new TrainTableModel(record_, *this, this);
    stretchModel_ = new StretchTableModel(record_, *this, this);
    Form_Vaxlar_ = new TForm_Vaxlar(this);
    Form_MedelHojd_ = new TForm_MedelHojd(CrossSectionContext{record_, doc_, factors_, profileCheck_}, this);
    connect(Form_MedelHojd_, &TForm_MedelHojd::closedWithChanges, this, &TForm_Skenbrus::refreshCommandState);

    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* v = new QVBoxLayout(central);
    v->setContentsMargins(6, 6, 6, 6);
    v->setSpacing(6);

    PageControl_ = new QTabWidget(central);
    PageControl_->setObjectName(QStringLiteral("PageControl"));
    PageControl_->setStyleSheet(QStringLiteral("QTabBar::tab { min-width: 120px; padding: 4px 10px; }"));
    PageControl_TagInfo_ = buildTrainPage();
    PageControl_Delstrackor_ = buildStretchPage();
    resultPage_ = new ResultPage;
    // The results scroll within their page instead of making the window grow.
    auto* resultScroll = new QScrollArea;
    resultScroll->setFrameShape(QFrame::NoFrame);
    resultScroll->setWidgetResizable(true);
    resultScroll->setWidget(resultPage_);
    Pagecontrol_Resultat_ = resultScroll;
    PageControl_->addTab(PageControl_TagInfo_, QStringLiteral("&TågInfo"));
    PageControl_->addTab(PageControl_Delstrackor_, QStringLiteral("&Delsträckor"));
    PageControl_->addTab(Pagecontrol_Resultat_, QStringLiteral("Resultat"));
    PageControl_->setTabVisible(PageControl_->indexOf(Pagecontrol_Resultat_), false);
    PageControl_->tabBar()->installEventFilter(this);
    v->addWidget(PageControl_, 1);

    Edit_Status_ = new QLineEdit(central);
    Edit_Status_->setObjectName(QStringLiteral("Edit_Status"));
    Edit_Status_->setReadOnly(true);
    Edit_Status_->setFocusPolicy(Qt::NoFocus);
    Edit_Status_->setStyleSheet(QStringLiteral("QLineEdit { background: #f6f6f2; color: #1f3b57; }"));
    v->addWidget(Edit_Status_);

    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(8);
    bottom->addWidget(buildInfoPanel(), 1);
    bottom->addWidget(buildLogoPanel());
    v->addLayout(bottom);

    connect(PageControl_, &QTabWidget::currentChanged, this, [this](int i) {
        const bool results = PageControl_->widget(i) == Pagecontrol_Resultat_;
        CheckBox_Inneniva_->setVisible(!results);
        CheckBox_Korrektion_->setVisible(!results);
        QWidget* page = PageControl_->widget(i);
        GridView* view = page == PageControl_TagInfo_ ? OvcTable_TagTyp_
                         : page == PageControl_Delstrackor_ ? OvcTable_DelStrackor_
                                                           : nullptr;
        PageControl_->setProperty("helpContext", page == PageControl_TagInfo_ ? 50 : view ? 100 : 80);
        if (view && view->currentRow() > 0)
            setStatus(view->gridModel()->statusText(view->currentRow(), view->currentColumn()));
    });

    buildMenus();
    connectOptionBoxes();
    buildSitePlanPage();
    buildCommands();
    resize(793, 556);
    showProject();
    setWindowTitle(captionText());
}

TForm_Skenbrus::~TForm_Skenbrus()
{
    // The views and dialogs work on the record: let them go before it does.
    delete OvcTable_TagTyp_;
    delete OvcTable_DelStrackor_;
    delete Form_MedelHojd_;
    delete Form_Vaxlar_;
    delete Form_Inneniva_;
    delete Form_FasadAvst_;
    Form_Inneniva_ = nullptr;
    Form_FasadAvst_ = nullptr;
    OvcTable_TagTyp_ = OvcTable_DelStrackor_ = nullptr;
    Form_MedelHojd_ = nullptr;
    Form_Vaxlar_ = nullptr;
}

QWidget* TForm_Skenbrus::buildTrainPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("PageControl_TagInfo"));
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(6, 6, 6, 6);
    auto* top = new QHBoxLayout;
    OvcSpinner1_ = new CountSpinner(QStringLiteral("Edit1"), QStringLiteral("OvcSpinner1"),
                                   QStringLiteral("Tryck pil upp för att lägga till tåg och pil ner för att ta bort"),
                                   page);
    OvcSpinner1_->edit()->setProperty("helpContext", 50);
    top->addWidget(new QLabel(QStringLiteral("Antal tåg"), page));
    top->addWidget(OvcSpinner1_);
    top->addStretch();
    v->addLayout(top);
    OvcTable_TagTyp_ = new GridView(trainModel_, page);
    OvcTable_TagTyp_->setObjectName(QStringLiteral("OvcTable_TagTyp"));
    OvcTable_TagTyp_->rules.swallowDownInLastRow = true;
    styleTable(OvcTable_TagTyp_);
    v->addWidget(OvcTable_TagTyp_, 0, Qt::AlignLeft | Qt::AlignTop);
    v->addStretch();
    connect(OvcSpinner1_, &CountSpinner::stepUp, this, &TForm_Skenbrus::OvcSpinner1UpClick);
    connect(OvcSpinner1_, &CountSpinner::stepDown, this, &TForm_Skenbrus::OvcSpinner1DownClick);
    connect(OvcTable_TagTyp_, &GridView::cellEntered, this, [this](int row, int col) {
        setStatus(trainModel_->statusText(row, col));
        OvcTable_TagTyp_->setProperty("helpContext", trainModel_->helpContext(row));
    });
    OvcTable_TagTyp_->installEventFilter(this);
    return page;
}

QWidget* TForm_Skenbrus::buildStretchPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("PageControl_Delstrackor"));
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(6, 6, 6, 6);
    auto* top = new QHBoxLayout;
    OvcSpinner2_ = new CountSpinner(
        QStringLiteral("Edit2"), QStringLiteral("OvcSpinner2"),
        QStringLiteral("Tryck pil upp för att lägga till delsträcka och pil ner för att ta bort"), page);
    OvcSpinner2_->edit()->setProperty("helpContext", 100);
    top->addWidget(new QLabel(QStringLiteral("Antal delsträckor"), page));
    top->addWidget(OvcSpinner2_);
    top->addStretch();
    v->addLayout(top);
    OvcTable_DelStrackor_ = new GridView(stretchModel_, page);
    OvcTable_DelStrackor_->setObjectName(QStringLiteral("OvcTable_DelStrackor"));
    styleTable(OvcTable_DelStrackor_);
    OvcTable_DelStrackor_->ownerKeys = {QKeyCombination(Qt::ControlModifier, Qt::Key_T)};
    connect(OvcTable_DelStrackor_, &GridView::ownerKey, this, &TForm_Skenbrus::openCrossSectionOfActiveStretch);
    v->addWidget(OvcTable_DelStrackor_, 0, Qt::AlignLeft | Qt::AlignTop);
    v->addStretch();
    connect(OvcSpinner2_, &CountSpinner::stepUp, this, &TForm_Skenbrus::OvcSpinner2UpClick);
    connect(OvcSpinner2_, &CountSpinner::stepDown, this, &TForm_Skenbrus::OvcSpinner2DownClick);
    connect(OvcTable_DelStrackor_, &GridView::cellEntered, this, [this](int row, int col) {
        if (col >= 1 && col <= kMaxStretches) activeStretch_ = col;
        setStatus(stretchModel_->statusText(row, col));
        OvcTable_DelStrackor_->setProperty("helpContext", stretchModel_->helpContext(row));
    });
    OvcTable_DelStrackor_->installEventFilter(this);
    return page;
}

QWidget* TForm_Skenbrus::buildInfoPanel()
{
    Panel_Info_ = new QFrame;
    Panel_Info_->setObjectName(QStringLiteral("Panel_Info"));
    auto* v = new QVBoxLayout(Panel_Info_);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(4);
    auto* boxes = new QHBoxLayout;
    CheckBox_Inneniva_ = new QCheckBox(QStringLiteral("&Innenivå"), Panel_Info_);
    CheckBox_Inneniva_->setObjectName(QStringLiteral("CheckBox_Inneniva"));
    CheckBox_Inneniva_->setToolTip(QStringLiteral("Tryck höger musknapp för att se data för fasadisolering.."));
    CheckBox_Inneniva_->setProperty("helpContext", 202);
    CheckBox_Korrektion_ = new QCheckBox(QStringLiteral("&Korrektion för fasadreflexer"), Panel_Info_);
    CheckBox_Korrektion_->setObjectName(QStringLiteral("CheckBox_Korrektion"));
    CheckBox_Korrektion_->setToolTip(
        QStringLiteral("Tryck höger musknapp för att se information om avstånd till fasad..."));
    CheckBox_Korrektion_->setProperty("helpContext", 201);
    boxes->addWidget(CheckBox_Inneniva_);
    boxes->addSpacing(16);
    boxes->addWidget(CheckBox_Korrektion_);
    boxes->addStretch();
    v->addLayout(boxes);

    StringGrid_Info_ = new QTableWidget(kInfoRows, 2, Panel_Info_);
    StringGrid_Info_->setObjectName(QStringLiteral("StringGrid_Info"));
    StringGrid_Info_->setProperty("helpContext", 10);
    StringGrid_Info_->horizontalHeader()->hide();
    StringGrid_Info_->verticalHeader()->hide();
    StringGrid_Info_->setColumnWidth(0, 140);
    StringGrid_Info_->horizontalHeader()->setStretchLastSection(true);
    StringGrid_Info_->setItemDelegateForColumn(1, new InfoDelegate(StringGrid_Info_));
    StringGrid_Info_->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid_Info_->setEditTriggers(QAbstractItemView::AllEditTriggers);
    StringGrid_Info_->setStyleSheet(QStringLiteral("QTableWidget { gridline-color: #c8ced6; }"));
    for (int r = 0; r < kInfoRows; ++r) {
        StringGrid_Info_->setRowHeight(r, 22);
        auto* t = new QTableWidgetItem(QString::fromUtf8(kInfoTitles[r]));
        t->setFlags(Qt::ItemIsEnabled);
        t->setBackground(QColor(0xe6, 0xeb, 0xf1));
        StringGrid_Info_->setItem(r, 0, t);
        StringGrid_Info_->setItem(r, 1, new QTableWidgetItem);
    }
    StringGrid_Info_->setFixedHeight(kInfoRows * 22 + 2 * StringGrid_Info_->frameWidth() + 1);
    StringGrid_Info_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid_Info_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    v->addWidget(StringGrid_Info_);
    connect(StringGrid_Info_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!fillingInfo_ && item->column() == 1) onInfoTextChanged(item->row() + 1, item->text());
    });
    auto status = [this](int row) {
        if (row >= 0 && row < kInfoRows) setStatus(QString::fromUtf8(kInfoStatus[row]));
    };
    connect(StringGrid_Info_, &QTableWidget::currentCellChanged, this, [status](int row, int, int, int) { status(row); });
    connect(StringGrid_Info_, &QTableWidget::cellClicked, this, [status](int row, int) { status(row); });
    return Panel_Info_;
}

QWidget* TForm_Skenbrus::buildLogoPanel()
{
    Panel_Logo_ = new QFrame;
    Panel_Logo_->setObjectName(QStringLiteral("Panel_Logo"));
    auto* v = new QVBoxLayout(Panel_Logo_);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(6);
    auto* logo = new QLabel(Panel_Logo_);
    logo->setObjectName(QStringLiteral("Image_Logo"));
    logo->setPixmap(logoPixmap());
    v->addWidget(logo);
    auto* seg = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("Segmentlängd"), Panel_Logo_);
    SpinEdit1_ = new QSpinBox(Panel_Logo_);
    SpinEdit1_->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1_->setRange(1, 2);
    SpinEdit1_->setValue(1);
    SpinEdit1_->setSuffix(QStringLiteral(" m"));
    SpinEdit1_->setProperty("helpContext", 112);
    label->setBuddy(SpinEdit1_);
    seg->addWidget(label);
    seg->addStretch();
    seg->addWidget(SpinEdit1_);
    v->addLayout(seg);
    Button_Berakning_ = new QPushButton(QStringLiteral("&Beräkning"), Panel_Logo_);
    Button_Berakning_->setObjectName(QStringLiteral("Button_Berakning"));
    Button_Berakning_->setToolTip(QStringLiteral("Tryck här för att beräkna bullernivån "));
    Button_Berakning_->setMinimumHeight(30);
    v->addWidget(Button_Berakning_);
    v->addStretch();
    connect(SpinEdit1_, &QSpinBox::valueChanged, this, [this](int value) {
        // Only a change the user makes becomes the setting.
        if (SpinEdit1_->hasFocus()) {
            segmentSetting_ = value;
            if (settings_) settings_->setSegment(value);
        }
        doc_.segmentLength = value;
    });
    connect(Button_Berakning_, &QPushButton::clicked, this, &TForm_Skenbrus::Button_BerakningClick);
    return Panel_Logo_;
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
    for (int r = 0; r < kInfoRows; ++r) StringGrid_Info_->item(r, 1)->setText(QString::fromStdString(fromCp1252(texts[r])));
    fillingInfo_ = false;
}

void TForm_Skenbrus::showCounts()
{
    Edit1()->setText(QString::number(record_.trainCount));
    Edit2()->setText(QString::number(record_.stretchCount));
}

void TForm_Skenbrus::showProject()
{
    showCounts();
    showInfoTexts();
    setOptionBoxQuietly(CheckBox_Inneniva_, record_.indoorLevelOn == 1);
    setOptionBoxQuietly(CheckBox_Korrektion_, record_.facadeReflectionOn == 1);
    activeStretch_ = 1;
    reshapeTable(OvcTable_TagTyp_);
    reshapeTable(OvcTable_DelStrackor_);
    OvcTable_TagTyp_->setCurrentCell(1, 1);
    OvcTable_DelStrackor_->setCurrentCell(1, 1);
    sizeTables();
    refreshCommandState();
    GridView* view = PageControl_->currentWidget() == PageControl_Delstrackor_ ? OvcTable_DelStrackor_ : OvcTable_TagTyp_;
    setStatus(view->gridModel()->statusText(view->currentRow(), view->currentColumn()));
}

void TForm_Skenbrus::applyStartupSettings(AppSettings& settings)
{
    settings_ = &settings;
    report_->setSettings(&settings);
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

void TForm_Skenbrus::showTrainPage() { PageControl_->setCurrentWidget(PageControl_TagInfo_); }

void TForm_Skenbrus::showTitle() { setWindowTitle(captionText()); }

QLineEdit* TForm_Skenbrus::Edit1() const { return OvcSpinner1_->edit(); }

QLineEdit* TForm_Skenbrus::Edit2() const { return OvcSpinner2_->edit(); }

void TForm_Skenbrus::refreshCommandState()
{
    const MissingInput m = firstMissingInput(record_);
    complete_ = m.complete();
    Button_Berakning_->setEnabled(complete_);
    Meny_Resultat_Berakning_->setEnabled(complete_);
    doc_.segmentLength = refreshSegmentLength(record_, segmentSetting_, segmentControl_);
    {
        const QSignalBlocker block(SpinEdit1_);
        SpinEdit1_->setRange(segmentControl_.lower, std::max(segmentControl_.lower, segmentControl_.upper));
        SpinEdit1_->setValue(segmentControl_.value);
    }
    PageControl_->setTabVisible(PageControl_->indexOf(Pagecontrol_Resultat_), false);
    setResultsCurrent(false);
    updateReportCommands();
    emit commandStateChanged(m.complete());
}

bool TForm_Skenbrus::finishEditing()
{
    if (!OvcTable_TagTyp_->finishEditing()) return false;
    if (!OvcTable_DelStrackor_->finishEditing()) return false;
    // A project text being typed is taken when its editor loses the focus.
    QWidget* fw = QApplication::focusWidget();
    if (fw && fw != StringGrid_Info_ && StringGrid_Info_->isAncestorOf(fw)) StringGrid_Info_->setFocus();
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
    for (GridView* view : {OvcTable_TagTyp_, OvcTable_DelStrackor_}) {
        const bool train = view == OvcTable_TagTyp_;
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
    reshapeTable(OvcTable_TagTyp_);
    sizeTables();
}

void TForm_Skenbrus::setStatus(const QString& text) { Edit_Status_->setText(text); }

bool TForm_Skenbrus::showSwitches(int s)
{
    const bool stored = Form_Vaxlar_->execFor(record_, s);
    stretchModel_->refreshAll();
    return stored;
}

void TForm_Skenbrus::showCrossSection(int s)
{
    Form_MedelHojd_->editStretch(s);
    stretchModel_->refreshAll();
}

void TForm_Skenbrus::openCrossSectionOfActiveStretch()
{
    if (!OvcTable_DelStrackor_->finishEditing()) return;
    const int s = activeStretch_;
    if (!crossSectionGeometryComplete(record_, s)) return;
    const ProjectRecord before = record_;
    showCrossSection(s);
    record_.crossSectionOn[s] = 1;
    stretchModel_->refreshAll();
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
    reshapeTable(OvcTable_TagTyp_);
    sizeTables();
    modifiedEdit();
}

void TForm_Skenbrus::OvcSpinner1DownClick()
{
    if (!finishEditing()) return;
    if (record_.trainCount <= 1) return;
    --record_.trainCount;
    showCounts();
    reshapeTable(OvcTable_TagTyp_);
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
    reshapeTable(OvcTable_DelStrackor_);
    reshapeTable(OvcTable_TagTyp_);
    sizeTables();
    modifiedEdit();
}

void TForm_Skenbrus::OvcSpinner2DownClick()
{
    if (!finishEditing()) return;
    if (record_.stretchCount <= 1) return;
    --record_.stretchCount;
    showCounts();
    reshapeTable(OvcTable_DelStrackor_);
    reshapeTable(OvcTable_TagTyp_);
    activeStretch_ = std::min(activeStretch_, record_.stretchCount);
    sizeTables();
    modifiedEdit();
}

void TForm_Skenbrus::Button_BerakningClick()
{
    if (!finishEditing()) return;
    emit calculationRequested();
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
        StringGrid_Info_->item(row - 1, 1)->setText(shown);
        fillingInfo_ = false;
    }
    modifiedEdit();
}

bool TForm_Skenbrus::eventFilter(QObject* o, QEvent* e)
{
    if (o == PageControl_->tabBar() &&
        (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::Shortcut || e->type() == QEvent::KeyPress)) {
        // A refused cell value keeps its page: the page change is not carried out.
        if (!finishEditing()) return true;
    }
    if ((o == CheckBox_Inneniva_ || o == CheckBox_Korrektion_) && e->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(e)->button() == Qt::RightButton) {
        // The right button opens the box's dialog, ticked or not.
        openOptionDialog(static_cast<QCheckBox*>(o));
        return true;
    }
    if (e->type() == QEvent::FocusIn) {
        if (o == OvcTable_TagTyp_ && OvcTable_TagTyp_->currentRow() > 0)
            setStatus(trainModel_->statusText(OvcTable_TagTyp_->currentRow(), OvcTable_TagTyp_->currentColumn()));
        else if (o == OvcTable_DelStrackor_ && OvcTable_DelStrackor_->currentRow() > 0)
            setStatus(stretchModel_->statusText(OvcTable_DelStrackor_->currentRow(),
                                               OvcTable_DelStrackor_->currentColumn()));
    }
    return QMainWindow::eventFilter(o, e);
}

// ---------------------------------------------------------------------------------------
// Site plan and commands

void TForm_Skenbrus::buildSitePlanPage()
{
    // After "&Delsträckor": redrawn after every accepted edit and after the cross-section
    // dialog, its status in the status line, its help topic, and a double-clicked stretch
    // selected on "&Delsträckor".
    auto* page = new SitePlanPage(record_, PageControl_);
    sitePlanPage_ = page;
    PageControl_->insertTab(PageControl_->indexOf(PageControl_Delstrackor_) + 1, page, QStringLiteral("&Situationsplan"));
    connect(this, &TForm_Skenbrus::commandStateChanged, page, [page] { page->refresh(); });
    connect(Form_MedelHojd_, &QDialog::finished, page, [page] { page->refresh(); });
    connect(page, &SitePlanPage::statusChanged, this, [this, page](const QString& text) {
        if (PageControl_->currentWidget() == page) setStatus(text);
    });
    connect(PageControl_, &QTabWidget::currentChanged, page, [this, page] {
        // The results page has its own Alt+S ("&Skrivare"); the tab gives it up while that shows.
        const bool results = PageControl_->currentWidget() == Pagecontrol_Resultat_;
        PageControl_->setTabText(PageControl_->indexOf(page),
                                 results ? QStringLiteral("Situationsplan") : QStringLiteral("&Situationsplan"));
        if (PageControl_->currentWidget() != page) return;
        PageControl_->setProperty("helpContext", SitePlanPage::kHelpContext);
        setStatus(page->statusText());
    });
    connect(page, &SitePlanPage::stretchActivated, this, [this](int s) {
        PageControl_->setCurrentWidget(PageControl_Delstrackor_);
        GridView* table = OvcTable_DelStrackor_;
        table->setCurrentCell(std::max(1, table->currentRow()), s);
        table->setFocus();
    });
}

void TForm_Skenbrus::buildCommands()
{
    files_ = new FileCommands(*this);
    calculation_ = new CalculationCommand(*this);
    connect(this, &TForm_Skenbrus::calculationRequested, calculation_, &CalculationCommand::run);

    // Report and export: the groups of the results page and the items of "&Utskrift".
    const char sep = decimalSeparator().toLatin1() ? decimalSeparator().toLatin1() : '.';
    report_ = new ReportActions(
        ReportContext{record_, results_, doc_, SpinEdit1_, sep, this}, this);
    report_->fillGroups(resultPage_->utskriftGroup(), resultPage_->exportGroup());
    report_->attachMenu(Meny_Arkiv_SkrivarInstallning_, Meny_Resultat_Utskrift_, Meny_Resultat_Utskrift_Skrivare_,
                        Meny_Resultat_Utskrift_Granska_);
    report_->setResultsCurrent(resultsCurrent());
    connect(this, &TForm_Skenbrus::resultsCurrentChanged, report_, &ReportActions::setResultsCurrent);
    connect(report_, &ReportActions::statusMessage, this, [this](const QString& text) { setStatus(text); });

    columnMenus_ = new ColumnMenus(ColumnContext{record_, doc_, OvcTable_TagTyp_, OvcTable_DelStrackor_}, this, this);
    connect(columnMenus_, &ColumnMenus::columnPasted, this, &TForm_Skenbrus::refreshCommandState);

    studies_ = new StudyCommands(*this, Meny_Resultat_, Meny_Resultat_Testa_);
}

// ---------------------------------------------------------------------------------------
// Menus

void TForm_Skenbrus::buildMenus()
{
    Form_About_ = new TForm_About(this);

    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("Meny"));

    QMenu* arkiv = bar->addMenu(QStringLiteral("&Arkiv"));
    arkiv->setObjectName(QStringLiteral("Meny_Arkiv"));
    Meny_Arkiv_Hamta_ = addItem(arkiv, "Meny_Arkiv_Hamta", "&Hämta...", QKeySequence(Qt::CTRL | Qt::Key_H));
    // The one real Ctrl+S: "&Skrivare" only shows the key.
    Meny_Arkiv_Spara_ = addItem(arkiv, "Meny_Arkiv_Spara", "&Spara", QKeySequence(Qt::CTRL | Qt::Key_S));
    Meny_Arkiv_SparaSom_ = addItem(arkiv, "Meny_Arkiv_SparaSom", "Spara S&om...");
    Meny_Arkiv_Ny_ = addItem(arkiv, "Meny_Arkiv_Ny", "&Ny...");
    arkiv->addSeparator();
    Meny_Arkiv_SkrivarInstallning_ = addItem(arkiv, "Meny_Arkiv_SkrivarInstallning", "Skrivar&Inställning...");
    Meny_Arkiv_Land_ = arkiv->addMenu(QString::fromUtf8("Ändra Land"));
    Meny_Arkiv_Land_->setObjectName(QStringLiteral("Meny_Arkiv_Land"));
    Meny_Arkiv_Land_Norge_ = addItem(Meny_Arkiv_Land_, "Meny_Arkiv_Land_Norge", "Norge");
    Meny_Arkiv_Land_Sverige_ = addItem(Meny_Arkiv_Land_, "Meny_Arkiv_Land_Sverige", "Sverige");
    Meny_Arkiv_Land_Finland_ = addItem(Meny_Arkiv_Land_, "Meny_Arkiv_Land_Finland", "Finland");
    // Exactly one country is ticked; choosing the ticked one leaves it ticked.
    auto* countries = new QActionGroup(this);
    countries->setExclusive(true);
    int c = 0;
    for (QAction* a : {Meny_Arkiv_Land_Norge_, Meny_Arkiv_Land_Sverige_, Meny_Arkiv_Land_Finland_}) {
        a->setCheckable(true);
        countries->addAction(a);
        a->setData(c);
        connect(a, &QAction::triggered, this, [this, c] { chooseCountry(c); });
        ++c;
    }
    arkiv->addSeparator();
    Meny_Arkiv_Avsluta_ = addItem(arkiv, "Meny_Arkiv_Avsluta", "&Avsluta");

    Meny_Resultat_ = bar->addMenu(QStringLiteral("&Resultat"));
    Meny_Resultat_->setObjectName(QStringLiteral("Meny_Resultat"));
    Meny_Resultat_Berakning_ = addItem(Meny_Resultat_, "Meny_Resultat_Berakning", "&Beräkning");
    Meny_Resultat_Utskrift_ = Meny_Resultat_->addMenu(QStringLiteral("&Utskrift"));
    Meny_Resultat_Utskrift_->setObjectName(QStringLiteral("Meny_Resultat_Utskrift"));
    Meny_Resultat_Utskrift_Skrivare_ = addItem(Meny_Resultat_Utskrift_, "Meny_Resultat_Utskrift_Skrivare", "&Skrivare\tCtrl+S");
    Meny_Resultat_Utskrift_Granska_ =
        addItem(Meny_Resultat_Utskrift_, "Meny_Resultat_Utskrift_Granska", "&Granska", QKeySequence(Qt::CTRL | Qt::Key_G));
    Meny_Resultat_Utskrift_Exportera_ = addItem(Meny_Resultat_Utskrift_, "Meny_Resultat_Utskrift_Exportera", "&Exportera",
                                               QKeySequence(Qt::CTRL | Qt::Key_E));
    Meny_Resultat_Utskrift_Exportera_->setVisible(false);
    Meny_Resultat_Testa_ = addItem(Meny_Resultat_, "Meny_Resultat_Testa", "&Testa, gå till fält som saknar värde");

    Meny_Avsluta_ = bar->addAction(QStringLiteral("A&vsluta"));
    Meny_Avsluta_->setObjectName(QStringLiteral("Meny_Avsluta"));

    QMenu* hjalp = bar->addMenu(QString::fromUtf8("&Hjälp"));
    hjalp->setObjectName(QStringLiteral("Meny_Hjalp"));
    Meny_Hjalp_Innehall_ = addItem(hjalp, "Meny_Hjalp_Innehall", "&Innehåll");
    Meny_Hjalp_AktuelltFalt_ = addItem(hjalp, "Meny_Hjalp_AktuelltFalt", "&Hjälp om aktuellt fält", QKeySequence(Qt::Key_F1));
    Meny_Hjalp_Om_ = addItem(hjalp, "Meny_Hjalp_Om", "&Om");

    connect(Meny_Arkiv_Hamta_, &QAction::triggered, this, [this] { files_->openCommand(); });
    connect(Meny_Arkiv_Spara_, &QAction::triggered, this, [this] { files_->saveCommand(); });
    connect(Meny_Arkiv_SparaSom_, &QAction::triggered, this, [this] { files_->saveAsCommand(); });
    connect(Meny_Arkiv_Ny_, &QAction::triggered, this, [this] { files_->newCommand(); });
    connect(Meny_Arkiv_Avsluta_, &QAction::triggered, this, &QWidget::close);
    connect(Meny_Avsluta_, &QAction::triggered, this, &QWidget::close);
    connect(Meny_Resultat_Berakning_, &QAction::triggered, this, [this] {
        if (!finishEditing()) return;
        Button_BerakningClick();
        // Enabled again by the next completeness check, that is by the next edit.
        Meny_Resultat_Berakning_->setEnabled(false);
    });
    connect(Meny_Resultat_Testa_, &QAction::triggered, this, &TForm_Skenbrus::gotoFirstMissingInput);
    connect(Meny_Hjalp_Innehall_, &QAction::triggered, this, &TForm_Skenbrus::showHelpContents);
    connect(Meny_Hjalp_AktuelltFalt_, &QAction::triggered, this, &TForm_Skenbrus::showHelpForFocusedControl);
    connect(Meny_Hjalp_Om_, &QAction::triggered, this, &TForm_Skenbrus::showAbout);

    // The status line describes input fields; on the results page it has nothing to say.
    connect(PageControl_, &QTabWidget::currentChanged, this, [this](int i) {
        if (PageControl_->widget(i) == Pagecontrol_Resultat_) setStatus(QString());
    });

    Meny_Resultat_Berakning_->setEnabled(false);
    showCountryTicks();
    updateReportCommands();
}

void TForm_Skenbrus::showCountryTicks()
{
    if (!Meny_Arkiv_Land_Norge_) return;
    for (QAction* a : {Meny_Arkiv_Land_Norge_, Meny_Arkiv_Land_Sverige_, Meny_Arkiv_Land_Finland_})
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
    if (!Meny_Resultat_Utskrift_) return;
    // Printing never shows results of other inputs.
    const bool on = complete_ && resultsCurrent_;
    Meny_Resultat_Utskrift_->setEnabled(on);
    Meny_Resultat_Utskrift_Skrivare_->setEnabled(on);
    Meny_Resultat_Utskrift_Granska_->setEnabled(on);
    Meny_Resultat_Utskrift_Exportera_->setEnabled(on);
}

void TForm_Skenbrus::setResultsCurrent(bool current)
{
    if (current != resultsCurrent_) {
        resultsCurrent_ = current;
        updateReportCommands();
        emit resultsCurrentChanged(current);
    }
}

void TForm_Skenbrus::showResultsPage()
{
    resultPage_->showResults(record_, results_);
    PageControl_->setTabVisible(PageControl_->indexOf(Pagecontrol_Resultat_), true);
    PageControl_->setCurrentWidget(Pagecontrol_Resultat_);
    Button_Berakning_->setEnabled(false);
    Meny_Resultat_Berakning_->setEnabled(false);
    setResultsCurrent(true);
}

void TForm_Skenbrus::hideResultsPage()
{
    PageControl_->setTabVisible(PageControl_->indexOf(Pagecontrol_Resultat_), false);
    setResultsCurrent(false);
}

// ---------------------------------------------------------------------------------------
// Option check boxes

void TForm_Skenbrus::connectOptionBoxes()
{
    Form_Inneniva_ = new TForm_Inneniva(record_, doc_, this);
    Form_FasadAvst_ = new TForm_FasadAvst(record_, doc_, this);
    // F1 in the dialogs shows their own topic.
    for (QDialog* d : {static_cast<QDialog*>(Form_Inneniva_), static_cast<QDialog*>(Form_FasadAvst_)}) {
        auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), d);
        connect(f1, &QShortcut::activated, d, [d] { platform().showHelp(d, d->property("helpContext").toInt()); });
    }
    connect(CheckBox_Inneniva_, &QCheckBox::clicked, this, [this](bool on) { optionBoxClicked(CheckBox_Inneniva_, on); });
    connect(CheckBox_Korrektion_, &QCheckBox::clicked, this,
            [this](bool on) { optionBoxClicked(CheckBox_Korrektion_, on); });
    // Hidden on the results page, the boxes keep their room so the panel does not jump.
    for (QCheckBox* box : {CheckBox_Inneniva_, CheckBox_Korrektion_}) {
        QSizePolicy sp = box->sizePolicy();
        sp.setRetainSizeWhenHidden(true);
        box->setSizePolicy(sp);
    }
    // A right press on a box opens its dialog (eventFilter).
    CheckBox_Inneniva_->installEventFilter(this);
    CheckBox_Korrektion_->installEventFilter(this);
}

void TForm_Skenbrus::setOptionBoxQuietly(QCheckBox* box, bool on)
{
    bool& suppress = box == CheckBox_Inneniva_ ? suppressIndoorDialog_ : suppressFacadeDialog_;
    suppress = on;
    box->setChecked(on);
    suppress = false;
}

void TForm_Skenbrus::showIndoorDialog() { Form_Inneniva_->execFor(); }

void TForm_Skenbrus::showFacadeDistanceDialog()
{
    Form_FasadAvst_->execFor();
    // Without a distance of 0.5 to 20 m (the dialog was given up) the correction is off, as
    // the project reads back from its file.
    if (record_.facadeReflectionOn == 1 && !(record_.facadeDistance >= 0.5f && record_.facadeDistance <= 20.0f)) {
        record_.facadeReflectionOn = 0;
        setOptionBoxQuietly(CheckBox_Korrektion_, false);
    }
}

void TForm_Skenbrus::optionBoxClicked(QCheckBox* box, bool on)
{
    const bool indoor = box == CheckBox_Inneniva_;
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
    bool& suppress = box == CheckBox_Inneniva_ ? suppressIndoorDialog_ : suppressFacadeDialog_;
    if (suppress) {
        suppress = false;
        return;
    }
    if (!finishEditing()) return;
    const ProjectRecord before = record_;
    if (box == CheckBox_Inneniva_)
        showIndoorDialog();
    else
        showFacadeDistanceDialog();
    if (!(record_ == before)) {
        doc_.modified = true;
        refreshCommandState();
    }
}

// ---------------------------------------------------------------------------------------
// Closing

void TForm_Skenbrus::closeEvent(QCloseEvent* e)
{
    if (!files_->confirmClose()) {
        e->ignore();
        return;
    }
    if (Form_About_) Form_About_->hide();
    // Every setting has been written when it changed; the window lets go of the file.
    settings_ = nullptr;
    report_->setSettings(nullptr);
    e->accept();
}


// ---------------------------------------------------------------------------------------
// Completeness jump, help, About

void TForm_Skenbrus::gotoFirstMissingInput()
{
    if (!finishEditing()) return;
    const MissingInput m = firstMissingInput(record_);
    if (m.complete()) return;
    const bool train = m.table == MissingInput::Table::Train;
    GridView* view = train ? OvcTable_TagTyp_ : OvcTable_DelStrackor_;
    PageControl_->setCurrentWidget(train ? PageControl_TagInfo_ : PageControl_Delstrackor_);
    view->setFocus();
    view->setCurrentCell(m.row, m.column);
}

void TForm_Skenbrus::showHelpContents() { platform().showHelp(this, 0); }

void TForm_Skenbrus::showHelpForFocusedControl() { platform().showHelp(this, focusedHelpContext()); }

void TForm_Skenbrus::showAbout() { Form_About_->showAbout(); }
