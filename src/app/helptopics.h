#pragma once

#include <vector>

#include <QString>
#include <QStringList>

// The help topics built into the program: one per main screen, each a title and its paragraphs.
namespace velmora::help {

struct Topic
{
    QString title;
    QStringList paragraphs;
};

// Every topic, in the order of the screens that offer them.
const std::vector<Topic> &topics();

// The topic with this title, or nullptr.
const Topic *findTopic(const QString &title);

// The text shown in the viewer: the paragraphs joined by an empty line ("\r\n\r\n").
QString topicText(const Topic &topic);

} // namespace velmora::help
