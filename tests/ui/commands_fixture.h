#pragma once
// The main window with its settings file and projects in a temporary folder, and the file
// dialogs answered by the scripted platform.

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
