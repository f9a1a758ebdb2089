#pragma once

#include <functional>
#include <optional>

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "common/navigation.h"
#include "common/services.h"

// The behaviour every full-screen working screen shares: the tiled background, the white
// content group kept centred, the description bar, and the return to the start screen on close.
namespace velmora {

class IconButton;

// Where the content group goes for a window of outer size w × h (integer division toward zero).
QPoint centredContainerPos(int outerWidth, int outerHeight, int containerWidth, int containerHeight,
                           int leftOffset, int topOffset);

class WorkingScreen : public QWidget
{
    Q_OBJECT
public:
    struct Geometry
    {
        int minWidth;
        int minHeight;
        int leftOffset;
        int topOffset;
    };

    WorkingScreen(Services &services, const QString &caption, Geometry geometry, QWidget *parent = nullptr);

    QGroupBox *grpContainer = nullptr;
    QLabel *panInfo = nullptr;   // description bar; nullptr on screens without one
    QPushButton *btnSfondo = nullptr;

    // Shows the screen maximised and runs FormShow.
    void showWorking();

    // Wires an icon's hover description into the description bar.
    void describe(IconButton *icon);
    // Any widget whose hover clears the description bar (section group boxes).
    void clearsDescription(QWidget *surface);

protected:
    // Adds the description bar at the bottom of the content group.
    void addInfoBar();
    // The screen's title picture "imgTitolo" across the top of the content group.
    void addTitle(const QString &caption, const QColor &colour, const QRect &geometry);
    // An instruction text of the screen, wrapped in its box.
    QLabel *infoText(const QString &name, const QString &text, const QRect &geometry, int points = 9,
                     Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop);
    // Moves a card by one of its arrows. count is the archive's record count, nullopt when the
    // archive could not be used; position is the card's record number label; show puts a record on it.
    void moveCard(Arrow arrow, std::optional<std::size_t> count, QLabel *position,
                  const std::function<void(std::size_t)> &show);
    // Called on every show after the background is set.
    virtual void FormShow() {}
    // Called on close before the start screen comes back.
    virtual void FormClose() {}
    // Whether closing returns to the start screen (the catalogue hands over to a bill instead).
    virtual bool returnsToStart() const { return true; }

    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    Services &m_services;

private:
    void FormCanResize();
    Geometry m_geometry;
};

// Applies the tiled background bitmap to a window.
void applyTiledBackground(QWidget *window);

} // namespace velmora
