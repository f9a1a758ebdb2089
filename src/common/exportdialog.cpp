#include "common/exportdialog.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QShowEvent>

#include "common/fonts.h"
#include "common/artwork.h"
#include "common/office.h"
#include "common/text.h"
#include "common/widgets.h"

namespace velmora {

namespace {

const QColor kSkyBlue{166, 202, 240};
const QColor kLabelRed{255, 0, 0};

QFont gridFont()
{
    QFont f(fonts::text());
    f.setPixelSize(11);
    return f;
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, colour);
    widget->setPalette(p);
}

} // namespace

// ---- model -------------------------------------------------------------------------------------

ExportGridModel::ExportGridModel(QObject *parent) : QAbstractTableModel(parent) {}

void ExportGridModel::setGrid(ExportGrid grid)
{
    beginResetModel();
    m_grid = std::move(grid);
    endResetModel();
}

QString ExportGridModel::cellText(int column, int row) const
{
    if (column < 0 || column >= gridColumns() || row < 0 || row >= gridRows())
        return {};
    const auto c = static_cast<std::size_t>(column);
    if (row == 0)
        return fromAnsi(m_grid.headings[c]);
    return fromAnsi(m_grid.row(static_cast<std::size_t>(row - 1))[c]);
}

std::vector<QStringList> ExportGridModel::texts() const
{
    std::vector<QStringList> texts;
    texts.reserve(static_cast<std::size_t>(gridRows()));
    QStringList headings;
    headings.reserve(gridColumns());
    for (const std::string &h : m_grid.headings)
        headings << fromAnsi(h);
    texts.push_back(std::move(headings));
    // Each row made into cells once, not once per cell.
    for (std::size_t r = 0; r < m_grid.size(); ++r) {
        QStringList row;
        row.reserve(gridColumns());
        for (const std::string &cell : m_grid.row(r))
            row << fromAnsi(cell);
        texts.push_back(std::move(row));
    }
    return texts;
}

int ExportGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_grid.size());
}

int ExportGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : std::max(0, gridColumns() - 1);
}

QVariant ExportGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    return cellText(index.column() + 1, index.row() + 1);
}

QVariant ExportGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    if (role != Qt::DisplayRole)
        return {};
    return orientation == Qt::Horizontal ? cellText(section + 1, 0) : cellText(0, section + 1);
}

Qt::ItemFlags ExportGridModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

// ---- cells -------------------------------------------------------------------------------------

QColor ExportCellDelegate::rowColour(int gridRow)
{
    return gridRow % 2 == 0 ? QColor(249, 255, 225) : QColor(223, 235, 255);
}

void ExportCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QColor background = rowColour(index.row() + 1);
    // A light tint keeps a selected range visible over the row colours.
    if (option.state & QStyle::State_Selected) {
        const QColor h = option.palette.color(QPalette::Highlight);
        background = QColor((background.red() * 3 + h.red()) / 4, (background.green() * 3 + h.green()) / 4,
                            (background.blue() * 3 + h.blue()) / 4);
    }
    painter->save();
    painter->fillRect(option.rect, background);
    painter->setClipRect(option.rect);
    painter->setPen(Qt::black);
    painter->setFont(option.font);
    painter->drawText(option.rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}

// ---- dialog ------------------------------------------------------------------------------------

ExportDialog::ExportDialog(Services &services, const Setup &setup, QWidget *parent)
    : QDialog(parent), m_services(services), m_setup(setup)
{
    setObjectName(setup.objectName);
    setWindowTitle(setup.caption);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(783, 505);
    setAutoFillBackground(true);
    setBackground(this, colours::silver);
    setMouseTracking(true);

    grpControlli = new QGroupBox(this);
    grpControlli->setObjectName(QStringLiteral("grpControlli"));
    grpControlli->setGeometry(8, 2, 767, 112);
    grpControlli->setMouseTracking(true);
    grpControlli->installEventFilter(this);

    // The dialog's title plate on the left of the icons.
    auto *imgTitolo = new QLabel(grpControlli);
    imgTitolo->setObjectName(QStringLiteral("imgTitolo"));
    imgTitolo->setGeometry(10, 14, 380, 88);
    imgTitolo->setPixmap(artwork::titlePicture(setup.caption.trimmed(), imgTitolo->size(), colours::navy));
    imgTitolo->setMouseTracking(true);

    const auto command = [this](const char *iconName, const char *labelName, const QString &caption,
                                const QString &symbol, const QColor &colour, const QString &description, int left,
                                IconButton *&icon, IconButton *&label) {
        icon = new IconButton(QLatin1String(iconName), description, grpControlli, IconButton::Trigger::MouseUp);
        icon->setAccessibleName(caption);
        icon->setPixmap(artwork::symbolIcon(symbol, colour, 48));
        icon->setGeometry(left + (90 - pictureSize(icon).width()) / 2, 16, pictureSize(icon).width(),
                          pictureSize(icon).height());
        label = new IconButton(QLatin1String(labelName), description, grpControlli, IconButton::Trigger::MouseUp);
        label->setText(caption);
        QFont f(fonts::text());
        f.setPixelSize(11);
        f.setUnderline(true);
        label->setFont(f);
        label->setAlignment(Qt::AlignCenter);
        label->setGeometry(left - 10, 70, 110, 18);
        label->setTwinOf(icon);
        setTextColour(label, Qt::black);
        for (IconButton *b : {icon, label})
            connect(b, &IconButton::hovered, this, [this, label](const QString &d) { hoverLabel(label, d); });
    };
    command("imgWord", "lblWord", QStringLiteral("Esporta in Word"), QStringLiteral("W"), QColor(43, 87, 154),
            QStringLiteral(" Esporta l'archivio in un file di Microsoft Word."), 400, imgWord, lblWord);
    command("imgExcel", "lblExcel", QStringLiteral("Esporta in Excel"), QStringLiteral("X"), QColor(33, 115, 70),
            QStringLiteral(" Esporta l'archivio in un foglio di lavoro di Microsoft Excel."), 490, imgExcel, lblExcel);
    command("imgGuida", "lblGuida", QStringLiteral("Guida"), QStringLiteral("?"), QColor(31, 110, 124),
            QStringLiteral(" Visualizza la guida in linea."), 580, imgGuida, lblGuida);
    command("imgEsci", "lblEsci", QStringLiteral("Esci"), QStringLiteral("×"), QColor(160, 40, 40),
            QStringLiteral(" Esce dalla schermata di lavoro corrente."), 670, imgEsci, lblEsci);
    for (IconButton *b : {imgWord, lblWord})
        connect(b, &IconButton::activated, this, &ExportDialog::imgWordMouseUp);
    for (IconButton *b : {imgExcel, lblExcel})
        connect(b, &IconButton::activated, this, &ExportDialog::imgExcelMouseUp);
    for (IconButton *b : {imgGuida, lblGuida})
        connect(b, &IconButton::activated, this, &ExportDialog::imgGuidaMouseUp);
    for (IconButton *b : {imgEsci, lblEsci})
        connect(b, &IconButton::activated, this, &ExportDialog::imgEsciMouseUp);

    imgGuida->setShortcut(keys::help());

    m_model = new ExportGridModel(this);
    m_model->setGrid(emptyExportGrid(*setup.spec));

    grdRecords = new QTableView(this);
    grdRecords->setObjectName(QStringLiteral("grdRecords"));
    grdRecords->setAccessibleName(QStringLiteral("Archivio da esportare"));
    grdRecords->setGeometry(0, 120, 783, 505 - 120 - 25);
    grdRecords->setModel(m_model);
    grdRecords->setItemDelegate(new ExportCellDelegate(grdRecords));
    grdRecords->setFont(gridFont());
    grdRecords->setShowGrid(true);
    grdRecords->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdRecords->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grdRecords->setSelectionBehavior(QAbstractItemView::SelectItems);
    grdRecords->setWordWrap(false);
    grdRecords->setCornerButtonEnabled(false);
    grdRecords->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    QPalette gp = grdRecords->palette();
    gp.setColor(QPalette::Base, Qt::white);
    gp.setColor(QPalette::Text, Qt::black);
    grdRecords->setPalette(gp);
    // Fixed row heights: a large archive is laid out in one step, never row by row.
    QHeaderView *rowsHeader = grdRecords->verticalHeader();
    rowsHeader->setSectionResizeMode(QHeaderView::Fixed);
    rowsHeader->setMinimumSectionSize(24);
    rowsHeader->setDefaultSectionSize(24);
    rowsHeader->setFixedWidth(setup.spec->widths.front());
    rowsHeader->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QHeaderView *columnsHeader = grdRecords->horizontalHeader();
    columnsHeader->setSectionResizeMode(QHeaderView::Interactive);
    columnsHeader->setDefaultSectionSize(100);
    columnsHeader->setFixedHeight(24);
    columnsHeader->setHighlightSections(false);
    columnsHeader->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    columnsHeader->setSectionsClickable(false);
    rowsHeader->setSectionsClickable(false);
    const QString skyBlue =
        QStringLiteral("rgb(%1, %2, %3)").arg(kSkyBlue.red()).arg(kSkyBlue.green()).arg(kSkyBlue.blue());
    grdRecords->setStyleSheet(QStringLiteral("QHeaderView::section { background-color: %1; color: black; "
                                             "border: 0px; border-right: 1px solid rgb(128, 128, 128); "
                                             "border-bottom: 1px solid rgb(128, 128, 128); padding-left: 2px; "
                                             "font-family: '%2'; font-size: 11px; } "
                                             "QTableCornerButton::section { background-color: %1; border: 0px; "
                                             "border-right: 1px solid rgb(128, 128, 128); "
                                             "border-bottom: 1px solid rgb(128, 128, 128); }")
                                  .arg(skyBlue, fonts::text()));
    grdRecords->viewport()->setMouseTracking(true);
    grdRecords->viewport()->installEventFilter(this);
    restoreWidths();

    panInfo = new QLabel(this);
    panInfo->setObjectName(QStringLiteral("panInfo"));
    panInfo->setGeometry(0, 505 - 25, 783, 25);
    panInfo->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panInfo->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont infoFont(fonts::text());
    infoFont.setPixelSize(11);
    panInfo->setFont(infoFont);
}

std::vector<QStringList> ExportDialog::gridTexts() const
{
    return m_model->texts();
}

void ExportDialog::showEvent(QShowEvent *event)
{
    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    QDialog::showEvent(event);
    // Restoring a minimised window is no new showing: the grid stays as the user left it.
    if (!event->spontaneous())
        FormShow();
}

void ExportDialog::FormShow()
{
    blackLabels();
    panInfo->clear();
    const RecordLayout *layout = archiveLayout();
    const std::filesystem::path path = archivePath();
    const bool loaded = m_model->change([&](ExportGrid &grid) {
        if (layout && !path.empty())
            return loadExportGrid(grid, *m_setup.spec, RecordFile(path, layout->size()), *layout);
        grid.emptyRows();
        return false;
    });
    if (loaded)
        restoreWidths();
    if (m_model->rowCount() > 0)
        grdRecords->setCurrentIndex(m_model->index(0, 0));
}

void ExportDialog::restoreWidths()
{
    const std::vector<int> &widths = m_setup.spec->widths;
    grdRecords->verticalHeader()->setFixedWidth(widths.front());
    for (std::size_t c = 1; c < widths.size(); ++c)
        grdRecords->horizontalHeader()->resizeSection(static_cast<int>(c - 1), widths[c]);
}

void ExportDialog::imgWordMouseUp()
{
    if (m_services.office)
        m_services.office->wordGrid(this, gridTexts(), m_setup.documentName);
}

void ExportDialog::imgExcelMouseUp()
{
    if (m_services.office)
        m_services.office->excelGrid(this, gridTexts(), m_setup.sheetName, m_setup.boldUpTo);
}

void ExportDialog::imgGuidaMouseUp()
{
    if (m_services.navigator)
        m_services.navigator->showHelp(this, m_setup.helpTopic);
}

void ExportDialog::imgEsciMouseUp()
{
    close();
}

void ExportDialog::hoverLabel(IconButton *label, const QString &description)
{
    blackLabels();
    setTextColour(label, kLabelRed);
    panInfo->setText(description);
}

void ExportDialog::blackLabels()
{
    for (IconButton *label : {lblWord, lblExcel, lblGuida, lblEsci})
        setTextColour(label, Qt::black);
}

bool ExportDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        if (watched == grpControlli) {
            blackLabels();
            panInfo->clear();
        } else if (watched == grdRecords->viewport()) {
            blackLabels();
            const QModelIndex current = grdRecords->currentIndex();
            const QString text = current.isValid() ? current.data().toString() : QString();
            panInfo->setText(QLatin1Char(' ') + fromAnsi(trimField(toAnsi(text))));
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace velmora
