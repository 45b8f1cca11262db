// Start-up and the document in the window: the configuration messages, the command line, Save and
// Open round trips through the one document, the save-changes prompts, refused files, dropped
// files and the recent-file list.

#include "RecordingDialogs.h"
#include "app/CMainFrame.h"
#include "app/CRecentFileList.h"
#include "app/CRoadfluxApp.h"
#include "app/CRoadfluxDoc.h"
#include "app/CRoadfluxView.h"
#include "app/CSteadyClock.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QSettings>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

namespace {
const QString examples = QStringLiteral(ROADFLUX_SOURCE_DIR "/examples");

// Runs each test in a folder of its own, with an empty recent-file list.
class Application : public ::testing::Test
{
protected:
    Application() : previousFolder(QDir::currentPath())
    {
        QSettings(CRecentFileList::organisation(), CRecentFileList::application()).clear();
        QDir::setCurrent(folder.path());
    }
    ~Application() override { QDir::setCurrent(previousFolder); }

    QString path(const QString& name) const { return folder.filePath(name); }

    // Starts the program with the given command line; no configuration file message expected.
    bool start(const QStringList& arguments = {})
    {
        QFile::copy(examples + "/Roadflux.ini", path("Roadflux.ini"));
        const bool started = app.initInstance(arguments);
        if (started)
            doc = app.document();
        return started;
    }

    RecordingDialogs dialogs;
    QTemporaryDir folder;
    QString previousFolder;
    CRoadfluxApp app{CSteadyClock::instance()};
    CRoadfluxDoc* doc = nullptr;
};
}

TEST_F(Application, MissingConfigurationFileIsReportedAndDefaultsKept)
{
    ASSERT_TRUE(app.initInstance({}));
    ASSERT_EQ(dialogs.warnings.size(), 1u);
    EXPECT_EQ(dialogs.warnings[0], "Configuration file cannot be read");
    EXPECT_TRUE(app.mainFrame()->isVisible());
    EXPECT_EQ(app.mainFrame()->windowTitle(), "Untitled - Roadflux");
}

// The menu starts the program in a folder the user did not choose, so the message says which.
TEST_F(Application, StartedFromTheMenuWithoutConfigurationSaysWhereItLookedAndOpensTheFile)
{
    QFile::copy(examples + "/study.rfx", path("study.rfx"));
    ASSERT_TRUE(app.initInstance({"--from-menu", path("study.rfx")}));
    ASSERT_EQ(dialogs.warnings.size(), 1u);
    const QString warning = QString::fromStdString(dialogs.warnings[0]);
    EXPECT_TRUE(warning.startsWith("Configuration file cannot be read\n")) << dialogs.warnings[0];
    const QString folderLookedIn = QDir::toNativeSeparators(QDir::currentPath());
    EXPECT_TRUE(warning.contains("Roadflux.ini in " + folderLookedIn)) << dialogs.warnings[0];
    EXPECT_TRUE(warning.contains("built-in defaults are used")) << dialogs.warnings[0];
    EXPECT_EQ(app.mainFrame()->windowTitle(), "study.rfx - Roadflux");
}

TEST_F(Application, ConfigurationFileIsReadSilently)
{
    ASSERT_TRUE(start());
    EXPECT_TRUE(dialogs.warnings.empty());
}

TEST_F(Application, SaveAndOpenRoundTripThroughTheOneDocument)
{
    ASSERT_TRUE(start());
    doc->study().setRoadLength(4200);
    doc->study().setDrivesOnRight(false);
    EXPECT_TRUE(doc->isModified());
    dialogs.saveFiles.push_back(path("trip.rfx"));
    app.mainFrame()->executeCommand(57603);  // Save of a study never saved asks for a name
    EXPECT_EQ(dialogs.filters.last(), "Roadflux Files (*.rfx)");
    EXPECT_EQ(dialogs.suffixes.last(), "rfx");
    ASSERT_TRUE(QFile::exists(path("trip.rfx")));
    EXPECT_FALSE(doc->isModified());
    EXPECT_EQ(app.mainFrame()->windowTitle(), "trip.rfx - Roadflux");

    CRoadfluxDoc* const sameObject = doc;
    app.mainFrame()->executeCommand(57600);  // New: nothing to ask about
    EXPECT_TRUE(dialogs.savePrompts.isEmpty());
    EXPECT_EQ(doc->study().getRoadLength(), 3000);
    EXPECT_EQ(app.mainFrame()->windowTitle(), "Untitled - Roadflux");

    dialogs.openFiles.push_back(path("trip.rfx"));
    app.mainFrame()->executeCommand(57601);
    EXPECT_EQ(app.document(), sameObject);
    EXPECT_EQ(doc->study().getRoadLength(), 4200);
    EXPECT_FALSE(doc->study().getDrivesOnRight());
    EXPECT_EQ(app.recentFiles().entries().value(0), QFileInfo(path("trip.rfx")).absoluteFilePath());
    // The open views follow the opened study's shape.
    EXPECT_EQ(app.mainFrame()->activeView()->getLayout().roadLength, 4200);
}

TEST_F(Application, ModifiedStudyAsksBeforeNewAndCancelKeepsIt)
{
    ASSERT_TRUE(start());
    doc->study().setRoadLength(5000);
    dialogs.saveChoice = CUserDialogs::SaveChoice::cancel;
    app.onFileNew();
    ASSERT_EQ(dialogs.savePrompts.size(), 1);
    EXPECT_EQ(dialogs.savePrompts[0], "Save changes to Untitled?");
    EXPECT_EQ(doc->study().getRoadLength(), 5000);

    dialogs.saveChoice = CUserDialogs::SaveChoice::discard;
    app.onFileNew();
    EXPECT_EQ(doc->study().getRoadLength(), 3000);
    EXPECT_FALSE(doc->isModified());
}

TEST_F(Application, AnsweringYesSavesBeforeOpening)
{
    ASSERT_TRUE(start());
    QFile::copy(examples + "/study.rfx", path("study.rfx"));
    doc->study().setRoadLength(6000);
    dialogs.saveChoice = CUserDialogs::SaveChoice::save;
    dialogs.saveFiles.push_back(path("first.rfx"));
    EXPECT_TRUE(app.openDocumentFile(path("study.rfx")));
    EXPECT_TRUE(QFile::exists(path("first.rfx")));
    EXPECT_EQ(doc->displayName(), "study.rfx");
    EXPECT_EQ(app.recentFiles().entries().size(), 2);  // saved, then opened
}

TEST_F(Application, ExitAsksAndCancelKeepsTheWindowOpen)
{
    ASSERT_TRUE(start());
    doc->study().setTimeStep(0.2);
    dialogs.saveChoice = CUserDialogs::SaveChoice::cancel;
    EXPECT_FALSE(app.mainFrame()->close());
    EXPECT_TRUE(app.mainFrame()->isVisible());
    EXPECT_EQ(dialogs.savePrompts.size(), 1);
    dialogs.saveChoice = CUserDialogs::SaveChoice::discard;
    EXPECT_TRUE(app.mainFrame()->close());
}

TEST_F(Application, RefusedFilesKeepTheStudyAndSayWhy)
{
    ASSERT_TRUE(start());
    doc->study().setRoadLength(7000);
    doc->setModifiedFlag(false);
    QFile garbage(path("garbage.rfx"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("not a study at all");
    garbage.close();
    EXPECT_FALSE(app.openDocumentFile(path("garbage.rfx")));
    EXPECT_EQ(dialogs.warnings.back(), "Unexpected file format.");
    EXPECT_FALSE(app.openDocumentFile(path("missing.rfx")));
    // The message of old first, then which file and the system's reason.
    EXPECT_EQ(dialogs.warnings.back(),
              "Failed to open document. " + path("missing.rfx").toStdString() + ": No such file or directory");
    EXPECT_EQ(doc->study().getRoadLength(), 7000);
    EXPECT_EQ(app.mainFrame()->windowTitle(), "Untitled - Roadflux");

    EXPECT_FALSE(doc->onSaveDocument(path("no-such-folder/study.rfx")));
    EXPECT_EQ(dialogs.warnings.back(), "Failed to save document. The study file cannot be created (" +
                                           path("no-such-folder/study.rfx").toStdString() +
                                           ": No such file or directory)");
}

TEST_F(Application, CommandLineStudyIsOpenedAndABadOneEndsStartUp)
{
    QFile::copy(examples + "/study.rfx", path("study.rfx"));
    ASSERT_TRUE(start({path("study.rfx")}));
    EXPECT_EQ(app.mainFrame()->windowTitle(), "study.rfx - Roadflux");
    EXPECT_EQ(doc->study().getLanesDir2(), 2);

    CRoadfluxApp second{CSteadyClock::instance()};
    EXPECT_FALSE(second.initInstance({path("missing.rfx")}));
    EXPECT_EQ(dialogs.warnings.back(),
              "Failed to open document. " + path("missing.rfx").toStdString() + ": No such file or directory");
}

TEST_F(Application, DroppedFileIsOpened)
{
    ASSERT_TRUE(start());
    QFile::copy(examples + "/study.rfx", path("study.rfx"));
    CMainFrame* frame = app.mainFrame();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path("study.rfx"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &drop);
    EXPECT_EQ(doc->displayName(), "study.rfx");
}

TEST_F(Application, RecentFilesKeepFourMostRecentFirstAndPersist)
{
    ASSERT_TRUE(start());
    for (const char* name : {"a.rfx", "b.rfx", "c.rfx", "d.rfx", "e.rfx"})
        ASSERT_TRUE(doc->onSaveDocument(path(name)));
    ASSERT_TRUE(doc->onSaveDocument(path("c.rfx")));
    QStringList names;
    for (const QString& file : app.recentFiles().entries())
        names.append(QFileInfo(file).fileName());
    EXPECT_EQ(names, QStringList({"c.rfx", "e.rfx", "d.rfx", "b.rfx"}));
    EXPECT_EQ(CRecentFileList().entries(), app.recentFiles().entries());
    EXPECT_TRUE(app.recentFiles().menuText(0).startsWith("&1 "));

    // An entry that no longer opens leaves the list.
    QFile::remove(path("d.rfx"));
    EXPECT_FALSE(app.openDocumentFile(app.recentFiles().entries()[2], true));
    EXPECT_EQ(app.recentFiles().entries().size(), 3);
    EXPECT_EQ(CRecentFileList().entries().size(), 3);
}
