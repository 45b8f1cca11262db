// The release order in the desktop program: chosen in the simulation configuration, kept in
// STUDY.options beside the study through Save and Open without a change to the study file, a bad
// file left alone until the choice changes.

#include "ExampleStudyCopy.h"
#include "RecordingDialogs.h"
#include "app/CRoadfluxDoc.h"
#include "app/CRoadfluxView.h"
#include "app/CSteadyClock.h"
#include "app/CStudyEditing.h"
#include "dialogs/CSimConfigDlg.h"

#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class StudyOptionsSave : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(copyExampleStudy(folder));
        ASSERT_TRUE(document.onOpenDocument(folder.filePath("study.rfx")));
    }

    // The choice made in the dialog, as OK applies it.
    void choose(const QString& entry)
    {
        CRoadfluxView view(document, CSteadyClock::instance());
        view.initialUpdate();
        CSimConfigDlg dialog;
        CStudyEditing::fillSimulation(dialog, document);
        qobject_cast<QComboBox*>(dialog.control(CSimConfigDlg::releaseOrderCombo))->setCurrentText(entry);
        ASSERT_TRUE(dialog.exchangeFromControls());
        CStudyEditing::applySimulation(dialog, document, view);
    }

    QString optionsFile() const { return folder.filePath("study.options"); }

    RecordingDialogs dialogs;
    QTemporaryDir folder;
    CRoadfluxDoc document;
};
}

TEST_F(StudyOptionsSave, TheChoiceIsSavedBesideTheStudyAndReadBackOnOpen)
{
    const QByteArray study = contentsOf(folder.filePath("study.rfx"));
    // The default makes no file.
    ASSERT_TRUE(document.onSaveDocument(folder.filePath("study.rfx")));
    EXPECT_FALSE(QFile::exists(optionsFile()));

    ASSERT_NO_FATAL_FAILURE(choose("Per lane"));
    EXPECT_EQ(document.study().getReleaseOrder(), ReleaseOrder::perLane);
    EXPECT_TRUE(document.isModified());
    ASSERT_TRUE(document.onSaveDocument(folder.filePath("study.rfx")));
    EXPECT_TRUE(contentsOf(optionsFile()).contains("release-order = per-lane\n"));
    EXPECT_EQ(contentsOf(folder.filePath("study.rfx")), study);

    CRoadfluxDoc reopened;
    ASSERT_TRUE(reopened.onOpenDocument(folder.filePath("study.rfx")));
    EXPECT_EQ(reopened.study().getReleaseOrder(), ReleaseOrder::perLane);
    EXPECT_FALSE(reopened.isModified());
    CSimConfigDlg dialog;
    CStudyEditing::fillSimulation(dialog, reopened);
    EXPECT_EQ(qobject_cast<QComboBox*>(dialog.control(CSimConfigDlg::releaseOrderCombo))->currentText(), "Per lane");

    // Back to the default: the file there says so rather than keep the old choice.
    ASSERT_NO_FATAL_FAILURE(choose("In file order"));
    ASSERT_TRUE(document.onSaveDocument(folder.filePath("study.rfx")));
    EXPECT_TRUE(contentsOf(optionsFile()).contains("release-order = file\n"));
    // Another study without a file does not inherit the choice.
    ASSERT_TRUE(reopened.onOpenDocument(folder.filePath("study.rfx")));
    QFile::remove(optionsFile());
    ASSERT_TRUE(document.onNewDocument());
    EXPECT_EQ(document.study().getReleaseOrder(), ReleaseOrder::file);
}

TEST_F(StudyOptionsSave, ABadFileIsReportedAndNotOverwrittenUntilTheChoiceChanges)
{
    const QByteArray bad = "release-order = sometimes\n";
    {
        QFile file(optionsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bad);
    }
    dialogs.warnings.clear();
    ASSERT_TRUE(document.onOpenDocument(folder.filePath("study.rfx")));
    ASSERT_EQ(dialogs.warnings.size(), 1u);
    EXPECT_NE(dialogs.warnings[0].find("study.options: line 1: release-order: \"sometimes\" is not a release order; "
                                       "it is file or per-lane"),
              std::string::npos)
        << dialogs.warnings[0];
    EXPECT_EQ(document.study().getReleaseOrder(), ReleaseOrder::file);
    ASSERT_TRUE(document.onSaveDocument(folder.filePath("study.rfx")));
    EXPECT_EQ(contentsOf(optionsFile()), bad);

    ASSERT_NO_FATAL_FAILURE(choose("Per lane"));
    ASSERT_TRUE(document.onSaveDocument(folder.filePath("study.rfx")));
    EXPECT_TRUE(contentsOf(optionsFile()).contains("release-order = per-lane\n"));
}
