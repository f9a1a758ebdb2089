#include <QAbstractButton>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QStyle>
#include <QTest>

#include "app/screenset.h"
#include "common/fonts.h"
#include "support/fakes.h"

using namespace velmora;
using velmora::test::TestServices;

namespace {

QString pathOf(const QWidget *widget)
{
    QStringList names;
    for (const QObject *o = widget; o; o = o->parent())
        if (!o->objectName().isEmpty())
            names.prepend(o->objectName());
    return names.join(QLatin1Char('/'));
}

// Where a one-line label draws its text, in its parent's coordinates.
QRect textRect(const QLabel *label)
{
    const QFontMetrics metrics(label->font());
    const QSize text(metrics.horizontalAdvance(label->text()), metrics.height());
    const QRect inside = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(),
                                                         -label->margin());
    const QRect placed = QStyle::alignedRect(label->layoutDirection(), label->alignment(), text, inside);
    return placed.translated(label->pos());
}

bool isCaption(const QLabel *label, const QWidget *screen)
{
    return !label->text().trimmed().isEmpty() && !label->wordWrap() && label->textFormat() != Qt::RichText &&
           label->isVisibleTo(screen) && !label->text().contains(QLatin1Char('\n'));
}

} // namespace

// The screens as they look with the fonts the set-up installs.
class TestLook : public QObject
{
    Q_OBJECT

private slots:
    void theChosenFontsArePresent()
    {
        for (const QString &family : {fonts::text(), fonts::symbols(), fonts::fixed()}) {
            QFont f(family);
            QCOMPARE(QFontInfo(f).family(), family);
        }
        QVERIFY(QFontInfo(QFont(fonts::fixed())).fixedPitch());
        // The symbols of the command icons are all in the symbol face.
        const QFontMetrics symbols{QFont(fonts::symbols())};
        for (const char32_t c : {U'✓', U'✗', U'▶', U'▤', U'∅', U'↓', U'«', U'»', U'‹', U'›', U'×', U'©', U'→'})
            QVERIFY2(symbols.inFontUcs4(c), qPrintable(QString::number(c, 16)));
    }

    // Every caption fits its control, and no two captions of a surface touch.
    void everyCaptionFitsAndNoneOverlap()
    {
        TestServices ts;
        ScreenSet screens(ts.services);
        QStringList problems;
        int captions = 0;
        for (QWidget *screen : screens.screens()) {
            std::map<QWidget *, std::vector<std::pair<QRect, const QLabel *>>> bySurface;
            for (const QLabel *label : screen->findChildren<QLabel *>()) {
                if (!isCaption(label, screen))
                    continue;
                ++captions;
                const QFontMetrics metrics(label->font());
                const int needed = metrics.horizontalAdvance(label->text()) + 2 * label->margin() +
                                   std::max(0, label->indent());
                if (needed > label->contentsRect().width() || metrics.height() > label->contentsRect().height() + 2)
                    problems << QStringLiteral("%1: «%2» needs %3×%4 in %5×%6")
                                    .arg(pathOf(label), label->text())
                                    .arg(needed)
                                    .arg(metrics.height())
                                    .arg(label->contentsRect().width())
                                    .arg(label->contentsRect().height());
                bySurface[label->parentWidget()].emplace_back(textRect(label), label);
            }
            for (QAbstractButton *button : screen->findChildren<QAbstractButton *>()) {
                if (button->text().isEmpty() || !button->isVisibleTo(screen))
                    continue;
                ++captions;
                const int needed = button->fontMetrics().horizontalAdvance(button->text()) + 8;
                if (needed > button->width())
                    problems << QStringLiteral("%1: «%2» needs %3 in %4")
                                    .arg(pathOf(button), button->text())
                                    .arg(needed)
                                    .arg(button->width());
            }
            for (const auto &[surface, texts] : bySurface) {
                for (std::size_t i = 0; i < texts.size(); ++i)
                    for (std::size_t j = i + 1; j < texts.size(); ++j)
                        // One pixel of air between two texts.
                        if (texts[i].first.adjusted(-1, 0, 1, 0).intersects(texts[j].first))
                            problems << QStringLiteral("%1 touches %2")
                                            .arg(pathOf(texts[i].second), pathOf(texts[j].second));
            }
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("\n"))));
        QVERIFY2(captions > 150, qPrintable(QString::number(captions)));
    }
};

QTEST_MAIN(TestLook)
#include "test_look.moc"
