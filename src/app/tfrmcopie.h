#pragma once

#include <vector>

#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTreeWidget>

#include "app/safetycopies.h"
#include "common/workingscreen.h"

// The safety copies: the folder where they go, the copies found there, making one now and
// restoring one.
class TfrmCopie : public velmora::WorkingScreen
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmCopie)
public:
    explicit TfrmCopie(velmora::Services &services, QWidget *parent = nullptr);

    QLineEdit *txtCartella = nullptr;
    QPushButton *cmdCartella = nullptr;
    QTreeWidget *lstCopie = nullptr;
    QLabel *lblTotale = nullptr;
    QPushButton *cmdCrea = nullptr;
    QPushButton *cmdRipristina = nullptr;
    QPushButton *cmdEsci = nullptr;
    QLabel *lblInfo01 = nullptr;
    QLabel *lblInfo02 = nullptr;

protected:
    void FormShow() override;

private:
    void fillList();
    void cmdCartellaClick();
    void cmdCreaClick();
    void cmdRipristinaClick();
    void cmdEsciClick();

    std::vector<velmora::CopyInfo> m_copies; // in list order
};

namespace velmora {

// The picture of the safety copies: two sheets, one over the other, with a tick.
QPixmap copiesIcon(const QColor &colour, int size, const QString &caption = {});

// The moment the clock gives, as a copy is named with it.
CopyTime copyTimeNow(const ClockService &clock);

// What the screens say when a copy could not be made.
QString copyFailureMessage(CopyResult::Outcome outcome);

// The automatic copy when the program ends: at most once a day, into the chosen folder. A
// failure is told over owner and never stops the program from ending.
void automaticCopyAtEnd(Services &services, QWidget *owner);

} // namespace velmora
