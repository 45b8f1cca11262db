#include "app/CAboutDlg.h"

#include "app/CCommandTable.h"
#include "app/CToolbarIcons.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About Roadflux"));
    auto* icon = new QLabel(this);
    icon->setPixmap(CToolbarIcons::icon(CCommandTable::configureSimulation).pixmap(32, 30));
    auto* version = new QLabel(versionLine(), this);
    version->setObjectName(QStringLiteral("version"));
    auto* text = new QPlainTextEdit(credits(), this);
    text->setObjectName(QStringLiteral("credits"));
    text->setReadOnly(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(version, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(text);
    layout->addWidget(buttons);
    resize(380, 240);
}

QString CAboutDlg::credits()
{
    return QStringLiteral("Roadflux simulates the individual vehicles of a recorded or generated traffic stream, "
                          "heavy vehicles in particular, on a straight road.\n\n"
                          "Car-following: the Intelligent Driver Model.\n"
                          "Lane changes: a politeness rule with a bias towards the kerb-side lane.\n\n"
                          "Traffic files in the TALVOR, VORK and DoRIV formats.");
}
