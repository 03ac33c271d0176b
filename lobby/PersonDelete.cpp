#include "lobby/PersonDelete.h"

#include "forms/ListGrid.h"
#include "forms/LobbyDoor.h"
#include "forms/Messages.h"
#include "forms/Permits.h"
#include "forms/StoreProblem.h"
#include "forms/WindowBusy.h"
#include "lobby/NameGrid.h"
#include "lobby/TrainingDoors.h"
#include "store/PersonTraining.h"
#include "store/RecordStore.h"
#include "ui/AppTitle.h"
#include "ui/FlexGrid.h"

namespace {

// 1: show the history first, 2: go on; anything else ends here.
int AskAboutHistory() {
    return forms::Ask(
        QStringLiteral("Print Training History before Deletion?"), forms::Icon::Question,
        {QStringLiteral("Once deleted, this person's training history,"),
         QStringLiteral("if any, will also be permanenetly deleted."), QString(),
         QStringLiteral("Do you want to see/print this person's"),
         QStringLiteral("training history before you delete this"),
         QStringLiteral("person from the 'Name List'?")},
        1,
        {QStringLiteral("&Yes"), QStringLiteral("&No"), QStringLiteral("&Cancel this deletion")});
}

bool Confirmed() {
    return forms::Ask(QStringLiteral("Confirm Deletion"), forms::Icon::Information,
                      {QStringLiteral("Please confirm your intent to permanently"),
                       QStringLiteral("delete this person from the 'Name List'.")},
                      2,
                      {QStringLiteral("&Yes, delete"), QStringLiteral("&No, do NOT delete")}) == 1;
}

void ReportRemovedTraining(qint32 removed) {
    QStringList lines = {QStringLiteral("There were %1 training records").arg(removed),
                         QStringLiteral("associated with this person")};
    if (removed == 0)
        lines.last() += u'.';
    else
        lines << QStringLiteral("that were permanently deleted.");
    forms::Tell(QStringLiteral("For your information..."), lines);
}

// The person is gone but the training records are not: the removal's journal stays, and the
// next start finishes it.
void ReportDeletionLeftForNextStart(const store::StoreResult& failed) {
    forms::Tell(QStringLiteral("File Problem"),
                {QStringLiteral("The person was removed from the 'Name List', but this person's"),
                 QStringLiteral("training records could not be deleted yet:"), QString(),
                 failed.text(), QString(),
                 QStringLiteral("The deletion will be finished the next time ") + AppTitle() +
                     QStringLiteral(" is started.")},
                forms::Icon::Exclamation);
}

} // namespace

void DeleteHighlightedPerson(LobbyDoor& door, const FlexGrid& names) {
    const int row = names.Row();
    const qint32 recNum = listgrid::CellNumber(names, row, namegrid::RecNum);
    if (recNum < 1)
        return; // no person highlighted
    if (!forms::MayWrite(door.SignedIn(), forms::Action::DeleteRecord))
        return;
    const int choice = AskAboutHistory();
    if (choice == 1) {
        ShowEditableHistory(door, {names.TextMatrix(row, namegrid::DisplayName), recNum});
        return;
    }
    if (choice != 2 || !Confirmed())
        return;

    store::PersonRemoval removal;
    store::StoreResult removed;
    {
        const WindowBusy busy(door.Window());
        removed = store::RemovePerson(recNum, removal);
    }
    if (removed)
        ReportRemovedTraining(removal.trainingRemoved);
    else if (removal.finishedAtNextStart)
        ReportDeletionLeftForNextStart(removed);
    else
        forms::ShowStoreProblem(removed);

    // The list shows what is on file now, whether or not the removal went through, with the
    // person above the removed one highlighted; a removed first person leaves its place to
    // the one below it.
    const int next = row > 1 ? row - 1 : (removed ? row + 1 : row);
    const QString nextKey = next < names.Rows() ? names.TextMatrix(next, namegrid::Key) : QString();
    door.ListChanged(LobbyList::Names, nextKey);
    if (removed && names.Visible())
        forms::Tell(QStringLiteral("Name removed"), {QStringLiteral("The name has been removed"),
                                                     QStringLiteral("from the 'Name List'.")});
}
