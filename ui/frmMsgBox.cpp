#include "ui/frmMsgBox.h"

#include "ui/PlainText.h"

#include "platform/Events.h"
#include "platform/Fonts.h"
#include "platform/Sound.h"
#include "platform/StandardDialogs.h"
#include "platform/StockIcon.h"
#include "platform/TextMeasure.h"
#include "platform/Twips.h"
#include "ui/AppTitle.h"
#include "ui/CrLf.h"
#include "ui/PlainText.h"
#include "ui/ZovButton.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QRegularExpression>
#include <QTextLayout>
#include <algorithm>

using platform::PixelsToTwips;
using platform::Twips;

namespace {

using ui::CrLf;

// The template sits this far left of the window, where nobody sees it, so Esc can press it.
constexpr int TemplateLeft = -500;
constexpr int TemplateWidth = 495;

QRect ToPixels(const QRect& twips) {
    return QRect(Twips(twips.left()), Twips(twips.top()), Twips(twips.width()),
                 Twips(twips.height()));
}

QStringList Lines(const QString& text) {
    static const QRegularExpression lineBreak(QStringLiteral("\r?\n"));
    return text.split(lineBreak);
}

// Lines of `text` once wrapped at `widthPixels`, counted as the label will break them.
int WrappedLineCount(const QFont& font, const QString& text, int widthPixels) {
    int count = 0;
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    for (const QString& line : Lines(text)) {
        QTextLayout layout(line, font);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine l = layout.createLine(); l.isValid(); l = layout.createLine())
            l.setLineWidth(widthPixels);
        layout.endLayout();
        count += std::max(1, layout.lineCount());
    }
    return count;
}

// What the message box needs to know about its text and buttons, measured in its fonts.
MsgBoxInput Measure(const QString& labelText, const QFont& labelFont, const QFont& windowFont,
                    const QStringList& captions, bool showDontAsk) {
    MsgBoxInput in;
    for (const QString& line : Lines(labelText))
        in.labelWidth = std::max(in.labelWidth, platform::TextWidthTwips(labelFont, line));
    in.labelHeight = platform::TextHeightTwips(labelFont, labelText);
    in.wrappedHeight = [labelText, labelFont](int width) {
        const int lines = WrappedLineCount(labelFont, labelText, Twips(width));
        return PixelsToTwips(lines * QFontMetrics(labelFont).lineSpacing());
    };
    for (const QString& caption : captions)
        in.captionWidths.append(platform::TextWidthTwips(windowFont, QStringLiteral(" ") + caption +
                                                                         QStringLiteral(" ")));
    in.showDontAsk = showDontAsk;
    in.screenWidth = platform::ScreenWidthTwips();
    in.screenHeight = platform::ScreenHeightTwips();
    return in;
}

// The system's active title bar colours, which the footer and the check box wear.
QColor TitleBarColor(const QWidget* w) {
    return w->palette().color(QPalette::Active, QPalette::Highlight);
}
QColor TitleTextColor(const QWidget* w) {
    return w->palette().color(QPalette::Active, QPalette::HighlightedText);
}

} // namespace

frmMsgBox::frmMsgBox(const QString& title, int iconKind, const QString& message, int defaultButton,
                     bool showDontAsk, const QStringList& buttonCaptions, QWidget* parent)
    : Form(parent), lblMessage(ui::NewPlainLabel(QString(), this)), chkDontAsk(new QCheckBox(this)),
      shp(new QWidget(this)), title_(title), iconKind_(iconKind), message_(message),
      defaultButton_(defaultButton), showDontAsk_(showDontAsk), captions_(buttonCaptions) {
    setObjectName(QStringLiteral("frmMsgBox"));
    SetCaption(QStringLiteral("x"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(255, 255, 192));
    setPalette(pal);
    // The window's own font only measures the button captions.
    setFont(platform::DesignFont(QStringLiteral("Tahoma"), 9.75, true));

    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setFont(platform::DesignFont(QStringLiteral("Tahoma"), 9.75));
    lblMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblMessage->hide();

    chkDontAsk->setObjectName(QStringLiteral("chkDontAsk"));
    chkDontAsk->setText(QStringLiteral("Don't show this again"));
    chkDontAsk->setFont(platform::DesignFont(QStringLiteral("Arial Narrow"), 8.25));
    chkDontAsk->setAutoFillBackground(true);
    // A check box fills with its button colour; both roles get the title bar's.
    QPalette check = chkDontAsk->palette();
    for (const auto role : {QPalette::Window, QPalette::Button})
        check.setColor(role, TitleBarColor(this));
    for (const auto role : {QPalette::WindowText, QPalette::ButtonText})
        check.setColor(role, TitleTextColor(this));
    chkDontAsk->setPalette(check);
    chkDontAsk->hide();

    shp->setObjectName(QStringLiteral("shp"));
    shp->setAutoFillBackground(true);
    QPalette band = shp->palette();
    band.setColor(QPalette::Window, TitleBarColor(this));
    shp->setPalette(band);
    shp->hide();

    SetUpTemplate();
    Form_Load();
}

frmMsgBox::~frmMsgBox() = default;

void frmMsgBox::SetUpTemplate() {
    auto* element = new ZovButton(this);
    element->setObjectName(QStringLiteral("cmdMessageButton"));
    element->SetButtonType(zov::RoundedButton);
    element->SetColorScheme(zov::CustomColors);
    element->SetBackColor(QColor(255, 255, 128));
    element->SetBackOver(QColor(255, 255, 128));
    element->SetForeColor(QColor(0, 0, 64));
    element->SetForeOver(QColor(0, 0, 0));
    element->SetMaskColor(QColor(192, 192, 192));
    element->SetUseMaskColor(true);
    element->SetShowFocusRect(true);
    element->SetSoftBevel(false);
    element->SetPicturePosition(4);
    element->SetUseGreyscale(false);
    element->SetSpecialEffect(0);
    element->SetCheckBoxBehaviour(false);
    element->setFont(platform::DesignFont(QStringLiteral("Verdana"), 8.25));
    element->SetCaption(QString());
    element->resize(Twips(TemplateWidth), Twips(msgbox::ButtonHeight));
    element->hide();
    cmdMessageButton.push_back(element);
    connect(element, &ZovButton::Click, this, [this] { cmdMessageButton_Click(0); });
}

void frmMsgBox::AddMessageButton(const QString& caption, const QRect& twips) {
    const int index = static_cast<int>(cmdMessageButton.size());
    auto* element = new ZovButton(this);
    element->CopyPropertiesFrom(*cmdMessageButton[0]);
    element->setObjectName(QStringLiteral("cmdMessageButton"));
    element->setGeometry(ToPixels(twips));
    element->SetCaption(QStringLiteral(" ") + caption + QStringLiteral(" "));
    element->hide();
    cmdMessageButton.push_back(element);
    connect(element, &ZovButton::Click, this, [this, index] { cmdMessageButton_Click(index); });
}

void frmMsgBox::Form_Load() {
    const QString labelText = message_ + CrLf;
    layout_ =
        msgbox::LayOut(Measure(labelText, lblMessage->font(), font(), captions_, showDontAsk_));
    for (int k = 0; k < captions_.size(); ++k)
        AddMessageButton(captions_[k], layout_.buttons[k]);
    SetSizeTwips(layout_.width, layout_.height);

    if (layout_.tooBig) {
        ShowDisplayIssue();
        return;
    }

    SetCaption(title_);
    lblMessage->setWordWrap(layout_.wordWrap);
    lblMessage->setText(QString(labelText).replace(CrLf, QStringLiteral("\n")));
    lblMessage->setGeometry(ToPixels(layout_.label));
    lblMessage->show();

    for (std::size_t k = 1; k < cmdMessageButton.size(); ++k) {
        cmdMessageButton[k]->show();
        cmdMessageButton[k]->Refresh();
    }

    TileBackground();
    DrawIconAndSound();

    shp->setGeometry(ToPixels(layout_.band));
    shp->lower();
    shp->show();

    if (showDontAsk_) {
        chkDontAsk->setChecked(false);
        chkDontAsk->adjustSize();
        chkDontAsk->move(Twips(layout_.dontAskTopLeft.x()), Twips(layout_.dontAskTopLeft.y()));
        chkDontAsk->show();
    }
}

void frmMsgBox::DrawIconAndSound() {
    const auto kind = msgbox::IconForKind(iconKind_);
    if (!kind)
        return;
    DrawPicture(QPoint(9, 10), platform::StockIcon(kind->icon));
    hasIcon_ = true;
    platform::MessageBeep(kind->beep);
}

void frmMsgBox::ShowDisplayIssue() {
    hide();
    platform::DoEvents();
    const QString text = AppTitle() + QStringLiteral(" is trying to display a message") + CrLf +
                         QStringLiteral("that is too big for your screen resolution.") + CrLf +
                         CrLf + QStringLiteral("Please contact ") + QStringLiteral("ZOV Software") +
                         QStringLiteral(" about this.");
    platform::StandardMessage(QStringLiteral("Display issue"), text, platform::StandardIcon::Stop,
                              platform::StandardButtons::Ok);
    close();
}

void frmMsgBox::Form_Activate() {
    // A default button number without a button leaves the box with no default button.
    if (defaultButton_ >= 1 && defaultButton_ < static_cast<int>(cmdMessageButton.size())) {
        ZovButton* button = cmdMessageButton[defaultButton_];
        button->SetDefault(true);
        button->setFocus();
        button->Refresh();
    }
    ZovButton* element = cmdMessageButton[0];
    element->move(Twips(TemplateLeft), element->y());
    // Out of sight, and out of the Tab order too.
    element->setFocusPolicy(Qt::NoFocus);
    element->show();
    element->SetCancel(true);
    element->Refresh();
}

int frmMsgBox::Run(QWidget* parent) {
    if (layout_.tooBig)
        return 0;
    ShowModal(parent);
    return messageResult_;
}

void frmMsgBox::cmdMessageButton_Click(int index) {
    messageResult_ = index;
    messageDontAsk_ = chkDontAsk->isChecked();
    close();
}
