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
}  // namespace

class ReportActionsTest : public ::testing::Test {
protected:
    ScopedScriptedPlatform plat;
    ProjectRecord record = twoTrackProject();
    CalcResults results = twoTrackResults();
    DocumentState doc;
    QSpinBox segmentControl;
    std::unique_ptr<QWidget> page;
    QGroupBox* utskrift = nullptr;
    QGroupBox* exportGroup = nullptr;
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

    void make(char separator)
    {
        actions.reset();
        auto* resultPage = new ResultPage;
        page.reset(resultPage);
        utskrift = resultPage->GroupBox_Utskrift;
        exportGroup = resultPage->GroupBox_Export;
        printMenu = std::make_unique<QMenu>(QStringLiteral("&Utskrift"));
        printItem = printMenu->addAction(QStringLiteral("&Skrivare"));
        previewItem = printMenu->addAction(QStringLiteral("&Granska"));
        printMenu->addAction(QStringLiteral("&Exportera"))->setVisible(false);
        setupItem = new QAction(QStringLiteral("Skrivar&Inställning..."), printMenu.get());

        doc.currentFileName = dir.filePath(QStringLiteral("projekt.sdb")).toStdString();
        doc.segmentLength = 1;
        actions = std::make_unique<ReportActions>(
            ReportContext{record, results, doc, &segmentControl, separator, page.get()});
        actions->fillGroups(utskrift, exportGroup);
        actions->attachMenu(setupItem, printMenu.get(), printItem, previewItem);
        page->show();
    }

    // Answers the preview dialog by counting its pages; -1 when no preview was shown.
    int previewPages(QAction* command)
    {
        int pages = -1;
        actions->runDialog = [&](QDialog& d) {
            EXPECT_EQ(qobject_cast<QPrintPreviewDialog*>(&d)->printer()->docName(), "Skenbrus");
            d.show();
            QApplication::processEvents();
            if (auto* w = d.findChild<QPrintPreviewWidget*>()) pages = w->pageCount();
            d.reject();
            return int(QDialog::Rejected);
        };
        command->trigger();
        // The counter above dies with this call: later dialogs are only turned down.
        actions->runDialog = [](QDialog&) { return int(QDialog::Rejected); };
        return pages;
    }
    QString clipboardAfter(QPushButton* b)
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("förra"));
        QTest::mouseClick(b, Qt::LeftButton);
        return QGuiApplication::clipboard()->text();
    }
};

TEST_F(ReportActionsTest, FillsTheGroupsAndTheMenuWithTheirControls)
{
    for (QWidget* w : std::initializer_list<QWidget*>{actions->RadioButton_Standard, actions->RadioButton_Del,
                                                      actions->Button_Granska, actions->Button_Skrivare,
                                                      actions->Button_SparaPdf})
        EXPECT_EQ(w->parentWidget(), utskrift) << w->objectName().toStdString();
    for (QPushButton* b : {actions->Button_Res2cp, actions->Button_Tag2cp, actions->Button_Str2cp})
        EXPECT_EQ(b->parentWidget(), exportGroup) << b->objectName().toStdString();
    EXPECT_TRUE(actions->RadioButton_Standard->isChecked());
    EXPECT_EQ(actions->Button_Str2cp->text(), QString::fromUtf8("Strä&ckdata"));
    // "Spara som PDF..." joins the print menu after "&Granska"; "&Exportera" stays hidden.
    const QList<QAction*> items = printMenu->actions();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[2], actions->Meny_Resultat_Utskrift_SparaPdf);
    EXPECT_FALSE(items[3]->isVisible());
}

TEST_F(ReportActionsTest, ReportCommandsFollowWhetherTheResultsAreCurrent)
{
    auto enabled = [&] {
        return std::vector<bool>{actions->Button_Granska->isEnabled(), actions->Button_Skrivare->isEnabled(),
                                 actions->Button_SparaPdf->isEnabled(), printItem->isEnabled(),
                                 previewItem->isEnabled(), actions->Meny_Resultat_Utskrift_SparaPdf->isEnabled()};
    };
    EXPECT_EQ(enabled(), std::vector<bool>(6, false));
    int dialogs = 0;
    QPrinter* setupPrinter = nullptr;
    actions->runDialog = [&](QDialog& d) {
        ++dialogs;
        if (auto* setup = qobject_cast<QPageSetupDialog*>(&d)) setupPrinter = setup->printer();
        return int(QDialog::Rejected);
    };
    plat->fileAnswers.push_back(dir.filePath(QStringLiteral("stale.pdf")));
    // Stale results print nothing, whichever way the command comes.
    actions->preview(true);
    actions->print();
    actions->savePdf();
    previewItem->trigger();
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(plat->fileAnswers.size(), 1u);
    EXPECT_EQ(doc.segmentLength, 1);

    actions->setResultsCurrent(true);
    EXPECT_EQ(enabled(), std::vector<bool>(6, true));
    actions->setResultsCurrent(false);
    // The exports and the printer set-up do not depend on the results; the set-up works on
    // the A4 printer the report goes to.
    EXPECT_TRUE(actions->Button_Res2cp->isEnabled());
    setupItem->trigger();
    EXPECT_EQ(setupPrinter, &actions->printer());
    EXPECT_EQ(actions->printer().pageLayout().pageSize().id(), QPageSize::A4);
}

TEST_F(ReportActionsTest, ExportButtonsPutTheExportTextsOnTheClipboard)
{
    // Each says on the status line what it copied.
    QStringList said;
    QObject::connect(actions.get(), &ReportActions::statusMessage, [&](const QString& t) { said << t; });
    EXPECT_EQ(clipboardAfter(actions->Button_Res2cp), QString::fromStdString(exportResults(record, results)));
    EXPECT_EQ(clipboardAfter(actions->Button_Tag2cp), QString::fromStdString(exportTrainData(record)));
    EXPECT_EQ(clipboardAfter(actions->Button_Str2cp), QString::fromStdString(exportStretchData(record, results)));
    EXPECT_EQ(said, (QStringList{QString::fromUtf8("Resultat kopierat till urklipp."),
                                 QString::fromUtf8("Tågdata kopierat till urklipp."),
                                 QString::fromUtf8("Sträckdata kopierat till urklipp.")}));
    // The numbers take the separator the commands were given.
    make(',');
    EXPECT_EQ(clipboardAfter(actions->Button_Str2cp), QString::fromStdString(exportStretchData(record, results, ',')));
    EXPECT_TRUE(clipboardAfter(actions->Button_Res2cp).contains(QStringLiteral("(+1,5 dBA)")));
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
    QTest::mouseClick(actions->Button_SparaPdf, Qt::LeftButton);
    EXPECT_EQ(said, QString::fromUtf8("Rapporten sparad i ") + QDir::toNativeSeparators(dir.filePath("rapport.pdf")) + ".");
    EXPECT_EQ(pdfPages(dir.filePath(QStringLiteral("rapport.pdf"))), 1);
    EXPECT_TRUE(plat->messages.empty());

    // The menu item writes the partial report when that is chosen.
    actions->RadioButton_Del->setChecked(true);
    EXPECT_NE(actions->buildPage().findText("Delresultat"), nullptr);
    plat->fileAnswers.push_back(dir.filePath(QStringLiteral("del.pdf")));
    actions->Meny_Resultat_Utskrift_SparaPdf->trigger();
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
    int dialogs = 0;
    actions->runDialog = [&](QDialog&) { ++dialogs; return int(QDialog::Accepted); };
    actions->printerInstalled = [] { return false; };
    QTest::mouseClick(actions->Button_Skrivare, Qt::LeftButton);
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(plat->messageTexts(), QStringList{QString::fromUtf8(kNoPrinterMessage)});
    plat->messages.clear();

    actions->printerInstalled = [] { return true; };
    const QString out = dir.filePath(QStringLiteral("utskrift.pdf"));
    int answer = QDialog::Rejected;
    QString title;
    actions->runDialog = [&](QDialog& d) {
        auto* pd = qobject_cast<QPrintDialog*>(&d);
        EXPECT_NE(pd, nullptr);
        if (pd) {
            title = pd->printer()->docName();
            // The printer the user picks: here one that writes a file.
            pd->printer()->setOutputFormat(QPrinter::PdfFormat);
            pd->printer()->setOutputFileName(out);
        }
        return answer;
    };
    QTest::mouseClick(actions->Button_Skrivare, Qt::LeftButton);
    EXPECT_EQ(title, "Skenbrus");
    EXPECT_EQ(pdfPages(out), -1) << "a cancelled print dialog prints nothing";
    answer = QDialog::Accepted;
    printItem->trigger();
    EXPECT_EQ(pdfPages(out), 1);
    EXPECT_TRUE(plat->messages.empty());
}

TEST_F(ReportActionsTest, PreviewShowsOnePageAndTheButtonTakesTheSegmentControl)
{
    actions->setResultsCurrent(true);
    // The menu item keeps the segment length as it is.
    EXPECT_EQ(previewPages(previewItem), 1);
    EXPECT_EQ(doc.segmentLength, 1);
    // The button copies the control's value first, and the page shows it.
    QTest::mouseClick(actions->Button_Granska, Qt::LeftButton);
    EXPECT_EQ(doc.segmentLength, 3);
    EXPECT_NE(actions->buildPage().findText(std::string("Segmentlängd: 3 m")), nullptr);
}

TEST_F(ReportActionsTest, SitePlanOptionAddsASecondPageAndIsKeptInTheSettings)
{
    AppSettings settings(dir.filePath(QStringLiteral("skenbrus.ini")));
    actions->setSettings(&settings);
    actions->setResultsCurrent(true);
    QCheckBox* box = actions->CheckBox_Situationsplan;
    EXPECT_FALSE(box->isChecked());
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_TRUE(box->isChecked());
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
    ReportActions* actions = &form->reportActions();
    EXPECT_EQ(actions->Button_Granska->parentWidget(), form->resultPage()->GroupBox_Utskrift);
    EXPECT_EQ(actions->Button_Res2cp->parentWidget(), form->resultPage()->GroupBox_Export);
    EXPECT_TRUE(menu("Meny_Resultat_Utskrift")->actions().contains(actions->Meny_Resultat_Utskrift_SparaPdf));
    EXPECT_FALSE(actions->Button_Granska->isEnabled());

    fillCompleteProject();
    calculate();
    ASSERT_TRUE(form->resultsCurrent());
    EXPECT_TRUE(actions->Meny_Resultat_Utskrift_SparaPdf->isEnabled());
    // The clipboard gets the results of this run, with the window's decimal separator.
    QTest::mouseClick(actions->Button_Res2cp, Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QString::fromStdString(exportResults(form->record(), form->results(), decimalSeparator().toLatin1())));
    EXPECT_EQ(status(), QString::fromUtf8("Resultat kopierat till urklipp."));
    // The preview from the window's button takes the segment control.
    int previews = 0;
    actions->runDialog = [&](QDialog&) { ++previews; return int(QDialog::Rejected); };
    QTest::mouseClick(actions->Button_Granska, Qt::LeftButton);
    EXPECT_EQ(previews, 1);
    EXPECT_EQ(form->document().segmentLength, form->SpinEdit1()->value());

    // The next edit makes the results stale: no report of them any more.
    type(trains(), 3, 1, "100");
    EXPECT_FALSE(actions->Button_Granska->isEnabled());
    item("Meny_Resultat_Utskrift_Granska")->trigger();
    EXPECT_EQ(previews, 1);
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
    actions->printerInstalled = [] { return true; };
    actions->runDialog = [&](QDialog& d) {
        d.show();
        for (auto* more : d.findChildren<QPushButton*>())  // the print dialog's options too
            if (more->text().contains(QStringLiteral(">>"))) more->click();
        QApplication::processEvents();
        seen << visibleTexts(&d);
        return int(QDialog::Rejected);
    };
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
