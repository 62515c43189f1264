// StudyDialog: the floor and screen-height studies with their table, chart and PDF page.
#include "ui/StudyDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGraphicsScene>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLegend>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <cmath>

#include "model/Cp1252.h"
#include "ui/CodeLists.h"
#include "ui/NumberText.h"
#include "ui/Platform.h"
#include "ui/Settings.h"

namespace {
const QString kLimitEqKey = QStringLiteral("RiktvardeEkv");
const QString kLimitMaxKey = QStringLiteral("RiktvardeMax");
const QColor kMarked(255, 190, 190);

QString q(const std::string& s) { return QString::fromStdString(s); }

QDoubleSpinBox* heightBox(const char* name, double value, double min, QWidget* parent)
{
    auto* b = new QDoubleSpinBox(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setDecimals(2);
    b->setRange(min, kMaxStudyHeight);
    b->setSingleStep(0.5);
    b->setSuffix(QStringLiteral(" m"));
    b->setValue(value);
    b->setAlignment(Qt::AlignRight);
    return b;
}

// The chart's series: the equivalent level in the free field and (when on) in front of the
// facade, and the highest track maximum.
struct SeriesDef {
    StudyColumn column;
    const char* name;
    QColor colour;
};
const SeriesDef kSeries[] = {{StudyColumn::Eq, "Ekv. frifält", QColor(0, 90, 200)},
                             {StudyColumn::EqFacade, "Ekv. fasad", QColor(0, 150, 60)},
                             {StudyColumn::Max, "Max.", QColor(200, 60, 0)}};
}  // namespace

StudyDialog::StudyDialog(StudyKind kind, StudyContext ctx, QWidget* parent)
    : QDialog(parent), kind_(kind), ctx_(std::move(ctx))
{
    const bool floors = kind == StudyKind::Floors;
    setObjectName(floors ? QStringLiteral("TForm_Vaningsstudie") : QStringLiteral("TForm_Skarmhojdsstudie"));
    setWindowTitle(floors ? QStringLiteral("Våningsstudie") : QStringLiteral("Skärmhöjdsstudie"));

    const ProjectRecord& r = ctx_.record;
    const int n = std::clamp(r.stretchCount, 1, kMaxStretches);
    double from = 0.0, step = 0.5, to = 6.0;
    if (floors) {
        // Every floor from the ground floor up to three floors above the highest receiver.
        float highest = 0.0f;
        for (int s = 1; s <= n; ++s) highest = std::max(highest, r.receiverHeight[s]);
        from = 1.5;
        step = 3.0;
        to = std::clamp(static_cast<double>(highest) + 9.0, from, kMaxStudyHeight);
    }

    auto* heights = new QGroupBox(floors ? QStringLiteral("Mottagarhöjd över marken, alla delsträckor")
                                         : QStringLiteral("Skärmkrönets höjd över marken"),
                                  this);
    auto* hl = new QGridLayout(heights);
    Edit_Fran_ = heightBox("Edit_Fran", from, 0.0, heights);
    Edit_Steg_ = heightBox("Edit_Steg", step, 0.01, heights);
    Edit_Till_ = heightBox("Edit_Till", to, 0.0, heights);
    int row = 0;
    auto addRow = [&](const char* text, QWidget* w) {
        auto* l = new QLabel(QString::fromUtf8(text), heights);
        l->setBuddy(w);
        hl->addWidget(l, row, 0);
        hl->addWidget(w, row++, 1);
    };
    if (!floors) {
        ComboBox_Delstracka_ = new QComboBox(heights);
        ComboBox_Delstracka_->setObjectName(QStringLiteral("ComboBox_Delstracka"));
        ComboBox_Delstracka_->addItem(QStringLiteral("Alla med skärm"), 0);
        for (int s = 1; s <= n; ++s)
            if (r.screenType[s] > 0)
                ComboBox_Delstracka_->addItem(QStringLiteral("Delsträcka %1 (%2)")
                                                 .arg(s)
                                                 .arg(codeList(kScreenTypeNames).value(r.screenType[s] == 1 ? 1 : 2)),
                                             s);
        addRow("&Delsträcka", ComboBox_Delstracka_);
    }
    addRow("&Från", Edit_Fran_);
    addRow("S&teg", Edit_Steg_);
    addRow("T&ill", Edit_Till_);

    auto* limits = new QGroupBox(QStringLiteral("Riktvärden (dBA, frivilliga)"), this);
    auto* ll = new QFormLayout(limits);
    Edit_RiktvardeEkv_ = new QLineEdit(limits);
    Edit_RiktvardeEkv_->setObjectName(QStringLiteral("Edit_RiktvardeEkv"));
    Edit_RiktvardeMax_ = new QLineEdit(limits);
    Edit_RiktvardeMax_->setObjectName(QStringLiteral("Edit_RiktvardeMax"));
    for (QLineEdit* e : {Edit_RiktvardeEkv_, Edit_RiktvardeMax_}) {
        e->setMaxLength(8);
        e->setAlignment(Qt::AlignRight);
        e->setToolTip(QStringLiteral("Celler över riktvärdet markeras; lämna tomt för inget riktvärde"));
    }
    if (ctx_.appSettings) {
        Edit_RiktvardeEkv_->setText(ctx_.appSettings->studyText(kLimitEqKey));
        Edit_RiktvardeMax_->setText(ctx_.appSettings->studyText(kLimitMaxKey));
    }
    auto* le = new QLabel(QStringLiteral("Riktvärde &ekv."), limits);
    le->setBuddy(Edit_RiktvardeEkv_);
    auto* lm = new QLabel(QStringLiteral("Riktvärde &max"), limits);
    lm->setBuddy(Edit_RiktvardeMax_);
    ll->addRow(le, Edit_RiktvardeEkv_);
    ll->addRow(lm, Edit_RiktvardeMax_);
    connect(Edit_RiktvardeEkv_, &QLineEdit::textChanged, this, &StudyDialog::limitsChanged);
    connect(Edit_RiktvardeMax_, &QLineEdit::textChanged, this, &StudyDialog::limitsChanged);
    connect(Edit_RiktvardeEkv_, &QLineEdit::editingFinished, this, &StudyDialog::rememberLimits);
    connect(Edit_RiktvardeMax_, &QLineEdit::editingFinished, this, &StudyDialog::rememberLimits);

    Button_Berakna_ = new QPushButton(QStringLiteral("&Beräkna"), this);
    Button_Berakna_->setObjectName(QStringLiteral("Button_Berakna"));
    Button_Berakna_->setDefault(true);
    Button_Avbryt_ = new QPushButton(QStringLiteral("&Avbryt"), this);
    Button_Avbryt_->setObjectName(QStringLiteral("Button_Avbryt"));
    Button_Avbryt_->setAutoDefault(false);
    Gauge_Studie_ = new QProgressBar(this);
    Gauge_Studie_->setObjectName(QStringLiteral("Gauge_Studie"));
    Gauge_Studie_->setRange(0, 100);
    Gauge_Studie_->setValue(0);
    Label_Status_ = new QLabel(this);
    Label_Status_->setObjectName(QStringLiteral("Label_Status"));
    Button_Kopiera_ = new QPushButton(QStringLiteral("&Kopiera"), this);
    Button_Kopiera_->setObjectName(QStringLiteral("Button_Kopiera"));
    Button_Kopiera_->setToolTip(QStringLiteral("Klicka här för att skicka tabellen till klippbordet"));
    Button_SparaPdf_ = new QPushButton(QStringLiteral("Spara som &PDF..."), this);
    Button_SparaPdf_->setObjectName(QStringLiteral("Button_SparaPdf"));
    Button_Stang_ = new QPushButton(QStringLiteral("&Stäng"), this);
    Button_Stang_->setObjectName(QStringLiteral("Button_Stang"));
    for (QPushButton* b : {Button_Kopiera_, Button_SparaPdf_, Button_Stang_}) b->setAutoDefault(false);
    connect(Button_Berakna_, &QPushButton::clicked, this, &StudyDialog::calculate);
    connect(Button_Avbryt_, &QPushButton::clicked, this, [this] { cancel_ = true; });
    connect(Button_Kopiera_, &QPushButton::clicked, this, &StudyDialog::copyTable);
    connect(Button_SparaPdf_, &QPushButton::clicked, this, &StudyDialog::savePdf);
    connect(Button_Stang_, &QPushButton::clicked, this, &StudyDialog::reject);
    // F1 anywhere in the window shows the studies' help topic.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { platform().showHelp(this, kHelpContext); });

    Table_Studie_ = new QTableWidget(this);
    Table_Studie_->setObjectName(QStringLiteral("Table_Studie"));
    Table_Studie_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table_Studie_->verticalHeader()->setVisible(false);
    Table_Studie_->verticalHeader()->setDefaultSectionSize(Table_Studie_->fontMetrics().height() + 6);
    Table_Studie_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    Table_Studie_->setMinimumHeight(160);
    Table_Studie_->horizontalHeader()->setStretchLastSection(true);
    Chart_Studie_ = new QChartView(makeChart(), this);
    Chart_Studie_->setObjectName(QStringLiteral("Chart_Studie"));
    Chart_Studie_->setRenderHint(QPainter::Antialiasing);
    Chart_Studie_->setMinimumSize(420, 300);

    auto* left = new QVBoxLayout;
    left->addWidget(heights);
    left->addWidget(limits);
    auto* run = new QHBoxLayout;
    run->addWidget(Button_Berakna_);
    run->addWidget(Button_Avbryt_);
    left->addLayout(run);
    left->addWidget(Gauge_Studie_);
    left->addWidget(Label_Status_);
    left->addStretch(1);
    left->addWidget(Button_Kopiera_);
    left->addWidget(Button_SparaPdf_);
    left->addWidget(Button_Stang_);
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addWidget(Chart_Studie_, 1);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(top, 3);
    lay->addWidget(Table_Studie_, 2);
    resize(1080, 700);
    setBusy(false);
}

StudyDialog::~StudyDialog() = default;

QChart* StudyDialog::chart() const { return Chart_Studie_->chart(); }

QString StudyDialog::titleText() const
{
    if (kind_ == StudyKind::Floors) return QStringLiteral("Våningsstudie: mottagarhöjd över marken, alla delsträckor");
    if (lastRequest_.stretch == 0)
        return QStringLiteral("Skärmhöjdsstudie: skärmkrönets höjd, alla delsträckor med skärm");
    return QStringLiteral("Skärmhöjdsstudie: skärmkrönets höjd, delsträcka %1").arg(lastRequest_.stretch);
}

std::optional<double> StudyDialog::limit(const QLineEdit* e) const
{
    const QString t = e->text().trimmed();
    if (t.isEmpty()) return std::nullopt;
    return parseReal(t);
}

std::optional<double> StudyDialog::limitEq() const { return limit(Edit_RiktvardeEkv_); }
std::optional<double> StudyDialog::limitMax() const { return limit(Edit_RiktvardeMax_); }

bool StudyDialog::limitsValid()
{
    for (QLineEdit* e : {Edit_RiktvardeEkv_, Edit_RiktvardeMax_}) {
        if (e->text().trimmed().isEmpty() || limit(e)) continue;
        showMessage(this, QStringLiteral("Riktvärdet \"%1\" är inget tal. Skriv t.ex. 55 eller lämna fältet tomt.")
                              .arg(e->text().trimmed()));
        e->setFocus();
        e->selectAll();
        return false;
    }
    return true;
}

void StudyDialog::rememberLimits()
{
    if (!ctx_.appSettings) return;
    // Only what can be used again: a number or nothing.
    const std::pair<const QLineEdit*, QString> fields[] = {{Edit_RiktvardeEkv_, kLimitEqKey},
                                                           {Edit_RiktvardeMax_, kLimitMaxKey}};
    for (const auto& [e, key] : fields) {
        const QString t = e->text().trimmed();
        if (t.isEmpty() || limit(e)) ctx_.appSettings->setStudyText(key, t);
    }
}

void StudyDialog::limitsChanged()
{
    // The marks and the lines follow the fields at once; no new calculation is needed.
    if (hasResults()) showTable();
}

void StudyDialog::setBusy(bool busy)
{
    for (QWidget* w : std::initializer_list<QWidget*>{Edit_Fran_, Edit_Steg_, Edit_Till_, ComboBox_Delstracka_,
                                                      Edit_RiktvardeEkv_, Edit_RiktvardeMax_, Button_Berakna_,
                                                      Button_Stang_})
        if (w) w->setEnabled(!busy);
    Button_Avbryt_->setEnabled(busy);
    Button_Kopiera_->setEnabled(!busy && hasResults());
    Button_SparaPdf_->setEnabled(!busy && hasResults());
}

void StudyDialog::calculate()
{
    if (running_) return;
    if (!limitsValid()) return;
    StudyRequest req;
    req.kind = kind_;
    req.stretch = ComboBox_Delstracka_ ? ComboBox_Delstracka_->currentData().toInt() : 0;
    std::string why = HeightRange(Edit_Fran_->value(), Edit_Steg_->value(), Edit_Till_->value(), req.heights);
    if (why.empty()) why = StudyRefusal(ctx_.record, req);
    if (!why.empty()) {
        showMessage(this, q(why));
        return;
    }

    running_ = true;
    cancel_ = false;
    outcome_ = {};
    table_ = {};
    showTable();
    Gauge_Studie_->setValue(0);
    setBusy(true);
    Button_Avbryt_->setFocus();
    StudyHooks hooks;
    hooks.progress = [this](int done, int total) {
        Gauge_Studie_->setValue(total ? 100 * done / total : 100);
        Label_Status_->setText(QStringLiteral("%1 av %2 höjder beräknade").arg(done).arg(total));
        QApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
    };
    hooks.cancelRequested = [this] { return cancel_; };
    bool failed = false;
    try {
        outcome_ = RunStudy(ctx_.record, ctx_.settings, ctx_.factors, req, ctx_.threads, hooks);
    } catch (const std::exception& e) {
        failed = true;
        outcome_ = {};
        showMessage(this, q(e.what()), MsgIcon::Error);
    }
    running_ = false;
    if (outcome_.cancelled) {
        Gauge_Studie_->setValue(0);
        Label_Status_->setText(QStringLiteral("Beräkningen avbröts."));
    } else if (!failed) {
        lastRequest_ = req;
        Label_Status_->setText(QStringLiteral("%1 höjder beräknade.").arg(outcome_.rows.size()));
    }
    table_ = buildStudyTable(ctx_.record, outcome_.rows, ctx_.settings.indoorBoxChecked,
                             ctx_.settings.facadeBoxChecked, ctx_.decimalSeparator);
    showTable();
    setBusy(false);
    Button_Berakna_->setFocus();
}

void StudyDialog::reject()
{
    // Closing while the heights run stops them first; the dialog stays until they have.
    if (running_) {
        cancel_ = true;
        return;
    }
    rememberLimits();
    QDialog::reject();
}

void StudyDialog::showTable()
{
    const std::optional<double> eq = limitEq(), mx = limitMax();
    const bool notes = table_.anyNote;
    Table_Studie_->clear();
    Table_Studie_->setColumnCount(static_cast<int>(table_.header.size()) + (notes ? 1 : 0));
    Table_Studie_->setRowCount(static_cast<int>(table_.cells.size()));
    QStringList head;
    for (const auto& h : table_.header) head << q(h);
    if (notes) head << QStringLiteral("Meddelande");
    Table_Studie_->setHorizontalHeaderLabels(head);
    for (int i = 0; i < static_cast<int>(table_.cells.size()); ++i) {
        for (int c = 0; c < static_cast<int>(table_.header.size()); ++c) {
            auto* item = new QTableWidgetItem(q(table_.cells[i][c]));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            const double v = table_.values[i][c];
            const StudyColumn col = table_.columns[c];
            const bool above = !std::isnan(v) && ((StudyTable::isEquivalentOutdoor(col) && eq && v > *eq) ||
                                                  (StudyTable::isMaximum(col) && mx && v > *mx));
            if (above) {
                item->setBackground(kMarked);
                item->setToolTip(QStringLiteral("Över riktvärdet"));
            }
            item->setData(Qt::UserRole, above);
            Table_Studie_->setItem(i, c, item);
        }
        if (notes) Table_Studie_->setItem(i, static_cast<int>(table_.header.size()), new QTableWidgetItem(q(table_.notes[i])));
    }
    Table_Studie_->resizeColumnsToContents();
    QChart* old = Chart_Studie_->chart();
    Chart_Studie_->setChart(makeChart());
    delete old;
}

QChart* StudyDialog::makeChart() const
{
    auto* chart = new QChart;
    chart->setTitle(titleText());
    chart->legend()->setAlignment(Qt::AlignBottom);
    auto* x = new QValueAxis;
    x->setTitleText(kind_ == StudyKind::Floors ? QStringLiteral("Mottagarhöjd (m)") : QStringLiteral("Skärmhöjd (m)"));
    x->setLabelFormat(QStringLiteral("%g"));
    auto* y = new QValueAxis;
    y->setTitleText(QStringLiteral("Ljudnivå (dBA)"));
    y->setLabelFormat(QStringLiteral("%.0f"));
    y->setTickType(QValueAxis::TicksDynamic);
    y->setTickAnchor(0.0);
    y->setTickInterval(5.0);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);

    double lo = 1e300, hi = -1e300;
    // Before a run the axis shows the heights asked for.
    const double x0 = table_.values.empty() ? Edit_Fran_->value() : table_.values.front()[0];
    const double x1 = table_.values.empty() ? Edit_Till_->value() : table_.values.back()[0];
    const double step = table_.values.size() > 1 ? table_.values[1][0] - table_.values[0][0] : Edit_Steg_->value();
    // A tick on every height, or on every second, third ... so that there are at most ten.
    const double ticks = step > 0.0 ? std::ceil((x1 - x0) / step / 10.0 - 1e-9) : 1.0;
    x->setTickType(QValueAxis::TicksDynamic);
    x->setTickAnchor(x0);
    x->setTickInterval(step > 0.0 ? step * std::max(1.0, ticks) : 1.0);
    auto attach = [&](QLineSeries* s) {
        chart->addSeries(s);
        s->attachAxis(x);
        s->attachAxis(y);
    };
    for (const SeriesDef& d : kSeries) {
        const int c = table_.columnOf(d.column);
        if (c < 0) continue;
        auto* s = new QLineSeries;
        s->setName(QString::fromUtf8(d.name));
        s->setPen(QPen(d.colour, 2));
        s->setPointsVisible(true);
        for (const auto& row : table_.values) {
            if (std::isnan(row[c])) continue;
            s->append(row[0], row[c]);
            lo = std::min(lo, row[c]);
            hi = std::max(hi, row[c]);
        }
        attach(s);
    }
    auto limitLine = [&](std::optional<double> v, const char* name, QColor colour) {
        if (!v) return;
        auto* s = new QLineSeries;
        s->setName(QStringLiteral("%1 %2 dBA").arg(QString::fromUtf8(name), realText(*v, 1)));
        QPen pen(colour, 1.5, Qt::DashLine);
        s->setPen(pen);
        s->append(x0, *v);
        s->append(x1, *v);
        lo = std::min(lo, *v);
        hi = std::max(hi, *v);
        attach(s);
    };
    limitLine(limitEq(), "Riktvärde ekv.", QColor(0, 90, 200));
    limitLine(limitMax(), "Riktvärde max", QColor(200, 60, 0));
    x->setRange(x0, x1 > x0 ? x1 : x0 + 1.0);
    if (lo > hi) {
        // No levels yet: 0 to 100 dBA, labelled every 10 so that the labels fit.
        y->setTickInterval(10.0);
        y->setRange(0.0, 100.0);
    } else {
        y->setRange(std::floor(lo / 5.0) * 5.0 - 5.0, std::ceil(hi / 5.0) * 5.0 + 5.0);
    }
    return chart;
}

QString StudyDialog::clipboardText() const
{
    const QString head = kind_ == StudyKind::Floors ? QStringLiteral("VÅNINGSSTUDIE") : QStringLiteral("SKÄRMHÖJDSSTUDIE");
    return head + QStringLiteral("\r\n") + q(studyTableTabbed(table_));
}

void StudyDialog::copyTable()
{
    if (!hasResults()) return;
    QClipboard* cb = QGuiApplication::clipboard();
    cb->clear();
    cb->setText(clipboardText());
}

void StudyDialog::savePdf()
{
    if (!hasResults()) return;
    QString suggestion;
    if (!ctx_.doc.currentFileName.empty()) {
        const QFileInfo info(q(ctx_.doc.currentFileName));
        suggestion = info.absolutePath() + QLatin1Char('/') + info.completeBaseName() +
                     (kind_ == StudyKind::Floors ? QStringLiteral("-vaningar.pdf") : QStringLiteral("-skarm.pdf"));
    }
    QString path = platform().saveFileName(this, suggestion, QStringLiteral("PDF-filer (*.pdf)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
    writePdf(path);
}

bool StudyDialog::writePdf(const QString& path)
{
    QPdfWriter pdf(path);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setResolution(300);
    pdf.setTitle(titleText());
    pdf.setCreator(QStringLiteral("Skenbrus"));
    QPainter painter;
    if (!painter.begin(&pdf)) {
        showMessage(this, QStringLiteral("Kan inte skriva filen %1.").arg(QDir::toNativeSeparators(path)), MsgIcon::Error);
        return false;
    }
    paintPage(painter);
    if (!painter.end()) {
        showMessage(this, QStringLiteral("Kan inte skriva filen %1.").arg(QDir::toNativeSeparators(path)), MsgIcon::Error);
        return false;
    }
    return true;
}

void StudyDialog::paintPage(QPainter& p)
{
    const double dpiX = p.device()->logicalDpiX(), dpiY = p.device()->logicalDpiY();
    auto X = [dpiX](double cm) { return dpiX * cm / 2.54; };
    auto Y = [dpiY](double cm) { return dpiY * cm / 2.54; };
    auto font = [&p](double pt, bool bold = false) {
        QFont f(QStringLiteral("Times New Roman"));
        f.setStyleHint(QFont::Serif);
        f.setPointSizeF(pt);
        f.setBold(bold);
        p.setFont(f);
    };
    auto text = [&](double x, double y, const QString& s, int align = Qt::AlignLeft) {
        const QRectF r(X(x), Y(y), X(17.4), Y(0.6));
        p.drawText(align == Qt::AlignLeft ? r : QRectF(X(2.3), Y(y), X(17.4), Y(0.6)), align | Qt::AlignTop, s);
    };
    const double left = 2.3, right = 19.7, widthCm = right - left;
    p.setPen(QPen(Qt::black, Y(0.02)));

    // Header: the project's texts as on the report.
    font(12);
    p.drawLine(QPointF(X(left), Y(0.8)), QPointF(X(right), Y(0.8)));
    p.drawLine(QPointF(X(left), Y(2.1)), QPointF(X(right), Y(2.1)));
    text(0, 1.0, titleText(), Qt::AlignHCenter);
    text(0, 1.0, QLocale().toString(QDate::currentDate(), QLocale::ShortFormat), Qt::AlignRight);
    font(10);
    text(0, 1.5, QStringLiteral("(Enl. Naturvårdverkets rapport 4935. Skenbrus version %1)").arg(SKENBRUS_VERSION_TEXT),
         Qt::AlignHCenter);
    const ProjectRecord& r = ctx_.record;
    const QString labels[] = {QStringLiteral("Objekt:"), QStringLiteral("Beskrivning:"), QStringLiteral("Handläggare:"),
                              QStringLiteral("Databas:")};
    const QString values[] = {q(fromCp1252(r.objectName.bytes())), q(fromCp1252(r.description.bytes())),
                              q(fromCp1252(r.caseOfficer.bytes())),
                              QDir::toNativeSeparators(q(ctx_.doc.currentFileName))};
    for (int i = 0; i < 4; ++i) {
        font(11);
        text(left, 2.5 + 0.5 * i, labels[i]);
        font(11, i < 3);
        text(6.1, 2.5 + 0.5 * i, values[i]);
    }
    font(10);
    QString line = QStringLiteral("Segmentlängd: %1 m").arg(ctx_.settings.segmentLength);
    if (auto v = limitEq()) line += QStringLiteral("    Riktvärde ekv.: %1 dBA").arg(realText(*v, 1));
    if (auto v = limitMax()) line += QStringLiteral("    Riktvärde max: %1 dBA").arg(realText(*v, 1));
    text(left, 4.6, line);

    // The chart, drawn as vectors from its own scene.
    const QRectF chartRect(X(left), Y(5.3), X(widthCm), Y(9.0));
    {
        QGraphicsScene scene;
        QChart* c = makeChart();
        c->setBackgroundVisible(false);
        scene.addItem(c);
        const QSizeF logical(widthCm / 2.54 * 96.0, 9.0 / 2.54 * 96.0);
        c->resize(logical);
        scene.setSceneRect(QRectF(QPointF(0, 0), logical));
        scene.render(&p, chartRect, scene.sceneRect());
    }

    // The table below it: as many rows as there are heights, smaller type for long studies.
    const double top = 14.8, bottom = 28.5;
    const int cols = static_cast<int>(table_.header.size());
    const int rows = static_cast<int>(table_.cells.size());
    const double headH = 1.0;
    const double rowH = std::min(0.45, (bottom - top - headH) / std::max(1, rows + (table_.anyNote ? rows : 0)));
    // Long studies get smaller type so that every row stays on the page (the PDF can be zoomed).
    const double pt = std::clamp(rowH / 0.45 * 9.0, 1.0, 9.0);
    const double colW = widthCm / cols;
    const std::optional<double> eq = limitEq(), mx = limitMax();
    font(std::min(pt, 8.0), true);
    p.setPen(QPen(Qt::black, Y(0.01)));
    for (int c = 0; c < cols; ++c)
        p.drawText(QRectF(X(left + c * colW), Y(top), X(colW), Y(headH)), Qt::AlignCenter | Qt::TextWordWrap,
                   q(table_.header[c]));
    p.drawLine(QPointF(X(left), Y(top + headH)), QPointF(X(right), Y(top + headH)));
    double y = top + headH;
    for (int i = 0; i < rows; ++i) {
        for (int c = 0; c < cols; ++c) {
            const QRectF cell(X(left + c * colW), Y(y), X(colW), Y(rowH));
            const double v = table_.values[i][c];
            const StudyColumn col = table_.columns[c];
            if (!std::isnan(v) && ((StudyTable::isEquivalentOutdoor(col) && eq && v > *eq) ||
                                   (StudyTable::isMaximum(col) && mx && v > *mx)))
                p.fillRect(cell, kMarked);
            font(pt, c == 0);
            p.drawText(cell.adjusted(0, 0, -X(0.25), 0), Qt::AlignRight | Qt::AlignVCenter, q(table_.cells[i][c]));
        }
        y += rowH;
        if (!table_.notes[i].empty()) {
            font(std::max(1.0, pt - 1));
            p.drawText(QRectF(X(left + colW), Y(y), X(widthCm - colW), Y(rowH)), Qt::AlignLeft | Qt::AlignVCenter,
                       q(table_.notes[i]));
            y += rowH;
        }
    }
    p.drawLine(QPointF(X(left), Y(y)), QPointF(X(right), Y(y)));
}
