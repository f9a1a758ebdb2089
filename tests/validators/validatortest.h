#pragma once

#include <functional>

#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "support/fakes.h"

// Small steps shared by the validator screen tests.
namespace velmora::test {

using Kind = Message::Kind;

inline const char *kindName(Kind kind)
{
    switch (kind) {
    case Kind::Plain:
        return "plain";
    case Kind::Titled:
        return "titled";
    case Kind::Information:
        return "information";
    case Kind::Warning:
        return "warning";
    case Kind::Question:
        return "question";
    }
    return "?";
}

// The only message shown must be this one.
inline bool shownOnly(const FakeMessages &messages, Kind kind, const QString &title, const QString &text)
{
    if (messages.shown.size() != 1) {
        qWarning("expected one message, %d shown", int(messages.shown.size()));
        return false;
    }
    const Message &m = messages.shown.front();
    if (m.kind != kind || m.title != title || m.text != text) {
        qWarning("shown %s \"%s\" \"%s\"", kindName(m.kind), qPrintable(m.title), qPrintable(m.text));
        return false;
    }
    return true;
}


// Shows a dialog as the opening screen does: with an owner, the text placed in its box found by
// name, then modally. `during` runs inside the modal loop; a dialog left open is rejected after
// a while so a fault cannot hang the test.
inline int openLikeClientCard(QDialog *dialog, const QString &boxName, const QString &text,
                              const std::function<void(QLineEdit *)> &during)
{
    QLineEdit *box = dialog->findChild<QLineEdit *>(boxName);
    if (!box)
        return -1;
    box->setText(text);
    QTimer::singleShot(0, dialog, [box, during] { during(box); });
    QTimer::singleShot(5000, dialog, &QDialog::reject);
    return dialog->exec();
}

} // namespace velmora::test
