#pragma once

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "common/services.h"
#include "common/widgets.h"

// The help viewer: shows one topic at a time, modally, and opens the full manual "Guida.pdf".
class TfrmHelpForm : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmHelpForm)
public:
    explicit TfrmHelpForm(velmora::Services &services, QWidget *parent = nullptr);

    // Fills the viewer with the topic and shows it modally.
    void showTopic(const QString &topic);
    // Fills the viewer without showing it.
    void setTopic(const QString &topic);

    // The banner of the viewer, drawn in code.
    static QPixmap bannerPicture();

    QLabel *imgLogo = nullptr;
    QLabel *panTitle = nullptr;
    QFrame *panContainer = nullptr;
    QPlainTextEdit *memTopic = nullptr;
    velmora::IconButton *imgPDF = nullptr;
    velmora::IconButton *lblPDF = nullptr;
    QPushButton *cmdOK = nullptr;

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void cmdOKClick();
    void imgPDFMouseUp();
    void lblPDFMouseUp();
    void lblPDFMouseMove();
    void imgPDFMouseMove();
    void FormMouseMove();
    void memTopicMouseMove();
    void setLinkColour(const QColor &colour);

    velmora::Services &m_services;
};
