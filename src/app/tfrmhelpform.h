#pragma once

#include <QDialog>
#include <QLabel>

#include "common/services.h"

// The help viewer: shows one topic at a time, modally.
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

    QLabel *panTitle = nullptr;

private:
    velmora::Services &m_services;
};
