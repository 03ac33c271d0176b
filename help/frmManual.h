#pragma once

#include "ui/Form.h"

#include <QString>
#include <array>

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class ZovButton;

// The help window: one topic at a time, another chosen from the topic menu (F1), the topic
// printed, Esc to close. It opens on the menu item it is given (0 for none).
class frmManual : public Form {
    Q_OBJECT

public:
    explicit frmManual(int openingItem, QWidget* parent = nullptr);
    ~frmManual() override;

    QLabel* labelHelpTopic;
    QPlainTextEdit* txtManual;
    ZovButton* cmdHelpTopic;
    ZovButton* cmdPrintHelp;
    ZovButton* cmdReturn;
    QMenu* menuHelpMenu;
    std::array<QAction*, 20> menuHelpTopic{}; // items 1 to 19; 0 unused

    int CurrentTopic() const { return currentTopic_; }
    const QString& About() const { return about_; }

    void menuHelpTopic_Click(int index);
    void cmdHelpTopic_Click();
    void cmdPrintHelp_Click();
    void cmdReturn_Click();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_KeyDown(QKeyEvent* event) override;

private:
    void PlaceControls();
    void ShowTopic(int index);

    int openingItem_;
    int currentTopic_ = 0;
    QString about_;
};
