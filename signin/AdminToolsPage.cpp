#include "signin/AdminToolsPage.h"

#include "forms/ButtonLook.h"
#include "platform/Twips.h"
#include "ui/ZovButton.h"

using forms::ButtonRole;
using platform::PlaceTwips;

AdminToolsPage::AdminToolsPage(QWidget* parent)
    : QWidget(parent), cmdAddUser(new ZovButton(this)), cmdEditUser(new ZovButton(this)),
      cmdDeleteUser(new ZovButton(this)), cmdOrganizationName(new ZovButton(this)) {
    forms::StyleButton(cmdAddUser, ButtonRole::Record);
    forms::StyleButton(cmdEditUser, ButtonRole::Record);
    forms::StyleButton(cmdDeleteUser, ButtonRole::Remove);
    forms::StyleButton(cmdOrganizationName, ButtonRole::Record);
    // In the window's twips: the row under the user list, narrow enough to leave the window's
    // export button its place there, and the organization's name in the bottom row beside
    // the admin button.
    PlaceTwips(cmdAddUser, 150, 2400, 1360, 660);
    PlaceTwips(cmdEditUser, 1600, 2400, 1360, 660);
    PlaceTwips(cmdDeleteUser, 3050, 2400, 1360, 660);
    PlaceTwips(cmdOrganizationName, 3690, 3360, 2280, 660);
    for (ZovButton* hidden : {cmdAddUser, cmdEditUser, cmdDeleteUser, cmdOrganizationName})
        hidden->hide();
}

void AdminToolsPage::SetUp(bool users) {
    forms::Apply(cmdAddUser, {QStringLiteral("&Add User"),
                              QStringLiteral(" Add a user to the 'User Name' list "),
                              true,
                              {}});
    forms::Apply(
        cmdEditUser,
        {QStringLiteral("&Edit User"), QStringLiteral(" Edit the highlighted user "), users, {}});
    forms::Apply(cmdDeleteUser, {QStringLiteral("&Delete User"),
                                 QStringLiteral(" Delete the highlighted user "),
                                 users,
                                 {}});
    forms::Apply(cmdOrganizationName,
                 {QStringLiteral("Organization &Name..."),
                  QStringLiteral(" Set the organization's name shown in the main window "),
                  true,
                  {}});
}
