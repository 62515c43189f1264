// The report and export commands of the results page, driven through their buttons and
// menu items on their own groups, with the dialogs answered in place.

#include <QAbstractButton>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTranslator>

#include "main_fixture.h"
#include "report/Exports.h"
#include "report/ReportFixtures.h"
#include "ui/NumberText.h"
#include "ui/ReportActions.h"
#include "ui/ResultPage.h"
#include "ui/Settings.h"
#include "ui/Translations.h"

namespace {
// The pages of a PDF file; -1 when the file is missing or no PDF.
int pdfPages(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QString text = QString::fromLatin1(f.readAll());
    return text.startsWith(QStringLiteral("%PDF-")) ? int(text.count(QRegularExpression(QStringLiteral("/Type /Page\\b"))))
                                                     : -1;
}

// An answer that shows the dialog, lets it lay itself out, hands it to `look` and turns it down.
std::function<int(QDialog&)> lookAt(std::function<void(QDialog&)> look)
{
    return [look](QDialog& d) {
        d.show();
        QApplication::processEvents();
        look(d);
        d.reject();
        return int(QDialog::Rejected);
    };
}
}  // namespace

class ReportActionsTest : public ::testing::Test {
protected:
    ScopedScriptedPlatform plat;
    ProjectRecord record = twoTrackProject();
    CalcResults results = twoTrackResults();
    DocumentState doc;
    QSpinBox segmentControl;
    std::unique_ptr<ResultPage> page;
    std::unique_ptr<QMenu> printMenu;
    QAction* setupItem = nullptr;
    QAction* printItem = nullptr;
    QAction* previewItem = nullptr;
    std::unique_ptr<ReportActions> actions;
    QTemporaryDir dir;

    void SetUp() override
    {
        segmentControl.setValue(3);
        make('.');
    }
    void TearDown() override { EXPECT_TRUE(plat->dialogAnswers.empty()) << "a dialog answer was not used"; }

    void make(char separator)
    {
        actions.reset();
        page = std::make_unique<ResultPage>();
        printMenu = std::make_unique<QMenu>(QStringLiteral("&Utskrift"));
        printItem = printMenu->addAction(QStringLiteral("&Skrivare"));
        previewItem = printMenu->addAction(QStringLiteral("&Granska"));
        printMenu->addAction(QStringLiteral("&Exportera"))->setVisible(false);
        setupItem = new QAction(QStringLiteral("Skrivar&Inställning..."), printMenu.get());

        doc.currentFileName = dir.filePath(QStringLiteral("projekt.sdb")).toStdString();
        doc.segmentLength = 1;
        actions = std::make_unique<ReportActions>(
            ReportContext{record, results, doc, &segmentControl, separator, page.get()});
        actions->fillGroups(page->GroupBox_Utskrift, page->GroupBox_Export);
        actions->attachMenu(setupItem, printMenu.get(), printItem, previewItem);
        page->show();
    }
    template <class T = QPushButton>
    T* control(const char* name)
    {
        return page->findChild<T*>(QString::fromLatin1(name));
    }
    QAction* pdfItem() { return printMenu->findChild<QAction*>(QStringLiteral("Meny_Resultat_Utskrift_SparaPdf")); }

    // The pages the preview shows when `command` opens it; -1 when no preview was shown.
    int previewPages(QAction* command)
    {
        int pages = -1;
        // The answer is used once and gone: it writes to `pages`, which dies with this call.
        // (An answer left installed once wrote to a finished call's variable.)
        plat->dialogAnswers.push_back(lookAt([&](QDialog& d) {
            EXPECT_EQ(qobject_cast<QPrintPreviewDialog*>(&d)->printer()->docName(), "Skenbrus");
            if (auto* w = d.findChild<QPrintPreviewWidget*>()) pages = w->pageCount();
        }));
        command->trigger();
        return pages;
    }
    QString clipboardAfter(const char* button)
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("förra"));
        QTest::mouseClick(control(button), Qt::LeftButton);
        return QGuiApplication::clipboard()->text();
    }
};

TEST_F(ReportActionsTest, ReportCommandsFollowWhetherTheResultsAreCurrent)
{
    // "Spara som PDF..." joins the print menu after "&Granska"; "&Exportera" stays hidden.
    const QList<QAction*> items = printMenu->actions();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[2], pdfItem());
    EXPECT_FALSE(items[3]->isVisible());

    auto enabled = [&] {
        return std::vector<bool>{control("Button_Granska")->isEnabled(), control("Button_Skrivare")->isEnabled(),
                                 control("Button_SparaPdf")->isEnabled(), printItem->isEnabled(),
                                 previewItem->isEnabled(), pdfItem()->isEnabled()};
    };
    EXPECT_EQ(enabled(), std::vector<bool>(6, false));
    plat->printer = true;
    plat->fileAnswers.push_back(dir.filePath(QStringLiteral("stale.pdf")));
    // Stale results print nothing, whichever way the command comes.
    actions->preview(true);
    actions->print();
    actions->savePdf();
    previewItem->trigger();
    EXPECT_TRUE(plat->dialogs.empty());
    EXPECT_EQ(plat->fileAnswers.size(), 1u);
    EXPECT_EQ(doc.segmentLength, 1);

    actions->setResultsCurrent(true);
    EXPECT_EQ(enabled(), std::vector<bool>(6, true));
    actions->setResultsCurrent(false);
    // The exports and the printer set-up do not depend on the results; the set-up works on
    // the A4 printer the report goes to.
    EXPECT_TRUE(control("Button_Res2cp")->isEnabled());
    QPrinter* setupPrinter = nullptr;
    plat->dialogAnswers.push_back([&](QDialog& d) {
        setupPrinter = qobject_cast<QPageSetupDialog*>(&d)->printer();
        return int(QDialog::Rejected);
    });
    setupItem->trigger();
    EXPECT_EQ(setupPrinter, &actions->printer());
    EXPECT_EQ(actions->printer().pageLayout().pageSize().id(), QPageSize::A4);
}

TEST_F(ReportActionsTest, ExportButtonsPutTheExportTextsOnTheClipboard)
{
    // Each says on the status line what it copied.
    QStringList said;
    QObject::connect(actions.get(), &ReportActions::statusMessage, [&](const QString& t) { said << t; });
    EXPECT_EQ(clipboardAfter("Button_Res2cp"), QString::fromStdString(exportResults(record, results)));
    EXPECT_EQ(clipboardAfter("Button_Tag2cp"), QString::fromStdString(exportTrainData(record)));
    EXPECT_EQ(clipboardAfter("Button_Str2cp"), QString::fromStdString(exportStretchData(record, results)));
    EXPECT_EQ(said, (QStringList{QString::fromUtf8("Resultat kopierat till urklipp."),
                                 QString::fromUtf8("Tågdata kopierat till urklipp."),
                                 QString::fromUtf8("Sträckdata kopierat till urklipp.")}));
    // The numbers take the separator the commands were given.
    make(',');
    EXPECT_EQ(clipboardAfter("Button_Str2cp"), QString::fromStdString(exportStretchData(record, results, ',')));
    EXPECT_TRUE(clipboardAfter("Button_Res2cp").contains(QStringLiteral("(+1,5 dBA)")));
}

TEST_F(ReportActionsTest, SavesTheChosenReportAsAPdfFile)
{
    actions->setResultsCurrent(true);
    // The date is written year first whatever the locale.
    const QLocale locale;
    QLocale::setDefault(QLocale::c());
    EXPECT_NE(actions->buildPage().findText(QDate::currentDate().toString("yyyy-MM-dd").toStdString()), nullptr);
    QLocale::setDefault(locale);
    // A name typed without a suffix gets ".pdf".
    plat->fileAnswers.push_back(dir.filePath(QStringLiteral("rapport")));
    QString said;
    QObject::connect(actions.get(), &ReportActions::statusMessage, [&](const QString& t) { said = t; });
    QTest::mouseClick(control("Button_SparaPdf"), Qt::LeftButton);
    EXPECT_EQ(said, QString::fromUtf8("Rapporten sparad i ") + QDir::toNativeSeparators(dir.filePath("rapport.pdf")) + ".");
    EXPECT_EQ(pdfPages(dir.filePath(QStringLiteral("rapport.pdf"))), 1);
    EXPECT_TRUE(plat->messages.empty());

    // The menu item writes the partial report when that is chosen.
    QTest::mouseClick(control<QRadioButton>("RadioButton_Del"), Qt::LeftButton);
    EXPECT_EQ(actions->reportKind(), ReportKind::Partial);
    EXPECT_NE(actions->buildPage().findText("Delresultat"), nullptr);
    plat->fileAnswers.push_back(dir.filePath(QStringLiteral("del.pdf")));
    pdfItem()->trigger();
    EXPECT_EQ(pdfPages(dir.filePath(QStringLiteral("del.pdf"))), 1);

    // A file that cannot be written is reported, not passed over.
    plat->fileAnswers.push_back(dir.filePath(QStringLiteral("saknas/rapport.pdf")));
    actions->savePdf();
    ASSERT_EQ(plat->messages.size(), 1u);
    EXPECT_TRUE(plat->messages[0].text.startsWith(QString::fromUtf8("Kan inte skriva PDF-filen"))) << plat->messages[0].text.toStdString();
    EXPECT_EQ(plat->messages[0].icon, MsgIcon::Error);
}

TEST_F(ReportActionsTest, PrintsThroughThePrintDialogWhenThereIsAPrinter)
{
    actions->setResultsCurrent(true);
    QTest::mouseClick(control("Button_Skrivare"), Qt::LeftButton);
    EXPECT_TRUE(plat->dialogs.empty());
    EXPECT_EQ(plat->messageTexts(), QStringList{QString::fromUtf8(kNoPrinterMessage)});
    plat->messages.clear();

    plat->printer = true;
    const QString out = dir.filePath(QStringLiteral("utskrift.pdf"));
    // The printer the user picks: here one that writes a file.
    const auto pick = [&](int answer) {
        return [&, answer](QDialog& d) {
            QPrinter* p = qobject_cast<QPrintDialog*>(&d)->printer();
            EXPECT_EQ(p->docName(), "Skenbrus");
            p->setOutputFormat(QPrinter::PdfFormat);
            p->setOutputFileName(out);
            return answer;
        };
    };
    plat->dialogAnswers.push_back(pick(QDialog::Rejected));
    QTest::mouseClick(control("Button_Skrivare"), Qt::LeftButton);
    EXPECT_EQ(pdfPages(out), -1) << "a cancelled print dialog prints nothing";
    plat->dialogAnswers.push_back(pick(QDialog::Accepted));
    printItem->trigger();
    EXPECT_EQ(pdfPages(out), 1);
    EXPECT_EQ(plat->dialogs, (std::vector<QString>(2, "Form_Skrivare")));
    EXPECT_TRUE(plat->messages.empty());
}

TEST_F(ReportActionsTest, PreviewTakesTheSegmentControlFromTheButtonAndTheSitePlanOption)
{
    AppSettings settings(dir.filePath(QStringLiteral("skenbrus.ini")));
    actions->setSettings(&settings);
    actions->setResultsCurrent(true);
    // The menu item keeps the segment length as it is.
    EXPECT_EQ(previewPages(previewItem), 1);
    EXPECT_EQ(doc.segmentLength, 1);
    // The button copies the control's value first, and the page shows it.
    QTest::mouseClick(control("Button_Granska"), Qt::LeftButton);
    EXPECT_EQ(doc.segmentLength, 3);
    EXPECT_NE(actions->buildPage().findText(std::string("Segmentlängd: 3 m")), nullptr);

    // "Med situationsplan" adds the site plan as a second page and is kept in the settings.
    auto* box = control<QCheckBox>("CheckBox_Situationsplan");
    EXPECT_FALSE(box->isChecked());
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_TRUE(AppSettings(dir.filePath(QStringLiteral("skenbrus.ini"))).sitePlanInReport());
    EXPECT_EQ(previewPages(previewItem), 2);
    plat->fileAnswers.push_back(dir.filePath(QStringLiteral("plan.pdf")));
    actions->savePdf();
    EXPECT_EQ(pdfPages(dir.filePath(QStringLiteral("plan.pdf"))), 2);
    EXPECT_TRUE(plat->messages.empty());
}

// ---------------------------------------------------------------------------------------
// The same commands as the main window carries them.

using ReportCommandsInWindow = MainWindowTest;

TEST_F(ReportCommandsInWindow, FollowTheResultsOfTheLastRun)
{
    auto* granska = named<QPushButton>("Button_Granska");
    EXPECT_EQ(granska->parentWidget(), form->resultPage()->GroupBox_Utskrift);
    EXPECT_EQ(named<QPushButton>("Button_Res2cp")->parentWidget(), form->resultPage()->GroupBox_Export);
    EXPECT_TRUE(menu("Meny_Resultat_Utskrift")->actions().contains(item("Meny_Resultat_Utskrift_SparaPdf")));
    EXPECT_FALSE(granska->isEnabled());

    fillCompleteProject();
    calculate();
    ASSERT_TRUE(form->resultsCurrent());
    EXPECT_TRUE(item("Meny_Resultat_Utskrift_SparaPdf")->isEnabled());
    // The clipboard gets the results of this run, with the window's decimal separator.
    QTest::mouseClick(named<QPushButton>("Button_Res2cp"), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QString::fromStdString(exportResults(form->record(), form->results(), decimalSeparator().toLatin1())));
    EXPECT_EQ(status(), QString::fromUtf8("Resultat kopierat till urklipp."));
    // The preview from the window's button takes the segment control.
    QTest::mouseClick(granska, Qt::LeftButton);
    EXPECT_EQ(plat->dialogs, std::vector<QString>{"Form_Granska"});
    EXPECT_EQ(form->document().segmentLength, form->SpinEdit1()->value());

    // The next edit makes the results stale: no report of them any more.
    type(trains(), 3, 1, "100");
    EXPECT_FALSE(granska->isEnabled());
    item("Meny_Resultat_Utskrift_Granska")->trigger();
    EXPECT_EQ(plat->dialogs.size(), 1u);
}

// ---------------------------------------------------------------------------------------
// The standard dialogs the program opens speak Swedish (Qt's own, non-native dialogs).

namespace {
// The texts a user sees in a dialog: its title, labels, buttons, group titles, the current
// entries of lists, and the tool tips of the tool buttons (the preview's tool bar).
QStringList visibleTexts(QWidget* dlg)
{
    QStringList texts{dlg->windowTitle()};
    for (QWidget* w : dlg->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(dlg)) continue;
        if (auto* l = qobject_cast<QLabel*>(w)) texts << l->text();
        if (auto* b = qobject_cast<QAbstractButton*>(w)) texts << b->text() << b->toolTip();
        if (auto* g = qobject_cast<QGroupBox*>(w)) texts << g->title();
        if (auto* c = qobject_cast<QComboBox*>(w)) texts << c->currentText();
        if (auto* t = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < t->count(); ++i) texts << t->tabText(i);
    }
    for (QAction* a : dlg->findChildren<QAction*>()) texts << a->text() << a->toolTip();
    for (QString& t : texts) t.remove(QLatin1Char('&'));
    texts.removeAll(QString());
    return texts;
}
}  // namespace

TEST_F(ReportActionsTest, StandardDialogsSpeakSwedish)
{
    ASSERT_TRUE(installSwedishTranslations(*qApp));
    QStringList seen;
    QtPlatform qt;
    for (int save = 0; save < 2; ++save) {
        onNextModal([&](QWidget* d) {
            seen << visibleTexts(d);
            qobject_cast<QDialog*>(d)->reject();
        });
        save ? qt.saveFileName(page.get(), dir.path(), QStringLiteral("Skenbrus-filer (*.sdb)"))
             : qt.openFileName(page.get(), dir.path(), QStringLiteral("Skenbrus-filer (*.sdb)"));
    }
    // The input box is wide enough for its title.
    onNextModal([&](QWidget* d) {
        seen << visibleTexts(d);
        QFont bold = d->font();
        bold.setBold(true);
        EXPECT_GT(d->width(), QFontMetrics(bold).horizontalAdvance(d->windowTitle()) + 100);
        qobject_cast<QDialog*>(d)->reject();
    });
    qt.inputBox(page.get(), QStringLiteral("Marktyp: Mottagardel"), QStringLiteral("Ange procentuell del porös mark"),
                QStringLiteral("50"));

    actions->setResultsCurrent(true);
    plat->printer = true;
    for (int i = 0; i < 3; ++i)
        plat->dialogAnswers.push_back(lookAt([&](QDialog& d) {
            for (auto* more : d.findChildren<QPushButton*>())  // the print dialog's options too
                if (more->text().contains(QStringLiteral(">>"))) more->click();
            QApplication::processEvents();
            seen << visibleTexts(&d);
        }));
    actions->preview(false);
    actions->print();
    actions->printerSetup();

    EXPECT_GT(seen.size(), 40);
    for (const char* english : {"Look in", "File name", "Files of type", "Cancel", "Open", "Save", "Print", "Page setup",
                                "Next page", "Zoom in", "Margins", "Orientation", "Paper", "Options", "Copies"})
        for (const QString& text : seen) EXPECT_FALSE(text.contains(QLatin1String(english))) << text.toStdString();
    for (QTranslator* t : qApp->findChildren<QTranslator*>(Qt::FindDirectChildrenOnly)) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
}
