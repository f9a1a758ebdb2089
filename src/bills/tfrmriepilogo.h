#pragma once

#include <map>
#include <optional>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include "bills/billsummary.h"
#include "common/office.h"
#include "common/widgets.h"
#include "common/workingscreen.h"

namespace velmora {
class ExportGridModel;
}

// The summary across bills: the consumptions of a period added up by day, waiter, place,
// product or bill, shown in a grid that prints and exports like the other lists.
class TfrmRiepilogo : public velmora::WorkingScreen
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmRiepilogo)
public:
    explicit TfrmRiepilogo(velmora::Services &services, QWidget *parent = nullptr);

    velmora::TextBox *txtDal = nullptr;
    velmora::TextBox *txtAl = nullptr;
    QGroupBox *grpRaggruppa = nullptr;
    QRadioButton *optGiorno = nullptr;
    QRadioButton *optCameriere = nullptr;
    QRadioButton *optLuogo = nullptr;
    QRadioButton *optProdotto = nullptr;
    QRadioButton *optConto = nullptr;
    QCheckBox *chkChiusi = nullptr;
    QPushButton *cmdCalcola = nullptr;
    QTableView *grdRiepilogo = nullptr;
    velmora::IconButton *btnStampa = nullptr;
    velmora::IconButton *btnEsporta = nullptr;
    velmora::IconButton *cmdGuida = nullptr;
    velmora::IconButton *cmdEsci = nullptr;

    velmora::ExportGridModel *gridModel() const { return m_model; }
    // The grid as shown, headings and numbers included: what is exported.
    velmora::TextGrid gridTexts() const;

protected:
    void FormShow() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    velmora::SummaryGrouping grouping() const;
    void showEmptyGrid();
    void restoreWidths();
    void txtDataKeyPress(QChar &key);
    void cmdCalcolaClick();
    void btnStampaClick();
    void btnEsportaClick();
    void cmdGuidaClick();
    void cmdEsciClick();

    velmora::ExportGridModel *m_model = nullptr;
    std::map<QObject *, QString> m_descriptions; // controls other than icons and what they describe
    // What the grid shows, once calculated: the heading of its printout.
    std::optional<std::string> m_shownTitle;
};
