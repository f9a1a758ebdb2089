#pragma once

#include <random>
#include <vector>

#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QTimer>

#include "app/imagearray.h"
#include "app/spritemath.h"
#include "common/services.h"

// The credits window: five sprites drift over the artwork, bounce off the edges, come nearer
// and go farther and spin. A click anywhere opens the product web site and closes it.
class TfrmSplash : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmSplash)
public:
    explicit TfrmSplash(velmora::Services &services, QWidget *parent = nullptr);

    QLabel *BackImage = nullptr;   // holds the artwork, never shown
    QLabel *SpriteImage = nullptr; // holds the sprite picture, never shown
    QTimer *Timer1 = nullptr;

    // Advances the animation by one tick and draws the back buffer on the window; the timer
    // calls it every 50 ms while the window is shown.
    void Timer1Timer();

    const QImage &backBuffer() const { return m_backBuffer; }
    const QImage &background() const { return m_background; }
    const std::vector<velmora::sprites::Sprite> &sprites() const { return m_sprites; }
    const velmora::sprites::Field &field() const { return m_field; }
    // How many times the back buffer has been painted on the window.
    int paints() const { return m_paints; }

    // Our own artwork, drawn in code: the background (597 × 362) and the 24-bit sprite (108 × 60).
    static QImage backgroundArtwork();
    static QImage spriteArtwork();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void FormCreate();
    void FormPaint();
    void FormMouseUp();
    double randomReal();
    QImage transparentSprite(const QImage &rendered) const;

    velmora::Services &m_services;
    std::mt19937 m_random;
    QImage m_spritePicture;
    QImage m_background;
    QImage m_backBuffer;
    TImageArray m_imageArray;
    QRgb m_transparent = 0;
    velmora::sprites::Field m_field;
    std::vector<velmora::sprites::Sprite> m_sprites;
    int m_paints = 0;
};
