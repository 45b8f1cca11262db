#pragma once
// The example study and its traffic file copied into a scratch folder, with an empty metrics
// folder: the study names its files relative to itself, so the copy runs without touching
// examples/. Call through ASSERT_NO_FATAL_FAILURE.

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

inline void copyExampleStudy(const QTemporaryDir& folder)
{
    const QString examples = QStringLiteral(ROADFLUX_SOURCE_DIR "/examples");
    for (const char* name : {"study.rfx", "traffic.txt"})
        ASSERT_TRUE(QFile::copy(examples + "/" + name, folder.filePath(name)));
    QDir(folder.path()).mkdir("metrics");
}
