// The desktop program's picture savers against the hostile targets of
// tests/reliability/file_matrix.sh: each refuses and leaves every file as it was, or writes
// through a link and keeps it.
// Rows: src/charts/ChartExport.cpp (a chart as PNG or SVG), src/app/CWindowToBMP.cpp (the
// road view as a bitmap).

#include "charts/ChartsTestSupport.h"

#include "app/CWindowToBMP.h"
#include "charts/ChartExport.h"
#include "files/SandboxSnapshot.h"

#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using Save = std::function<bool(const QString& path)>;
}

TEST(PictureTargets, EachPictureSaverRefusesEveryHostileTargetAndKeepsALink)
{
    std::vector<ResultChart> charts = chartsOf(entryOf("FD_All_Pos_1500.csv", threeIntervalFlows));
    QChart& chart = *charts[0].chart;
    QLabel window(QStringLiteral("road"));
    window.resize(40, 20);
    const std::vector<std::pair<std::string, Save>> savers{
        {"PNG", [&chart](const QString& path) { return ChartExport::savePng(chart, path, QSize(64, 48)); }},
        {"SVG", [&chart](const QString& path) { return ChartExport::saveSvg(chart, path, QSize(64, 48)); }},
        {"bitmap", [&window](const QString& path) { return CWindowToBMP().saveWindow(&window, path); }},
    };
    for (const auto& [name, save] : savers)
    {
        for (const std::string kind : {"fifo", "device", "folder", "dangling", "locked"})
        {
            QTemporaryDir sandbox;
            const fs::path folder = sandbox.path().toStdString();
            const fs::path target = folder / "picture";
            int lock = -1;
            if (kind == "fifo")
                ASSERT_EQ(::mkfifo(target.c_str(), 0600), 0);
            else if (kind == "device" && ::mknod(target.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0)
                continue;
            else if (kind == "folder")
                fs::create_directory(target);
            else if (kind == "dangling")
                fs::create_symlink(folder / "nowhere", target);
            else if (kind == "locked")
            {
                QFile(QString::fromStdString(target.string())).open(QIODevice::WriteOnly);
                lock = ::open(target.c_str(), O_RDONLY);
                ::flock(lock, LOCK_EX);
            }
            const auto before = sandboxSnapshot(folder);
            EXPECT_FALSE(save(QString::fromStdString(target.string()))) << name << " x " << kind;
            EXPECT_EQ(sandboxSnapshot(folder), before) << name << " x " << kind;
            if (lock >= 0)
                ::close(lock);
        }
        QTemporaryDir sandbox;
        const fs::path folder = sandbox.path().toStdString();
        QFile(QString::fromStdString((folder / "shared").string())).open(QIODevice::WriteOnly);
        fs::create_symlink(folder / "shared", folder / "picture");
        EXPECT_TRUE(save(QString::fromStdString((folder / "picture").string()))) << name;
        EXPECT_TRUE(fs::is_symlink(folder / "picture")) << name;
        EXPECT_GT(fs::file_size(folder / "shared"), 0u) << name;
    }
}
