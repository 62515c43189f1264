// The report and export commands of the results page and the "&Utskrift" menu, driven
// through their buttons and menu items, with the dialogs answered in place.

#include <QtPrintSupport>

#include "commands_fixture.h"
#include "report/Exports.h"
#include "ui/NumberText.h"
#include "ui/ReportActions.h"
#include "ui/Translations.h"

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

// The window with a calculated project: the results are current.
class ReportCommands : public CommandsTest {
protected:
    void SetUp() override
    {
        CommandsTest::SetUp();
        calculateComplete();
    }
    ReportActions& actions() { return form->reportActions(); }
    QPushButton* button(const char* name) { return named<QPushButton>(name); }

    // The pages the preview shows when `command` opens it; -1 when no preview was shown.
    int previewPages(QAction* command)
    {
        int pages = -1;
        // The answer is used once and gone: it writes to `pages`, which dies with this call.
        // (An answer left installed once wrote to a finished call's variable.)
        answerDialog([&](QDialog& d) {
            EXPECT_EQ(qobject_cast<QPrintPreviewDialog*>(&d)->printer()->docName(), "Skenbrus");
            d.show();  // laid out, the preview counts its pages
            QApplication::processEvents();
            if (auto* w = d.findChild<QPrintPreviewWidget*>()) pages = w->pageCount();
            return int(QDialog::Rejected);
        });
        command->trigger();
        return pages;
    }
};

TEST_F(ReportCommands, FollowWhetherTheResultsAreCurrent)
{
    const auto enabled = [&] {
        std::vector<bool> on;
        for (const char* name : {"Button_Granska", "Button_Skrivare", "Button_SparaPdf", "Meny_Resultat_Utskrift_Skrivare",
                                 "Meny_Resultat_Utskrift_Granska", "Meny_Resultat_Utskrift_SparaPdf"})
            on.push_back(named<QObject>(name)->property("enabled").toBool());
        return on;
    };
    EXPECT_EQ(enabled(), std::vector<bool>(6, true));
    // The next edit makes the results stale: they print nothing, whichever way the command comes.
    type(trains(), 3, 1, "100");
    EXPECT_EQ(enabled(), std::vector<bool>(6, false));
    plat->printer = true, doc().segmentLength = 7;
    plat->fileAnswers.push_back(path("stale.pdf"));
    actions().preview(true), actions().print(), actions().savePdf();
    item("Meny_Resultat_Utskrift_Granska")->trigger();
    EXPECT_EQ(std::tuple(plat->dialogs.size(), plat->fileAnswers.size(), doc().segmentLength), std::tuple(0u, 1u, 7));
    plat->fileAnswers.clear();

    // The exports and the printer set-up do not depend on the results; the set-up works on
    // the A4 printer the report goes to.
    EXPECT_TRUE(button("Button_Res2cp")->isEnabled());
    answerDialog([&](QDialog& d) {
        EXPECT_EQ(qobject_cast<QPageSetupDialog*>(&d)->printer(), &actions().printer());
        return int(QDialog::Rejected);
    });
    item("Meny_Arkiv_SkrivarInstallning")->trigger();
    EXPECT_EQ(std::pair(plat->dialogs, actions().printer().pageLayout().pageSize().id()),
              std::pair(std::vector<QString>{"Form_SkrivarInstallning"}, QPageSize::A4));
}

TEST_F(ReportCommands, ExportButtonsPutTheExportTextsOnTheClipboard)
{
    // Each with the window's decimal separator, and a word on the status line.
    const char sep = decimalSeparator().toLatin1();
    CalcResults& res = form->results();
    for (const auto& [name, text, what] : {std::tuple("Button_Res2cp", exportResults(r(), res, sep), "Resultat"),
                                           std::tuple("Button_Tag2cp", exportTrainData(r()), "Tågdata"),
                                           std::tuple("Button_Str2cp", exportStretchData(r(), res, sep), "Sträckdata")}) {
        QGuiApplication::clipboard()->setText(QStringLiteral("förra"));
        QTest::mouseClick(button(name), Qt::LeftButton);
        EXPECT_EQ(std::pair(QGuiApplication::clipboard()->text(), status()),
                  std::pair(QString::fromStdString(text), QString::fromUtf8(what) + " kopierat till urklipp."));
    }
    // The numbers take the separator the commands were given.
    ReportActions(ReportContext{r(), res, doc(), nullptr, ',', form.get()}).copyStretchData();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromStdString(exportStretchData(r(), res, ',')));
}

TEST_F(ReportCommands, SavesTheChosenReportAsAPdfFile)
{
    // The date is written year first whatever the locale.
    const QLocale locale;
    QLocale::setDefault(QLocale::c());
    EXPECT_NE(actions().buildPage().findText(QDate::currentDate().toString("yyyy-MM-dd").toStdString()), nullptr);
    QLocale::setDefault(locale);
    // A name typed without a suffix gets ".pdf".
    plat->fileAnswers.push_back(path("rapport"));
    QTest::mouseClick(button("Button_SparaPdf"), Qt::LeftButton);
    EXPECT_EQ(std::tuple(status(), pdfPages(path("rapport.pdf")), plat->messages.size()),
              std::tuple("Rapporten sparad i " + QDir::toNativeSeparators(path("rapport.pdf")) + ".", 1, 0ul));

    // The menu item writes the partial report when that is chosen.
    QTest::mouseClick(named<QRadioButton>("RadioButton_Del"), Qt::LeftButton);
    EXPECT_NE(actions().buildPage().findText("Delresultat"), nullptr);
    plat->fileAnswers.push_back(path("del.pdf"));
    item("Meny_Resultat_Utskrift_SparaPdf")->trigger();
    EXPECT_EQ(pdfPages(path("del.pdf")), 1);

    // A file that cannot be written is reported, not passed over.
    plat->fileAnswers.push_back(path("saknas/rapport.pdf"));
    actions().savePdf();
    ASSERT_EQ(plat->messages.size(), 1u);
    EXPECT_TRUE(lastMessage().startsWith(QString::fromUtf8("Kan inte skriva PDF-filen"))) << lastMessage().toStdString();
    EXPECT_EQ(plat->messages[0].icon, MsgIcon::Error);
}

TEST_F(ReportCommands, PrintThroughThePrintDialogWhenThereIsAPrinter)
{
    QTest::mouseClick(button("Button_Skrivare"), Qt::LeftButton);
    EXPECT_EQ(std::pair(plat->dialogs.size(), plat->messageTexts()), std::pair(0ul, QStringList{kNoPrinterMessage}));
    plat->messages.clear();

    // A cancelled print dialog prints nothing (the printer as it is could not print).
    plat->printer = true;
    QTest::mouseClick(button("Button_Skrivare"), Qt::LeftButton);
    EXPECT_EQ(std::pair(plat->dialogs, plat->messages.size()), std::pair(std::vector<QString>{"Form_Skrivare"}, 0ul));
    // The printer the user picks: here one that writes a file.
    answerDialog([&](QDialog& d) {
        QPrinter* p = qobject_cast<QPrintDialog*>(&d)->printer();
        EXPECT_EQ(p->docName(), "Skenbrus");
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(path("utskrift.pdf"));
        return int(QDialog::Accepted);
    });
    item("Meny_Resultat_Utskrift_Skrivare")->trigger();
    EXPECT_EQ(std::pair(pdfPages(path("utskrift.pdf")), plat->messages.size()), std::pair(1, 0ul));
}

TEST_F(ReportCommands, PreviewTakesTheSegmentControlFromTheButtonAndTheSitePlanOption)
{
    // The menu item keeps the segment length as it is; the button copies the control's value
    // first, and the page shows it.
    doc().segmentLength = 7;
    EXPECT_EQ(previewPages(item("Meny_Resultat_Utskrift_Granska")), 1);
    EXPECT_EQ(doc().segmentLength, 7);
    QTest::mouseClick(button("Button_Granska"), Qt::LeftButton);
    EXPECT_EQ(doc().segmentLength, form->SpinEdit1()->value());
    const std::string shown = "Segmentlängd: " + std::to_string(form->SpinEdit1()->value()) + " m";
    EXPECT_NE(actions().buildPage().findText(shown), nullptr);

    // "Med situationsplan" adds the site plan as a second page and is kept in the settings.
    auto* box = named<QCheckBox>("CheckBox_Situationsplan");
    EXPECT_FALSE(box->isChecked());
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_TRUE(AppSettings(settings->path()).sitePlanInReport());
    EXPECT_EQ(previewPages(item("Meny_Resultat_Utskrift_Granska")), 2);
    plat->fileAnswers.push_back(path("plan.pdf"));
    actions().savePdf();
    EXPECT_EQ(std::pair(pdfPages(path("plan.pdf")), plat->messages.size()), std::pair(2, 0ul));
}

// The standard dialogs the program opens speak Swedish (Qt's own, non-native dialogs).
TEST_F(ReportCommands, StandardDialogsSpeakSwedish)
{
    ASSERT_TRUE(installSwedishTranslations(*qApp));
    QStringList seen;
    QtPlatform qt;
    plat->printer = true;
    plat->otherDialogs = [](QDialog& d) { return d.exec(); };  // the real modal loops
    const QString filter = QStringLiteral("Skenbrus-filer (*.sdb)");
    const std::function<void()> asks[] = {
        [&] { qt.openFileName(form.get(), dir.path(), filter); }, [&] { qt.saveFileName(form.get(), dir.path(), filter); },
        [&] { qt.inputBox(form.get(), QStringLiteral("Marktyp: Mottagardel"), QStringLiteral("Ange procentuell del porös mark"), "50"); },
        [&] { actions().preview(false); }, [&] { actions().print(); }, [&] { actions().printerSetup(); }};
    for (const auto& ask : asks) {
        onNextModal([&](QWidget* d) {
            for (auto* more : d->findChildren<QPushButton*>())  // the print dialog's options too
                if (more->text().contains(QStringLiteral(">>"))) more->click();
            QApplication::processEvents();
            seen << visibleTexts(d);
            if (d->windowTitle().startsWith("Marktyp")) {  // the input box is wide enough for its title
                QFont bold = d->font();
                bold.setBold(true);
                EXPECT_GT(d->width(), QFontMetrics(bold).horizontalAdvance(d->windowTitle()) + 100);
            }
            qobject_cast<QDialog*>(d)->reject();
        });
        ask();
    }
    EXPECT_GT(seen.size(), 40);
    for (const char* english : {"Look in", "File name", "Files of type", "Cancel", "Open", "Save", "Print", "Page setup",
                                "Next page", "Zoom in", "Margins", "Orientation", "Paper", "Options", "Copies"})
        for (const QString& text : seen) EXPECT_FALSE(text.contains(QLatin1String(english))) << text.toStdString();
    for (QTranslator* t : qApp->findChildren<QTranslator*>(Qt::FindDirectChildrenOnly)) QCoreApplication::removeTranslator(t), delete t;
}
