#pragma once
// The main window with its settings in a temporary folder, and helpers that fill a project
// through the tables and wait for modal dialogs.

#include <QAction>
#include <QCheckBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
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

    // One train on track 1 and one straight stretch 45 m away: the smallest complete project.
    void fillCompleteProject()
    {
        type(trains(), 1, 1, "3000");
        type(trains(), 2, 1, "200");
        type(trains(), 3, 1, "120");
        type(stretches(), 6, 1, "45");
        ASSERT_TRUE(firstMissingInput(r()).complete());
    }

    void saveAs(const QString& file)
    {
        plat->fileAnswers.push_back(file);
        item("Meny_Arkiv_SparaSom")->trigger();
    }
    void openFile(const QString& file)
    {
        plat->fileAnswers.push_back(file);
        item("Meny_Arkiv_Hamta")->trigger();
    }
    ProjectRecord onDisk(const QString& file) { return readProject(file.toStdString()); }
    bool resultsShown() { return form->PageControl()->isTabVisible(form->PageControl()->indexOf(form->Pagecontrol_Resultat())); }
};
