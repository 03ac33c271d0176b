#include "lobby/PersonDelete.h"

#include "forms/Messages.h"
#include "forms/StoreProblem.h"
#include "forms/WindowBusy.h"
#include "platform/Events.h"
#include "store/PersonTraining.h"
#include "store/RecordStore.h"

#include <QFile>
#include <algorithm>

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

} // namespace

void DeletePerson(Form& lobby, qint32 recNum, int row, const PersonDeleteSteps& steps) {
    if (recNum < 1)
        return; // no person highlighted
    const int choice = AskAboutHistory();
    if (choice == 1) {
        steps.showHistory();
        return;
    }
    if (choice != 2 || !Confirmed())
        return;

    store::PersonRemoval removal;
    store::StoreResult removed;
    {
        const WindowBusy busy(lobby);
        removed = store::RemovePerson(recNum, removal);
    }
    if (removed)
        ReportRemovedTraining(removal.trainingRemoved);
    else
        forms::ShowStoreProblem(removed);

    // The list shows what is on file now, whether or not the removal went through.
    const int above =
        QFile::exists(store::FileNameOf(store::DataFile::NameList)) ? std::max(1, row - 1) : 0;
    steps.refill();
    platform::DoEvents();
    const bool shown = steps.listShown();
    if (shown && above > 0)
        steps.selectRow(above);
    steps.setUpButtons();
    if (removed && shown)
        forms::Tell(QStringLiteral("Name removed"), {QStringLiteral("The name has been removed"),
                                                     QStringLiteral("from the 'Name List'.")});
}
