#include "app/CCommandTable.h"

namespace {
CCommand item(int id, const char* menu, const char* text, const char* shortcut, const char* prompt)
{
    return CCommand{id, QString::fromLatin1(menu), QString::fromLatin1(text), QString::fromLatin1(shortcut),
                    QString::fromLatin1(prompt)};
}

CCommand separator(const char* menu)
{
    return CCommand{0, QString::fromLatin1(menu), {}, {}, {}};
}
}

QStringList CCommandTable::menus()
{
    // Mnemonics that the Alt shortcuts of the configuration commands leave free.
    return {QStringLiteral("&File"),  QStringLiteral("&Configuration"), QStringLiteral("R&un"),
            QStringLiteral("T&ools"), QStringLiteral("&View"),          QStringLiteral("&Help")};
}

const std::vector<CCommand>& CCommandTable::commands()
{
    static const std::vector<CCommand> table = {
        item(fileNew, "&File", "&New", "Ctrl+N", "Create a new document\nNew"),
        item(fileOpen, "&File", "&Open...", "Ctrl+O", "Open an existing document\nOpen"),
        item(fileSave, "&File", "&Save", "Ctrl+S", "Save the active document\nSave"),
        item(fileSaveAs, "&File", "Save &As...", "", "Save the active document with a new name\nSave As"),
        separator("&File"),
        item(saveImage, "&File", "Save Image", "Ctrl+I", "Save current image to file\nSave Image"),
        separator("&File"),
        item(filePrint, "&File", "&Print...", "Ctrl+P", "Print the active document\nPrint"),
        item(filePrintPreview, "&File", "Print Pre&view", "", "Display full pages\nPrint Preview"),
        item(filePrintSetup, "&File", "P&rint Setup...", "", "Change the printer and printing options\nPrint Setup"),
        separator("&File"),
        item(fileMru1, "&File", "Recent File", "", "Open this document"),
        separator("&File"),
        item(appExit, "&File", "E&xit", "", "Quit the application; prompts to save documents\nExit"),

        item(configureSimulation, "&Configuration", "&Simulation", "Alt+S",
             "Configure the simulation parameters\nConfigure Simulation"),
        item(configureTrafficModel, "&Configuration", "&Traffic Model", "Alt+T",
             "Configure the traffic model\nConfigure Traffic Model"),
        item(configureRoadFeatures, "&Configuration", "&Road Features", "Alt+R",
             "Configure the road features (speed limits & gradients)\nConfigure Road Features"),
        item(configureMetrics, "&Configuration", "Traffic Flow &Metrics", "Alt+M",
             "Configure the detectors for flow properties\nConfigure Road Metrics"),
        item(configureBridges, "&Configuration", "&Bridges", "Alt+B",
             "Configure the bridges whose load effects the runs compute\nConfigure Bridges"),

        item(runVisible, "R&un", "As &Visible", "F5",
             "Run the simulation showing the animation on screen\nRun Visible"),
        item(runInvisible, "R&un", "As &Invisible", "Shift+F5",
             "Run the simulation in the background (program will be unresponsive)\nRun Invisible"),

        item(zoomIn, "T&ools", "Zoom &In", "F10", "Zoom into a region of the road\nZoom In"),
        item(zoomOut, "T&ools", "Zoom &Out", "F11", "Zoom out to view more of the road\nZoom Out"),
        separator("T&ools"),
        item(speedUp, "T&ools", "Speed &Up", "F6", "Speed up the simulation process\nSpeed Up"),
        item(slowDown, "T&ools", "Slow &Down", "F7", "Slow down the simulation process\nSlow Down"),
        separator("T&ools"),
        item(pause, "T&ools", "&Pause", "F9", "Pause the simulation\nPause Simulation"),
        item(stop, "T&ools", "&Stop", "F12", "Stop the current simulation\nStop Simulation"),
        separator("T&ools"),
        item(preferences, "T&ools", "&Preferences", "Alt+P", "Display preferences dialog box\nPreferences"),

        item(viewToolbar, "&View", "&Toolbar", "", "Show or hide the toolbar\nToggle ToolBar"),
        item(viewStatusBar, "&View", "&Status Bar", "", "Show or hide the status bar\nToggle StatusBar"),
        item(viewLiveCharts, "&View", "&Live Charts", "",
             "Show or hide the flow, density and speed at the detectors while a run goes\nToggle Live Charts"),
        separator("&View"),
        item(viewResults, "&View", "&Results...", "", "Show the charts of the measurement files\nResults"),

        item(appAbout, "&Help", "&About Roadflux...", "",
             "Display program information, version number and copyright\nAbout"),
    };
    return table;
}

const CCommand* CCommandTable::find(int id)
{
    for (const CCommand& command : commands())
        if (command.id == id)
            return &command;
    return nullptr;
}

const std::vector<int>& CCommandTable::toolbar()
{
    static const std::vector<int> buttons = {
        fileNew,
        fileOpen,
        fileSave,
        0,
        filePrint,
        0,
        configureSimulation,
        configureTrafficModel,
        configureRoadFeatures,
        configureMetrics,
        0,
        runVisible,
        pause,
        stop,
        0,
        runInvisible,
        0,
        zoomIn,
        zoomOut,
        speedUp,
        slowDown,
        0,
        preferences,
        0,
        appAbout,
    };
    return buttons;
}
