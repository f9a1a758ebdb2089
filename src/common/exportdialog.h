#pragma once

#include <QAbstractTableModel>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QStyledItemDelegate>
#include <QTableView>

#include "common/exportgrid.h"
#include "common/services.h"

// The archive export dialogs: the whole archive as a grid, exported as it is shown to a Word
// table or an Excel sheet.
namespace velmora {

class IconButton;

// The grid's texts for a table view: the heading row becomes the horizontal header and the
// number column the vertical header, so both stay in place while scrolling.
class ExportGridModel final : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit ExportGridModel(QObject *parent = nullptr);

    void setGrid(ExportGrid grid);
    // Changes the grid in place (no copy of a large archive) and resets the views once.
    template <typename F> auto change(F &&f)
    {
        beginResetModel();
        auto result = f(m_grid);
        endResetModel();
        return result;
    }
    const ExportGrid &grid() const { return m_grid; }
    // Cell (column, row) of the whole grid, row 0 being the headings and column 0 the numbers.
    QString cellText(int column, int row) const;
    int gridColumns() const { return static_cast<int>(m_grid.headings.size()); }
    int gridRows() const { return static_cast<int>(m_grid.size()) + 1; }
    // Every cell of the whole grid, row by row: what the documents are made from.
    std::vector<QStringList> texts() const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    ExportGrid m_grid;
};

// Data cells on the colour of their row, text 2 pixels in from the top-left corner.
class ExportCellDelegate final : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    static QColor rowColour(int gridRow);
};

class ExportDialog : public QDialog
{
    Q_OBJECT
public:
    // What distinguishes one export from another.
    struct Setup
    {
        QString objectName;
        QString caption;
        QString helpTopic;
        QString documentName; // file name of the Word table
        QString sheetName;    // Excel sheet name, also its file name
        int boldUpTo = 26;    // last bold heading column in Excel
        const ExportSpec *spec = nullptr;
    };

    ExportDialog(Services &services, const Setup &setup, QWidget *parent = nullptr);

    QGroupBox *grpControlli = nullptr;
    IconButton *imgWord = nullptr;
    IconButton *lblWord = nullptr;
    IconButton *imgExcel = nullptr;
    IconButton *lblExcel = nullptr;
    IconButton *imgGuida = nullptr;
    IconButton *lblGuida = nullptr;
    IconButton *imgEsci = nullptr;
    IconButton *lblEsci = nullptr;
    QTableView *grdRecords = nullptr;
    QLabel *panInfo = nullptr;

    ExportGridModel *gridModel() const { return m_model; }
    // The whole grid as shown, headings and numbers included, for the documents.
    std::vector<QStringList> gridTexts() const;

protected:
    // The archive and its layout, asked at every showing; nullptr layout leaves the grid empty.
    virtual std::filesystem::path archivePath() const = 0;
    virtual const RecordLayout *archiveLayout() const = 0;

    void FormShow();
    void imgWordMouseUp();
    void imgExcelMouseUp();
    void imgGuidaMouseUp();
    void imgEsciMouseUp();

    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    Services &m_services;

private:
    void hoverLabel(IconButton *label, const QString &description);
    void blackLabels();
    void restoreWidths();

    Setup m_setup;
    ExportGridModel *m_model = nullptr;
};

} // namespace velmora
