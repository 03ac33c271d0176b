#include "training/frmCreditTraining.h"

#include "forms/ButtonLook.h"
#include "forms/Messages.h"
#include "forms/Permits.h"
#include "forms/StoreProblem.h"
#include "forms/WindowBusy.h"
#include "platform/Fonts.h"
#include "platform/Twips.h"
#include "store/Clock.h"
#include "store/ControlCharacters.h"
#include "store/Formats.h"
#include "training/CommentsBox.h"
#include "training/Credit.h"
#include "training/DateQuestion.h"
#include "training/PersonPicks.h"
#include "ui/AppTitle.h"
#include "ui/CrLf.h"
#include "ui/PlainText.h"
#include "ui/SelectOnFocus.h"
#include "ui/Styling.h"
#include "ui/ZovButton.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <algorithm>

namespace {

using ui::CrLf;
constexpr int kCommentsLimit = 184;

} // namespace

frmCreditTraining::frmCreditTraining(QWidget* parent, Session session,
                                     training::HighlightedCourse course,
                                     QList<training::ListedPerson> persons)
    : Form(parent), lblCourseInfo(ui::NewPlainLabel(QString(), this)), txtFind(new QLineEdit(this)),
      listNames(new QListView(this)), lblCounts(ui::NewPlainLabel(QString(), this)),
      listSelected(new QListView(this)), txtDate(new QLineEdit(this)),
      lblSpaceFull(ui::NewPlainLabel(QString(), this)),
      txtComments(new CommentsBox(kCommentsLimit, lblSpaceFull, this)),
      cmdPickAllShown(new ZovButton(this)), cmdTakeOut(new ZovButton(this)),
      cmdSave(new ZovButton(this)), cmdCancel(new ZovButton(this)), session_(std::move(session)),
      course_(std::move(course)), picks_(new training::PersonPicks(std::move(persons), this)) {
    const QFont boxFont = platform::DesignFont(QStringLiteral("Tahoma"), 9);
    AddLabel(QStringLiteral("Training course to credit"), 240, 120, 4320, 255);
    // Six lines and room for a course name of 50 characters to wrap onto a second one.
    platform::PlaceTwips(lblCourseInfo, 240, 390, 4320, 1500);
    lblCourseInfo->setFont(platform::DesignFont(QStringLiteral("Tahoma"), 8.25, true));
    lblCourseInfo->setWordWrap(true);
    lblCourseInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblCourseInfo->setFrameShape(QFrame::Panel);
    lblCourseInfo->setFrameShadow(QFrame::Sunken);
    lblCourseInfo->setAutoFillBackground(true);
    lblCourseInfo->setAccessibleName(QStringLiteral("Training course to credit"));

    AddLabel(QStringLiteral("Find a person by any part of the name;") + CrLf +
                 QStringLiteral("Space or a click picks or unpicks"),
             240, 1950, 4320, 480);
    platform::PlaceTwips(txtFind, 240, 2460, 2520, 345);
    txtFind->setFont(boxFont);
    txtFind->setAccessibleName(QStringLiteral("Find a person"));
    txtFind->setClearButtonEnabled(true);
    forms::StyleButton(cmdPickAllShown, forms::ButtonRole::Record);
    platform::PlaceTwips(cmdPickAllShown, 2880, 2430, 1680, 405);
    cmdPickAllShown->SetCaption(QStringLiteral("Pick &all shown"));
    cmdPickAllShown->setToolTip(QStringLiteral(" Pick every person the list shows "));
    platform::PlaceTwips(listNames, 240, 2910, 4320, 3930);
    listNames->setFont(boxFont);
    listNames->setModel(picks_);
    listNames->setUniformItemSizes(true); // thousands of rows lay out at once
    listNames->setSelectionMode(QAbstractItemView::SingleSelection);
    listNames->setAccessibleName(QStringLiteral("Persons to pick"));
    platform::PlaceTwips(lblCounts, 240, 6900, 4320, 255);
    lblCounts->setFont(platform::DesignFont(QStringLiteral("Tahoma"), 8.25, true));
    forms::MakeTransparent(lblCounts);
    ui::SetInk(lblCounts, QColor(0, 0, 64));

    AddLabel(QStringLiteral("Person(s) who received this training"), 4800, 120, 4380, 255);
    platform::PlaceTwips(listSelected, 4800, 390, 4380, 2130);
    listSelected->setFont(boxFont);
    listSelected->setModel(picks_->PickedList());
    listSelected->setUniformItemSizes(true);
    listSelected->setSelectionMode(QAbstractItemView::SingleSelection);
    listSelected->setAccessibleName(QStringLiteral("Person(s) who received this training"));
    forms::StyleButton(cmdTakeOut, forms::ButtonRole::Remove);
    platform::PlaceTwips(cmdTakeOut, 4800, 2580, 2100, 375);
    cmdTakeOut->SetCaption(QStringLiteral("&Take out"));
    cmdTakeOut->setToolTip(QStringLiteral(" Take the highlighted person out of this list <Del> "));

    AddLabel(QStringLiteral("Date that the training was received"), 4800, 3060, 4380, 255);
    platform::PlaceTwips(txtDate, 4800, 3330, 1560, 345);
    txtDate->setFont(boxFont);
    txtDate->setMaxLength(10);
    txtDate->setAccessibleName(QStringLiteral("Date that the training was received"));
    ui::SelectAllOnFocus(txtDate);

    AddLabel(QStringLiteral("Any comments about this particular training"), 4800, 3870, 4380, 255);
    platform::PlaceTwips(txtComments, 4800, 4140, 4380, 1500);
    txtComments->setFont(boxFont);
    txtComments->setAccessibleName(QStringLiteral("Any comments about this particular training"));
    lblSpaceFull->move(platform::Twips(8130), platform::Twips(5680));
    forms::MakeTransparent(lblSpaceFull);

    forms::StyleButton(cmdSave, forms::ButtonRole::Proceed);
    forms::StyleButton(cmdCancel, forms::ButtonRole::Leave);
    platform::PlaceTwips(cmdSave, 4800, 6120, 2100, 720);
    platform::PlaceTwips(cmdCancel, 7080, 6120, 2100, 720);
    cmdSave->hide();
    cmdCancel->SetCancel(true);

    setTabOrder(txtFind, cmdPickAllShown);
    setTabOrder(cmdPickAllShown, listNames);
    setTabOrder(listNames, listSelected);
    setTabOrder(listSelected, cmdTakeOut);
    setTabOrder(cmdTakeOut, txtDate);
    setTabOrder(txtDate, txtComments);
    setTabOrder(txtComments, cmdSave);
    setTabOrder(cmdSave, cmdCancel);

    for (QWidget* box : {static_cast<QWidget*>(txtDate), static_cast<QWidget*>(txtComments),
                         static_cast<QWidget*>(txtFind), static_cast<QWidget*>(listNames),
                         static_cast<QWidget*>(listSelected)})
        box->installEventFilter(this);
    connect(txtFind, &QLineEdit::textChanged, picks_, &training::PersonPicks::SetFilter);
    connect(txtFind, &QLineEdit::returnPressed, this, &frmCreditTraining::txtFind_Enter);
    connect(picks_, &QAbstractItemModel::modelReset, this, &frmCreditTraining::ShowCounts);
    connect(picks_, &training::PersonPicks::PicksChanged, this, [this] {
        ShowCounts();
        UpdateCreditButton();
    });
    connect(listNames, &QListView::clicked, this,
            [this](const QModelIndex& index) { picks_->Toggle(index.row()); });
    connect(cmdPickAllShown, &ZovButton::Click, picks_, &training::PersonPicks::PickAllShown);
    connect(cmdTakeOut, &ZovButton::Click, this, &frmCreditTraining::cmdTakeOut_Click);
    connect(txtDate, &QLineEdit::textChanged, this, &frmCreditTraining::UpdateCreditButton);
    connect(cmdSave, &ZovButton::Click, this, &frmCreditTraining::cmdSave_Click);
    connect(cmdCancel, &ZovButton::Click, this, &frmCreditTraining::cmdCancel_Click);
    Form_Load();
}

frmCreditTraining::~frmCreditTraining() = default;

QLabel* frmCreditTraining::AddLabel(const QString& text, int left, int top, int width, int height) {
    auto* label = ui::NewPlainLabel(text, this);
    label->setFont(platform::DesignFont(QStringLiteral("Tahoma"), 8.25, true));
    forms::MakeTransparent(label);
    ui::SetInk(label, QColor(0, 0, 64));
    platform::PlaceTwips(label, left, top, width, height);
    return label;
}

void frmCreditTraining::Form_Load() {
    SetSizeTwips(9450, 7575);
    SetCaption(AppTitle() + QStringLiteral(" - Credit Training to Person(s)"));
    TileBackground();
}

void frmCreditTraining::Form_Activate() {
    const QString indent = QStringLiteral("\n  ");
    lblCourseInfo->setText(indent + course_.code + indent + course_.name + indent +
                           course_.providedBy + indent + course_.hours + QStringLiteral(" hours"));
    cmdSave->SetCaption(QStringLiteral("&Credit") + CrLf + QStringLiteral("this Training"));
    // Alt+C belongs to Credit.
    cmdCancel->SetCaption(QStringLiteral("Ca&ncel") + CrLf + QStringLiteral("this Entry"));
    cmdSave->Refresh();
    cmdCancel->Refresh();
    ShowCounts();
    txtDate->setFocus(Qt::OtherFocusReason);
}

void frmCreditTraining::ShowCounts() {
    const QString counts =
        QStringLiteral("%1 shown, %2 picked").arg(picks_->ShownCount()).arg(picks_->PickCount());
    lblCounts->setText(counts);
    txtFind->setAccessibleDescription(counts);
    listNames->setAccessibleDescription(counts);
    if (picks_->ShownCount() > 0 && !listNames->currentIndex().isValid())
        listNames->setCurrentIndex(picks_->index(0));
}

void frmCreditTraining::txtFind_Enter() {
    // The one match, else the highlighted one; then the box is empty for the next name.
    int row = -1;
    if (picks_->ShownCount() == 1)
        row = 0;
    else if (listNames->currentIndex().isValid() && !txtFind->text().trimmed().isEmpty())
        row = listNames->currentIndex().row();
    if (row < 0)
        return;
    if (!picks_->data(picks_->index(row), Qt::CheckStateRole).value<Qt::CheckState>())
        picks_->Toggle(row);
    txtFind->clear();
}

void frmCreditTraining::cmdTakeOut_Click() {
    const QModelIndex current = listSelected->currentIndex();
    if (current.isValid())
        picks_->TakeOut(current.row());
}

void frmCreditTraining::UpdateCreditButton() {
    const bool ok = !txtDate->text().trimmed().isEmpty() && picks_->PickCount() > 0;
    // Hidden until it can first be used; from then on it shows, greyed while it cannot.
    if (cmdSave->isHidden())
        cmdSave->setVisible(ok);
    else
        cmdSave->setEnabled(ok);
}

std::optional<double> frmCreditTraining::ConfirmedDate() {
    const training::DateAnswer date =
        training::ConfirmTypedDate(txtDate->text(), store::CurrentDateTime().date());
    if (!date.typed) {
        forms::Tell(QStringLiteral("Check the date entry"),
                    {QStringLiteral("I don't understand"), QStringLiteral("the date entry.")},
                    forms::Icon::Stop);
    } else if (date.typed->yearAdded) {
        // The box shows the date that is stored, or that the user is about to change.
        txtDate->setText(formats::MmDdYyyy(date.typed->value));
    }
    if (!date.confirmed) {
        txtDate->selectAll();
        txtDate->setFocus(Qt::OtherFocusReason);
    }
    return date.Value();
}

bool frmCreditTraining::ConfirmPersons(double date, QList<qint32>& recNums) {
    const QList<training::ListedPerson> picks = picks_->Picks();
    for (const training::ListedPerson& person : picks)
        recNums << person.recNum;
    QList<int> already;
    store::StoreResult found;
    {
        const WindowBusy busy(*this);
        found = training::FindCreditedAlready(course_.recNum, recNums, date, already);
    }
    if (!found) {
        forms::ShowStoreProblem(found);
        return false;
    }
    if (!already.isEmpty()) {
        constexpr int kNamesShown = 8;
        QStringList lines{QStringLiteral("Already credited with %1 on %2:")
                              .arg(course_.code.trimmed(),
                                   formats::DatePart(date).toString(QStringLiteral("MM/dd/yyyy"))),
                          QString()};
        for (int i = 0; i < already.size() && i < kNamesShown; ++i)
            lines << QStringLiteral("  ") + picks[already[i]].name;
        if (already.size() > kNamesShown)
            lines << QStringLiteral("  and %1 more").arg(already.size() - kNamesShown);
        lines << QString() << QStringLiteral("Credit them again?");
        const int answer =
            forms::Ask(QStringLiteral("Already Credited"), forms::Icon::Question, lines, 2,
                       {QStringLiteral("Credit &again"), QStringLiteral("&Skip them"),
                        QStringLiteral("Ca&ncel")});
        if (answer != 1 && answer != 2)
            return false;
        if (answer == 2) {
            for (qsizetype i = already.size() - 1; i >= 0; --i)
                recNums.removeAt(already[i]);
        }
    }
    if (recNums.isEmpty())
        return false;
    if (recNums.size() > 1) {
        const int answer =
            forms::Ask(QStringLiteral("Confirm Credit"), forms::Icon::Question,
                       {QStringLiteral("Credit %1 to %2 persons?")
                            .arg(course_.code.trimmed())
                            .arg(recNums.size())},
                       1, {QStringLiteral("&Yes, credit"), QStringLiteral("&No, not yet")});
        if (answer != 1)
            return false;
    }
    return true;
}

void frmCreditTraining::cmdSave_Click() {
    if (!forms::MayWrite(session_, forms::Action::Credit))
        return;
    const std::optional<double> date = ConfirmedDate();
    if (!date)
        return;
    const QStringList refusal = store::ControlCharacterRefusal(
        QStringLiteral("Comments"), txtComments->StoredText(), store::LineBreaks::Allowed);
    if (!refusal.isEmpty()) {
        forms::Tell(QStringLiteral("Entry Error"), refusal, forms::Icon::Stop);
        txtComments->setFocus(Qt::OtherFocusReason);
        return;
    }
    QList<qint32> recNums;
    if (!ConfirmPersons(*date, recNums))
        return;

    store::StoreResult credited;
    {
        const WindowBusy busy(*this);
        credited =
            training::CreditCourse(course_.recNum, recNums, *date, txtComments->StoredText());
    }
    if (!credited) {
        // Nothing was written: the choices stay for another try.
        forms::ShowStoreProblem(credited);
        return;
    }
    saved_ = true;
    forms::Tell(QStringLiteral("Training Credited"),
                {recNums.size() == 1
                     ? QStringLiteral("1 training record was added.")
                     : QStringLiteral("%1 training records were added.").arg(recNums.size())},
                forms::Icon::Information);
    cmdCancel_Click();
}

void frmCreditTraining::cmdCancel_Click() {
    close();
}

bool frmCreditTraining::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtDate || watched == txtComments) {
        if (event->type() == QEvent::FocusIn)
            ui::SetBase(static_cast<QWidget*>(watched), QColor(255, 255, 128));
        else if (event->type() == QEvent::FocusOut)
            ui::SetBase(static_cast<QWidget*>(watched), QColor(0, 255, 255));
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (watched == listNames && key == Qt::Key_Space && listNames->currentIndex().isValid()) {
            picks_->Toggle(listNames->currentIndex().row());
            return true;
        }
        if (watched == listSelected && key == Qt::Key_Delete) {
            cmdTakeOut_Click();
            return true;
        }
        // From the find box, the arrows walk the list it narrows.
        if (watched == txtFind && (key == Qt::Key_Down || key == Qt::Key_Up)) {
            const int rows = picks_->ShownCount();
            if (rows > 0) {
                const int row =
                    listNames->currentIndex().isValid() ? listNames->currentIndex().row() : 0;
                const int next = std::clamp(row + (key == Qt::Key_Down ? 1 : -1), 0, rows - 1);
                listNames->setCurrentIndex(picks_->index(next));
            }
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}
