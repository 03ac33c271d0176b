#pragma once

#include <QString>
#include <functional>

class QWidget;

// How the help window prints a topic. The report printer installs itself here when the
// program starts; until one is installed the help window offers no print button.
namespace help {

using TopicPrinter =
    std::function<void(QWidget* window, const QString& topicName, const QString& text)>;

void SetTopicPrinter(TopicPrinter printer); // an empty printer removes it
const TopicPrinter& InstalledTopicPrinter();

} // namespace help
