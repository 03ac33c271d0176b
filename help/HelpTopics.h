#pragma once

#include "help/ShowHelp.h"

#include <QString>
#include <array>

// What the help window offers: its topic menu, the topic texts (one text file per topic,
// built into the program) and the texts of its about notice and colleague mail.
namespace help {

// Numbers of the menu items that act instead of showing a topic text.
enum ItemNumber {
    ExitMenu = 0,
    MailMaker = 1111,
    WebPage = 2222,
    MailColleague = 4444,
    About = 7777
};

struct MenuItem {
    QString caption; // empty for a separator
    int number = 0;  // topic text number or ItemNumber; 0 for a separator
    bool separator() const { return caption.isEmpty(); }
};

constexpr int MenuItemCount = 19;

// The topic menu, items 1 to 19 (entry 0 unused).
const std::array<MenuItem, MenuItemCount + 1>& Menu();

// The menu item that shows `topic`.
int MenuItemOf(HelpTopic topic);

// The text of topic `number` (300 to 1000); empty for a number without a text.
QString TopicText(int number);

// The about notice: title, "Version w" + major.minor.revision, an empty line, the file
// description and the legal notice of the program's version information.
QString AboutText();

// What follows "mailto:" for a mail to a colleague: no address, a subject and a body.
QString ColleagueMailText();

} // namespace help
