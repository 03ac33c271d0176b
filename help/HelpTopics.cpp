#include "help/HelpTopics.h"

#include "platform/VersionInfo.h"
#include "ui/AppTitle.h"
#include "ui/modStandard.h"

#include <QFile>

namespace help {

namespace {
// Captions of items 6 and 7 start with nine blanks, to stand indented under item 5.
const QString kIndent(9, u' ');
} // namespace

const std::array<MenuItem, MenuItemCount + 1>& Menu() {
    static const std::array<MenuItem, MenuItemCount + 1> menu = {{
        {},
        {QStringLiteral("Overview"), 300},
        {},
        {QStringLiteral("The Admin window"), 400},
        {QStringLiteral("The 'Name List' tab"), 500},
        {QStringLiteral("The 'Course Index' tab"), 600},
        {kIndent + QStringLiteral("Course Code conventions"), 700},
        {kIndent + QStringLiteral("Course Code example"), 701},
        {QStringLiteral("The 'Search/Summary' tab"), 800},
        {},
        {QStringLiteral("The 'Training History' window"), 900},
        {},
        {QStringLiteral("About Mirtavel"), About},
        {QStringLiteral("About ZOV Software"), 1000},
        {},
        {QStringLiteral("Email a colleague about Mirtavel"), MailColleague},
        {QStringLiteral("Email ZOV Software"), MailMaker},
        {QStringLiteral("Visit ZOV Software's Web Page"), WebPage},
        {},
        {QStringLiteral("Exit this Menu"), ExitMenu},
    }};
    return menu;
}

int MenuItemOf(HelpTopic topic) {
    const auto& menu = Menu();
    for (int k = 1; k <= MenuItemCount; ++k) {
        if (menu[k].number == static_cast<int>(topic))
            return k;
    }
    return 0; // every topic has its item; a test checks each one
}

QString TopicText(int number) {
    QFile file(QStringLiteral(":/help/%1.txt").arg(number));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    return QString::fromUtf8(file.readAll()).trimmed();
}

QString AboutText() {
    return AppTitle() +
           QStringLiteral("\r\nVersion w%1.%2.%3\r\n\r\n")
               .arg(platform::VersionMajor())
               .arg(platform::VersionMinor())
               .arg(platform::VersionRevision()) +
           platform::FileDescription() + QStringLiteral("\r\n") + platform::LegalCopyright();
}

QString ColleagueMailText() {
    const QString title = AppTitle();
    const QString maker = modStandard::MakerName;
    const QString twoLines = QStringLiteral("%0D%0A%0D%0A");
    return QStringLiteral("?subject=") + u'\'' + title +
           QStringLiteral("' - Police Training Record Management software from ") + maker +
           QStringLiteral("&body=") +
           QStringLiteral("I came across a law enforcement computer program from ") + maker +
           QStringLiteral(" called '") + title +
           QStringLiteral("' that you might want to know about.") + twoLines +
           QStringLiteral("You can download and install it for free at ") + maker +
           QStringLiteral("'s website. The direct download link is") + twoLines +
           modStandard::MakerDownloadLink + twoLines + maker + QStringLiteral("'s website (") +
           modStandard::MakerWebAddress +
           QStringLiteral(") also has other law enforcement programs that ") +
           QStringLiteral("you'd probably find as interesting as I did.") + twoLines +
           QStringLiteral("Let me know what you think.");
}

} // namespace help
