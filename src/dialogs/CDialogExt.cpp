#include "dialogs/CDialogExt.h"

#include "dialogs/CMessageTip.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const char* const controlIdProperty = "controlId";
}

CDialogExt::CDialogExt(QWidget* parent) : QDialog(parent)
{
    qApp->installEventFilter(this);
}

void CDialogExt::validateData(int&, QString&) {}

QWidget* CDialogExt::control(int id) const
{
    const QList<QWidget*> widgets = findChildren<QWidget*>();
    for (QWidget* widget : widgets)
        if (widget->property(controlIdProperty).toInt() == id)
            return widget;
    return nullptr;
}

void CDialogExt::setControlId(QWidget* widget, int id)
{
    widget->setProperty(controlIdProperty, id);
}

QWidget* CDialogExt::makeButtons()
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok = buttons->button(QDialogButtonBox::Ok);
    setControlId(ok, 1);
    setControlId(buttons->button(QDialogButtonBox::Cancel), 2);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDialogExt::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDialogExt::reject);
    return buttons;
}

void CDialogExt::accept()
{
    int badControlId = -1;
    QString message;
    validateData(badControlId, message);
    if (message.isEmpty() || badControlId == 0)
    {
        if (exchangeOnClose())
            QDialog::accept();
        return;
    }
    QWidget* offending = control(badControlId);
    if (!offending)
        return;
    QWidget* focused = QApplication::focusWidget();
    const bool onOffending = focused && (focused == offending || offending->isAncestorOf(focused));
    const bool onOk = focused && focused == ok && (!lastEnterControl || lastEnterControl == offending);
    if (onOffending || onOk || !focused)
    {
        if (!messageTip)
        {
            messageTip = new CMessageTip;
            if (!messageTip->create(this))
                return;
        }
        const QRect target(offending->mapTo(this, QPoint(0, 0)), offending->size());
        QApplication::beep();
        messageTip->showTip(target, message);
    }
    lastEnterControl = nullptr;
    offending->setFocus();
}

bool CDialogExt::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType())
    {
        auto* widget = static_cast<QWidget*>(watched);
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && widget == QApplication::focusWidget() && widget != ok &&
            isAncestorOf(widget))
            lastEnterControl = widget;
    }
    return QDialog::eventFilter(watched, event);
}

CMessageTip* CDialogExt::getMessageTip() const
{
    return messageTip;
}

void CDialogExt::layOutListEditor(QWidget* grid, const ListButton& add, const ListButton& remove, int width, int height)
{
    auto* top = new QHBoxLayout;
    for (const ListButton* spec : {&add, &remove})
    {
        auto* button = new QPushButton(spec->text);
        setControlId(button, spec->id);
        connect(button, &QPushButton::clicked, this, spec->onClick);
        top->addWidget(button);
    }
    top->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid, 1);
    layout->addWidget(makeButtons());
    resize(width, height);
}
