#pragma once
// A dialog that checks its input when OK is pressed and, instead of closing, points at the
// offending control with a pop-up tip and a beep. Controls carry numeric ids so that a check can
// name the control it refuses.

#include <QDialog>
#include <QPointer>
#include <QString>

#include <functional>

class CMessageTip;
class QPushButton;

class CDialogExt : public QDialog
{
    Q_OBJECT

public:
    explicit CDialogExt(QWidget* parent = nullptr);

    // Copies the controls into the members, then checks them; on the first failure sets message
    // and the id of the control to point at. The base checks nothing.
    virtual void validateData(int& badControlId, QString& message);

    // OK: closes the dialog only when the check passes.
    void accept() override;

    QWidget* control(int id) const;
    static void setControlId(QWidget* widget, int id);
    CMessageTip* getMessageTip() const;
    QPushButton* okButton() const { return ok; }

protected:
    // The last exchange from the controls as the dialog closes; false keeps it open.
    virtual bool exchangeOnClose() { return true; }
    // Adds the OK and Cancel buttons under the dialog's content.
    QWidget* makeButtons();

    // A button of a list editor: its text, control id and what a click does.
    struct ListButton
    {
        QString text;
        int id;
        std::function<void()> onClick;
    };
    // Lays out a list editor: the add and delete-last buttons above the grid, OK and Cancel
    // below it, at the given starting size (pixels).
    void layOutListEditor(QWidget* grid, const ListButton& add, const ListButton& remove, int width, int height);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<CMessageTip> messageTip;
    QPointer<QWidget> lastEnterControl;
    QPushButton* ok = nullptr;
};
