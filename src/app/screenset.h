#pragma once

#include <map>
#include <memory>
#include <vector>

#include <QPointer>
#include <QString>
#include <QWidget>

#include "common/services.h"

// The start-up instances of every screen, created in a fixed order (the login screen first,
// so it is the main window), and the navigation between them.
class ScreenSet final : public velmora::Navigator
{
public:
    explicit ScreenSet(velmora::Services &services);
    ~ScreenSet() override;
    ScreenSet(const ScreenSet &) = delete;
    ScreenSet &operator=(const ScreenSet &) = delete;

    void showStart() override;
    void showHelp(QWidget *owner, const QString &topic) override;
    QWidget *screen(const QString &className) override;

    // Class names in creation order.
    const std::vector<QString> &order() const { return m_order; }

private:
    void add(QWidget *screen);

    std::vector<QString> m_order;
    std::map<QString, QPointer<QWidget>> m_screens;
};
