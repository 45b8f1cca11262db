// The study's bridges in the desktop program: kept in STUDY.bridges beside the study through
// Save and Open, a bad file left alone, the load effects written by an invisible run, and each
// bridge drawn as an outline with its name on the road view.

#include "ExampleStudyCopy.h"
#include "FakeStudy.h"
#include "RecordingDialogs.h"
#include "app/CRoadfluxDoc.h"
#include "app/CRoadfluxView.h"
#include "loadeffects/BridgesFile.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace {
BridgeSet twoBridges()
{
    Bridge viaduct;
    viaduct.name = "Viaduct";
    viaduct.start = 1200.0;
    viaduct.span = 40.0;
    viaduct.interval = 300.0;
    Bridge underpass;
    underpass.name = "Underpass";
    underpass.start = 600.0;
    underpass.span = 20.0;
    underpass.effect = BridgeEffect::supportShear;
    underpass.directions = BridgeDirections::positive;
    underpass.laneFactors = {{1, 1.0}, {2, 0.9}};
    return BridgeSet{{viaduct, underpass}};
}

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class StudyBridges : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(copyExampleStudy(folder));
        ASSERT_TRUE(document.onOpenDocument(folder.filePath("study.rfx")));
    }

    QString bridgesFile() const { return folder.filePath("study.bridges"); }

    RecordingDialogs dialogs;
    QTemporaryDir folder;
    CRoadfluxDoc document;
};
}

TEST_F(StudyBridges, AreSavedBesideTheStudyAndReadBackOnOpen)
{
    const QByteArray study = contentsOf(folder.filePath("study.rfx"));
    // No bridges, no file.
    ASSERT_TRUE(document.onSaveDocument(folder.filePath("study.rfx")));
    EXPECT_FALSE(QFile::exists(bridgesFile()));

    document.bridges().setSet(twoBridges());
    ASSERT_TRUE(document.onSaveDocument(folder.filePath("study.rfx")));
    EXPECT_TRUE(QFile::exists(bridgesFile()));
    EXPECT_EQ(contentsOf(folder.filePath("study.rfx")), study);  // the study's own layout is unchanged
    // Save As writes them beside the new name too.
    ASSERT_TRUE(document.onSaveDocument(folder.filePath("copy.rfx")));
    EXPECT_TRUE(QFile::exists(folder.filePath("copy.bridges")));

    CRoadfluxDoc reopened;
    ASSERT_TRUE(reopened.onOpenDocument(folder.filePath("study.rfx")));
    EXPECT_EQ(reopened.bridges().getSet(), twoBridges());
    ASSERT_EQ(reopened.scene().bridges.size(), 2u);
    EXPECT_EQ(reopened.scene().bridges[0].name, "Viaduct");
    EXPECT_DOUBLE_EQ(reopened.scene().bridges[0].start, 1200.0);
    EXPECT_DOUBLE_EQ(reopened.scene().bridges[0].length, 40.0);

    // Deleting every bridge empties the file rather than leaving the old bridges behind.
    reopened.bridges().setSet(BridgeSet{});
    ASSERT_TRUE(reopened.onSaveDocument(folder.filePath("study.rfx")));
    EXPECT_TRUE(BridgesFile::read(bridgesFile().toStdString()).set.empty());
    // New forgets the bridges.
    ASSERT_TRUE(document.onNewDocument());
    EXPECT_TRUE(document.bridges().getSet().empty());
}

TEST_F(StudyBridges, ABadFileIsReportedAndNotOverwrittenUntilEdited)
{
    const QByteArray bad =
        "name,start_m,span_m,effect,directions,interval_s\nViaduct,1200,forty,midspan-moment,both,300\n";
    {
        QFile file(bridgesFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bad);
    }
    dialogs.warnings.clear();
    ASSERT_TRUE(document.onOpenDocument(folder.filePath("study.rfx")));
    ASSERT_EQ(dialogs.warnings.size(), 1u);
    EXPECT_NE(dialogs.warnings[0].find("study.bridges: line 2: span_m"), std::string::npos) << dialogs.warnings[0];
    ASSERT_TRUE(document.onSaveDocument(folder.filePath("study.rfx")));
    EXPECT_EQ(contentsOf(bridgesFile()), bad);

    document.bridges().setSet(twoBridges());
    ASSERT_TRUE(document.onSaveDocument(folder.filePath("study.rfx")));
    EXPECT_EQ(BridgesFile::read(bridgesFile().toStdString()).set, twoBridges());
}

TEST_F(StudyBridges, AnInvisibleRunWritesTheLoadEffects)
{
    document.bridges().setSet(twoBridges());
    ManualClock clock;
    CRoadfluxView view(document, clock);
    view.initialUpdate();
    view.runInvisible();
    ASSERT_FALSE(dialogs.notices.empty()) << (dialogs.warnings.empty() ? "" : dialogs.warnings[0]);
    EXPECT_EQ(dialogs.notices.back().rfind("The simulation has finished.\n", 0), 0u) << dialogs.notices.back();
    for (const char* name : {"LE_Viaduct.csv", "LE_Viaduct_seconds.csv", "LE_Viaduct_events.csv", "LE_Underpass.csv"})
        EXPECT_GT(QFileInfo(folder.filePath(QStringLiteral("metrics/") + name)).size(), 0) << name;
    ASSERT_NE(document.bridges().getRun(), nullptr);
    const auto& monitors = document.bridges().getRun()->getMonitors();
    ASSERT_EQ(monitors.size(), 2u);
    EXPECT_FALSE(monitors[0].getEvents().getEvents().empty());  // traffic crossed the viaduct
    EXPECT_GT(monitors[0].getEvents().getEvents().front().value, 0.0);
}

TEST_F(StudyBridges, ABridgeOffTheRoadRefusesTheRunAndNamesIt)
{
    BridgeSet set = twoBridges();
    set.bridges[0].start = 1.0e6;
    document.bridges().setSet(set);
    ManualClock clock;
    CRoadfluxView view(document, clock);
    view.initialUpdate();
    view.runInvisible();
    EXPECT_TRUE(dialogs.notices.empty());
    ASSERT_FALSE(dialogs.warnings.empty());
    EXPECT_NE(dialogs.warnings.back().find("study.bridges: line 2: span_m: the bridge ends at 1000040 m"),
              std::string::npos)
        << dialogs.warnings.back();
    EXPECT_FALSE(QFile::exists(folder.filePath("metrics/LE_Viaduct.csv")));
}
