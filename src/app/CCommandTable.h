#pragma once
// The program's command table: every menu item with its identifier, shortcut and prompt, in menu
// order with the separators, and the toolbar's buttons.

#include "app/CCommand.h"

#include <QStringList>
#include <vector>

class CCommandTable
{
public:
    enum Id
    {
        fileNew = 57600,
        fileOpen = 57601,
        fileSave = 57603,
        fileSaveAs = 57604,
        filePrintSetup = 57606,
        filePrint = 57607,
        filePrintPreview = 57609,
        fileMru1 = 57616,
        appExit = 57665,
        appAbout = 57664,
        saveImage = 32809,
        configureSimulation = 32772,
        configureTrafficModel = 32771,
        configureRoadFeatures = 32788,
        configureMetrics = 32789,
        configureBridges = 32795,
        runVisible = 32786,
        runInvisible = 32787,
        zoomIn = 32778,
        zoomOut = 32779,
        speedUp = 32780,
        slowDown = 32781,
        pause = 32777,
        stop = 32794,
        preferences = 32776,
        viewToolbar = 59392,
        viewStatusBar = 59393,
        viewResults = 32810,
        viewLiveCharts = 32811,
    };

    static constexpr int recentFileCount = 4;

    // Menu titles, left to right.
    static QStringList menus();
    // Every item and separator of the menus in order; the recent files appear as one entry with
    // the id of the first.
    static const std::vector<CCommand>& commands();
    static const CCommand* find(int id);
    // Toolbar buttons in order; 0 marks a separator.
    static const std::vector<int>& toolbar();

    static QString recentFilePrompt() { return QStringLiteral("Open this document"); }
    static QString resumeText() { return QStringLiteral("&Resume"); }
};
