#pragma once
// The main window with its settings file and projects in a temporary folder, the file dialogs
// answered by the scripted platform, and the pages of a PDF written.

#include <memory>

#include "main_fixture.h"
#include "model/ProjectFile.h"
#include "ui/Settings.h"

class CommandsTest : public MainWindowTest {
protected:
    QTemporaryDir dir;
    std::unique_ptr<AppSettings> settings;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        settings = std::make_unique<AppSettings>(dir.filePath("cfg/skenbrus.ini"));
        MainWindowTest::SetUp();
        form->applyStartupSettings(*settings);
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        settings.reset();
    }

    QString path(const QString& name) const { return dir.filePath(name); }
    DocumentState& doc() { return form->document(); }

    void saveAs(const QString& file) { plat->fileAnswers.push_back(file); item("Meny_Arkiv_SparaSom")->trigger(); }
    void openFile(const QString& file) { plat->fileAnswers.push_back(file); item("Meny_Arkiv_Hamta")->trigger(); }
    ProjectRecord onDisk(const QString& file) { return readProject(file.toStdString()); }
};

// The pages of a PDF file; -1 when the file is missing or no PDF.
inline int pdfPages(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QString text = QString::fromLatin1(f.readAll());
    return text.startsWith(QStringLiteral("%PDF-")) ? int(text.count(QRegularExpression(QStringLiteral("/Type /Page\\b"))))
                                                     : -1;
}
