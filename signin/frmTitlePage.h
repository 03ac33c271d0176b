#pragma once

#include "forms/FlashState.h"
#include "ui/Form.h"

#include <QTimer>
#include <array>

class QLabel;
class ZovButton;

// The first window: the program's name, version and maker, with a flashing Continue that
// leads to the Admin window, and Quit.
class frmTitlePage : public Form {
    Q_OBJECT

public:
    explicit frmTitlePage(QWidget* parent = nullptr);
    ~frmTitlePage() override;

    QLabel* imgBackground;
    QLabel* labelAppTitle;
    QLabel* labelAppDescription;
    QLabel* labelVersion;
    QLabel* labelZovSoftware;
    QLabel* labelZovAddress;
    std::array<QLabel*, 3> labelZovContact{}; // 1 mail, 2 web; 0 unused
    ZovButton* cmdContinue;
    ZovButton* cmdQuit;
    ZovButton* cmdHelpTopic;
    QTimer timerFlashButton;

    const FlashState& Flash() const { return flash_; }

    // "Version w3.12.18"; every part is shown, a 0 as "0".
    static QString VersionCaption(int major, int minor, int revision);
    // The notice for a screen narrower than 800 pixels, line by line.
    static QString ScreenNotice(int widthPixels, int heightPixels);

    void cmdContinue_Click();
    void cmdQuit_Click();
    void cmdHelpTopic_Click();
    void labelZovContact_Click(int index);
    void timerFlashButton_Timer();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PlaceControls();

    FlashState flash_;
};
