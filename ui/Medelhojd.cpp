// TForm_MedelHojd, the cross-section dialog of one stretch.
#include "ui/Medelhojd.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "ui/CodeLists.h"
#include "ui/CrossSectionPicture.h"
#include "ui/NumberText.h"
#include "ui/Platform.h"
#include "ui/Form1.h"
#include "ui/Brytpunkt.h"

namespace {
const char* const kBreakPointInfo = "F4: Lägg till brytpunkt; F5: Ta bort brytpunkt....";
const char* const kReceiverInfo = "Mottagarens höjd över marken (m) ...";
const char* const kScreenInfo[3] = {"Avstånd spårmitt-skärm (m) ...", "Skärmkrönets höjd över marknivån (m) ...",
                                    "Ange skärmfall (Nej/Ja) ..."};

char separator() { return decimalSeparator().toLatin1() ? decimalSeparator().toLatin1() : '.'; }

bool within(QWidget* w, QWidget* container) { return w && container && (w == container || container->isAncestorOf(w)); }
}  // namespace

TForm_MedelHojd::TForm_MedelHojd(CrossSectionContext context, QWidget* parent)
    : QDialog(parent), ctx_(context), r_(context.record)
{
    setObjectName(QStringLiteral("TForm_MedelHojd"));
    setModal(true);
    setSizeGripEnabled(true);

    // Stretch form and distance basis.
    shapeLabel_ = new QLabel(this);
    shapeLabel_->setObjectName(QStringLiteral("Label_Stracka"));
    QFont bold = shapeLabel_->font();
    bold.setBold(true);
    shapeLabel_->setFont(bold);
    auto* basisBox = new QGroupBox(this);
    basisBox->setObjectName(QStringLiteral("GroupBox_Avstand"));
    auto* basisLayout = new QHBoxLayout(basisBox);
    basisGroup_ = new QButtonGroup(this);
    const char* names[5] = {"RadioButton_Vinkelratt", "RadioButton_Ekvivalent", "RadioButton_Max",
                            "RadioButton_StartPosition", "RadioButton_Slutposition"};
    const char* texts[5] = {"Vinkelrätt", "Ekvivalent", "Max", "StartPosition", "Slutposition"};
    for (int b = 0; b < 5; ++b) {
        basisButtons_[b] = new QRadioButton(QString::fromUtf8(texts[b]), basisBox);
        basisButtons_[b]->setObjectName(QString::fromLatin1(names[b]));
        basisGroup_->addButton(basisButtons_[b], b);
        basisLayout->addWidget(basisButtons_[b]);
    }
    connect(basisGroup_, &QButtonGroup::idClicked, this, &TForm_MedelHojd::setBasis);

    // Break-point table: one column per point, rows distance and ground height (which may be
    // negative); Enter on the height goes on to the next point's distance.
    bpValues_ = new ProfileTable(*this, 2, 2, this);
    bpValues_->negativeRow = 2;
    bpValues_->setRowTitles({QStringLiteral("Avstånd"), QStringLiteral("Markhöjd")});
    EditRules bpRules = EditRules::numberGrid();
    bpRules.enterAdvancesColumn = true;
    bpTable_ = new GridView(bpValues_, this, bpRules);
    bpTable_->setObjectName(QStringLiteral("OvcTable_Brytpunkter"));
    bpTable_->verticalHeader()->setFixedWidth(105);
    bpTable_->verticalHeader()->setHighlightSections(false);
    bpTable_->horizontalHeader()->setDefaultSectionSize(64);
    bpTable_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    bpTable_->ownerKeys = {QKeyCombination(Qt::Key_F1), QKeyCombination(Qt::Key_F4), QKeyCombination(Qt::Key_F5),
                           QKeyCombination(Qt::ControlModifier, Qt::Key_C),
                           QKeyCombination(Qt::ControlModifier, Qt::Key_V)};
    connect(bpTable_, &GridView::ownerKey, this, &TForm_MedelHojd::breakPointKey);

    picture_ = new CrossSectionPicture(this);

    // Screen table: distance, crest height and the screen list.
    screenValues_ = new ProfileTable(*this, 3, 2, this);
    screenValues_->setRowTitles({QStringLiteral("Avstånd spårmitt-skärm (m)"),
                                 QStringLiteral("Skärmkrönets höjd över mark (m)"), QStringLiteral("Skärm")});
    screenTable_ = new GridView(screenValues_, this, EditRules::numberGrid());
    screenTable_->setObjectName(QStringLiteral("OvcTable_Skarm"));
    screenTable_->horizontalHeader()->hide();
    screenTable_->horizontalHeader()->setStretchLastSection(true);
    screenTable_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    screenTable_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    screenTable_->verticalHeader()->setHighlightSections(false);
    screenTable_->setFixedSize(screenTable_->verticalHeader()->sizeHint().width() + 110,
                               3 * screenTable_->verticalHeader()->defaultSectionSize() + 4);
    screenList_ = new QComboBox(screenTable_);
    screenList_->setObjectName(QStringLiteral("ComboBox_Skarm"));
    screenList_->addItems(codeList(kScreenTypeNames));
    screenTable_->setIndexWidget(screenValues_->index(2, 0), screenList_);
    screenList_->installEventFilter(this);
    connect(screenList_, &QComboBox::currentIndexChanged, this, &TForm_MedelHojd::screenListChanged);
    screenTable_->ownerKeys = {QKeyCombination(Qt::Key_F1)};
    connect(screenTable_, &GridView::ownerKey, this, [this] { platform().showHelp(this, 211); });
    connect(screenTable_, &GridView::cellEntered, this, [this](int row, int) {
        if (within(QApplication::focusWidget(), screenTable_)) showScreenInfo(row);
    });

    // Receiver height.
    auto* receiverLabel = new QLabel(QStringLiteral("Mottagarens höjd över mark (m):"), this);
    receiverField_ = new QLineEdit(this);
    receiverField_->setObjectName(QStringLiteral("Edit_MottagarHojd"));
    receiverField_->setAlignment(Qt::AlignRight);
    receiverField_->setMaximumWidth(90);
    receiverField_->setValidator(numberValidator(receiverField_, 7, true, false));
    receiverField_->installEventFilter(this);
    connect(receiverField_, &QLineEdit::editingFinished, this, &TForm_MedelHojd::receiverHeightEntered);

    // Results.
    heightLabel_ = new QLabel(this);
    heightLabel_->setObjectName(QStringLiteral("Label_EffektivSkarmhojd"));
    heightLabel_->setToolTip(QStringLiteral("Skillnaden mellan förenklad ljudväg med skärm resp. utan skärm."));
    heightLabel_->setFont(bold);
    baseLabel_ = new QLabel(this);
    baseLabel_->setObjectName(QStringLiteral("Label_MarkhojdSkarm"));

    okButton_ = new QPushButton(QStringLiteral("&OK"), this);
    okButton_->setObjectName(QStringLiteral("Button_OK"));
    okButton_->setAutoDefault(false);
    okButton_->setDefault(false);
    connect(okButton_, &QPushButton::clicked, this, &TForm_MedelHojd::Button_OKClick);

    info_ = new QLabel(this);
    info_->setObjectName(QStringLiteral("Panel_Info"));
    info_->setFrameShape(QFrame::StyledPanel);
    info_->setMinimumHeight(info_->fontMetrics().height() + 6);

    auto* top = new QHBoxLayout;
    top->addWidget(shapeLabel_);
    top->addSpacing(20);
    top->addWidget(basisBox);
    top->addStretch();

    auto* receiverRow = new QHBoxLayout;
    receiverRow->addWidget(receiverLabel);
    receiverRow->addWidget(receiverField_);
    receiverRow->addStretch();
    auto* results = new QVBoxLayout;
    results->addLayout(receiverRow);
    results->addWidget(heightLabel_);
    results->addWidget(baseLabel_);
    results->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(screenTable_);
    bottom->addSpacing(12);
    bottom->addLayout(results, 1);
    bottom->addWidget(okButton_, 0, Qt::AlignBottom);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(bpTable_, 0, Qt::AlignLeft);
    layout->addWidget(picture_, 1);
    layout->addLayout(bottom);
    layout->addWidget(info_);

    bpDialog_ = new TForm_Brytpunkt(r_, this);
    screenDialog_ = new TForm1(r_, this);

    connect(qApp, &QApplication::focusChanged, this, &TForm_MedelHojd::focusChanged);
    resize(680, 560);
}

TForm_MedelHojd::~TForm_MedelHojd()
{
    // Focus moves while the children go away; none of it may reach this half-destroyed dialog.
    disconnect(qApp, nullptr, this, nullptr);
    for (GridView* v : {bpTable_, screenTable_}) v->detach();
    bpValues_->detach();
    screenValues_->detach();
    screenList_->removeEventFilter(this);
    receiverField_->removeEventFilter(this);
    disconnect(screenList_, nullptr, this, nullptr);
    disconnect(receiverField_, nullptr, this, nullptr);
}

int TForm_MedelHojd::pointCount() const { return ProfilePointCount(r_, s_); }

double TForm_MedelHojd::displayedDistance(int p) const { return static_cast<double>(r_.bpDistance[s_][p]) * scale_; }

// ---------------------------------------------------------------------------------------
// Opening and closing

void TForm_MedelHojd::openStretch(int s)
{
    s_ = std::clamp(s, 1, kMaxStretches);
    ctx_.check.WarningArmed = true;
    rememberedDistance_ = 0.0f;
    rememberedCrest_ = 0.0f;
    userChanged_ = false;
    closing_ = false;
    snapshot_ = r_;

    setWindowTitle(QStringLiteral("Tvärsektion - spår %1:%2").arg(r_.track[s_]).arg(r_.orderInTrack[s_]));

    // A damaged point count is taken into 2..33 before anything is written at its index.
    const int n = pointCount();
    r_.bpCount[s_] = n;
    const bool straight = r_.shape[s_] == 0;
    r_.bpDistance[s_][n] = straight ? r_.perpDistance[s_] : r_.startDistance[s_];
    r_.bpDistanceBasis[s_] = straight ? 0 : 3;
    scale_ = 1.0;
    if (straight) ComputeAngleFactors(r_, s_, ctx_.factors);

    for (int b = 0; b < 5; ++b) basisButtons_[b]->setVisible(straight ? b < 3 : b >= 3);
    basisButtons_[straight ? 0 : 3]->setChecked(true);
    shapeLabel_->setText(straight ? QStringLiteral("RAK STRÄCKA") : QStringLiteral("KRÖKT STRÄCKA"));
    receiverField_->setText(realText(r_.receiverHeight[s_], 1));
    // An entry left open at the last closing is dropped.
    bpTable_->abandonEntry();
    screenTable_->abandonEntry();
    screenTable_->setCurrentCell(1, 1);
    screenTable_->clearSelection();
    refresh();
    // The dialog opens on the first break point (the table is laid out anew above), with
    // that table's hint.
    bpTable_->setCurrentCell(1, 1);
    bpTable_->setFocus();
    info_->setText(QString::fromUtf8(kBreakPointInfo));
}

bool TForm_MedelHojd::editStretch(int s)
{
    openStretch(s);
    closing_ = false;
    platform().execDialog(*this);
    return userChanged_ || !(r_ == snapshot_);
}

void TForm_MedelHojd::Button_OKClick()
{
    if (closing_) return;
    bpTable_->finishEditing();
    screenTable_->finishEditing();
    receiverHeightEntered();
    if (ctx_.check.ProfileState == 4) {
        platform().beep();
        showMessage(this, QString::fromUtf8(kScreenCaseWarning));
    }
    finishClose();
}

void TForm_MedelHojd::finishClose()
{
    closing_ = true;
    // The opening steps and the analysis write the record as well: any difference from the
    // record as it was at the opening is a change the document must not lose.
    const bool changed = userChanged_ || !(r_ == snapshot_);
    if (changed) {
        ctx_.document.modified = true;
        emit closedWithChanges();
    }
    accept();
}

void TForm_MedelHojd::closeEvent(QCloseEvent* event)
{
    // Closing the window goes the way of "&OK", so the warning is not skipped.
    if (!closing_ && isVisible()) {
        event->ignore();
        Button_OKClick();
        return;
    }
    QDialog::closeEvent(event);
}

void TForm_MedelHojd::keyPressEvent(QKeyEvent* event)
{
    // Enter and Escape never close the dialog by themselves.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TForm_MedelHojd::eventFilter(QObject* object, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (object == receiverField_ && k->key() == Qt::Key_F1) {
            platform().showHelp(this, 110);
            return true;
        }
        if (object == screenList_) {
            if (k->key() == Qt::Key_F1) {
                platform().showHelp(this, 211);
                return true;
            }
            if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
                screenTable_->setCurrentCell(1, 1);
                screenTable_->setFocus();
                return true;
            }
        }
    }
    return QDialog::eventFilter(object, event);
}

// ---------------------------------------------------------------------------------------
// Refresh

void TForm_MedelHojd::markChanged()
{
    userChanged_ = true;
    ctx_.document.modified = true;
}

void TForm_MedelHojd::refresh()
{
    analysis_ = AnalyseProfile(r_, s_, ctx_.factors, ctx_.check, separator());
    if (analysis_.pointDropped || analysis_.screenRemoved) markChanged();
    fillBreakPointTable();
    fillScreenTable();
    heightLabel_->setText(QString::fromStdString(analysis_.screenHeightText));
    QColor colour = palette().color(QPalette::WindowText);
    switch (analysis_.colour) {
    case ScreenLabelColour::Green: colour = QColor(0, 140, 0); break;
    case ScreenLabelColour::Red: colour = QColor(200, 0, 0); break;
    case ScreenLabelColour::Blue: colour = QColor(0, 0, 200); break;
    case ScreenLabelColour::None: break;
    }
    QPalette pal = heightLabel_->palette();
    pal.setColor(QPalette::WindowText, colour);
    heightLabel_->setPalette(pal);
    baseLabel_->setText(QString::fromStdString(analysis_.screenBaseText));
    QStringList distances;
    for (int p = 1; p <= analysis_.picture.count; ++p) distances << realText(displayedDistance(p), 1);
    picture_->setProfile(analysis_.picture, MiddleZoneSplit(r_, s_, scale_), distances);
    if (analysis_.warningDue) {
        platform().beep();
        showMessage(this, QString::fromStdString(analysis_.warningText));
    }
}

void TForm_MedelHojd::fillBreakPointTable()
{
    const int n = pointCount();
    const int row = bpTable_->currentRow(), col = bpTable_->currentColumn();
    QStringList labels;
    for (int p = 1; p <= n; ++p) labels << QString::fromLatin1(r_.bpLabel[s_][p].bytes().c_str());
    bpValues_->setColumnTitles(labels);
    for (int p = 1; p <= n; ++p) {
        bpValues_->setValue(1, p, displayedDistance(p));
        bpValues_->setValue(2, p, r_.bpHeight[s_][p]);
    }
    // 64 pixels per point beside the row names; from 8 points on a fixed width that scrolls.
    const int frame = 2 * bpTable_->frameWidth();
    const bool scrolls = n >= 8;
    bpTable_->setHorizontalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    const int width = scrolls ? 555 : 64 * n + 107;
    const int height = bpTable_->horizontalHeader()->sizeHint().height() +
                       2 * bpTable_->verticalHeader()->defaultSectionSize() + frame +
                       (scrolls ? bpTable_->horizontalScrollBar()->sizeHint().height() : 0);
    bpTable_->setFixedSize(width + frame, height);
    if (row > 0 && col > 0) bpTable_->setCurrentCell(row, std::min(col, n));
}

void TForm_MedelHojd::fillScreenTable()
{
    const bool on = r_.screenType[s_] > 0;
    screenValues_->setValue(1, 1, static_cast<double>(r_.screenDistance[s_]) * scale_);
    screenValues_->setValue(2, 1, r_.screenCrestHeight[s_]);
    // Greyed and fixed while there is no screen.
    screenValues_->setActive(on);
    setScreenList(std::clamp<int>(r_.screenType[s_], 0, 2));
}

void TForm_MedelHojd::setScreenList(int index)
{
    updatingList_ = true;
    screenList_->setCurrentIndex(index);
    updatingList_ = false;
}

// ---------------------------------------------------------------------------------------
// Break-point table

bool TForm_MedelHojd::mayEditCell(const ProfileTable& grid, int row, int col)
{
    // The distances of the first and the last point are fixed.
    if (&grid != bpValues_ || row != 1 || (col != 1 && col != pointCount())) return true;
    showMessage(this, QStringLiteral("Värdet kan inte ändras"));
    return false;
}

bool TForm_MedelHojd::acceptsValue(const ProfileTable&, int row, int, double v) const
{
    // A distance, of a point or of the screen, lies inside the profile.
    if (row != 1) return true;
    return v > displayedDistance(1) && v < displayedDistance(pointCount());
}

void TForm_MedelHojd::applyValue(ProfileTable& grid, int row, int col, double v)
{
    if (&grid == screenValues_) {
        if (row == 1)
            r_.screenDistance[s_] = static_cast<float>(v / scale_);
        else
            r_.screenCrestHeight[s_] = static_cast<float>(v);
        markChanged();
        refresh();
        return;
    }
    if (row == 1)
        moveDistance(col, v);
    else
        r_.bpHeight[s_][col] = static_cast<float>(v);
    copyHeights();
    markChanged();
    refresh();
    if (row == 1) {
        // The cursor follows the point to its new place.
        for (int p = 1; p <= pointCount(); ++p)
            if (displayedDistance(p) == static_cast<double>(static_cast<float>(v / scale_)) * scale_) {
                bpTable_->setCurrentCell(1, p);
                break;
            }
    }
}

void TForm_MedelHojd::moveDistance(int c, double v)
{
    const int n = pointCount();
    auto& dist = r_.bpDistance[s_];
    auto& height = r_.bpHeight[s_];
    auto& label = r_.bpLabel[s_];
    const float stored = static_cast<float>(v / scale_);
    if (c <= 1 || c >= n) return;
    if (displayedDistance(c - 1) < v && v < displayedDistance(c + 1)) {
        dist[c] = stored;
        return;
    }
    int j = n;
    for (int p = 1; p <= n; ++p)
        if (displayedDistance(p) >= v) {
            j = p;
            break;
        }
    if (j == c) {
        dist[c] = stored;
        return;
    }
    const float movedHeight = height[c];
    const Label2 movedLabel = label[c];
    // The edited point leaves its slot; the points after it close the gap.
    for (int p = c; p < n; ++p) {
        dist[p] = dist[p + 1];
        height[p] = height[p + 1];
        label[p] = label[p + 1];
    }
    const int k = j > c ? j - 1 : j;  // the found point's place in the shortened list
    if (displayedDistance(k) == v) {
        // Same distance as an existing point: the edited point replaces it, one point less.
        dist[k] = stored;
        height[k] = movedHeight;
        label[k] = movedLabel;
        dist[n] = 0.0f;
        height[n] = 0.0f;
        label[n].clear();
        r_.bpCount[s_] = n - 1;
        return;
    }
    for (int p = n - 1; p >= k; --p) {
        dist[p + 1] = dist[p];
        height[p + 1] = height[p];
        label[p + 1] = label[p];
    }
    dist[k] = stored;
    height[k] = movedHeight;
    label[k] = movedLabel;
}

void TForm_MedelHojd::copyHeights()
{
    const int n = pointCount();
    if (int p = findLabel(r_, s_, n, "SM")) r_.trackHeight[s_] = r_.bpHeight[s_][p];
    if (int p = findLabel(r_, s_, n, "MT")) r_.receiverGroundHeight[s_] = r_.bpHeight[s_][p];
}

void TForm_MedelHojd::breakPointKey(QKeyCombination key)
{
    switch (key.key()) {
    case Qt::Key_F1: platform().showHelp(this, 110); break;
    case Qt::Key_F4: addBreakPoint(); break;
    case Qt::Key_F5: deleteBreakPoint(); break;
    case Qt::Key_C: copyValue(); break;
    case Qt::Key_V: pasteValue(); break;
    default: break;
    }
}

void TForm_MedelHojd::addBreakPoint()
{
    if (!bpTable_->finishEditing()) return;
    const bool changed = bpDialog_->execFor(s_, r_.bpDistanceBasis[s_], scale_);
    if (changed) {
        copyHeights();
        markChanged();
    }
    refresh();
}

void TForm_MedelHojd::deleteBreakPoint()
{
    if (bpTable_->isEditing()) return;
    const int n = pointCount();
    const int c = bpTable_->currentColumn();
    if (c < 1 || c > n || !r_.bpLabel[s_][c].equals("BP")) return;  // "SM" and "MT" stay
    auto& dist = r_.bpDistance[s_];
    auto& height = r_.bpHeight[s_];
    auto& label = r_.bpLabel[s_];
    for (int p = c; p < n; ++p) {
        dist[p] = dist[p + 1];
        height[p] = height[p + 1];
        label[p] = label[p + 1];
    }
    dist[n] = 0.0f;
    height[n] = 0.0f;
    label[n].clear();
    r_.bpCount[s_] = n - 1;
    copyHeights();
    markChanged();
    refresh();
}

void TForm_MedelHojd::copyValue()
{
    if (bpTable_->isEditing()) {
        if (const std::optional<QVariant> v = bpTable_->cellDelegate()->editorValue()) clipboard_ = v->toDouble();
        return;
    }
    const int row = bpTable_->currentRow(), c = bpTable_->currentColumn();
    if (row < 1 || c < 1 || c > pointCount()) return;
    clipboard_ = row == 1 ? displayedDistance(c) : static_cast<double>(r_.bpHeight[s_][c]);
}

void TForm_MedelHojd::pasteValue()
{
    if (bpTable_->isEditing()) {
        bpTable_->cellDelegate()->setEditorText(realText(clipboard_, 1));
        return;
    }
    const int row = bpTable_->currentRow(), col = bpTable_->currentColumn();
    if (row < 1 || col < 1 || col > pointCount()) return;
    if (!mayEditCell(*bpValues_, row, col) || !acceptsValue(*bpValues_, row, col, clipboard_)) return;
    applyValue(*bpValues_, row, col, clipboard_);
}

// ---------------------------------------------------------------------------------------
// Screen

void TForm_MedelHojd::screenListChanged(int index)
{
    if (updatingList_ || index < 0) return;
    const int old = r_.screenType[s_];
    if (index == 0) {
        if (old > 0) {
            rememberedDistance_ = r_.screenDistance[s_];
            rememberedCrest_ = r_.screenCrestHeight[s_];
        }
        r_.screenType[s_] = 0;
        r_.screenBaseHeight[s_] = 0.0f;
        r_.screenDistance[s_] = 0.0f;
        r_.screenCrestHeight[s_] = 0.0f;
    } else if (old <= 0) {
        r_.screenDistance[s_] = rememberedDistance_;
        r_.screenCrestHeight[s_] = rememberedCrest_;
        const TForm1::Outcome outcome = screenDialog_->execFor(s_, r_.bpDistanceBasis[s_], scale_);
        if (outcome == TForm1::Outcome::Cancelled) {
            r_.screenType[s_] = 0;
            setScreenList(0);
        } else {
            r_.screenType[s_] = index;
        }
    } else {
        r_.screenType[s_] = index;
    }
    markChanged();
    refresh();
}

// ---------------------------------------------------------------------------------------
// Receiver height, basis, info line

void TForm_MedelHojd::receiverHeightEntered()
{
    if (closing_) return;
    const std::optional<double> v = parseCellReal(receiverField_->text());
    if (!v || *v < 0) return;
    const float h = static_cast<float>(*v);
    receiverField_->setText(realText(h, 1));
    if (h == r_.receiverHeight[s_]) return;
    r_.receiverHeight[s_] = h;
    markChanged();
    refresh();
}

void TForm_MedelHojd::setBasis(int basis)
{
    if (basis < 0 || basis > 4) return;
    bpTable_->finishEditing();
    if (r_.bpDistanceBasis[s_] != basis) markChanged();
    r_.bpDistanceBasis[s_] = basis;
    // A factor of 0 (never computed) leaves the distances as stored.
    switch (basis) {
    case 1: scale_ = ctx_.factors.EqFactor != 0.0f ? 1.0 / ctx_.factors.EqFactor : 1.0; break;
    case 2: scale_ = ctx_.factors.MaxFactor != 0.0f ? 1.0 / ctx_.factors.MaxFactor : 1.0; break;
    case 4:
        scale_ = r_.startDistance[s_] != 0.0f
                     ? static_cast<double>(r_.endDistance[s_]) / static_cast<double>(r_.startDistance[s_])
                     : 1.0;
        break;
    default: scale_ = 1.0; break;
    }
    basisButtons_[basis]->setChecked(true);
    refresh();
}

void TForm_MedelHojd::showScreenInfo(int row)
{
    if (row >= 1 && row <= 3) info_->setText(QString::fromUtf8(kScreenInfo[row - 1]));
}

void TForm_MedelHojd::focusChanged(QWidget* old, QWidget* now)
{
    if (!isVisible()) return;
    if (within(now, bpTable_)) {
        info_->setText(QString::fromUtf8(kBreakPointInfo));
    } else if (now == screenList_) {
        showScreenInfo(3);
    } else if (within(now, screenTable_)) {
        showScreenInfo(screenTable_->currentRow());
    } else if (now == receiverField_) {
        info_->setText(QString::fromUtf8(kReceiverInfo));
    } else if (within(old, bpTable_) || old == receiverField_) {
        info_->clear();
    }
}
