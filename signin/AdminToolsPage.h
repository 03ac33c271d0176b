#pragma once

#include <QWidget>

class ZovButton;

// The Admin window in admin mode: adding, editing and deleting users and naming the
// organization. The window acts on the buttons; this page places them and offers them.
class AdminToolsPage : public QWidget {
    Q_OBJECT

public:
    explicit AdminToolsPage(QWidget* parent);

    ZovButton* cmdAddUser;
    ZovButton* cmdEditUser;
    ZovButton* cmdDeleteUser;
    ZovButton* cmdOrganizationName;

    // Edit and Delete act on the highlighted user, so they are offered only while the list
    // has one.
    void SetUp(bool users);
};
