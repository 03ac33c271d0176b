#pragma once

#include <QString>

class QWidget;

// Shared routines of the windows: the maker's particulars and the mail and web links.
namespace modStandard {

inline const QString MakerName = QStringLiteral("ZOV Software");
inline const QString MakerAddressLine1 = QStringLiteral("1250 Harbor Point Drive, Suite 4");
inline const QString MakerAddressLine2 = QStringLiteral("Lakeview, OR 97630");
inline const QString MakerMailAddress = QStringLiteral("info@zovsoftware.example");
inline const QString MakerWebAddress = QStringLiteral("www.zovsoftware.example");
inline const QString MakerDownloadLink =
    QStringLiteral("http://www.zovsoftware.example/downloads/mirtavel");

enum LinkKind { Mail = 1, Web = 2 };

// The target OpenMailOrWeb opens: kind 1 "mailto:" + (text, or the maker's mail address),
// kind 2 "http://" + (text, or the maker's web address).
QString MailOrWebTarget(int kind, const QString& text = QString());

// Asks the desktop to open a mail message or a web page; tells the user with the standard
// message box ("Error", "Could not establish a connection!") when it could not.
void OpenMailOrWeb(int kind, QWidget* owner, const QString& text = QString());

} // namespace modStandard
