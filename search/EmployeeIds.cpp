#include "search/EmployeeIds.h"

#include "store/Codepage.h"
#include "store/RecordScan.h"
#include "store/RecordStore.h"

#include <QFileInfo>
#include <QHash>

namespace search {

store::StoreResult ReadEmployeeIds(const std::vector<ListedNumber>& persons, QStringList& ids) {
    using store::PersonRecord;
    ids = QStringList(qsizetype(persons.size()));
    if (persons.empty() || !QFileInfo::exists(store::FileNameOf(store::DataFile::NameList)))
        return store::StoreResult::Ok();
    QHash<qint32, qsizetype> wanted; // the place in `persons`, by record number
    wanted.reserve(qsizetype(persons.size()));
    for (std::size_t i = 0; i < persons.size(); ++i)
        wanted.insert(persons[i].first, qsizetype(i));
    auto& names = store::Persons();
    if (store::StoreResult opened = names.OpenForReading(); !opened)
        return opened;
    store::RecordScan scan(names.File());
    while (scan.Next()) {
        const auto found = wanted.constFind(scan.RecordNumber());
        if (found == wanted.cend() ||
            PersonRecord::DateCreatedRaw(scan.Bytes()) != persons[std::size_t(*found)].second)
            continue;
        ids[*found] = store::TrimField(PersonRecord::Decode(scan.Bytes()).EmployeeID);
    }
    const store::StoreResult read = scan.Result();
    names.Close();
    return read;
}

} // namespace search
