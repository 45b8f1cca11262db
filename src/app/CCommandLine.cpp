#include "app/CCommandLine.h"

CCommandLine CCommandLine::parse(const QStringList& arguments)
{
    CCommandLine parsed;
    for (int i = 0; i < arguments.size(); ++i)
    {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--run"))
            parsed.runAtStart = true;
        else if (argument == QLatin1String("--time-warp") && i + 1 < arguments.size())
            parsed.timeWarp = arguments[++i].toDouble();
        else if (argument == QLatin1String("--results"))
            parsed.showResults = true;
        else if (argument == QLatin1String("--from-menu"))
            parsed.fromMenu = true;
        else if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            parsed.helpWanted = true;
        else if (argument == QLatin1String("--version"))
            parsed.versionWanted = true;
        else if (parsed.study.isEmpty())
            parsed.study = argument;
    }
    return parsed;
}

// Laid out for help2man, which turns it into the manual page.
QString CCommandLine::helpText()
{
    return QStringLiteral("Usage: roadflux [OPTION]... [STUDY]\n"
                          "Edit a traffic microsimulation study (*.rfx) in a window and run it, with the road\n"
                          "animated or as fast as possible. Without STUDY the program starts with a new study.\n"
                          "\n"
                          "Options:\n"
                          "  --run              start a visible run of STUDY as soon as the window is up\n"
                          "  --time-warp N      pace of that run: N simulated seconds per real second\n"
                          "                     (1 to 1000)\n"
                          "  --results          when a run ends, show its charts in the Results window\n"
                          "                     without asking\n"
                          "  --from-menu        the desktop's menu started the program: a missing\n"
                          "                     Roadflux.ini is reported with the folder it was looked for in\n"
                          "  -h, --help         print this help and end\n"
                          "  --version          print the version and end\n"
                          "\n"
                          "Qt's own options, such as -platform NAME or -style NAME, are accepted too.\n"
                          "\n"
                          "Roadflux.ini, the configuration file, is read from the current directory at start-up;\n"
                          "when it cannot be read, a message says so and the built-in defaults are used.\n"
                          "The command roadflux-cli example FOLDER copies the example study, its traffic file\n"
                          "and a Roadflux.ini into FOLDER.\n");
}

QString CCommandLine::versionText(const QString& version)
{
    return QStringLiteral("roadflux %1\n").arg(version);
}
