// TForm_Inneniva, the indoor-level dialog.
#include "ui/Inneniva.h"

#include <QHeaderView>
#include <algorithm>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "model/DocumentState.h"
#include "model/ProjectRecord.h"
#include "ui/NumberText.h"
#include "ui/Platform.h"

TForm_Inneniva::TForm_Inneniva(ProjectRecord& record, DocumentState& doc, QWidget* parent)
    : QDialog(parent), r_(record), doc_(doc)
{
    setObjectName(QStringLiteral("TForm_Inneniva"));
    setWindowTitle(QStringLiteral("Innenivå"));
    setProperty("helpContext", 202);
    grid_ = new QTableWidget(5, 2, this);
    grid_->setObjectName(QStringLiteral("OvcTable_Inneniva"));
    grid_->horizontalHeader()->hide();
    grid_->verticalHeader()->hide();
    grid_->setColumnWidth(0, 170);
    grid_->setColumnWidth(1, 70);
    for (int row = 0; row < 5; ++row) grid_->setRowHeight(row, 19);
    const char* titles[] = {"Fönsteryta (m2)", "Ljudabsorption i rummet (m2)", "Fönstrens Rw-värde (la)", "",
                            "Fasadisolering (dBA)"};
    for (int row = 0; row < 5; ++row) {
        auto* t = new QTableWidgetItem(QString::fromUtf8(titles[row]));
        t->setFlags(Qt::ItemIsEnabled);
        grid_->setItem(row, 0, t);
        auto* v = new QTableWidgetItem;
        v->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (row >= 3) {
            v->setFlags(Qt::ItemIsEnabled);
            v->setForeground(Qt::gray);
        }
        grid_->setItem(row, 1, v);
    }
    // The title column holds its longest title also with larger fonts.
    int titleWidth = 170;
    for (int row = 0; row < 5; ++row)
        titleWidth = std::max(titleWidth, grid_->fontMetrics().horizontalAdvance(grid_->item(row, 0)->text()) + 12);
    grid_->setColumnWidth(0, titleWidth);
    grid_->setFixedSize(titleWidth + 70 + 4, 5 * 19 + 4);
    grid_->installEventFilter(this);
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("Button_Ok"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(grid_);
    lay->addWidget(ok, 0, Qt::AlignHCenter);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    connect(grid_, &QTableWidget::cellChanged, this, &TForm_Inneniva::cellChanged);
    // Enter that ends an edit also moves on to the next row.
    connect(grid_->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
            [this](QWidget*, QAbstractItemDelegate::EndEditHint hint) {
                if (hint == QAbstractItemDelegate::SubmitModelCache)
                    grid_->setCurrentCell((grid_->currentRow() + 1) % 3, 1);
            });
}

void TForm_Inneniva::load()
{
    loading_ = true;
    grid_->item(0, 1)->setText(realText(r_.windowArea));
    grid_->item(1, 1)->setText(realText(r_.roomAbsorption));
    grid_->item(2, 1)->setText(QString::number(r_.windowRw));
    grid_->item(4, 1)->setText(realText(r_.facadeInsulation));
    loading_ = false;
}

int TForm_Inneniva::execFor()
{
    load();
    grid_->setCurrentCell(0, 1);
    grid_->setFocus();
    return platform().execDialog(*this);
}

void TForm_Inneniva::cellChanged(int row, int column)
{
    if (loading_ || column != 1 || row > 2) return;
    QTableWidgetItem* it = grid_->item(row, 1);
    bool accepted = false;
    if (row == 2) {
        if (auto v = parseInt(it->text())) {
            r_.windowRw = *v;
            accepted = true;
        }
    } else if (auto v = parseReal(it->text()); v && *v >= 0.0) {
        (row == 0 ? r_.windowArea : r_.roomAbsorption) = static_cast<float>(*v);
        accepted = true;
    }
    if (accepted) {
        recomputeFacadeInsulation(r_);
        doc_.modified = true;
    }
    load();  // shows the stored values (a refused entry goes back to the old value)
}

bool TForm_Inneniva::eventFilter(QObject* o, QEvent* e)
{
    // Enter moves on to the next row.
    if (o == grid_ && e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            grid_->setCurrentCell((grid_->currentRow() + 1) % 3, 1);
            return true;
        }
    }
    return QDialog::eventFilter(o, e);
}
