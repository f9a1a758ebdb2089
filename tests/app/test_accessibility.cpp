#include <QAccessible>
#include <QTest>

#include "app/screenset.h"
#include "bills/tfrmtrasferisci.h"
#include "common/widgets.h"
#include "support/fakes.h"

using namespace velmora;
using velmora::test::TestServices;

namespace {

// The roles of what a user acts on or reads as data.
bool isActionable(const QAccessibleInterface *control)
{
    switch (control->role()) {
    case QAccessible::Button:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Link:
        return true;
    default:
        return false;
    }
}

QString pathOf(const QObject *object)
{
    QStringList names;
    for (const QObject *o = object; o; o = o->parent())
        if (!o->objectName().isEmpty())
            names.prepend(o->objectName());
    return names.join(QLatin1Char('/')) + QStringLiteral(" (") +
           QLatin1String(object->metaObject()->className()) + QLatin1Char(')');
}

// Every control under root that a screen reader could not name.
void collectUnnamed(QAccessibleInterface *root, QStringList &unnamed, int &checked)
{
    for (int i = 0; i < root->childCount(); ++i) {
        QAccessibleInterface *child = root->child(i);
        if (!child || !child->object())
            continue;
        // The background's glyph holder is never shown nor used.
        if (child->object()->objectName() == QLatin1String("btnSfondo"))
            continue;
        if (isActionable(child)) {
            ++checked;
            if (child->text(QAccessible::Name).trimmed().isEmpty())
                unnamed << pathOf(child->object());
        }
        collectUnnamed(child, unnamed, checked);
    }
}

} // namespace

// Every screen as a screen reader meets it, through the accessibility interface.
class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void everyControlOfEveryScreenHasAName()
    {
        TestServices ts;
        ScreenSet screens(ts.services);
        QStringList unnamed;
        int checked = 0;
        // The move dialog is made by the bill screen for each move, so it is not in the set.
        TfrmTrasferisci move(ts.services, ts.file("Bar.for"), true);
        std::vector<QWidget *> all = screens.screens();
        all.push_back(&move);
        for (QWidget *screen : all) {
            QAccessibleInterface *window = QAccessible::queryAccessibleInterface(screen);
            QVERIFY(window);
            QVERIFY2(!window->text(QAccessible::Name).trimmed().isEmpty(), qPrintable(screen->objectName()));
            collectUnnamed(window, unnamed, checked);
        }
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral("\n"))));
        QVERIFY2(checked > 200, qPrintable(QString::number(checked)));
    }

    // Icons are push buttons a reader can press, described by what their hover bar says.
    void iconsArePressableButtonsWithTheirDescription()
    {
        TestServices ts;
        ScreenSet screens(ts.services);
        int icons = 0;
        for (QWidget *screen : screens.screens()) {
            for (IconButton *icon : screen->findChildren<IconButton *>()) {
                ++icons;
                const QString where = pathOf(icon);
                QAccessibleInterface *a = QAccessible::queryAccessibleInterface(icon);
                QVERIFY2(a && a->role() == QAccessible::Button, qPrintable(where));
                QVERIFY2(a->actionInterface(), qPrintable(where));
                QVERIFY2(a->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()),
                         qPrintable(where));
                if (!icon->description().trimmed().isEmpty())
                    QVERIFY2(a->text(QAccessible::Description) == icon->description().trimmed(), qPrintable(where));
                // The name is the command, never its long description.
                QVERIFY2(a->text(QAccessible::Name) != icon->description().trimmed() ||
                             icon->description().trimmed().size() < 24,
                         qPrintable(where));
            }
        }
        QVERIFY2(icons > 80, qPrintable(QString::number(icons)));
    }
};

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
