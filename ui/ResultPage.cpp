#include "ui/ResultPage.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "calc/Format.h"
#include "calc/Results.h"
#include "model/ProjectRecord.h"
#include "ui/NumberText.h"

namespace {
constexpr int kRowHeight = 19;
constexpr int kLabelLimit = 70;

QTableWidget* makeTable(const char* name, int rows, int columns, QWidget* parent)
{
    auto* t = new QTableWidget(rows, columns, parent);
    t->setObjectName(QString::fromLatin1(name));
    t->horizontalHeader()->hide();
    t->verticalHeader()->hide();
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionMode(QAbstractItemView::NoSelection);
    t->setFocusPolicy(Qt::NoFocus);
    t->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    t->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    t->setWordWrap(false);
    t->setStyleSheet(QStringLiteral("QTableWidget { gridline-color: #c8ced6; }"));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            auto* it = new QTableWidgetItem;
            it->setFlags(Qt::ItemIsEnabled);
            if (r == 0) {
                it->setBackground(QColor(0xe6, 0xeb, 0xf1));
                QFont f = it->font();
                f.setBold(true);
                it->setFont(f);
            }
            it->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
            t->setItem(r, c, it);
        }
    return t;
}

void setText(QTableWidget* t, int row, int col, const QString& text) { t->item(row, col)->setText(text); }

int rowHeight(const QTableWidget* t) { return std::max(kRowHeight, t->fontMetrics().height() + 4); }

// Width of the title column: at least `least`, wide enough for its texts.
int titleWidth(const QTableWidget* t, int least)
{
    int w = least;
    QFont bold = t->font();
    bold.setBold(true);
    const QFontMetrics fm(t->font()), fb(bold);
    for (int r = 0; r < t->rowCount(); ++r)
        if (!t->isRowHidden(r))
            w = std::max(w, (r == 0 ? fb : fm).horizontalAdvance(t->item(r, 0)->text()) + 12);
    return w;
}

void fixSize(QTableWidget* t, int visibleRows, int width)
{
    const int h = rowHeight(t);
    for (int r = 0; r < t->rowCount(); ++r) t->setRowHeight(r, h);
    const int frame = 2 * t->frameWidth();
    t->setFixedSize(width + frame, h * visibleRows + frame);
}
}  // namespace

QString ResultPage::wholeText(double v) { return QString::fromStdString(formatFixed(v, 0, decimalSeparator().toLatin1())); }

QString ResultPage::tenthText(double v) { return QString::fromStdString(formatFixed(v, 1, decimalSeparator().toLatin1())); }

ResultPage::ResultPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Pagecontrol_Resultat"));
    setProperty("helpContext", 80);

    OvcTable_Res_ = makeTable("OvcTable_Res", 4, 4, this);
    OvcTable_Res_->setProperty("helpContext", 80);
    const char* resHead[] = {"Resultat", "Ekv. ", "Max.", "Max. samv. tåg/spår"};
    for (int c = 0; c < 4; ++c) setText(OvcTable_Res_, 0, c, QString::fromUtf8(resHead[c]));
    setText(OvcTable_Res_, 1, 0, QString::fromUtf8("Frifältsvärde (dBA)"));

    const QString eqRow = QString::fromUtf8("Bullertillskott för ekv. nivå (dBA)");
    const QString maxRow = QString::fromUtf8("Bullertillskott för max. nivå (dBA)");
    // The contributions of the stretches and of the tracks: numbered columns, two rows.
    auto contributions = [&](const char* name, const char* heading, int columns) {
        QTableWidget* t = makeTable(name, 3, 1 + columns, this);
        t->setProperty("helpContext", 80);
        setText(t, 0, 0, QString::fromUtf8(heading));
        for (int c = 1; c <= columns; ++c) setText(t, 0, c, QString::number(c));
        setText(t, 1, 0, eqRow);
        setText(t, 2, 0, maxRow);
        return t;
    };
    OvcTable_DelRes_ = contributions("OvcTable_DelRes", "Delsträcka", kMaxStretches);
    OvcTable_SparRes_ = contributions("OvcTable_SparRes", "Spår", kMaxTracks);

    GroupBox_Utskrift_ = new QGroupBox(QStringLiteral("Utskrift"), this);
    GroupBox_Utskrift_->setObjectName(QStringLiteral("GroupBox_Utskrift"));
    GroupBox_Export_ = new QGroupBox(QStringLiteral("Export"), this);
    GroupBox_Export_->setObjectName(QStringLiteral("GroupBox_Export"));
    for (QGroupBox* g : {GroupBox_Utskrift_, GroupBox_Export_}) {
        auto* l = new QVBoxLayout(g);
        l->setContentsMargins(8, 4, 8, 4);
        l->setSpacing(4);
    }

    // The tables one below the other, 20 pixels apart: result grid, tracks, stretches.
    // The report and export groups follow a little closer, so that the page fits the window.
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(8, 4, 8, 4);
    page->setSpacing(10);
    auto* v = new QVBoxLayout;
    v->setSpacing(20);
    v->addWidget(OvcTable_Res_, 0, Qt::AlignLeft);
    v->addWidget(OvcTable_SparRes_, 0, Qt::AlignLeft);
    v->addWidget(OvcTable_DelRes_, 0, Qt::AlignLeft);
    page->addLayout(v);
    auto* groups = new QHBoxLayout;
    groups->setSpacing(12);
    groups->addWidget(GroupBox_Utskrift_);
    groups->addWidget(GroupBox_Export_);
    groups->addStretch();
    page->addStretch();
    page->addLayout(groups);

    placeTables();
}

void ResultPage::placeTables()
{
    // Before the first run: one corrected row at most, one stretch and one track.
    for (int r = 2; r <= 3; ++r) OvcTable_Res_->setRowHidden(r, true);
    fixSize(OvcTable_Res_, 2, 560);
    for (QTableWidget* t : {OvcTable_DelRes_, OvcTable_SparRes_}) {
        for (int c = 2; c < t->columnCount(); ++c) t->setColumnHidden(c, true);
        t->setColumnWidth(0, titleWidth(t, 200));
        t->setColumnWidth(1, 60);
        fixSize(t, 3, t->columnWidth(0) + 60);
    }
}

void ResultPage::showResults(const ProjectRecord& r, const CalcResults& res)
{
    const int nStretches = std::clamp(r.stretchCount, 1, kMaxStretches);
    const int nTracks = std::clamp(r.track[nStretches], 1, kMaxTracks);

    // Result grid: free field and the corrected rows of the options that are on.
    const int rows = 1 + std::clamp(res.correctedRows, 0, 2);
    for (int row = 1; row <= 3; ++row) {
        OvcTable_Res_->setRowHidden(row, row > rows);
        if (row >= 2) {
            const QString label = QString::fromStdString(res.ResultRowLabel[row]).left(kLabelLimit);
            setText(OvcTable_Res_, row, 0, label);
            OvcTable_Res_->item(row, 0)->setToolTip(label);
        }
        for (int c = 1; c <= 3; ++c) setText(OvcTable_Res_, row, c, wholeText(res.ResultGrid[row][c]));
    }
    // With one track there is no simultaneous maximum: the table is narrower by that column.
    const int width = nTracks > 1 ? 700 : 560;
    OvcTable_Res_->setColumnHidden(3, nTracks <= 1);
    QFont bold = OvcTable_Res_->font();
    bold.setBold(true);
    const int samv = std::max(140, QFontMetrics(bold).horizontalAdvance(OvcTable_Res_->item(0, 3)->text()) + 16);
    OvcTable_Res_->setColumnWidth(1, 60);
    OvcTable_Res_->setColumnWidth(2, 60);
    OvcTable_Res_->setColumnWidth(3, samv);
    OvcTable_Res_->setColumnWidth(0, width - 120 - (nTracks > 1 ? samv : 0));
    fixSize(OvcTable_Res_, rows + 1, width);

    // One column per stretch or per track in use: its equivalent and its maximum level.
    auto fillLevelColumns = [this](QTableWidget* table, int used, int columns, const auto& eq, const auto& max) {
        for (int c = 1; c <= columns; ++c) {
            table->setColumnHidden(c, c > used);
            table->setColumnWidth(c, 60);
            setText(table, 1, c, c <= used ? tenthText(eq[c]) : QString());
            setText(table, 2, c, c <= used ? tenthText(max[c]) : QString());
        }
        table->setColumnWidth(0, titleWidth(table, 200));
        fixSize(table, 3, table->columnWidth(0) + 60 * used);
    };
    fillLevelColumns(OvcTable_DelRes_, nStretches, kMaxStretches, res.StretchEqLevel, res.StretchMaxLevel);
    fillLevelColumns(OvcTable_SparRes_, nTracks, kMaxTracks, res.TrackEqLevel, res.TrackMaxLevel);
}
