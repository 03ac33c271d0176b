#pragma once

#include "store/Csv.h"
#include "store/ImportColumns.h"
#include "store/PersonImport.h"
#include "store/StoreResult.h"
#include "store/TrainingImport.h"

#include <QString>
#include <vector>

// An import of either kind as the import window works it: the plan of every row, its counts
// in the words the window shows, and the append of the accepted rows. No widgets here.
namespace forms {

// What an import added: the Lobby fills its lists again from it.
struct ImportResult {
    int added = 0;       // training records or persons appended
    double identity = 0; // persons: the first new person's identity (DateCreated)
};

class ImportPlan {
public:
    explicit ImportPlan(store::csvimport::Kind kind) : kind_(kind) {}

    store::csvimport::Kind Kind() const { return kind_; }

    // Judges every row of `table` as `map` feeds the fields, against the data files as they
    // are now (training dates against today's date).
    store::StoreResult Make(const store::csv::Table& table, const store::csvimport::ColumnMap& map);

    const std::vector<store::csvimport::RowVerdict>& Rows() const;
    int Accepted() const;
    int Rejected() const { return int(Rows().size()) - Accepted(); }
    // Every row has the verdict it has in `other`: a plan made again is the one the user saw.
    bool SameVerdicts(const ImportPlan& other) const;

    // "12 will be credited, 3 cannot be" ("... will be added, ..." for persons).
    QString CountsText() const;
    // "12 training records were added." / "12 persons were added to the Name List."
    QString AddedText(int added) const;

    // Appends the accepted rows in one all-or-nothing write.
    store::StoreResult Append(ImportResult& result);

private:
    store::csvimport::Kind kind_;
    store::csvimport::TrainingImport training_;
    store::csvimport::PersonImport persons_;
};

} // namespace forms
